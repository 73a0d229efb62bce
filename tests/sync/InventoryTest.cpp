#include "sync/Inventory.h"

#include "support/FakeShares.h"
#include "support/FileRows.h"
#include "support/FolderTree.h"
#include "support/Privileges.h"
#include "support/TempDir.h"
#include "sync/CopyTemporary.h"
#include "sync/FileStatus.h"
#include "sync/ListSummary.h"

#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <ostream>

namespace fs = std::filesystem;
using namespace filesync;
using testsupport::Build;
using testsupport::Dos;
using testsupport::File;
using testsupport::Row;
using testsupport::TempDir;
using testsupport::WriteFile;
using testsupport::WriteFileAt;

namespace filesync {
void PrintTo(const FileRow& row, std::ostream* os)
{
    const auto time = [](const std::optional<std::uint32_t>& t) {
        return t ? std::to_string(*t) : std::string("-");
    };
    *os << "{" << row.displayName << (row.name != row.displayName ? " (raw bytes differ)" : "") << ", server "
        << time(row.serverTime) << ", local " << time(row.localTime) << ", status " << row.status << "}";
}
} // namespace filesync

namespace {

const std::uint32_t kTime = Dos(2023, 5, 17, 9, 30, 0);

// Stands in for the ICMP echo and records every host it was asked about.
struct FakePing
{
    bool answers = true;
    std::vector<std::string> asked;
    PingFunction Function()
    {
        return [this](const std::string& host) {
            asked.push_back(host);
            return answers;
        };
    }
};

// Names of the regular files in the order the file system lists them.
std::vector<std::string> ListingOrder(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        if (e.is_regular_file())
            names.push_back(e.path().filename().string());
    return names;
}

class InventoryTest : public ::testing::Test
{
protected:
    InventoryTest() : local(root / "lokal"), server(root / "server")
    {
        fs::create_directory(local);
        fs::create_directory(server);
    }

    std::vector<FileRow> Inventory(std::string host = "", bool compare = true)
    {
        return BuildInventory(InventoryRequest{local.string(), server.string(), std::move(host), compare},
                              ping.Function());
    }

    TempDir root;
    fs::path local;
    fs::path server;
    FakePing ping;
};

TEST_F(InventoryTest, WithoutComparisonOnlyLocalFilesAreListedNotCompared)
{
    Build(local, {File("a.ppt", "a", kTime)});
    Build(server, {File("a.ppt", "a", kTime + 1), File("b.ppt", "b", kTime)});

    const auto rows = Inventory("fileserver", false);
    EXPECT_EQ(rows, std::vector<FileRow>{Row("a.ppt", StatusNotCompared, std::nullopt, kTime)});
    EXPECT_TRUE(ping.asked.empty());
}

TEST_F(InventoryTest, HostAndServerFolderDecideWhetherToCompare)
{
    Build(local, {File("a.ppt", "a", kTime)});
    Build(server, {File("a.ppt", "a", kTime), File("b.ppt", "b", kTime)});
    const std::vector<FileRow> compared{Row("a.ppt", StatusIdentical, kTime, kTime),
                                        Row("b.ppt", StatusMissingLocally, kTime, std::nullopt)};

    // Host answers: compare.
    EXPECT_EQ(Inventory("fileserver"), compared);
    EXPECT_EQ(ping.asked, std::vector<std::string>{"fileserver"});

    // No host name: no echo is sent, the folder is there, so compare.
    ping.asked.clear();
    EXPECT_EQ(Inventory(""), compared);
    EXPECT_TRUE(ping.asked.empty());

    // Host silent: nothing is compared, even though the folder could be read.
    ping.answers = false;
    EXPECT_EQ(Inventory("fileserver"),
              std::vector<FileRow>{Row("a.ppt", StatusNotCompared, std::nullopt, kTime)});

    // Host silent and folder gone: the folder is not looked at, so not 7.
    fs::remove_all(server);
    EXPECT_EQ(Inventory("fileserver"),
              std::vector<FileRow>{Row("a.ppt", StatusNotCompared, std::nullopt, kTime)});

    // Folder gone, with the host answering or without a host name.
    const std::vector<FileRow> missing{Row("a.ppt", StatusServerFolderMissing, std::nullopt, kTime)};
    ping.answers = true;
    EXPECT_EQ(Inventory("fileserver"), missing);
    ping.asked.clear();
    EXPECT_EQ(Inventory(""), missing);
    EXPECT_TRUE(ping.asked.empty());
}

TEST_F(InventoryTest, TimesTwoSecondsApartAreNewerOnOneSide)
{
    const std::uint32_t earlier = Dos(2023, 5, 17, 9, 30, 0);
    const std::uint32_t later = Dos(2023, 5, 17, 9, 30, 2);
    ASSERT_EQ(later, earlier + 1);
    Build(local, {File("gleich.ppt", "x", earlier), File("alt.ppt", "x", earlier),
                  File("neu.ppt", "x", later), File("nur-lokal.ppt", "x", earlier)});
    Build(server, {File("gleich.ppt", "y", earlier), File("alt.ppt", "x", later),
                   File("neu.ppt", "x", earlier), File("nur-server.ppt", "x", later)});

    std::vector<FileRow> expected;
    for (const auto& name : ListingOrder(local)) {
        if (name == "gleich.ppt")
            expected.push_back(Row(name, StatusIdentical, earlier, earlier));
        else if (name == "alt.ppt")
            expected.push_back(Row(name, StatusServerNewer, later, earlier));
        else if (name == "neu.ppt")
            expected.push_back(Row(name, StatusLocalNewer, earlier, later));
        else
            expected.push_back(Row(name, StatusLocalOnly, std::nullopt, earlier));
    }
    expected.push_back(Row("nur-server.ppt", StatusMissingLocally, later, std::nullopt));
    EXPECT_EQ(Inventory(), expected);
}

TEST_F(InventoryTest, DatesFrom2044OnAreLaterThanEarlierOnes)
{
    const std::uint32_t in2020 = Dos(2020, 3, 1);
    const std::uint32_t in2045 = Dos(2045, 3, 1);
    Build(local, {File("zukunft.ppt", "x", in2020), File("heute.ppt", "x", in2045)});
    Build(server, {File("zukunft.ppt", "x", in2045), File("heute.ppt", "x", in2020)});

    for (const auto& row : Inventory()) {
        if (row.name == "zukunft.ppt")
            EXPECT_EQ(row.status, StatusServerNewer);
        else
            EXPECT_EQ(row.status, StatusLocalNewer);
    }
}

TEST_F(InventoryTest, NamesMatchIgnoringCaseAndTakeTheLocalCaption)
{
    Build(local, {File("Intro.ppt", "x", kTime), File("Übersicht.ppt", "x", kTime)});
    Build(server, {File("INTRO.PPT", "x", kTime), File("ÜBERSICHT.PPT", "x", kTime + 1)});

    // The row keeps the server's own spelling too: an update reads that entry. The
    // umlaut name as the file system gives it back.
    const auto serverNames = ListingOrder(server);
    const std::string umlautOnServer = serverNames[0] == "INTRO.PPT" ? serverNames[1] : serverNames[0];
    std::vector<FileRow> expected;
    for (const auto& name : ListingOrder(local)) {
        expected.push_back(name == "Intro.ppt" ? Row(name, StatusIdentical, kTime, kTime)
                                               : Row(name, StatusServerNewer, kTime + 1, kTime));
        expected.back().serverName = name == "Intro.ppt" ? "INTRO.PPT" : umlautOnServer;
    }
    EXPECT_EQ(Inventory(), expected);

    // Names spelt alike on both sides keep no second name.
    fs::remove(server / "INTRO.PPT");
    Build(server, {File("Intro.ppt", "x", kTime)});
    for (const FileRow& row : Inventory())
        EXPECT_EQ(ServerNameOf(row), row.name == "Intro.ppt" ? "Intro.ppt" : umlautOnServer);
}

TEST_F(InventoryTest, NamesEqualIgnoringCasePairUpInListingOrder)
{
    Build(local, {File("Intro.ppt", "x", kTime), File("INTRO.PPT", "x", kTime)});
    // Distinct server times tell which server file each local one was paired with.
    const std::uint32_t t1 = Dos(2023, 6, 1), t2 = Dos(2023, 6, 2), t3 = Dos(2023, 6, 3);
    Build(server, {File("intro.ppt", "x", t1), File("Intro.PPT", "x", t2), File("iNTRO.ppt", "x", t3)});
    const auto localOrder = ListingOrder(local);
    const auto serverOrder = ListingOrder(server);
    const auto timeOf = [&](const std::string& name) {
        return name == "intro.ppt" ? t1 : name == "Intro.PPT" ? t2 : t3;
    };

    std::vector<FileRow> expected{
        Row(localOrder[0], StatusServerNewer, timeOf(serverOrder[0]), kTime),
        Row(localOrder[1], StatusServerNewer, timeOf(serverOrder[1]), kTime),
        Row(serverOrder[2], StatusMissingLocally, timeOf(serverOrder[2]), std::nullopt)};
    expected[0].serverName = serverOrder[0];
    expected[1].serverName = serverOrder[1];
    EXPECT_EQ(Inventory(), expected);
}

// Enough names that keys share places in the index: each local name finds its
// server twin, a second local spelling of a key already taken finds none, and a
// key used up does not hide the keys that lie behind it.
TEST_F(InventoryTest, ManyNamesEachFindTheirOneTwin)
{
    testsupport::Tree localFiles, serverFiles;
    for (int i = 0; i < 300; ++i) {
        char lower[32], upper[32];
        std::snprintf(lower, sizeof lower, "folie_%03d.ppt", i);
        std::snprintf(upper, sizeof upper, "FOLIE_%03d.PPT", i);
        localFiles.push_back(File(lower, "x", kTime));
        if (i % 3 == 0)
            localFiles.push_back(File(upper, "x", kTime));
        if (i % 2 == 0)
            serverFiles.push_back(File(upper, "x", kTime));
    }
    Build(local, localFiles);
    Build(server, serverFiles);

    int paired = 0, localOnly = 0;
    for (const FileRow& row : Inventory()) {
        ASSERT_NE(row.status, StatusMissingLocally) << row.name;
        if (row.status == StatusIdentical) {
            ++paired;
            std::string twin = row.name;
            for (char& c : twin)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            EXPECT_EQ(ServerNameOf(row), twin);
        } else {
            EXPECT_EQ(row.status, StatusLocalOnly) << row.name;
            ++localOnly;
        }
    }
    EXPECT_EQ(paired, 150);
    EXPECT_EQ(localOnly, 400 - 150);
}

TEST_F(InventoryTest, RowsFollowTheListingOrderOfEachFolder)
{
    for (int i = 0; i < 40; ++i) {
        const std::string n = std::to_string(i);
        WriteFileAt(local / ("l" + n + ".ppt"), "x", kTime);
        WriteFileAt(server / ("s" + n + ".ppt"), "x", kTime);
    }
    std::vector<std::string> expected = ListingOrder(local);
    for (const auto& name : ListingOrder(server))
        expected.push_back(name);

    std::vector<std::string> names;
    for (const auto& row : Inventory())
        names.push_back(row.name);
    EXPECT_EQ(names, expected);
}

TEST_F(InventoryTest, HousekeepingFilesAndSubfoldersAreNeverRows)
{
    for (const auto& folder : {local, server})
        Build(folder, {File("thumbs.db", "x", kTime), File("THUMBS.DB", "x", kTime),
                       File("Thumbs.Db", "x", kTime), File("qPPP_Profile.ini", "x", kTime),
                       File(".~lock.Intro.ppt#", "x", kTime), File("~$Intro.ppt", "x", kTime),
                       File(std::string(kCopyTemporaryPrefix) + "Intro.ppt-4711", "x", kTime),
                       File("qPPP_Profile/inner.ppt", "x", kTime)});
    Build(local, {File("qppp_profile.ini", "x", kTime), File(".versteckt.ppt", "x", kTime)});
    Build(server, {File(".versteckt.ppt", "x", kTime)});
    // Before 1980 the DOS format has no value: the file counts as missing.
    Build(local, {File("alt.ppt", "x")});
    fs::last_write_time(local / "alt.ppt",
                        fs::file_time_type::clock::from_sys(std::chrono::sys_seconds(
                            std::chrono::sys_days(std::chrono::year(1975) / std::chrono::March / 1))));

    std::vector<FileRow> expected;
    for (const auto& name : ListingOrder(local)) {
        if (name == "qppp_profile.ini")
            expected.push_back(Row(name, StatusLocalOnly, std::nullopt, kTime));
        else if (name == ".versteckt.ppt")
            expected.push_back(Row(name, StatusIdentical, kTime, kTime));
    }
    ASSERT_EQ(expected.size(), 2u);
    EXPECT_EQ(Inventory(), expected);
}

TEST_F(InventoryTest, LongPathsAreListed)
{
    fs::path deepLocal = local;
    fs::path deepServer = server;
    for (int i = 0; i < 3; ++i) {
        deepLocal /= std::string(90, char('a' + i));
        deepServer /= std::string(90, char('a' + i));
    }
    fs::create_directories(deepLocal);
    fs::create_directories(deepServer);
    const std::string name = std::string(120, 'n') + ".ppt";
    WriteFileAt(deepLocal / name, "x", kTime);
    WriteFileAt(deepServer / name, "x", kTime);
    ASSERT_GT((deepLocal / name).string().size(), 400u);

    const auto rows =
        BuildInventory(InventoryRequest{deepLocal.string(), deepServer.string(), "", true}, nullptr);
    EXPECT_EQ(rows, std::vector<FileRow>{Row(name, StatusIdentical, kTime, kTime)});
}

TEST_F(InventoryTest, NamesInAnOldCodePageKeepTheirBytesAndReadAsWindows1252)
{
    const std::string raw = "Pr\xe4sentation.ppt";
    WriteFileAt(local / raw, "x", kTime);
    Build(server, {File("PR\xe4SENTATION.PPT", "x", kTime), File("\x84Zitat\x93.ppt", "x", kTime)});

    const auto rows = Inventory();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].name, raw);
    EXPECT_EQ(rows[0].displayName, "Präsentation.ppt");
    EXPECT_EQ(rows[0].status, StatusIdentical);
    EXPECT_TRUE(fs::is_regular_file(local / rows[0].name));
    EXPECT_EQ(rows[1].name, "\x84Zitat\x93.ppt");
    EXPECT_EQ(rows[1].displayName, "„Zitat“.ppt");
    EXPECT_EQ(rows[1].status, StatusMissingLocally);
}

TEST_F(InventoryTest, LocalFolderThatCannotBeReadGivesNoLocalRows)
{
    Build(server, {File("a.ppt", "x", kTime), File("b.ppt", "x", kTime)});
    std::vector<FileRow> expected;
    for (const auto& name : ListingOrder(server))
        expected.push_back(Row(name, StatusMissingLocally, kTime, std::nullopt));

    EXPECT_EQ(Inventory(), expected) << "empty local folder";

    fs::remove_all(local);
    EXPECT_EQ(Inventory(), expected) << "missing local folder";

    WriteFile(local, "a file, not a folder");
    EXPECT_EQ(Inventory(), expected) << "file instead of a folder";
}

TEST_F(InventoryTest, ServerFolderThatCannotBeReadCountsAsMissing)
{
    Build(local, {File("a.ppt", "x", kTime)});
    const std::vector<FileRow> missing{Row("a.ppt", StatusServerFolderMissing, std::nullopt, kTime)};

    fs::remove_all(server);
    WriteFile(server, "a file, not a folder");
    EXPECT_EQ(Inventory("fileserver"), missing);

    EXPECT_EQ(BuildInventory(InventoryRequest{local.string(), "", "", true}, nullptr), missing);
}

TEST_F(InventoryTest, UnreadableFolders)
{
    if (testsupport::RunningAsRoot())
        GTEST_SKIP() << "permission bits do not keep root out of a folder";
    Build(local, {File("a.ppt", "x", kTime)});
    Build(server, {File("a.ppt", "x", kTime), File("b.ppt", "x", kTime)});

    // Listing every local file as "only local" would invite the user to trust a
    // comparison that never took place.
    fs::permissions(server, fs::perms::none);
    EXPECT_EQ(Inventory(),
              std::vector<FileRow>{Row("a.ppt", StatusServerFolderMissing, std::nullopt, kTime)});
    fs::permissions(server, fs::perms::owner_all);

    fs::permissions(local, fs::perms::none);
    const auto rows = Inventory();
    fs::permissions(local, fs::perms::owner_all);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].status, StatusMissingLocally);
    EXPECT_EQ(rows[1].status, StatusMissingLocally);
}

TEST_F(InventoryTest, FoldersAndNamesWithBlanksQuotesHashAndOtherScripts)
{
    const std::string odd = "Vorträge \"neu\" #1 Ωμέγα Москва 東京 'x'";
    local = root / ("lokal " + odd);
    server = root / ("server " + odd);
    fs::create_directory(local);
    fs::create_directory(server);
    const std::string name = "Доклад #2 \"final\" 'v1'.pptx";
    WriteFileAt(local / name, "x", kTime);
    WriteFileAt(server / name, "x", kTime + 1);

    EXPECT_EQ(Inventory(), std::vector<FileRow>{Row(name, StatusServerNewer, kTime + 1, kTime)});
}

} // namespace

TEST_F(InventoryTest, AShareWrittenAsANetworkPathIsListedWhereItIsMounted)
{
    testsupport::FakeShares shares(root / "gvfs");
    shares.Mount("//srv01/praes", server);
    const fs::path userMount = shares.UserMount("SRV02", "Praes");
    Build(local, {File("a.ppt", "a", kTime)});
    Build(server, {File("a.ppt", "a", kTime)});
    Build(userMount, {File("deutsch/a.ppt", "a", kTime + 2), File("deutsch/b.ppt", "b", kTime)});

    const auto list = [&](const std::string& serverFolder) {
        return BuildComparedInventory(InventoryRequest{local.string(), serverFolder, "", true}, nullptr);
    };
    const std::vector<FileRow> throughMount{Row("a.ppt", StatusIdentical, kTime, kTime)};
    for (const std::string typed : {"\\\\srv01\\praes", "//SRV01/Praes/", "smb://anna@srv01:445/praes"}) {
        const auto result = list(typed);
        EXPECT_EQ(result.rows, throughMount) << typed;
        EXPECT_EQ(result.serverFolderProblem, ServerFolderProblem::None) << typed;
    }
    EXPECT_EQ(list("smb://srv02/praes/deutsch").rows,
              (std::vector<FileRow>{Row("a.ppt", StatusServerNewer, kTime + 2, kTime),
                                    Row("b.ppt", StatusMissingLocally, kTime, std::nullopt)}));
    EXPECT_EQ(list("\\\\Srv02\\praes/deutsch").rows.size(), 2u) << "mixed delimiters";
}

TEST_F(InventoryTest, AShareThatIsNotMountedCannotBeReachedAndSaysWhy)
{
    testsupport::FakeShares shares(root / "gvfs");
    const fs::path userMount = shares.UserMount("srv02", "praes");
    Build(local, {File("a.ppt", "a", kTime)});
    const std::vector<FileRow> unreachable{Row("a.ppt", StatusServerFolderMissing, std::nullopt, kTime)};

    auto result = BuildComparedInventory(InventoryRequest{local.string(), "\\\\srv03\\praes", "srv03", true},
                                         ping.Function());
    EXPECT_EQ(result.rows, unreachable);
    EXPECT_EQ(result.serverFolderProblem, ServerFolderProblem::NotMounted);
    EXPECT_EQ(SummaryText(Summarize(result), "08:15"),
              "Geprüft 08:15: Server antwortet, Serverordner fehlt: Freigabe auf diesem Rechner nicht "
              "eingehängt\n1 ohne Serverordner");

    // A host that does not answer comes first, as for any server folder.
    ping.answers = false;
    result = BuildComparedInventory(InventoryRequest{local.string(), "\\\\srv03\\praes", "srv03", true},
                                    ping.Function());
    EXPECT_EQ(result.rows, std::vector<FileRow>{Row("a.ppt", StatusNotCompared, std::nullopt, kTime)});
    EXPECT_EQ(result.serverFolderProblem, ServerFolderProblem::None);

    // The user mount goes away between the check of the host and the listing.
    const PingFunction unmountWhileAsked = [&](const std::string&) {
        fs::remove_all(userMount);
        return true;
    };
    result = BuildComparedInventory(InventoryRequest{local.string(), "smb://srv02/praes", "srv02", true},
                                    unmountWhileAsked);
    EXPECT_EQ(result.rows, unreachable);
    EXPECT_EQ(result.serverFolderProblem, ServerFolderProblem::NotMounted);

    // Mounted, but the folder in it is missing: unreachable for an ordinary reason.
    shares.UserMount("srv02", "praes");
    result = BuildComparedInventory(InventoryRequest{local.string(), "smb://srv02/praes/fehlt", "", true},
                                    nullptr);
    EXPECT_EQ(result.rows, unreachable);
    EXPECT_EQ(result.serverFolderProblem, ServerFolderProblem::None);

    result = BuildComparedInventory(InventoryRequest{local.string(), "smb://", "", true}, nullptr);
    EXPECT_EQ(result.rows, unreachable);
    EXPECT_EQ(result.serverFolderProblem, ServerFolderProblem::Incomplete);
}
