#include "launch/LaunchDecision.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

using launch::DecideLaunch;
using launch::LaunchButton;
using launch::ListPage;
using platform::LaunchAction;

namespace {

filesync::FileRow Row(const std::string& name)
{
    filesync::FileRow row;
    row.name = name;
    row.displayName = name;
    return row;
}

constexpr const char* kNotAPresentation = "Das ist keine PowerPoint Datei.";

// What one page, button and extension lead to: a message, or an action with its switch.
struct Outcome
{
    std::string message;
    std::optional<LaunchAction> action;
    std::string slideShowSwitch;
};

Outcome SlideShow(const char* slideShowSwitch)
{
    return {{}, LaunchAction::SlideShow, slideShowSwitch};
}
const Outcome kOpen{{}, LaunchAction::OpenAssociated, {}};
const Outcome kEdit{{}, LaunchAction::Edit, {}};
const Outcome kRefused{kNotAPresentation, std::nullopt, {}};

} // namespace

TEST(LaunchDecision, ExtensionIsTakenFromTheLastDotAndUpperCasedInAsciiOnly)
{
    EXPECT_EQ(launch::UpperExtension("Intro.ppt"), ".PPT");
    EXPECT_EQ(launch::UpperExtension("Intro.Ppt"), ".PPT");
    EXPECT_EQ(launch::UpperExtension("a.b.pptx"), ".PPTX");
    EXPECT_EQ(launch::UpperExtension("README"), "");
    EXPECT_EQ(launch::UpperExtension("Notiz."), ".");
    EXPECT_EQ(launch::UpperExtension("Übersicht.pdfä"), ".PDFä");
}

TEST(LaunchDecision, EveryPageButtonAndExtension)
{
    testsupport::TempDir folder;
    const char* names[] = {"a.ppt", "b.Ppt", "c.PPTX", "d.pptx", "e.pdf", "README"};
    for (const char* name : names)
        testsupport::WriteFile(folder / name, "x");

    struct Case
    {
        ListPage page;
        LaunchButton button;
        const char* name;
        Outcome expected;
    };
    const Case cases[] = {
        {ListPage::CurrentSet, LaunchButton::Show, "a.ppt", SlideShow("/S")},
        {ListPage::CurrentSet, LaunchButton::Show, "b.Ppt", SlideShow("/S")},
        {ListPage::CurrentSet, LaunchButton::Show, "c.PPTX", SlideShow("/S")},
        {ListPage::CurrentSet, LaunchButton::Show, "d.pptx", SlideShow("/S")},
        {ListPage::CurrentSet, LaunchButton::Show, "e.pdf", kOpen},
        {ListPage::CurrentSet, LaunchButton::Show, "README", kOpen},
        {ListPage::CurrentSet, LaunchButton::Edit, "a.ppt", kEdit},
        {ListPage::CurrentSet, LaunchButton::Edit, "b.Ppt", kEdit},
        {ListPage::CurrentSet, LaunchButton::Edit, "d.pptx", kEdit},
        {ListPage::CurrentSet, LaunchButton::Edit, "e.pdf", kRefused},
        {ListPage::CurrentSet, LaunchButton::Edit, "README", kRefused},
        {ListPage::Profile, LaunchButton::Show, "a.ppt", SlideShow("/s")},
        {ListPage::Profile, LaunchButton::Show, "b.Ppt", SlideShow("/s")},
        {ListPage::Profile, LaunchButton::Show, "c.PPTX", kOpen},
        {ListPage::Profile, LaunchButton::Show, "d.pptx", kOpen},
        {ListPage::Profile, LaunchButton::Show, "e.pdf", kOpen},
        {ListPage::Profile, LaunchButton::Show, "README", kOpen},
        {ListPage::Profile, LaunchButton::Edit, "a.ppt", kEdit},
        {ListPage::Profile, LaunchButton::Edit, "b.Ppt", kEdit},
        {ListPage::Profile, LaunchButton::Edit, "d.pptx", kRefused},
        {ListPage::Profile, LaunchButton::Edit, "e.pdf", kRefused},
        {ListPage::Profile, LaunchButton::Edit, "README", kRefused},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.page == ListPage::CurrentSet ? "page 0 " : "page 2 ") +
                     (c.button == LaunchButton::Show ? "Ausführen " : "Bearbeiten ") + c.name);
        const filesync::FileRow row = Row(c.name);
        const launch::LaunchDecision d = DecideLaunch(c.page, c.button, &row, folder.str());
        EXPECT_EQ(d.message, c.expected.message);
        ASSERT_EQ(d.IsDone(), c.expected.action.has_value());
        if (!d.IsDone())
            continue;
        EXPECT_EQ(d.value.action, *c.expected.action);
        EXPECT_EQ(d.value.path, (folder / c.name).string());
        EXPECT_EQ(d.value.slideShowSwitch, c.expected.slideShowSwitch);
    }
}

TEST(LaunchDecision, MessagesForNoRowAndForAFileThatIsNotOnTheLocalDisk)
{
    testsupport::TempDir folder;
    std::filesystem::create_directory(folder / "Ordner.ppt");
    const struct
    {
        ListPage page;
        LaunchButton button;
        const char* noRow;
    } handlers[] = {
        {ListPage::CurrentSet, LaunchButton::Show, "Biite eine Datei auswählen."},
        {ListPage::CurrentSet, LaunchButton::Edit, "Bitte eine Präsentation wählen."},
        {ListPage::Profile, LaunchButton::Show, "Biite eine Datei auswählen."},
        {ListPage::Profile, LaunchButton::Edit, "Bitte eine Präsentation wählen."},
    };
    // Only on the server; a folder where the list had a file; a name whose bytes
    // are not UTF-8 is named in the message as the list shows it.
    filesync::FileRow serverOnly = Row("Fehlt auf Platte.ppt");
    serverOnly.status = 3;
    const filesync::FileRow folderRow = Row("Ordner.ppt");
    filesync::FileRow latin1 = Row("F\xFCr.ppt");
    latin1.displayName = "Für.ppt";
    for (const auto& h : handlers) {
        EXPECT_EQ(DecideLaunch(h.page, h.button, nullptr, folder.str()).message, h.noRow);
        const auto missing = DecideLaunch(h.page, h.button, &serverOnly, folder.str());
        EXPECT_EQ(missing.message,
                  "Die Datei Fehlt auf Platte.ppt befindet sich nicht auf lokalem Datenträger.");
        EXPECT_EQ(missing.code, util::OutcomeCode::Refused);
        EXPECT_EQ(DecideLaunch(h.page, h.button, &folderRow, folder.str()).message,
                  "Die Datei Ordner.ppt befindet sich nicht auf lokalem Datenträger.");
        EXPECT_EQ(DecideLaunch(h.page, h.button, &latin1, folder.str()).message,
                  "Die Datei Für.ppt befindet sich nicht auf lokalem Datenträger.");
    }
    // Without a folder nothing may be looked for in the current or the root folder.
    testsupport::WriteFile(folder / "Da.ppt", "x");
    const filesync::FileRow present = Row("Da.ppt");
    EXPECT_FALSE(DecideLaunch(ListPage::Profile, LaunchButton::Show, &present, "").IsDone());
}

TEST(LaunchDecision, PathsUseTheRowsBytesAndOneSeparator)
{
    testsupport::TempDir local;
    const std::string profileFolder = launch::PageFolder(ListPage::Profile, local.str(), "Messe 2024");
    EXPECT_EQ(profileFolder, (local / "qPPP_Profile" / "Messe 2024").string());
    EXPECT_EQ(launch::PageFolder(ListPage::CurrentSet, local.str(), "Messe 2024"), local.str());
    EXPECT_EQ(launch::PageFolder(ListPage::Profile, local.str(), ""), "");
    EXPECT_EQ(launch::PageFolder(ListPage::Profile, local.str(), "../.."), "");

    std::filesystem::create_directories(profileFolder);
    testsupport::WriteFile(std::filesystem::path(profileFolder) / "F\xFCr.ppt", "x");
    filesync::FileRow latin1 = Row("F\xFCr.ppt");
    latin1.displayName = "Für.ppt";
    const auto d = DecideLaunch(ListPage::Profile, LaunchButton::Edit, &latin1, profileFolder);
    ASSERT_TRUE(d.IsDone());
    EXPECT_EQ(d.value.path, profileFolder + "/F\xFCr.ppt");

    testsupport::WriteFile(local / "x.ppt", "x");
    const filesync::FileRow row = Row("x.ppt");
    const auto withDelimiter =
        DecideLaunch(ListPage::CurrentSet, LaunchButton::Show, &row, local.str() + "/");
    ASSERT_TRUE(withDelimiter.IsDone());
    EXPECT_EQ(withDelimiter.value.path, (local / "x.ppt").string());
}
