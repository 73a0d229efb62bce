#include "launch/Readiness.h"

#include "support/TempDir.h"
#include "sync/FileStatus.h"
#include "sync/Inventory.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace launch;
using filesync::CompareVerdict;
using testsupport::Dos;
using testsupport::TempDir;
using testsupport::WriteFileAt;

namespace {

const std::uint32_t kTime = Dos(2024, 2, 1, 8, 0, 0);

class ReadinessTest : public ::testing::Test
{
protected:
    ReadinessTest() : local(root / "lokal"), server(root / "server")
    {
        fs::create_directory(local);
        fs::create_directory(server);
        WriteFileAt(local / "Start.pptx", "s", kTime);
        WriteFileAt(server / "Start.pptx", "s", kTime);
    }

    Readiness Assess(std::string_view startFile, bool compare = true)
    {
        const auto inventory =
            filesync::BuildComparedInventory({local.string(), server.string(), "", compare}, {});
        return AssessReadiness(filesync::Summarize(inventory.rows, inventory.verdict), inventory.rows,
                               startFile);
    }

    TempDir root;
    fs::path local;
    fs::path server;
};

TEST_F(ReadinessTest, ASetComparedUpToDateWithItsStartFileIsReady)
{
    WriteFileAt(local / "Nur hier.pptx", "x", kTime);
    const Readiness r = Assess("Start.pptx");
    EXPECT_TRUE(r.ready);
    EXPECT_EQ(ReadinessText(true, r),
              "Deutsch: bereit zum Präsentieren (mit dem Server verglichen, nichts neuer auf dem Server, "
              "nichts fehlt lokal, Startdatei vorhanden)");
}

TEST_F(ReadinessTest, TheTooltipNamesEverythingThatIsMissing)
{
    WriteFileAt(local / "Alt.pptx", "a", kTime);
    WriteFileAt(server / "Alt.pptx", "a", kTime + 1);
    WriteFileAt(server / "Neu.pptx", "n", kTime);

    const Readiness newer = Assess("Start.pptx");
    EXPECT_FALSE(newer.ready);
    EXPECT_EQ(ReadinessText(false, newer), "Englisch: nicht bereit - 1 neuer auf dem Server, 1 fehlt lokal");

    // The start file only on the server, another letter case, none at all.
    fs::remove(local / "Start.pptx");
    EXPECT_EQ(Assess("Start.pptx").missing.back(), "Startdatei \"Start.pptx\" fehlt lokal");
    WriteFileAt(local / "Start.pptx", "s", kTime);
    EXPECT_EQ(Assess("start.pptx").missing.back(), "Startdatei \"start.pptx\" fehlt lokal");
    EXPECT_EQ(Assess("").missing.back(), "keine Startdatei festgelegt");
}

TEST_F(ReadinessTest, AStartFileThatIsAFolderOrASetNotComparedIsNotReady)
{
    fs::create_directory(local / "Ordner.pptx");
    EXPECT_FALSE(Assess("Ordner.pptx").ready);

    const Readiness notCompared = Assess("Start.pptx", false);
    EXPECT_FALSE(notCompared.ready);
    EXPECT_EQ(notCompared.missing,
              std::vector<std::string>{"nicht mit dem Server verglichen (beim Start abgeschaltet)"});
    fs::remove_all(server);
    EXPECT_EQ(Assess("Start.pptx").missing,
              std::vector<std::string>{"nicht mit dem Server verglichen: Serverordner nicht erreichbar"});

    EXPECT_EQ(ReadinessText(false, std::nullopt), "Englisch: noch nicht geprüft");
}

} // namespace
