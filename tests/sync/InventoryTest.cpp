#include "sync/Inventory.h"

#include "support/FakeShares.h"
#include "support/Privileges.h"
#include "support/TempDir.h"
#include "sync/CopyTemporary.h"
#include "sync/FileStatus.h"
#include "sync/ListSummary.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ostream>

namespace fs = std::filesystem;
using namespace filesync;
using testsupport::Dos;
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

FileRow Row(std::string name, std::optional<std::uint32_t> server, std::optional<std::uint32_t> local,
            int status)
{
    std::string display = name;
    return FileRow{std::move(name), std::move(display), server, local, status};
}

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

    std::vector<FileRow> Build(std::string host = "", bool compare = true)
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
    WriteFileAt(local / "a.ppt", "a", kTime);
    WriteFileAt(server / "a.ppt", "a", kTime + 1);
    WriteFileAt(server / "b.ppt", "b", kTime);

    const auto rows = Build("fileserver", false);
    EXPECT_EQ(rows, std::vector<FileRow>{Row("a.ppt", std::nullopt, kTime, StatusNotCompared)});
    EXPECT_TRUE(ping.asked.empty());
}

TEST_F(InventoryTest, HostAndServerFolderDecideWhetherToCompare)
{
    WriteFileAt(local / "a.ppt", "a", kTime);
    WriteFileAt(server / "a.ppt", "a", kTime);
    WriteFileAt(server / "b.ppt", "b", kTime);
    const std::vector<FileRow> compared{Row("a.ppt", kTime, kTime, StatusIdentical),
                                        Row("b.ppt", kTime, std::nullopt, StatusMissingLocally)};

    // Host answers: compare.
    EXPECT_EQ(Build("fileserver"), compared);
    EXPECT_EQ(ping.asked, std::vector<std::string>{"fileserver"});

    // No host name: no echo is sent, the folder is there, so compare.
    ping.asked.clear();
    EXPECT_EQ(Build(""), compared);
    EXPECT_TRUE(ping.asked.empty());

    // Host silent: nothing is compared, even though the folder could be read.
    ping.answers = false;
    EXPECT_EQ(Build("fileserver"),
              std::vector<FileRow>{Row("a.ppt", std::nullopt, kTime, StatusNotCompared)});

    // Host silent and folder gone: the folder is not looked at, so not 7.
    fs::remove_all(server);
    EXPECT_EQ(Build("fileserver"),
              std::vector<FileRow>{Row("a.ppt", std::nullopt, kTime, StatusNotCompared)});

    // Folder gone, with the host answering or without a host name.
    const std::vector<FileRow> missing{Row("a.ppt", std::nullopt, kTime, StatusServerFolderMissing)};
    ping.answers = true;
    EXPECT_EQ(Build("fileserver"), missing);
    ping.asked.clear();
    EXPECT_EQ(Build(""), missing);
    EXPECT_TRUE(ping.asked.empty());
}

TEST_F(InventoryTest, TimesTwoSecondsApartAreNewerOnOneSide)
{
    const std::uint32_t earlier = Dos(2023, 5, 17, 9, 30, 0);
    const std::uint32_t later = Dos(2023, 5, 17, 9, 30, 2);
    ASSERT_EQ(later, earlier + 1);
    WriteFileAt(local / "gleich.ppt", "x", earlier);
    WriteFileAt(server / "gleich.ppt", "y", earlier);
    WriteFileAt(local / "alt.ppt", "x", earlier);
    WriteFileAt(server / "alt.ppt", "x", later);
    WriteFileAt(local / "neu.ppt", "x", later);
    WriteFileAt(server / "neu.ppt", "x", earlier);
    WriteFileAt(local / "nur-lokal.ppt", "x", earlier);
    WriteFileAt(server / "nur-server.ppt", "x", later);

    std::vector<FileRow> expected;
    for (const auto& name : ListingOrder(local)) {
        if (name == "gleich.ppt")
            expected.push_back(Row(name, earlier, earlier, StatusIdentical));
        else if (name == "alt.ppt")
            expected.push_back(Row(name, later, earlier, StatusServerNewer));
        else if (name == "neu.ppt")
            expected.push_back(Row(name, earlier, later, StatusLocalNewer));
        else
            expected.push_back(Row(name, std::nullopt, earlier, StatusLocalOnly));
    }
    expected.push_back(Row("nur-server.ppt", later, std::nullopt, StatusMissingLocally));
    EXPECT_EQ(Build(), expected);
}

TEST_F(InventoryTest, DatesFrom2044OnAreLaterThanEarlierOnes)
{
    const std::uint32_t in2020 = Dos(2020, 3, 1);
    const std::uint32_t in2045 = Dos(2045, 3, 1);
    WriteFileAt(local / "zukunft.ppt", "x", in2020);
    WriteFileAt(server / "zukunft.ppt", "x", in2045);
    WriteFileAt(local / "heute.ppt", "x", in2045);
    WriteFileAt(server / "heute.ppt", "x", in2020);

    for (const auto& row : Build()) {
        if (row.name == "zukunft.ppt")
            EXPECT_EQ(row.status, StatusServerNewer);
        else
            EXPECT_EQ(row.status, StatusLocalNewer);
    }
}

TEST_F(InventoryTest, NamesMatchIgnoringCaseAndTakeTheLocalCaption)
{
    WriteFileAt(local / "Intro.ppt", "x", kTime);
    WriteFileAt(server / "INTRO.PPT", "x", kTime);
    WriteFileAt(local / "Übersicht.ppt", "x", kTime);
    WriteFileAt(server / "ÜBERSICHT.PPT", "x", kTime + 1);

    std::vector<FileRow> expected;
    for (const auto& name : ListingOrder(local))
        expected.push_back(name == "Intro.ppt" ? Row(name, kTime, kTime, StatusIdentical)
                                               : Row(name, kTime + 1, kTime, StatusServerNewer));
    EXPECT_EQ(Build(), expected);
}

TEST_F(InventoryTest, NamesEqualIgnoringCasePairUpInListingOrder)
{
    WriteFileAt(local / "Intro.ppt", "x", kTime);
    WriteFileAt(local / "INTRO.PPT", "x", kTime);
    // Distinct server times tell which server file each local one was paired with.
    const std::uint32_t t1 = Dos(2023, 6, 1), t2 = Dos(2023, 6, 2), t3 = Dos(2023, 6, 3);
    WriteFileAt(server / "intro.ppt", "x", t1);
    WriteFileAt(server / "Intro.PPT", "x", t2);
    WriteFileAt(server / "iNTRO.ppt", "x", t3);
    const auto localOrder = ListingOrder(local);
    const auto serverOrder = ListingOrder(server);
    const auto timeOf = [&](const std::string& name) {
        return name == "intro.ppt" ? t1 : name == "Intro.PPT" ? t2 : t3;
    };

    const std::vector<FileRow> expected{
        Row(localOrder[0], timeOf(serverOrder[0]), kTime, StatusServerNewer),
        Row(localOrder[1], timeOf(serverOrder[1]), kTime, StatusServerNewer),
        Row(serverOrder[2], timeOf(serverOrder[2]), std::nullopt, StatusMissingLocally)};
    EXPECT_EQ(Build(), expected);
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
    for (const auto& row : Build())
        names.push_back(row.name);
    EXPECT_EQ(names, expected);
}

TEST_F(InventoryTest, HousekeepingFilesAndSubfoldersAreNeverRows)
{
    for (const auto& folder : {local, server}) {
        for (const char* name :
             {"thumbs.db", "THUMBS.DB", "Thumbs.Db", "qPPP_Profile.ini", ".~lock.Intro.ppt#", "~$Intro.ppt"})
            WriteFileAt(folder / name, "x", kTime);
        WriteFileAt(folder / (std::string(kCopyTemporaryPrefix) + "Intro.ppt-4711"), "x", kTime);
        fs::create_directory(folder / "qPPP_Profile");
        WriteFileAt(folder / "qPPP_Profile" / "inner.ppt", "x", kTime);
    }
    WriteFileAt(local / "qppp_profile.ini", "x", kTime);
    WriteFileAt(local / ".versteckt.ppt", "x", kTime);
    WriteFileAt(server / ".versteckt.ppt", "x", kTime);
    // Before 1980 the DOS format has no value: the file counts as missing.
    WriteFile(local / "alt.ppt", "x");
    fs::last_write_time(local / "alt.ppt",
                        fs::file_time_type::clock::from_sys(std::chrono::sys_seconds(
                            std::chrono::sys_days(std::chrono::year(1975) / std::chrono::March / 1))));

    std::vector<FileRow> expected;
    for (const auto& name : ListingOrder(local)) {
        if (name == "qppp_profile.ini")
            expected.push_back(Row(name, std::nullopt, kTime, StatusLocalOnly));
        else if (name == ".versteckt.ppt")
            expected.push_back(Row(name, kTime, kTime, StatusIdentical));
    }
    ASSERT_EQ(expected.size(), 2u);
    EXPECT_EQ(Build(), expected);
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
    EXPECT_EQ(rows, std::vector<FileRow>{Row(name, kTime, kTime, StatusIdentical)});
}

TEST_F(InventoryTest, NamesInAnOldCodePageKeepTheirBytesAndReadAsWindows1252)
{
    const std::string raw = "Pr\xe4sentation.ppt";
    WriteFileAt(local / raw, "x", kTime);
    WriteFileAt(server / "PR\xe4SENTATION.PPT", "x", kTime);
    WriteFileAt(server / "\x84Zitat\x93.ppt", "x", kTime);

    const auto rows = Build();
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
    WriteFileAt(server / "a.ppt", "x", kTime);
    WriteFileAt(server / "b.ppt", "x", kTime);
    std::vector<FileRow> expected;
    for (const auto& name : ListingOrder(server))
        expected.push_back(Row(name, kTime, std::nullopt, StatusMissingLocally));

    EXPECT_EQ(Build(), expected) << "empty local folder";

    fs::remove_all(local);
    EXPECT_EQ(Build(), expected) << "missing local folder";

    WriteFile(local, "a file, not a folder");
    EXPECT_EQ(Build(), expected) << "file instead of a folder";
}

TEST_F(InventoryTest, ServerFolderThatCannotBeReadCountsAsMissing)
{
    WriteFileAt(local / "a.ppt", "x", kTime);
    const std::vector<FileRow> missing{Row("a.ppt", std::nullopt, kTime, StatusServerFolderMissing)};

    fs::remove_all(server);
    WriteFile(server, "a file, not a folder");
    EXPECT_EQ(Build("fileserver"), missing);

    EXPECT_EQ(BuildInventory(InventoryRequest{local.string(), "", "", true}, nullptr), missing);
}

TEST_F(InventoryTest, UnreadableFolders)
{
    if (testsupport::RunningAsRoot())
        GTEST_SKIP() << "permission bits do not keep root out of a folder";
    WriteFileAt(local / "a.ppt", "x", kTime);
    WriteFileAt(server / "a.ppt", "x", kTime);
    WriteFileAt(server / "b.ppt", "x", kTime);

    // Listing every local file as "only local" would invite the user to trust a
    // comparison that never took place.
    fs::permissions(server, fs::perms::none);
    EXPECT_EQ(Build(), std::vector<FileRow>{Row("a.ppt", std::nullopt, kTime, StatusServerFolderMissing)});
    fs::permissions(server, fs::perms::owner_all);

    fs::permissions(local, fs::perms::none);
    const auto rows = Build();
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

    EXPECT_EQ(Build(), std::vector<FileRow>{Row(name, kTime + 1, kTime, StatusServerNewer)});
}

} // namespace

TEST_F(InventoryTest, AShareWrittenAsANetworkPathIsListedWhereItIsMounted)
{
    testsupport::FakeShares shares(root / "gvfs");
    shares.Mount("//srv01/praes", server);
    const fs::path userMount = shares.UserMount("SRV02", "Praes");
    fs::create_directory(userMount / "deutsch");
    WriteFileAt(local / "a.ppt", "a", kTime);
    WriteFileAt(server / "a.ppt", "a", kTime);
    WriteFileAt(userMount / "deutsch" / "a.ppt", "a", kTime + 2);
    WriteFileAt(userMount / "deutsch" / "b.ppt", "b", kTime);

    const auto list = [&](const std::string& serverFolder) {
        return BuildComparedInventory(InventoryRequest{local.string(), serverFolder, "", true}, nullptr);
    };
    const std::vector<FileRow> throughMount{Row("a.ppt", kTime, kTime, StatusIdentical)};
    for (const std::string typed : {"\\\\srv01\\praes", "//SRV01/Praes/", "smb://anna@srv01:445/praes"}) {
        const auto result = list(typed);
        EXPECT_EQ(result.rows, throughMount) << typed;
        EXPECT_EQ(result.serverFolderProblem, ServerFolderProblem::None) << typed;
    }
    EXPECT_EQ(list("smb://srv02/praes/deutsch").rows,
              (std::vector<FileRow>{Row("a.ppt", kTime + 2, kTime, StatusServerNewer),
                                    Row("b.ppt", kTime, std::nullopt, StatusMissingLocally)}));
    EXPECT_EQ(list("\\\\Srv02\\praes/deutsch").rows.size(), 2u) << "mixed delimiters";
}

TEST_F(InventoryTest, AShareThatIsNotMountedCannotBeReachedAndSaysWhy)
{
    testsupport::FakeShares shares(root / "gvfs");
    const fs::path userMount = shares.UserMount("srv02", "praes");
    WriteFileAt(local / "a.ppt", "a", kTime);
    const std::vector<FileRow> unreachable{Row("a.ppt", std::nullopt, kTime, StatusServerFolderMissing)};

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
    EXPECT_EQ(result.rows, std::vector<FileRow>{Row("a.ppt", std::nullopt, kTime, StatusNotCompared)});
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
