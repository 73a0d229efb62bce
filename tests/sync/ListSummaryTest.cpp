#include "sync/ListSummary.h"

#include "support/TempDir.h"
#include "sync/TimeShift.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace filesync;
using testsupport::Dos;
using testsupport::TempDir;
using testsupport::WriteFileAt;

namespace {

const std::uint32_t kTime = Dos(2023, 5, 17, 9, 30, 0);

FileRow Row(std::string name, int status, bool oneHourApart = false)
{
    FileRow row;
    row.displayName = name;
    row.name = std::move(name);
    row.status = status;
    row.oneHourApart = oneHourApart;
    return row;
}

class ListSummaryTest : public ::testing::Test
{
protected:
    ListSummaryTest() : local(root / "lokal"), server(root / "server")
    {
        fs::create_directory(local);
        fs::create_directory(server);
    }

    ComparedInventory Build(std::string host, bool compare = true, bool answers = true)
    {
        return BuildComparedInventory(
            InventoryRequest{local.string(), server.string(), std::move(host), compare},
            [answers](const std::string&) { return answers; });
    }

    TempDir root;
    fs::path local;
    fs::path server;
};

TEST_F(ListSummaryTest, EveryWayARefreshEndsHasItsVerdict)
{
    WriteFileAt(local / "a.ppt", "a", kTime);
    WriteFileAt(local / "b.ppt", "b", kTime);
    WriteFileAt(server / "a.ppt", "a", kTime);
    WriteFileAt(server / "b.ppt", "b", kTime + 1);
    WriteFileAt(server / "c.ppt", "c", kTime);

    const ComparedInventory compared = Build("fileserver");
    EXPECT_EQ(compared.verdict, CompareVerdict::Compared);
    EXPECT_EQ(SummaryText(Summarize(compared.rows, compared.verdict), "14:32"),
              "Geprüft 14:32: mit dem Server verglichen\n1 aktuell, 1 neuer auf dem Server, 1 fehlt lokal");
    EXPECT_EQ(Build("").verdict, CompareVerdict::Compared);

    const ComparedInventory off = Build("fileserver", false);
    EXPECT_EQ(off.verdict, CompareVerdict::NotCompared);
    EXPECT_EQ(SummaryText(Summarize(off.rows, off.verdict), "09:00"),
              "Geprüft 09:00: nicht verglichen (beim Start abgeschaltet)\n2 nicht verglichen");

    const ComparedInventory silent = Build("fileserver", true, false);
    EXPECT_EQ(silent.verdict, CompareVerdict::HostSilent);
    EXPECT_EQ(VerdictText(silent.verdict), "Server antwortet nicht");

    // The server folder vanishes between two refreshes.
    fs::remove_all(server);
    const ComparedInventory gone = Build("fileserver");
    EXPECT_EQ(gone.verdict, CompareVerdict::HostAnswersFolderMissing);
    EXPECT_EQ(CountsText(Summarize(gone.rows, gone.verdict)), "2 ohne Serverordner");
    EXPECT_EQ(VerdictText(gone.verdict), "Server antwortet, Serverordner fehlt");
    EXPECT_EQ(Build("").verdict, CompareVerdict::FolderMissing);

    // No folders set at all.
    const ComparedInventory none = BuildComparedInventory(InventoryRequest{"", "", "", true}, {});
    EXPECT_EQ(none.verdict, CompareVerdict::NoServerFolder);
    EXPECT_EQ(SummaryText(Summarize(none.rows, none.verdict), "09:00"),
              "Geprüft 09:00: kein Serverordner eingestellt\nkeine Dateien");
}

TEST_F(ListSummaryTest, FilesOneHourApartKeepTheirStatusAndAreCountedApart)
{
    // Equal sizes one hour apart either way, across midnight, and at the edge of
    // the two seconds allowed; then the ones that do not qualify.
    WriteFileAt(local / "sommer.ppt", "1234", Dos(2023, 3, 26, 9, 0, 0));
    WriteFileAt(server / "sommer.ppt", "abcd", Dos(2023, 3, 26, 10, 0, 0));
    WriteFileAt(local / "winter.ppt", "12", Dos(2023, 10, 29, 10, 0, 2));
    WriteFileAt(server / "winter.ppt", "ab", Dos(2023, 10, 29, 9, 0, 0));
    WriteFileAt(local / "mitternacht.ppt", "x", Dos(2023, 3, 31, 23, 30, 0));
    WriteFileAt(server / "mitternacht.ppt", "y", Dos(2023, 4, 1, 0, 30, 0));
    WriteFileAt(local / "groesse.ppt", "kurz", Dos(2023, 3, 26, 9, 0, 0));
    WriteFileAt(server / "groesse.ppt", "viel laenger", Dos(2023, 3, 26, 10, 0, 0));
    WriteFileAt(local / "knapp.ppt", "x", Dos(2023, 3, 26, 9, 0, 0));
    WriteFileAt(server / "knapp.ppt", "x", Dos(2023, 3, 26, 10, 0, 4));
    WriteFileAt(local / "gleich.ppt", "x", kTime);
    WriteFileAt(server / "gleich.ppt", "x", kTime);

    const ComparedInventory inventory = Build("");
    for (const FileRow& row : inventory.rows) {
        SCOPED_TRACE(row.name);
        const bool expected =
            row.name == "sommer.ppt" || row.name == "winter.ppt" || row.name == "mitternacht.ppt";
        EXPECT_EQ(row.oneHourApart, expected);
        if (row.name == "sommer.ppt" || row.name == "mitternacht.ppt") {
            EXPECT_EQ(row.status, StatusServerNewer);
        }
        if (row.name == "winter.ppt") {
            EXPECT_EQ(row.status, StatusLocalNewer);
        }
    }
    const ListSummary summary = Summarize(inventory.rows, inventory.verdict);
    EXPECT_EQ(CountsText(summary), "1 aktuell, 2 neuer auf dem Server, 3 eine Stunde versetzt");
    // Still newer on the server as far as being up to date goes.
    EXPECT_EQ(summary.newerOnServer, 4u);

    EXPECT_FALSE(IsOneHourApart(kTime, kTime));
    EXPECT_FALSE(IsOneHourApart(Dos(2023, 3, 26, 9, 0, 0), Dos(2023, 3, 26, 11, 0, 0)));
    EXPECT_TRUE(IsOneHourApart(Dos(2023, 12, 31, 23, 59, 58), Dos(2024, 1, 1, 0, 59, 58)));
}

TEST(ListSummaryCounts, CountsThatAreNotZeroInStatusOrder)
{
    std::vector<FileRow> rows;
    for (int i = 0; i < 12; ++i)
        rows.push_back(Row("a" + std::to_string(i), StatusIdentical));
    rows.push_back(Row("m", StatusMissingLocally));
    for (int i = 0; i < 3; ++i)
        rows.push_back(Row("n" + std::to_string(i), StatusServerNewer));
    EXPECT_EQ(CountsText(Summarize(rows, CompareVerdict::Compared)),
              "12 aktuell, 3 neuer auf dem Server, 1 fehlt lokal");

    rows = {Row("x", StatusLocalOnly), Row("y", StatusLocalNewer), Row("z", StatusLocalNewer, true)};
    EXPECT_EQ(CountsText(Summarize(rows, CompareVerdict::Compared)),
              "1 lokal geändert, 1 nur lokal, 1 eine Stunde versetzt");
}

TEST(ListSummaryNotice, OnlyNamesTheLastRefreshDidNotFindCountAsNew)
{
    const std::vector<FileRow> first{Row("a.ppt", StatusServerNewer), Row("b.ppt", StatusIdentical)};
    const std::vector<FileRow> second{Row("a.ppt", StatusServerNewer), Row("b.ppt", StatusServerNewer),
                                      Row("c.ppt", StatusMissingLocally), Row("d.ppt", StatusLocalOnly)};
    EXPECT_EQ(OutdatedNames(second), (std::vector<std::string>{"a.ppt", "b.ppt", "c.ppt"}));
    EXPECT_EQ(CountNewlyOutdated(OutdatedNames(first), OutdatedNames(second)), 2u);
    EXPECT_EQ(CountNewlyOutdated(OutdatedNames(second), OutdatedNames(second)), 0u);
    // Brought up to date in between, then newer again: new once more.
    EXPECT_EQ(CountNewlyOutdated({}, OutdatedNames(first)), 1u);

    EXPECT_EQ(NewerOnServerNotice(3), "3 Präsentationen auf dem Server sind neuer");
    EXPECT_EQ(NewerOnServerNotice(1), "1 Präsentation auf dem Server ist neuer");
}

} // namespace
