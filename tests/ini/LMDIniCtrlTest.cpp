#include "ini/LMDIniCtrl.h"

#include "platform/AtomicFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

namespace fs = std::filesystem;
using ini::IniWriteError;
using ini::ParseIniInteger;
using ini::TLMDIniCtrl;
using testsupport::ReadFile;
using testsupport::TempDir;
using testsupport::WriteFile;

namespace {

std::string ExpectedMessage(const fs::path& path)
{
    return "nach " + path.string() + " kann nicht geschrieben werden";
}

// Runs the write and checks that it throws the German message for the path.
template <typename Write> void ExpectWriteRefused(const fs::path& path, Write write)
{
    try {
        write();
        ADD_FAILURE() << "write to " << path << " did not fail";
    } catch (const IniWriteError& e) {
        EXPECT_STREQ(e.what(), ExpectedMessage(path).c_str());
    }
}

std::vector<std::string> FolderEntries(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(LMDIniCtrl, NameWithoutExtensionGetsIniAppended)
{
    TLMDIniCtrl ini;
    ini.SetFileName("/tmp/a.b/optionen");
    EXPECT_EQ(ini.FileName(), "/tmp/a.b/optionen.INI");
    ini.SetFileName("/tmp/optionen.ini");
    EXPECT_EQ(ini.FileName(), "/tmp/optionen.ini");
}

TEST(LMDIniCtrl, MissingFileSectionOrKeyGivesTheDefault)
{
    TempDir dir;
    TLMDIniCtrl ini((dir / "none.ini").string());
    EXPECT_EQ(ini.ReadString("Allgemein", "A", "vorgabe"), "vorgabe");
    EXPECT_EQ(ini.ReadInteger("Allgemein", "A", 7), 7);
    EXPECT_TRUE(ini.ReadBool("Allgemein", "A", true));

    WriteFile(dir / "x.ini", "[Andere]\nA=1\n[Allgemein]\nB=2\n");
    ini.SetFileName((dir / "x.ini").string());
    EXPECT_EQ(ini.ReadInteger("Allgemein", "A", 7), 7);
    EXPECT_EQ(ini.ReadInteger("Fehlt", "B", 7), 7);
    EXPECT_FALSE(fs::exists(dir / "none.ini")) << "reading must not create the file";
}

TEST(LMDIniCtrl, LookupFollowsPrivateProfileRules)
{
    TempDir dir;
    WriteFile(dir / "x.ini", "\xEF\xBB\xBF"
                             "vorSektion=nein\r\n"
                             "[ allgemein ]\r\n"
                             "; Kommentar=nein\r\n"
                             "  Pfad  =  C:\\a b ; kein Kommentar  \r\n"
                             "PFAD=zweiter\r\n"
                             "Leer=\r\n"
                             "Zitat=\"x\"\r\n"
                             "Unsinn ohne Gleichheitszeichen\r\n"
                             "[Allgemein]\r\n"
                             "Nur=im zweiten\r\n"
                             "[Other]\n"
                             "vorSektion=ja");
    TLMDIniCtrl ini((dir / "x.ini").string());
    EXPECT_EQ(ini.ReadString("ALLGEMEIN", "pfad", "-"), "C:\\a b ; kein Kommentar");
    EXPECT_EQ(ini.ReadString("Allgemein", "Leer", "-"), "");
    EXPECT_EQ(ini.ReadString("Allgemein", "Zitat", "-"), "\"x\"");
    EXPECT_EQ(ini.ReadString("Allgemein", "; Kommentar", "-"), "-");
    EXPECT_EQ(ini.ReadString("Allgemein", "Nur", "-"), "-") << "only the first section of a name counts";
    EXPECT_EQ(ini.ReadString("other", "VORSEKTION", "-"), "ja");
    EXPECT_EQ(ini.ReadString("", "vorSektion", "-"), "-");
}

TEST(LMDIniCtrl, WholeNumbersParseDecimalOrHexElseNot)
{
    EXPECT_EQ(ParseIniInteger("42"), 42);
    EXPECT_EQ(ParseIniInteger("-17"), -17);
    EXPECT_EQ(ParseIniInteger("007"), 7);
    EXPECT_EQ(ParseIniInteger("0x0"), 0);
    EXPECT_EQ(ParseIniInteger("0X1f"), 31);
    EXPECT_EQ(ParseIniInteger("2147483647"), 2147483647);
    EXPECT_EQ(ParseIniInteger("-2147483648"), -2147483647 - 1);
    for (const char* bad : {"", "zwei", "0x", "12abc", "1 2", "-", "+3", "0x-1", "0xG", "2147483648",
                            "0x80000000", "99999999999999999999999"})
        EXPECT_EQ(ParseIniInteger(bad), std::nullopt) << bad;
}

TEST(LMDIniCtrl, BooleansAndNumbersFallBackToTheDefault)
{
    TempDir dir;
    WriteFile(dir / "x.ini", "[S]\nHex=0x0\nWort=ja\nLeer=\nZwei=2\nMinus=-1\nNull=0\n");
    TLMDIniCtrl ini((dir / "x.ini").string());
    EXPECT_FALSE(ini.ReadBool("S", "Hex", true));
    EXPECT_TRUE(ini.ReadBool("S", "Wort", true));
    EXPECT_FALSE(ini.ReadBool("S", "Wort", false));
    EXPECT_EQ(ini.ReadInteger("S", "Leer", 2), 2);
    EXPECT_TRUE(ini.ReadBool("S", "Zwei", false));
    EXPECT_TRUE(ini.ReadBool("S", "Minus", false));
    EXPECT_FALSE(ini.ReadBool("S", "Null", true));
}

TEST(LMDIniCtrl, TextIsCutTo2047Characters)
{
    TempDir dir;
    std::string longValue;
    for (int i = 0; i < 2100; ++i)
        longValue += "\xc3\xa4"; // ä, two bytes, one character
    WriteFile(dir / "x.ini", "[S]\nK=" + longValue + "\n");
    const std::string read = TLMDIniCtrl((dir / "x.ini").string()).ReadString("S", "K", "");
    EXPECT_EQ(read, longValue.substr(0, 2 * 2047));
}

TEST(LMDIniCtrl, Windows1252LinesReadAsUtf8)
{
    TempDir dir;
    WriteFile(dir / "x.ini", "[Allgemein]\r\nEditSPfadDeutsch=Pfad f\xfcr deutsch\r\nU=f\xc3\xbcr\r\n");
    TLMDIniCtrl ini((dir / "x.ini").string());
    EXPECT_EQ(ini.ReadString("Allgemein", "EditSPfadDeutsch", ""), "Pfad f\xc3\xbcr deutsch");
    EXPECT_EQ(ini.ReadString("Allgemein", "U", ""), "f\xc3\xbcr");
}

TEST(LMDIniCtrl, WritesRoundTripInANewFile)
{
    TempDir dir;
    TLMDIniCtrl ini((dir / "neu.ini").string());
    ini.WriteString("Allgemein", "Pfad", "/home/b\xc3\xa4r/x");
    ini.WriteInteger("Allgemein", "Zahl", -5);
    ini.WriteBool("Allgemein", "An", true);
    ini.WriteBool("Zwei", "Aus", false);
    EXPECT_EQ(ReadFile(dir / "neu.ini"),
              "[Allgemein]\nPfad=/home/b\xc3\xa4r/x\nZahl=-5\nAn=1\n[Zwei]\nAus=0\n");
    EXPECT_EQ(ini.ReadInteger("Allgemein", "Zahl", 0), -5);
    EXPECT_FALSE(ini.ReadBool("Zwei", "Aus", true));
}

TEST(LMDIniCtrl, WriteChangesOnlyItsOwnLine)
{
    TempDir dir;
    const std::string before = "\xEF\xBB\xBF; Einstellungen\r\n"
                               "[Andere]\r\n"
                               "Pfad=bleibt\r\n"
                               "\r\n"
                               "[Allgemein]\r\n"
                               "  pfad = alt\r\n"
                               "Name=f\xfcr\r\n"
                               "pfad=zweiter\r\n"
                               "; Ende\r\n"
                               "\r\n"
                               "[allgemein]\n"
                               "X=1";
    WriteFile(dir / "x.ini", before);
    TLMDIniCtrl ini((dir / "x.ini").string());

    ini.WriteString("ALLGEMEIN", "PFAD", "neu");
    std::string expected = before;
    expected.replace(expected.find("  pfad = alt"), 12, "  pfad = neu");
    EXPECT_EQ(ReadFile(dir / "x.ini"), expected);

    // A new key follows the last key of the first matching section, before its comments.
    ini.WriteInteger("Allgemein", "Neu", 3);
    expected.insert(expected.find("; Ende"), "Neu=3\r\n");
    EXPECT_EQ(ReadFile(dir / "x.ini"), expected);

    // A new section goes to the end, in the file's line-ending style.
    ini.WriteBool("Profil", "An", true);
    expected += "\r\n[Profil]\r\nAn=1\r\n";
    EXPECT_EQ(ReadFile(dir / "x.ini"), expected);
    EXPECT_EQ(ini.ReadString("Allgemein", "Name", ""), "f\xc3\xbcr");
}

TEST(LMDIniCtrl, NewKeyInASectionWithoutKeysFollowsItsHeader)
{
    TempDir dir;
    WriteFile(dir / "x.ini", "[Leer]\n\n[B]\nK=1\n");
    TLMDIniCtrl ini((dir / "x.ini").string());
    ini.WriteString("leer", "K", "2");
    EXPECT_EQ(ReadFile(dir / "x.ini"), "[Leer]\nK=2\n\n[B]\nK=1\n");
}

TEST(LMDIniCtrl, RefusedWritesThrowTheMessageAndKeepTheOldFile)
{
    TempDir dir;
    // The test may run as root, for whom permission bits on folders mean nothing.
    const fs::path noFolder = dir / "fehlt" / "optionen.ini";
    ExpectWriteRefused(noFolder, [&] { TLMDIniCtrl(noFolder.string()).WriteString("S", "K", "v"); });

    WriteFile(dir / "datei", "x");
    const fs::path underFile = dir / "datei" / "optionen.ini";
    ExpectWriteRefused(underFile, [&] { TLMDIniCtrl(underFile.string()).WriteInteger("S", "K", 1); });

    const fs::path readOnly = dir / "schreibgeschuetzt.ini";
    WriteFile(readOnly, "[S]\nK=alt\n");
    fs::permissions(readOnly, fs::perms::owner_read | fs::perms::group_read);
    ExpectWriteRefused(readOnly, [&] { TLMDIniCtrl(readOnly.string()).WriteBool("S", "K", true); });
    EXPECT_EQ(ReadFile(readOnly), "[S]\nK=alt\n");

    const fs::path folder = dir / "ordner.ini";
    fs::create_directory(folder);
    ExpectWriteRefused(folder, [&] { TLMDIniCtrl(folder.string()).WriteString("S", "K", "v"); });

    EXPECT_EQ(FolderEntries(dir.path()),
              (std::vector<std::string>{"datei", "ordner.ini", "schreibgeschuetzt.ini"}));
}

TEST(LMDIniCtrl, TextThatWouldBreakTheFileIsRefused)
{
    TempDir dir;
    const fs::path path = dir / "x.ini";
    WriteFile(path, "[S]\nK=alt\n");
    TLMDIniCtrl ini(path.string());
    ExpectWriteRefused(path, [&] { ini.WriteString("S", "K", "a\n[T]\nX=1"); });
    ExpectWriteRefused(path, [&] { ini.WriteString("S", "a=b", "v"); });
    ExpectWriteRefused(path, [&] { ini.WriteString("S]", "K", "v"); });
    ExpectWriteRefused(path, [&] { ini.WriteString("S", " ", "v"); });
    EXPECT_EQ(ReadFile(path), "[S]\nK=alt\n");
}

std::string StepName(const testing::TestParamInfo<platform::AtomicWriteStep>& info)
{
    constexpr const char* names[] = {"Create", "Write", "Sync", "Rename"};
    return names[static_cast<int>(info.param)];
}

class LMDIniCtrlFault : public testing::TestWithParam<platform::AtomicWriteStep>
{
protected:
    void TearDown() override { platform::SetAtomicWriteFaultForTesting({}); }
};

TEST_P(LMDIniCtrlFault, InterruptedWriteLeavesTheOldFileWholeAndNoTemporaryFile)
{
    TempDir dir;
    const fs::path path = dir / "optionen.ini";
    const std::string before = "[Allgemein]\r\nEditLPfadDeutsch=/home/a\r\nAktivPage=2\r\n";
    WriteFile(path, before);
    const platform::AtomicWriteStep failing = GetParam();
    std::vector<platform::AtomicWriteStep> seen;
    platform::SetAtomicWriteFaultForTesting([&](platform::AtomicWriteStep step) {
        seen.push_back(step);
        return step == failing;
    });

    ExpectWriteRefused(path, [&] { TLMDIniCtrl(path.string()).WriteInteger("Allgemein", "AktivPage", 0); });
    EXPECT_EQ(seen.back(), failing);
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_EQ(FolderEntries(dir.path()), std::vector<std::string>{"optionen.ini"});

    platform::SetAtomicWriteFaultForTesting({});
    TLMDIniCtrl(path.string()).WriteInteger("Allgemein", "AktivPage", 0);
    EXPECT_EQ(ReadFile(path), "[Allgemein]\r\nEditLPfadDeutsch=/home/a\r\nAktivPage=0\r\n");
}

INSTANTIATE_TEST_SUITE_P(EveryStep, LMDIniCtrlFault,
                         testing::Values(platform::AtomicWriteStep::Create, platform::AtomicWriteStep::Write,
                                         platform::AtomicWriteStep::Sync, platform::AtomicWriteStep::Rename),
                         StepName);

TEST(LMDIniCtrl, WriteKeepsPermissionsAndSymbolicLinks)
{
    TempDir dir;
    const fs::path real = dir / "real.ini";
    WriteFile(real, "[S]\nK=1\n");
    const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(real, mode);
    fs::create_symlink("real.ini", dir / "link.ini");

    TLMDIniCtrl((dir / "link.ini").string()).WriteInteger("S", "K", 2);
    EXPECT_TRUE(fs::is_symlink(dir / "link.ini"));
    EXPECT_EQ(ReadFile(real), "[S]\nK=2\n");
    EXPECT_EQ(fs::status(real).permissions(), mode);
}

TEST(LMDIniCtrl, GarbageAndBinaryFilesGiveDefaultsAndStayWritable)
{
    TempDir dir;
    const fs::path path = dir / "x.ini";
    std::mt19937 random(12345);
    std::string garbage;
    for (int i = 0; i < 20000; ++i)
        garbage.push_back(static_cast<char>(random()));
    garbage += "\n[[[\n]]]=\n=\n[S\nK==\n";
    for (const std::string& content : {garbage, std::string("\xEF\xBB\xBF"), std::string("\0\0\0", 3)}) {
        WriteFile(path, content);
        TLMDIniCtrl ini(path.string());
        EXPECT_EQ(ini.ReadInteger("Allgemein", "AktivPage", 0), 0);
        EXPECT_EQ(ini.ReadString("Allgemein", "EditLPfadDeutsch", "d"), "d");
        ini.WriteString("Allgemein", "AktivPage", "2");
        EXPECT_EQ(ini.ReadInteger("Allgemein", "AktivPage", 0), 2);
        const std::string after = ReadFile(path);
        EXPECT_EQ(after.substr(0, content.size()), content) << "the old bytes stay in front";
    }
}

TEST(LMDIniCtrl, AClosedWriteGateLeavesTheFileAsItIsUntilItOpens)
{
    TempDir dir;
    TLMDIniCtrl ini((dir / "optionen.ini").string());
    ini.WriteString("Allgemein", "A", "1");
    bool open = false;
    int asked = 0;
    ini.SetWriteGate([&] {
        ++asked;
        return open;
    });
    ini.WriteString("Allgemein", "A", "2");
    ini.WriteBool("Allgemein", "B", true);
    EXPECT_EQ(ReadFile(dir / "optionen.ini"), "[Allgemein]\nA=1\n");
    EXPECT_EQ(asked, 2);
    // Text the file cannot hold is refused before the gate is asked.
    ExpectWriteRefused(dir / "optionen.ini", [&] { ini.WriteString("Allgemein", "A", "x\ny"); });
    EXPECT_EQ(asked, 2);
    open = true;
    ini.WriteString("Allgemein", "A", "3");
    EXPECT_EQ(ReadFile(dir / "optionen.ini"), "[Allgemein]\nA=3\n");

    // A copy to write through elsewhere asks the gate once, when made, and keeps
    // that answer.
    asked = 0;
    open = false;
    TLMDIniCtrl closed = ini.GatedCopy();
    open = true;
    closed.WriteString("Allgemein", "A", "4");
    TLMDIniCtrl opened = ini.GatedCopy();
    open = false;
    opened.WriteString("Allgemein", "B", "1");
    opened.WriteString("Allgemein", "C", "1");
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(ReadFile(dir / "optionen.ini"), "[Allgemein]\nA=3\nB=1\nC=1\n");
}
