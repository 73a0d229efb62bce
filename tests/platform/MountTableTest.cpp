#include "platform/MountTable.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using platform::DriveType;

namespace {

// A desktop with local disks, a stick, a DVD, shares of every kind, and the
// noise a real table has (optional fields, stacked mounts, escaped blanks).
constexpr std::string_view kTable =
    "22 27 0:21 / /proc rw,relatime shared:12 - proc proc rw\n"
    "27 1 8:2 / / rw,relatime shared:1 - ext4 /dev/sda2 rw,errors=remount-ro\n"
    "28 27 8:1 / /boot/efi rw,relatime shared:2 - vfat /dev/sda1 rw,fmask=0077\n"
    "29 27 0:35 /@home /home rw,relatime shared:3 - btrfs /dev/sda3 rw,space_cache=v2\n"
    "30 27 0:23 / /dev/shm rw,nosuid,nodev - tmpfs tmpfs rw\n"
    "31 27 8:17 / /media/anna/STICK rw,nosuid master:7 - vfat /dev/sdb1 rw,uid=1000\n"
    "32 27 11:0 / /media/anna/DVD ro,nosuid - iso9660 /dev/sr0 ro\n"
    "33 27 0:40 / /mnt/praes rw,relatime - cifs //srv01/praes rw,vers=3.1.1,addr=192.0.2.10\n"
    "34 27 0:41 / /mnt/nfs rw,relatime - nfs4 nas.example.lan:/export/praes rw,vers=4.2\n"
    "35 27 0:42 / /mnt/nfs6 rw,relatime - nfs [fd00::5]:/export rw,vers=3\n"
    "36 29 0:43 / /home/anna/remote rw,nosuid - fuse.sshfs anna@files.example.lan:/data rw,user_id=1000\n"
    "37 27 0:44 / /mnt/mit\\040Leerzeichen rw - smb3 \\134\\134srv02\\134team rw\n"
    "38 27 0:45 / /run/user/1000/gvfs rw,nosuid - fuse.gvfsd-fuse gvfsd-fuse rw,user_id=1000\n"
    "39 27 0:46 / /mnt/vm rw - 9p hostshare rw,trans=virtio\n"
    "40 27 0:47 / /mnt/net9p rw - 9p 192.0.2.20 rw,trans=tcp,port=564\n"
    "41 27 0:48 / /mnt/dav rw - fuse https://anna@dav.example.lan:8443/remote.php/dav rw\n"
    "42 27 0:49 / /mnt/cloud rw - fuse.rclone gdrive: rw\n"
    "43 27 0:50 / /mnt/ceph rw - ceph 192.0.2.30:6789,192.0.2.31:6789:/praes rw,name=admin\n"
    "44 27 0:51 / /mnt/stack rw - tmpfs tmpfs rw\n"
    "45 27 0:52 / /mnt/stack rw - cifs //srv03/oben rw\n"
    "46 27 0:53 / /mnt/pool rw - fuse.mergerfs /mnt/a:/mnt/b rw\n"
    "kaputte Zeile ohne Trenner\n"
    "47 27 x:y / /mnt/bad rw - ext4 /dev/sdc1 rw\n";

platform::MountTable Table()
{
    return platform::ParseMountInfo(kTable);
}

std::string Host(std::string_view path)
{
    return platform::NetworkHostOfPathIn(Table(), path);
}

DriveType Type(std::string_view path)
{
    return platform::DriveTypeOfPathIn(
        Table(), path, [](const platform::MountEntry& m) { return m.major == 8 && m.minor == 17; });
}

} // namespace

TEST(MountTable, ParsesFieldsDecodesEscapesAndSkipsMalformedLines)
{
    const auto table = Table();
    ASSERT_EQ(table.size(), 21u);
    EXPECT_EQ(table[1].mountPoint, "/");
    EXPECT_EQ(table[1].fsType, "ext4");
    EXPECT_EQ(table[1].source, "/dev/sda2");
    EXPECT_EQ(table[1].major, 8u);
    EXPECT_EQ(table[1].minor, 2u);
    EXPECT_EQ(table[3].root, "/@home");
    const auto* spaced = platform::FindMountOf(table, "/mnt/mit Leerzeichen/x");
    ASSERT_NE(spaced, nullptr);
    EXPECT_EQ(spaced->source, "\\\\srv02\\team");
    EXPECT_EQ(table[14].superOptions, "rw,trans=tcp,port=564");
    EXPECT_TRUE(platform::ParseMountInfo("").empty());
}

TEST(MountTable, PathLiesOnTheLongestWholeComponentPrefixAndTheLastOfStackedMounts)
{
    const auto table = Table();
    EXPECT_EQ(platform::FindMountOf(table, "/mnt/praes/deutsch")->mountPoint, "/mnt/praes");
    EXPECT_EQ(platform::FindMountOf(table, "/mnt/praes")->mountPoint, "/mnt/praes");
    EXPECT_EQ(platform::FindMountOf(table, "/mnt/praesentation")->mountPoint, "/");
    EXPECT_EQ(platform::FindMountOf(table, "/home/anna/remote/x")->fsType, "fuse.sshfs");
    EXPECT_EQ(platform::FindMountOf(table, "/home/anna/Dokumente")->fsType, "btrfs");
    EXPECT_EQ(platform::FindMountOf(table, "/mnt/stack/a")->fsType, "cifs");
    EXPECT_EQ(platform::FindMountOf(table, "relativ/pfad"), nullptr);
    EXPECT_EQ(platform::FindMountOf({}, "/"), nullptr);
}

TEST(MountTable, HostOfEachKindOfNetworkShare)
{
    EXPECT_EQ(Host("/mnt/praes/deutsch"), "srv01");
    EXPECT_EQ(Host("/mnt/mit Leerzeichen"), "srv02");
    EXPECT_EQ(Host("/mnt/nfs/a/b"), "nas.example.lan");
    EXPECT_EQ(Host("/mnt/nfs6/a"), "fd00::5");
    EXPECT_EQ(Host("/home/anna/remote/folien"), "files.example.lan");
    EXPECT_EQ(Host("/mnt/net9p/x"), "192.0.2.20");
    EXPECT_EQ(Host("/mnt/dav/x"), "dav.example.lan");
    EXPECT_EQ(Host("/mnt/ceph/x"), "192.0.2.30");
    EXPECT_EQ(Host("/mnt/stack/x"), "srv03");
}

TEST(MountTable, LocalPathsAndSharesWithoutAHostGiveNoHost)
{
    EXPECT_EQ(Host("/home/anna/Dokumente"), "");
    EXPECT_EQ(Host("/media/anna/STICK/x"), "");
    EXPECT_EQ(Host("/mnt/vm/x"), "");    // a virtual machine's host folder
    EXPECT_EQ(Host("/mnt/cloud/x"), ""); // a configuration name, not a host
    EXPECT_EQ(Host("/mnt/pool/x"), "");
    EXPECT_EQ(Host("relativ"), "");
}

TEST(MountTable, SourceForms)
{
    const auto host = [](std::string type, std::string source) {
        platform::MountEntry m;
        m.fsType = std::move(type);
        m.source = std::move(source);
        return platform::HostOfMountSource(m);
    };
    EXPECT_EQ(host("cifs", "//192.0.2.1/share"), "192.0.2.1");
    EXPECT_EQ(host("cifs", "//[fd00::1]/share"), "fd00::1");
    EXPECT_EQ(host("nfs", "server:/"), "server");
    EXPECT_EQ(host("nfs", "/no/host"), "");
    EXPECT_EQ(host("fuse.sshfs", "files:"), "files");
    EXPECT_EQ(host("fuse.sshfs", "anna@[fd00::2]:/data"), "fd00::2");
    EXPECT_EQ(host("fuse.sshfs", "a@b@host:/p"), "host");
    EXPECT_EQ(host("ceph", "admin@1234.cephfs=/"), "");
    EXPECT_EQ(host("ext4", "//srv/x"), "");
}

TEST(MountTable, GvfsPathsNameTheirServer)
{
    EXPECT_EQ(Host("/run/user/1000/gvfs/smb-share:server=srv01,share=praes/deutsch"), "srv01");
    EXPECT_EQ(Host("/run/user/1000/gvfs/smb-share:domain=FIRMA,server=srv01.firma.lan,share=p,user=anna"),
              "srv01.firma.lan");
    EXPECT_EQ(Host("/run/user/1000/gvfs/sftp:host=files.example.lan,user=anna/x"), "files.example.lan");
    EXPECT_EQ(Host("/run/user/1000/gvfs/sftp:host=%5Bfd00%3A%3A3%5D/x"), "fd00::3");
    EXPECT_EQ(Host("/run/user/1000/gvfs/mtp:host=SAMSUNG_123/Bilder"), "");
    EXPECT_EQ(Host("/run/user/1000/gvfs"), "");
    EXPECT_EQ(Host("/home/anna/gvfs/smb-share:server=srv01,share=p"), "");

    const auto location = platform::ParseGvfsPath("/run/user/0/gvfs/smb-share:server=srv9,share=x");
    ASSERT_TRUE(location);
    EXPECT_EQ(location->type, "smb-share");
    EXPECT_EQ(location->host, "srv9");
}

TEST(MountTable, DriveTypeOfEachKindOfMount)
{
    EXPECT_EQ(Type("/"), DriveType::Fixed);
    EXPECT_EQ(Type("/boot/efi/EFI"), DriveType::Fixed);
    EXPECT_EQ(Type("/home/anna"), DriveType::Fixed);
    EXPECT_EQ(Type("/media/anna/STICK/folien"), DriveType::Removable);
    EXPECT_EQ(Type("/media/anna/DVD"), DriveType::CdRom);
    EXPECT_EQ(Type("/dev/shm/x"), DriveType::RamDisk);
    EXPECT_EQ(Type("/mnt/praes/x"), DriveType::Remote);
    EXPECT_EQ(Type("/mnt/nfs"), DriveType::Remote);
    EXPECT_EQ(Type("/home/anna/remote"), DriveType::Remote);
    EXPECT_EQ(Type("/mnt/dav"), DriveType::Remote);
    EXPECT_EQ(Type("/mnt/cloud"), DriveType::Remote);
    EXPECT_EQ(Type("/mnt/net9p"), DriveType::Remote);
    EXPECT_EQ(Type("/mnt/vm"), DriveType::Unknown);
    EXPECT_EQ(Type("/mnt/pool"), DriveType::Fixed);
    EXPECT_EQ(Type("/mnt/stack"), DriveType::Remote);
    EXPECT_EQ(Type("/proc/self"), DriveType::Unknown);
    EXPECT_EQ(Type("/run/user/1000/gvfs/smb-share:server=srv01,share=praes"), DriveType::Remote);
    EXPECT_EQ(Type("/run/user/1000/gvfs/mtp:host=SAMSUNG_123"), DriveType::Removable);
    EXPECT_EQ(platform::DriveTypeOfPathIn({}, "/x", {}), DriveType::Unknown);
}

TEST(MountedShare, CifsMountsMatchHostShareAndSubfoldersIgnoringCase)
{
    platform::ShareSources sources;
    sources.mounts =
        platform::ParseMountInfo("33 27 0:40 / /mnt/praes rw - cifs //srv01/praes rw\n"
                                 "34 27 0:41 / /mnt/de rw - cifs //srv01/praes/Deutsch rw\n"
                                 "35 27 0:42 /englisch /mnt/en rw - cifs //srv01/praes rw\n"
                                 "36 27 0:43 / /mnt/nfs rw - nfs4 srv01:/praes rw\n"
                                 "37 27 0:44 / /mnt/oben rw - cifs //srv03/team rw\n"
                                 "38 27 0:45 / /mnt/oben2 rw - cifs \\134\\134srv03\\134team rw\n"
                                 "39 27 0:46 /sub /mnt/sub rw - cifs //srv04/team/sub rw\n");
    const auto folder = [&](std::string_view host, std::string_view share, std::vector<std::string> rest) {
        return platform::MountedShareFolderIn(sources, host, share, rest).value_or("(nicht eingehängt)");
    };

    EXPECT_EQ(folder("SRV01", "Praes", {}), "/mnt/praes");
    EXPECT_EQ(folder("srv01", "praes", {"Folien", "2024"}), "/mnt/praes/Folien/2024");
    // The deepest mount that covers the folder, whichever spelling the user chose.
    EXPECT_EQ(folder("srv01", "praes", {"deutsch", "2024"}), "/mnt/de/2024");
    EXPECT_EQ(folder("srv01", "praes", {"Englisch"}), "/mnt/en");
    // Of two mounts of one share the later one, which the kernel shows on top.
    EXPECT_EQ(folder("srv03", "team", {"x"}), "/mnt/oben2/x");
    EXPECT_EQ(folder("srv04", "team", {"sub", "x"}), "/mnt/sub/x") << "the root repeats the source's folder";
    EXPECT_EQ(folder("srv01", "andere", {}), "(nicht eingehängt)");
    EXPECT_EQ(folder("srv02", "praes", {}), "(nicht eingehängt)") << "an NFS export is no SMB share";
    EXPECT_EQ(folder("", "praes", {}), "(nicht eingehängt)");
    EXPECT_EQ(folder("srv01", "", {}), "(nicht eingehängt)");
}

TEST(MountedShare, UserMountsOfTheDesktopAreFoundByServerAndShare)
{
    testsupport::TempDir gvfs;
    fs::create_directory(gvfs / "smb-share:domain=FIRMA,server=SRV02,share=meine%20praes,user=anna");
    fs::create_directory(gvfs / "sftp:host=srv04,user=anna");
    fs::create_directory(gvfs / "smb-share:server=srv04");
    platform::ShareSources sources{{}, gvfs.str()};

    EXPECT_EQ(platform::MountedShareFolderIn(sources, "srv02", "Meine Praes", {"deutsch"}),
              (gvfs / "smb-share:domain=FIRMA,server=SRV02,share=meine%20praes,user=anna/deutsch").string());
    EXPECT_FALSE(platform::MountedShareFolderIn(sources, "srv04", "anna", {}));
    EXPECT_FALSE(platform::MountedShareFolderIn(sources, "srv02", "meine praes2", {}));

    // A mount in the table comes first.
    sources.mounts = platform::ParseMountInfo("33 27 0:40 / /mnt/p rw - cifs //srv02/meine\\040praes rw\n");
    EXPECT_EQ(platform::MountedShareFolderIn(sources, "srv02", "meine praes", {}), "/mnt/p");

    // A user-mount folder that is gone, or none at all.
    EXPECT_FALSE(platform::MountedShareFolderIn({{}, (gvfs / "fehlt").string()}, "srv02", "meine praes", {}));
    EXPECT_FALSE(platform::MountedShareFolderIn({}, "srv02", "meine praes", {}));
}
