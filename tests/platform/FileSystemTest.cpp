#include "platform/FileSystem.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <pwd.h>
#include <sys/vfs.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using testsupport::WriteFile;

TEST(DeletePathSilently, RemovesASingleFileAndAWholeNestedFolder)
{
    testsupport::TempDir dir;
    WriteFile(dir / "einzeln.ppt", "x");
    EXPECT_TRUE(platform::DeletePathSilently((dir / "einzeln.ppt").string()));
    EXPECT_FALSE(fs::exists(dir / "einzeln.ppt"));

    const fs::path tree = dir / "Profil mit Leerzeichen";
    fs::create_directories(tree / "a" / "b" / "c");
    WriteFile(tree / "a" / "1.ppt", "1");
    WriteFile(tree / "a" / "b" / "c" / "2.ppt", "2");
    WriteFile(tree / ".versteckt", "3");
    EXPECT_TRUE(platform::DeletePathSilently(tree.string() + "/"));
    EXPECT_FALSE(fs::exists(tree));
}

TEST(DeletePathSilently, RemovesLinksButNeverWhatTheyPointTo)
{
    testsupport::TempDir dir;
    const fs::path outside = dir / "draussen";
    fs::create_directories(outside / "innen");
    WriteFile(outside / "wichtig.ppt", "bleibt");

    const fs::path tree = dir / "baum";
    fs::create_directories(tree);
    fs::create_directory_symlink(outside, tree / "link");
    fs::create_symlink(outside / "wichtig.ppt", tree / "dateilink");
    fs::create_symlink(dir / "nirgends", tree / "verwaist");
    EXPECT_TRUE(platform::DeletePathSilently(tree.string()));
    EXPECT_FALSE(fs::exists(fs::symlink_status(tree)));

    // The link itself as the path, also written with a trailing delimiter.
    fs::create_directory_symlink(outside, dir / "direkt");
    EXPECT_TRUE(platform::DeletePathSilently((dir / "direkt").string() + "/"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir / "direkt")));

    EXPECT_EQ(testsupport::ReadFile(outside / "wichtig.ppt"), "bleibt");
    EXPECT_TRUE(fs::is_directory(outside / "innen"));
}

TEST(DeletePathSilently, RefusesMissingPathsAndPathsThatDoNotNameAnEntry)
{
    testsupport::TempDir dir;
    EXPECT_FALSE(platform::DeletePathSilently((dir / "fehlt").string()));
    EXPECT_FALSE(platform::DeletePathSilently(""));
    EXPECT_FALSE(platform::DeletePathSilently("/"));

    fs::create_directories(dir / "ordner");
    WriteFile(dir / "ordner" / "a.ppt", "a");
    EXPECT_FALSE(platform::DeletePathSilently((dir / "ordner" / ".").string()));
    EXPECT_FALSE(platform::DeletePathSilently((dir / "ordner" / "..").string()));
    EXPECT_TRUE(fs::exists(dir / "ordner" / "a.ppt"));
}

namespace {

struct Account
{
    uid_t uid;
    gid_t gid;
};

// Root may remove anything, so permission cases hand their tree to an ordinary
// user and delete as that user in a child process.
std::optional<Account> HandOverToOrdinaryUser(const fs::path& owned)
{
    if (geteuid() != 0)
        return Account{geteuid(), getegid()};
    const passwd* nobody = getpwnam("nobody");
    if (!nobody)
        return std::nullopt;
    const Account account{nobody->pw_uid, nobody->pw_gid};
    for (const auto& entry : fs::recursive_directory_iterator(owned))
        if (lchown(entry.path().c_str(), account.uid, account.gid) != 0)
            return std::nullopt;
    if (lchown(owned.c_str(), account.uid, account.gid) != 0)
        return std::nullopt;
    return account;
}

std::optional<bool> DeleteAs(const Account& account, const fs::path& target)
{
    const pid_t child = fork();
    if (child == 0) {
        if (geteuid() != account.uid && (setgid(account.gid) != 0 || setuid(account.uid) != 0))
            _exit(3);
        _exit(platform::DeletePathSilently(target.string()) ? 0 : 1);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) > 1)
        return std::nullopt;
    return WEXITSTATUS(status) == 0;
}

} // namespace

TEST(DeletePathSilently, OpensUpReadOnlyFoldersOfItsOwn)
{
    testsupport::TempDir dir;
    const fs::path owned = dir / "eigen";
    const fs::path tree = owned / "schreibgeschuetzt";
    fs::create_directories(tree / "innen");
    WriteFile(tree / "innen" / "a.ppt", "a");
    fs::permissions(tree / "innen", fs::perms::owner_read | fs::perms::owner_exec);
    fs::permissions(tree, fs::perms::owner_exec);

    const auto account = HandOverToOrdinaryUser(owned);
    ASSERT_TRUE(account) << "no ordinary user to run as";
    EXPECT_EQ(DeleteAs(*account, tree), std::optional<bool>(true));
    EXPECT_FALSE(fs::exists(tree));
}

TEST(DeletePathSilently, ReportsFailureWhenPartOfTheTreeCannotGoAndRemovesTheRest)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs a folder that belongs to another user";
    testsupport::TempDir dir;
    const fs::path owned = dir / "eigen";
    const fs::path tree = owned / "profil";
    fs::create_directories(tree);
    WriteFile(tree / "a.ppt", "a");
    WriteFile(tree / "z.ppt", "z");
    const auto account = HandOverToOrdinaryUser(owned);
    ASSERT_TRUE(account) << "no ordinary user to run as";
    // Created after the hand-over: stays root's, so the user can neither empty nor open it up.
    fs::create_directory(tree / "fremd");
    WriteFile(tree / "fremd" / "b.ppt", "b");

    EXPECT_EQ(DeleteAs(*account, tree), std::optional<bool>(false));
    EXPECT_FALSE(fs::exists(tree / "a.ppt"));
    EXPECT_FALSE(fs::exists(tree / "z.ppt"));
    EXPECT_TRUE(fs::exists(tree / "fremd" / "b.ppt"));
}

TEST(DriveTypeOf, MissingPathsHaveNoRootAndTheSharedMemoryFolderIsARamDisk)
{
    testsupport::TempDir dir;
    EXPECT_EQ(platform::DriveTypeOf((dir / "fehlt").string()), platform::DriveType::NoRootDir);
    fs::create_directory_symlink(dir / "fehlt", dir / "verwaist");
    EXPECT_EQ(platform::DriveTypeOf((dir / "verwaist").string()), platform::DriveType::NoRootDir);

    struct statfs info
    {
    };
    constexpr long kTmpfsMagic = 0x01021994;
    if (statfs("/dev/shm", &info) != 0 || static_cast<long>(info.f_type) != kTmpfsMagic)
        GTEST_SKIP() << "/dev/shm is no tmpfs here";
    EXPECT_EQ(platform::DriveTypeOf("/dev/shm"), platform::DriveType::RamDisk);
}

TEST(NetworkHostOfPath, LocalFoldersHaveNoHostAndGvfsPathsNameTheirsEvenWhenAbsent)
{
    testsupport::TempDir dir;
    EXPECT_EQ(platform::NetworkHostOfPath(dir.str()), "");
    EXPECT_EQ(platform::NetworkHostOfPath((dir / "noch" / "nicht").string()), "");
    EXPECT_EQ(platform::NetworkHostOfPath(""), "");
    EXPECT_EQ(platform::NetworkHostOfPath("/run/user/4711/gvfs/smb-share:server=srv01,share=praes/deutsch"),
              "srv01");
}
