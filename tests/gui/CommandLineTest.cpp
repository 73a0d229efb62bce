#include "app/CommandLine.h"
#include "ProgramProcess.h"
#include "support/TempDir.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace {

CommandLine Parse(QStringList arguments)
{
    arguments.prepend(QStringLiteral("/usr/bin/quintor3p"));
    return ParseCommandLine(arguments);
}

} // namespace

TEST(CommandLine, HelpAndVersionSpeakGermanAndEndTheProgram)
{
    for (const char* option : {"--help", "-h"}) {
        const CommandLine help = Parse({option});
        EXPECT_EQ(help.action, CommandLine::Action::ShowHelp);
        EXPECT_TRUE(help.text.contains(QStringLiteral("Aufruf: "))) << help.text.toStdString();
        EXPECT_TRUE(help.text.contains(QStringLiteral("Optionen:")));
        EXPECT_TRUE(help.text.contains(QStringLiteral("--demo")));
        EXPECT_TRUE(help.text.contains(QStringLiteral("Zeigt die Versionsnummer")));
    }
    const CommandLine version = Parse({"--version"});
    EXPECT_EQ(version.action, CommandLine::Action::ShowVersion);
    EXPECT_EQ(version.text, QStringLiteral("Quintor 3P 1.03\n"));

    const CommandLine start = Parse({});
    EXPECT_EQ(start.action, CommandLine::Action::Start);
    EXPECT_FALSE(start.demo);
    EXPECT_TRUE(Parse({"--demo"}).demo);
}

TEST(CommandLine, WrongOptionsAndArgumentsAreRefusedWithTheReason)
{
    const CommandLine unknown = Parse({"--demo", "--schnell"});
    EXPECT_EQ(unknown.action, CommandLine::Action::Refuse);
    EXPECT_TRUE(unknown.text.startsWith(QStringLiteral("quintor3p: Unbekannte Option 'schnell'.")))
        << unknown.text.toStdString();
    EXPECT_TRUE(unknown.text.contains(QStringLiteral("quintor3p --help")));

    EXPECT_TRUE(Parse({"-x"}).text.contains(QStringLiteral("Unbekannte Option 'x'")));
    EXPECT_TRUE(Parse({"--demo=ja"}).text.contains(QStringLiteral("demo")));
    EXPECT_EQ(Parse({"--demo=ja"}).action, CommandLine::Action::Refuse);
    const CommandLine file = Parse({"Intro.pptx"});
    EXPECT_EQ(file.action, CommandLine::Action::Refuse);
    EXPECT_TRUE(file.text.contains(QStringLiteral("Unerwartetes Argument \"Intro.pptx\".")));
}

// The real program, without any display: it must answer and end before it needs
// one, so it cannot have opened a window.
TEST(CommandLine, TheProgramAnswersWithoutADisplayAndEndsWithItsStatus)
{
    testsupport::TempDir home;
    struct Case
    {
        QStringList arguments;
        int status;
        const char* out;
        const char* err;
    };
    for (const Case& c : {Case{{"--help"}, 0, "Aufruf: ", ""}, Case{{"--version"}, 0, "Quintor 3P 1.03", ""},
                          Case{{"--gibt-es-nicht"}, 2, "", "Unbekannte Option 'gibt-es-nicht'."},
                          Case{{"a", "b"}, 2, "", "Unerwartetes Argument \"a\"."}}) {
        QProcess program;
        QProcessEnvironment env = testsupport::ProgramEnvironment(home.path());
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        env.insert("QT_QPA_PLATFORM", "xcb");
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(QUINTOR3P_BINARY), c.arguments);
        ASSERT_TRUE(program.waitForFinished(30000)) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), c.status) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(
            QString::fromLocal8Bit(program.readAllStandardOutput()).contains(QString::fromUtf8(c.out)));
        const QString err = QString::fromLocal8Bit(program.readAllStandardError());
        EXPECT_TRUE(err.contains(QString::fromUtf8(c.err))) << err.toStdString();
    }
    EXPECT_FALSE(std::filesystem::exists(home / ".config")) << "nothing was written";
}
