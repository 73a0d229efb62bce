#include "platform/Launcher.h"

#include "support/TempDir.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <thread>

using platform::LaunchAction;
using platform::LaunchRequest;

namespace {

using Args = std::vector<std::string>;

// Fake "soffice" and "xdg-open" first on PATH: each writes its argument vector,
// NUL-separated, to a file of its own, and only then renames it into place.
class FakePrograms : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::filesystem::create_directory(bin.path());
        for (const char* program : {"soffice", "xdg-open"}) {
            const std::filesystem::path script = bin / program;
            const std::string record = (records / program).string();
            testsupport::WriteFile(script, "#!/bin/sh\nprintf '%s\\0' \"$0\" \"$@\" > '" + record +
                                               ".part'\nmv '" + record + ".part' '" + record + "'\n");
            std::filesystem::permissions(script, std::filesystem::perms::owner_all);
        }
        const char* path = std::getenv("PATH");
        m_oldPath = path ? path : "";
        ::setenv("PATH", (bin.str() + ":" + m_oldPath).c_str(), 1);
    }
    void TearDown() override { ::setenv("PATH", m_oldPath.c_str(), 1); }

    // The argument vector the fake program got, the program's own path first.
    Args Recorded(const char* program)
    {
        const std::filesystem::path record = records / program;
        for (int i = 0; i < 500 && !std::filesystem::exists(record); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        Args args;
        const std::string content = std::filesystem::exists(record) ? testsupport::ReadFile(record) : "";
        std::size_t start = 0;
        for (std::size_t end; (end = content.find('\0', start)) != std::string::npos; start = end + 1)
            args.push_back(content.substr(start, end - start));
        std::filesystem::remove(record);
        return args;
    }

    testsupport::TempDir records;
    testsupport::TempDir bin;
    std::string m_oldPath;
};

} // namespace

TEST(LaunchCommand, ArgumentVectorsKeepThePathAsOneAbsoluteArgument)
{
    const std::string path = "/home/a b/Vortrag \"1\"; $(rm -rf ~).pptx";
    auto show = platform::BuildLaunchCommand({LaunchAction::SlideShow, path, "/S"});
    EXPECT_EQ(show.program, "soffice");
    EXPECT_EQ(show.arguments, (Args{"soffice", "--nologo", "--show", path}));
    auto edit = platform::BuildLaunchCommand({LaunchAction::Edit, path, ""});
    EXPECT_EQ(edit.arguments, (Args{"soffice", "--nologo", "-o", path}));
    auto open = platform::BuildLaunchCommand({LaunchAction::OpenAssociated, path, ""});
    EXPECT_EQ(open.program, "xdg-open");
    EXPECT_EQ(open.arguments, (Args{"xdg-open", path}));

    // A relative name that looks like an option is made absolute.
    auto dash = platform::BuildLaunchCommand({LaunchAction::OpenAssociated, "-x.pdf", ""});
    EXPECT_EQ(dash.arguments.back(), (std::filesystem::current_path() / "-x.pdf").string());
}

TEST_F(FakePrograms, HostilePathsReachTheStartedProgramWholeAndInjectNothing)
{
    const std::string names[] = {"Vortrag mit Blanks.pptx",
                                 "Zitat \"x\" 'y'.ppt",
                                 "$(touch INJECTED).ppt",
                                 "a; touch INJECTED.ppt",
                                 "-rf.ppt",
                                 "--help.pdf",
                                 "`id`.pdf"};
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const std::string path = (records / name).string();
        ASSERT_EQ(platform::Launch({LaunchAction::SlideShow, path, "/S"}), "");
        EXPECT_EQ(Recorded("soffice"), (Args{(bin / "soffice").string(), "--nologo", "--show", path}));
        ASSERT_EQ(platform::Launch({LaunchAction::Edit, path, ""}), "");
        EXPECT_EQ(Recorded("soffice"), (Args{(bin / "soffice").string(), "--nologo", "-o", path}));
        ASSERT_EQ(platform::Launch({LaunchAction::OpenAssociated, path, ""}), "");
        EXPECT_EQ(Recorded("xdg-open"), (Args{(bin / "xdg-open").string(), path}));
    }
    EXPECT_FALSE(std::filesystem::exists(records / "INJECTED"));
    EXPECT_FALSE(std::filesystem::exists("INJECTED"));
    EXPECT_FALSE(std::filesystem::exists(records / "INJECTED.ppt"));
    // The start was detached and reaped: no child of ours is left to wait for.
    errno = 0;
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

TEST_F(FakePrograms, AMissingProgramIsReportedInGermanAndNothingRuns)
{
    ::setenv("PATH", bin.str().c_str(), 1);
    std::filesystem::remove(bin / "soffice");
    std::filesystem::remove(bin / "xdg-open");
    // Not executable: not taken either.
    testsupport::WriteFile(bin / "xdg-open", "#!/bin/sh\n");
    EXPECT_EQ(platform::Launch({LaunchAction::SlideShow, "/tmp/x.ppt", "/S"}),
              "Das Programm \"soffice\" (LibreOffice Impress) ist nicht installiert.");
    EXPECT_EQ(platform::Launch({LaunchAction::OpenAssociated, "/tmp/x.pdf", ""}),
              "Das Programm \"xdg-open\" (Öffnen mit dem zugeordneten Programm) ist nicht installiert.");
}

TEST_F(FakePrograms, AProgramThatCannotBeExecutedIsReportedAsNotStarted)
{
    // Executable bits but no interpreter line and not a binary: exec refuses it.
    testsupport::WriteFile(bin / "soffice", std::string("\x7f"
                                                        "ELF broken",
                                                        11));
    std::filesystem::permissions(bin / "soffice", std::filesystem::perms::owner_all);
    const std::string message = platform::Launch({LaunchAction::Edit, "/tmp/x.ppt", ""});
    EXPECT_EQ(message.rfind("Das Programm \"soffice\" konnte nicht gestartet werden: ", 0), 0u) << message;
}
