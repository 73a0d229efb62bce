#include "FormFixture.h"
#include "ListRows.h"
#include "Modal.h"

#include "app/dialogs/FormDListe_u.h"
#include "support/RecordingLauncher.h"
#include "ui/FlatButton.h"
#include "ui/MessageDialogs.h"
#include "ui/StatusListView.h"

#include <QLabel>
#include <QListWidget>
#include <QRadioButton>

namespace fs = std::filesystem;
using platform::LaunchAction;
using platform::LaunchRequest;
using testsupport::ReadFile;
using testsupport::WriteFile;

namespace {

const QString kNoFile = QStringLiteral("Biite eine Datei auswählen.");
const QString kNoPresentation = QStringLiteral("Bitte eine Präsentation wählen.");
const QString kNotPowerPoint = QStringLiteral("Das ist keine PowerPoint Datei.");

QString Missing(const char* name)
{
    return QStringLiteral("Die Datei %1 befindet sich nicht auf lokalem Datenträger.")
        .arg(QString::fromUtf8(name));
}

using guitest::IsBold;
using guitest::RowOf;

} // namespace

// A German set with a profile "Messe 2024" and an English set, every file kind
// once; "Fehlt.ppt" lies only on the server.
class FormLaunchTest : public FormTest
{
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        for (const char* name : {"Intro.ppt", "Show.Ppt", "Neu.pptx", "Notes.pdf", "README"})
            WriteFile(local / name, "x");
        WriteFile(server / "Fehlt.ppt", "x");
        fs::create_directories(ProfileFolder());
        for (const char* name : {"Alt.ppt", "Neu.PPTX", "Notes.pdf"})
            WriteFile(ProfileFolder() / name, "x");
        WriteFile(english / "English.ppt", "x");
        WriteFile(english / "Intro.ppt", "x");

        CreateForm();
        util::RuntimeState& g = util::Global();
        g.LocalFolderGerman = g.CurrentLocalFolder = local.str();
        g.ServerFolderGerman = g.CurrentServerFolder = server.str();
        g.LocalFolderEnglish = english.str();
        g.ServerFolderEnglish = server.str();
        g.HostNameGerman.clear();
        g.HostNameEnglish.clear();
        g.CurrentProfile = g.ChosenProfileGerman = "Messe 2024";
        g.CompareWithServer = true;
        form->LabelProfilname->setText(QStringLiteral("Messe 2024"));
        form->EncartaButtonAktAClick();
        form->EncartaButtonListeAuswahlClick();
    }

    fs::path ProfileFolder() const { return local / "qPPP_Profile" / "Messe 2024"; }
    fs::path SetIni() const { return local / "qPPP_Profile.ini"; }
    fs::path ProfileIni() const { return ProfileFolder() / "qPPP_Profile.ini"; }

    void Mark(ui::StatusListView* list, const std::string& name, bool add = false)
    {
        const int row = RowOf(list, name);
        ASSERT_GE(row, 0) << name;
        list->markRow(row, add);
    }

    // Marks the file, clicks the handler; what reached the launcher, or the message.
    struct Result
    {
        std::optional<LaunchRequest> request;
        QStringList texts;
    };
    Result Click(ui::StatusListView* list, const std::string& name, void (TForm1::*handler)())
    {
        Mark(list, name);
        ui::DialogScript script;
        launcher->requests.clear();
        (form.get()->*handler)();
        Result r;
        if (!launcher->requests.empty())
            r.request = launcher->requests.back();
        EXPECT_LE(launcher->requests.size(), 1u);
        r.texts = script.texts();
        return r;
    }

    LaunchRequest In(const fs::path& folder, const char* name, LaunchAction action, const char* sw = "")
    {
        return {action, (folder / name).string(), sw};
    }

    testsupport::TempDir local;
    testsupport::TempDir server;
    testsupport::TempDir english;
    testsupport::InstalledRecordingLauncher launcher;
};

TEST_F(FormLaunchTest, CurrentSetShowsPresentationsWithTheCapitalSwitchAndEditsBothFormats)
{
    ui::StatusListView* list = form->TntListViewAkt;
    const auto show = &TForm1::EncartaButtonExeClick;
    const auto edit = &TForm1::EncartaButtonBearbClick;
    EXPECT_EQ(Click(list, "Intro.ppt", show).request,
              In(local.path(), "Intro.ppt", LaunchAction::SlideShow, "/S"));
    EXPECT_EQ(Click(list, "Show.Ppt", show).request,
              In(local.path(), "Show.Ppt", LaunchAction::SlideShow, "/S"));
    EXPECT_EQ(Click(list, "Neu.pptx", show).request,
              In(local.path(), "Neu.pptx", LaunchAction::SlideShow, "/S"));
    EXPECT_EQ(Click(list, "Notes.pdf", show).request,
              In(local.path(), "Notes.pdf", LaunchAction::OpenAssociated));
    EXPECT_EQ(Click(list, "README", show).request, In(local.path(), "README", LaunchAction::OpenAssociated));

    EXPECT_EQ(Click(list, "Show.Ppt", edit).request, In(local.path(), "Show.Ppt", LaunchAction::Edit));
    EXPECT_EQ(Click(list, "Neu.pptx", edit).request, In(local.path(), "Neu.pptx", LaunchAction::Edit));
    for (const char* other : {"Notes.pdf", "README"}) {
        const Result r = Click(list, other, edit);
        EXPECT_FALSE(r.request);
        EXPECT_EQ(r.texts, QStringList{kNotPowerPoint});
    }
}

TEST_F(FormLaunchTest, ProfilePageCountsOnlyTheOldFormatAsAPresentation)
{
    ui::StatusListView* list = form->TntListViewAuswahl;
    const auto show = &TForm1::EncartaButtonProExeClick;
    const auto edit = &TForm1::EncartaButtonProfBerClick;
    const fs::path folder = ProfileFolder();
    EXPECT_EQ(Click(list, "Alt.ppt", show).request, In(folder, "Alt.ppt", LaunchAction::SlideShow, "/s"));
    EXPECT_EQ(Click(list, "Neu.PPTX", show).request, In(folder, "Neu.PPTX", LaunchAction::OpenAssociated));
    EXPECT_EQ(Click(list, "Notes.pdf", show).request, In(folder, "Notes.pdf", LaunchAction::OpenAssociated));
    EXPECT_EQ(Click(list, "Alt.ppt", edit).request, In(folder, "Alt.ppt", LaunchAction::Edit));
    for (const char* refused : {"Neu.PPTX", "Notes.pdf"}) {
        const Result r = Click(list, refused, edit);
        EXPECT_FALSE(r.request);
        EXPECT_EQ(r.texts, QStringList{kNotPowerPoint});
    }

    // Several rows marked: the first in list order counts.
    const int alt = RowOf(list, "Alt.ppt");
    const int notes = RowOf(list, "Notes.pdf");
    list->markRow(std::max(alt, notes));
    list->markRow(std::min(alt, notes), true);
    launcher->requests.clear();
    form->EncartaButtonProExeClick();
    ASSERT_EQ(launcher->requests.size(), 1u);
    EXPECT_EQ(launcher->requests[0].path, (folder / (alt < notes ? "Alt.ppt" : "Notes.pdf")).string());
}

TEST_F(FormLaunchTest, NothingMarkedOrNotOnTheLocalDiskGivesTheMessagesAndStartsNothing)
{
    const struct
    {
        void (TForm1::*handler)();
        ui::StatusListView* list;
        QString noRow;
    } buttons[] = {
        {&TForm1::EncartaButtonExeClick, form->TntListViewAkt, kNoFile},
        {&TForm1::EncartaButtonBearbClick, form->TntListViewAkt, kNoPresentation},
        {&TForm1::EncartaButtonProExeClick, form->TntListViewAuswahl, kNoFile},
        {&TForm1::EncartaButtonProfBerClick, form->TntListViewAuswahl, kNoPresentation},
    };
    for (const auto& b : buttons) {
        b.list->clearSelection();
        {
            ui::DialogScript script;
            (form.get()->*b.handler)();
            EXPECT_EQ(script.texts(), QStringList{b.noRow});
        }
        const Result r = Click(b.list, "Fehlt.ppt", b.handler);
        EXPECT_EQ(r.texts, QStringList{Missing("Fehlt.ppt")});
        EXPECT_EQ(b.list->statusModel()->row(RowOf(b.list, "Fehlt.ppt")).status, 3);
    }
}

TEST_F(FormLaunchTest, ADoubleClickAnywhereInAFileListIsItsAusfuehren)
{
    form->show();
    const struct
    {
        ui::StatusListView* list;
        const char* name;
        LaunchRequest request;
    } lists[] = {
        {form->TntListViewAkt, "Intro.ppt", In(local.path(), "Intro.ppt", LaunchAction::SlideShow, "/S")},
        {form->TntListViewAuswahl, "Alt.ppt", In(ProfileFolder(), "Alt.ppt", LaunchAction::SlideShow, "/s")},
    };
    for (const auto& l : lists) {
        SCOPED_TRACE(l.list->objectName().toStdString());
        l.list->clearSelection();
        launcher->requests.clear();
        {
            ui::DialogScript script;
            DoubleClickBelowEntries(l.list);
            EXPECT_EQ(script.texts(), QStringList{kNoFile});
        }
        EXPECT_TRUE(launcher->requests.empty());

        // Below the entries with one marked: the marked one, which stays marked.
        Mark(l.list, l.name);
        DoubleClickBelowEntries(l.list);
        EXPECT_EQ(launcher->requests, std::vector<LaunchRequest>{l.request});
        EXPECT_EQ(l.list->firstMarkedRow(), RowOf(l.list, l.name));

        // On an entry, as before.
        l.list->clearSelection();
        launcher->requests.clear();
        DoubleClickOn(l.list, l.list->statusModel()->index(RowOf(l.list, l.name), 0));
        EXPECT_EQ(launcher->requests, std::vector<LaunchRequest>{l.request});
    }
}

TEST_F(FormLaunchTest, AFileThatVanishedOrBecameAFolderAfterTheRefreshIsReportedMissing)
{
    fs::remove(local / "Intro.ppt");
    fs::remove(local / "Notes.pdf");
    fs::create_directory(local / "Notes.pdf");
    EXPECT_EQ(Click(form->TntListViewAkt, "Intro.ppt", &TForm1::EncartaButtonExeClick).texts,
              QStringList{Missing("Intro.ppt")});
    EXPECT_EQ(Click(form->TntListViewAkt, "Notes.pdf", &TForm1::EncartaButtonExeClick).texts,
              QStringList{Missing("Notes.pdf")});
    EXPECT_TRUE(launcher->requests.empty());
}

TEST_F(FormLaunchTest, AFailedStartIsShownAsAnErrorAndTheWindowStaysUsable)
{
    launcher->failure = "Das Programm \"soffice\" (LibreOffice Impress) ist nicht installiert.";
    Mark(form->TntListViewAkt, "Intro.ppt");
    {
        ui::DialogScript script;
        form->EncartaButtonBearbClick();
        ASSERT_EQ(script.shown().size(), 1);
        EXPECT_EQ(script.shown()[0].kind, ui::BoxKind::Error);
        EXPECT_EQ(script.shown()[0].text.toStdString(), launcher->failure);
    }
    EXPECT_FALSE(form->Gate().Busy());
    launcher->failure.clear();
    EXPECT_EQ(Click(form->TntListViewAkt, "Neu.pptx", &TForm1::EncartaButtonExeClick).request,
              In(local.path(), "Neu.pptx", LaunchAction::SlideShow, "/S"));
}

TEST_F(FormLaunchTest, ALaunchIsRefusedWhileAnotherOperationRuns)
{
    Mark(form->TntListViewAkt, "Intro.ppt");
    util::OperationScope running(form->Gate(), util::OperationGate::Request::Command);
    form->EncartaButtonExeClick();
    EXPECT_TRUE(launcher->requests.empty());
}

// ---------------------------------------------------------------- start files

TEST_F(FormLaunchTest, DefiningTheStartFileOnPageZeroWritesOnlyTheSetsIniAndMakesItsRowBold)
{
    Mark(form->TntListViewAkt, "Show.Ppt");
    ui::DialogScript script;
    script.answerConfirm(true);
    form->Startdateidefinieren1Click();
    EXPECT_EQ(script.texts(), QStringList{"Wollen Sie die Datei \"Show.Ppt\" als Startdatei definieren"});
    EXPECT_EQ(ReadFile(SetIni()), "[Profil]\nStartDatei=Show.Ppt\n");
    EXPECT_FALSE(fs::exists(ProfileIni()));
    EXPECT_EQ(util::Global().CurrentSetStartFile, "Show.Ppt");
    EXPECT_EQ(util::Global().ProfileStartFile, "");
    EXPECT_TRUE(IsBold(form->TntListViewAkt, "Show.Ppt"));
    EXPECT_FALSE(IsBold(form->TntListViewAkt, "Intro.ppt"));
    EXPECT_EQ(form->TntListViewAkt->statusModel()->rowCount(), 6) << "the list was refreshed";
}

TEST_F(FormLaunchTest, DefiningTheStartFileOnPageTwoWritesOnlyTheProfilesIni)
{
    WriteFile(ProfileIni(), "[Profil]\nBeschreibung=Stand 4\n");
    Mark(form->TntListViewAuswahl, "Neu.PPTX");
    ui::DialogScript script;
    script.answerConfirm(true);
    form->StartdateidefinierenProfilClick();
    EXPECT_EQ(script.texts(), QStringList{"Wollen Sie die Datei \"Neu.PPTX\" als Startdatei definieren"});
    EXPECT_EQ(ReadFile(ProfileIni()), "[Profil]\nBeschreibung=Stand 4\nStartDatei=Neu.PPTX\n");
    EXPECT_FALSE(fs::exists(SetIni()));
    EXPECT_EQ(util::Global().ProfileStartFile, "Neu.PPTX");
    EXPECT_EQ(util::Global().CurrentSetStartFile, "");
    EXPECT_TRUE(IsBold(form->TntListViewAuswahl, "Neu.PPTX"));
    EXPECT_FALSE(IsBold(form->TntListViewAkt, "Neu.pptx"));
}

TEST_F(FormLaunchTest, NoMarkNoAnswerOrAFailedWriteChangeNothing)
{
    form->TntListViewAkt->clearSelection();
    {
        ui::DialogScript script;
        form->Startdateidefinieren1Click();
        form->StartdateidefinierenProfilClick();
        EXPECT_EQ(script.texts(),
                  (QStringList{"Biite eine Datei markieren.", "Biite eine Datei markieren."}));
    }
    Mark(form->TntListViewAkt, "Intro.ppt");
    {
        ui::DialogScript script;
        script.answerConfirm(false);
        form->Startdateidefinieren1Click();
        EXPECT_EQ(script.texts(),
                  QStringList{"Wollen Sie die Datei \"Intro.ppt\" als Startdatei definieren"});
    }
    EXPECT_FALSE(fs::exists(SetIni()));
    EXPECT_EQ(util::Global().CurrentSetStartFile, "");

    // A refused write is shown in the error box; the name stays as it was.
    fs::create_directory(SetIni());
    ui::DialogScript script;
    script.answerConfirm(true);
    form->Startdateidefinieren1Click();
    ASSERT_EQ(script.shown().size(), 2);
    EXPECT_EQ(script.shown().back().kind, ui::BoxKind::Error);
    EXPECT_EQ(script.shown().back().text,
              QString::fromStdString("nach " + SetIni().string() + " kann nicht geschrieben werden"));
    EXPECT_EQ(util::Global().CurrentSetStartFile, "");
    EXPECT_FALSE(IsBold(form->TntListViewAkt, "Intro.ppt"));
    EXPECT_FALSE(form->Gate().Busy());
}

TEST_F(FormLaunchTest, AStoredNameThatDiffersInCaseMarksNothing)
{
    WriteFile(SetIni(), "[Profil]\nStartDatei=intro.PPT\n");
    WriteSettings("[Allgemein]\nEditLPfadDeutsch=" + local.str() + "\nEditSPfadDeutsch=" + server.str() +
                  "\n");
    CreateForm();
    ASSERT_EQ(util::Global().CurrentSetStartFile, "intro.PPT") << "read at start";
    form->EncartaButtonAktAClick();
    ASSERT_GE(RowOf(form->TntListViewAkt, "Intro.ppt"), 0);
    for (const auto& row : form->TntListViewAkt->statusModel()->rows())
        EXPECT_FALSE(IsBold(form->TntListViewAkt, row.name)) << row.name;
}

TEST_F(FormLaunchTest, ALanguageSwitchByRadioButtonKeepsTheStartFilesLoadedBefore)
{
    WriteFile(english / "qPPP_Profile.ini", "[Profil]\nStartDatei=English.ppt\n");
    util::Global().CurrentSetStartFile = "Intro.ppt";
    util::Global().ProfileStartFile = "Alt.ppt";
    form->RadioButtonEnglischClick();
    ASSERT_EQ(util::Global().CurrentLocalFolder, english.str());
    EXPECT_EQ(util::Global().CurrentSetStartFile, "Intro.ppt");
    EXPECT_EQ(util::Global().ProfileStartFile, "Alt.ppt");
    EXPECT_TRUE(IsBold(form->TntListViewAkt, "Intro.ppt"));
    EXPECT_FALSE(IsBold(form->TntListViewAkt, "English.ppt"));
}

// ---------------------------------------------------------------- chooser

TEST_F(FormLaunchTest, TheChooserOffersThePageZeroNamesInListOrderWithNoneMarked)
{
    TFormDListe& chooser = windows->FormDListe;
    EXPECT_EQ(chooser.windowTitle(), "Auswahl der Startdatei");
    EXPECT_EQ(chooser.size(), QSize(336, 309));
    EXPECT_EQ(chooser.findChild<QLabel*>("Label1")->text(), "Bitte Dateiname auswählen");
    EXPECT_EQ(chooser.findChild<ui::FlatButton*>("EncartaButtonOK")->text(), "OK");
    EXPECT_EQ(chooser.findChild<ui::FlatButton*>("EncartaButtonAb")->text(), "Abbrechen");

    QStringList expected;
    for (const auto& row : form->TntListViewAkt->statusModel()->rows())
        expected << QString::fromStdString(row.displayName);
    form->TntListViewAkt->markRow(2); // the page's own mark is not taken over

    QStringList offered;
    bool marked = true;
    QString name = QStringLiteral("vorher");
    const auto choose = [&] { return chooser.ChooseStartFile(name); };
    EXPECT_TRUE(guitest::WithModal(
        chooser,
        [&] {
            auto* list = chooser.findChild<QListWidget*>("ListBox1");
            for (int i = 0; i < list->count(); ++i)
                offered << list->item(i)->text();
            marked = !list->selectedItems().isEmpty();
            list->setCurrentRow(1);
            chooser.findChild<ui::FlatButton*>("EncartaButtonOK")->click();
        },
        choose));
    EXPECT_EQ(offered, expected);
    EXPECT_FALSE(marked);
    EXPECT_EQ(name, expected[1]);

    // Cancelled, or OK with nothing marked: false and the text as it was.
    name = QStringLiteral("vorher");
    EXPECT_FALSE(guitest::WithModal(
        chooser,
        [&] {
            chooser.findChild<QListWidget*>("ListBox1")->setCurrentRow(0);
            chooser.findChild<ui::FlatButton*>("EncartaButtonAb")->click();
        },
        choose));
    EXPECT_FALSE(guitest::WithModal(
        chooser, [&] { chooser.findChild<ui::FlatButton*>("EncartaButtonOK")->click(); }, choose));
    EXPECT_FALSE(guitest::WithModal(
        chooser, [&] { chooser.close(); }, choose));
    EXPECT_EQ(name, "vorher");
}

TEST_F(FormLaunchTest, TheChooserWithAnEmptyListReturnsFalse)
{
    form->TntListViewAkt->statusModel()->clear();
    TFormDListe& chooser = windows->FormDListe;
    int count = -1;
    QString name = QStringLiteral("vorher");
    EXPECT_FALSE(guitest::WithModal(
        chooser,
        [&] {
            count = chooser.findChild<QListWidget*>("ListBox1")->count();
            chooser.findChild<ui::FlatButton*>("EncartaButtonOK")->click();
        },
        [&] { return chooser.ChooseStartFile(name); }));
    EXPECT_EQ(count, 0);
    EXPECT_EQ(name, "vorher");
}
