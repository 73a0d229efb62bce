#include "ProfilesTestFixture.h"

#include "sync/FileStatus.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>

namespace fs = std::filesystem;
using testsupport::Build;
using testsupport::Dos;
using testsupport::File;
using testsupport::ReadFile;
using testsupport::WriteFile;
using testsupport::WriteFileAt;

namespace {

std::string Ini(const std::string& description, const std::string& startFile)
{
    return "[Profil]\nBeschreibung=" + description + "\nStartDatei=" + startFile + "\n";
}

} // namespace

TEST_F(ProfilesTest, ProfilesPageListsTheProfilesOfTheCurrentLanguageOnly)
{
    EXPECT_EQ(form->LabelPN->text(), "Profilnamen");
    util::Global().CurrentProfile = "Gelöscht";
    form->AdvOfficePager1->setCurrentIndex(1);
    EXPECT_EQ(form->ListBoxProfile->count(), 0) << "no profiles folder";
    EXPECT_EQ(form->LabelZProfil->text(), "Gelöscht");
    EXPECT_EQ(form->LabelPN->text(), "Profilnamen (deutsch)");

    fs::create_directories(ProfileFolder("Deutsch"));
    fs::create_directories(ProfileFolder("English", false));
    form->AdvOfficePager1->setCurrentIndex(0);
    form->AdvOfficePager1->setCurrentIndex(1);
    ASSERT_EQ(form->ListBoxProfile->count(), 1);
    EXPECT_EQ(form->ListBoxProfile->item(0)->text(), "Deutsch");
    EXPECT_TRUE(form->ListBoxProfile->selectedItems().isEmpty());
}

TEST_F(ProfilesTest, MarkingAProfileShowsItsDescriptionInLines)
{
    fs::create_directories(ProfileFolder("Mit"));
    fs::create_directories(ProfileFolder("Ohne INI"));
    Build(ProfileFolder("Mit"), {File("qPPP_Profile.ini", Ini("Eins\x08Zwei\x08\x08Vier", "a.ppt"))});
    form->AdvOfficePager1->setCurrentIndex(1);
    SelectProfile("Mit");
    EXPECT_EQ(form->MemoProfileH->toPlainText(), "Eins\nZwei\n\nVier");
    EXPECT_TRUE(form->MemoProfileH->isReadOnly());
    SelectProfile("Ohne INI");
    EXPECT_EQ(form->MemoProfileH->toPlainText(), "");
}

TEST_F(ProfilesTest, ChangedDescriptionIsStoredCutAt255OnLeavingTheField)
{
    fs::create_directories(ProfileFolder("P"));
    form->AdvOfficePager1->setCurrentIndex(1);
    SelectProfile("P");
    form->Beschreibungndern1Click();
    EXPECT_FALSE(form->MemoProfileH->isReadOnly());
    EXPECT_FALSE(form->LabelPB1->isHidden());
    EXPECT_FALSE(form->LabelPB2->isHidden());
    // 250 characters, a line break counting two, then ten more: three of them stay.
    form->MemoProfileH->setPlainText(QString(250, 'a') + "\n" + QString(10, 'b'));
    form->MemoProfileHExit();
    EXPECT_EQ(ReadFile(ProfileFolder("P") / "qPPP_Profile.ini"),
              "[Profil]\nBeschreibung=" + std::string(250, 'a') +
                  "\x08"
                  "bbb\n");
    EXPECT_TRUE(form->MemoProfileH->isReadOnly());
    EXPECT_TRUE(form->LabelPB1->isHidden());
    EXPECT_TRUE(form->LabelPB2->isHidden());

    // A long description from the save is shown whole; leaving the read-only field cuts it.
    Build(ProfileFolder("P"), {File("qPPP_Profile.ini", Ini(std::string(300, 'x'), "s.ppt"))});
    SelectProfile("P");
    form->ListBoxProfileClick();
    EXPECT_EQ(form->MemoProfileH->toPlainText().size(), 300);
    form->MemoProfileHExit();
    EXPECT_EQ(ReadFile(ProfileFolder("P") / "qPPP_Profile.ini"), Ini(std::string(255, 'x'), "s.ppt"));
}

TEST_F(ProfilesTest, ChangingTheDescriptionWithNoProfileMarkedStoresNothing)
{
    fs::create_directories(ProfileFolder("P"));
    form->AdvOfficePager1->setCurrentIndex(1);
    form->Beschreibungndern1Click();
    form->MemoProfileH->setPlainText("nirgends");
    form->MemoProfileHExit();
    EXPECT_FALSE(form->MemoProfileH->isReadOnly()) << "stays writable";
    EXPECT_TRUE(form->LabelPB1->isHidden());
    EXPECT_FALSE(fs::exists(ProfileFolder("P") / "qPPP_Profile.ini"));
}

TEST_F(ProfilesTest, DeletingAProfileAsksFirstAndKeepsTheNameInUse)
{
    fs::create_directories(ProfileFolder("Aktiv"));
    Build(ProfileFolder("Aktiv"), {File("a.ppt", "a")});
    fs::create_directories(ProfileFolder("Andere"));
    util::Global().CurrentProfile = "Aktiv";
    form->AdvOfficePager1->setCurrentIndex(1);

    ui::DialogScript script;
    script.answerConfirm(true); // nothing marked: the question still comes first
    form->MenuProfilLoeschenClick();
    SelectProfile("Aktiv");
    script.answerConfirm(false);
    form->MenuProfilLoeschenClick();
    EXPECT_TRUE(fs::exists(ProfileFolder("Aktiv") / "a.ppt"));
    script.answerConfirm(true);
    form->MenuProfilLoeschenClick();
    EXPECT_EQ(script.texts(),
              (QStringList{"Wollen Sie wirklich die Datein in dem Profil\runwiederuflich löschen",
                           "Ein Profil bitte markieren.",
                           "Wollen Sie wirklich die Datein in dem Profil\runwiederuflich löschen",
                           "Wollen Sie wirklich die Datein in dem Profil\runwiederuflich löschen"}));
    EXPECT_FALSE(fs::exists(ProfileFolder("Aktiv")));
    EXPECT_TRUE(fs::exists(ProfileFolder("Andere")));
    ASSERT_EQ(form->ListBoxProfile->count(), 1);
    EXPECT_EQ(form->ListBoxProfile->item(0)->text(), "Andere");
    EXPECT_EQ(form->LabelZProfil->text(), "Aktiv");
    EXPECT_EQ(util::Global().CurrentProfile, "Aktiv");

    // Its page shows no name any more, and its refresh then does nothing.
    form->LabelProfilname->setText("Aktiv");
    form->AdvOfficePager1->setCurrentIndex(2);
    EXPECT_TRUE(form->LabelProfilname->text().isEmpty());
}

TEST_F(ProfilesTest, ChoosingWhileEnglishIsCurrentWritesOnlyTheEnglishChoice)
{
    util::RuntimeState& g = util::Global();
    g.LanguageFlag = 0;
    g.CurrentLocalFolder = localEn.str();
    g.CurrentServerFolder = serverEn.str();
    g.ChosenProfileGerman = "Deutsch";
    fs::create_directories(ProfileFolder("Trade fair", false));
    Build(ProfileFolder("Trade fair", false),
          {File("qPPP_Profile.ini", Ini("", "Opening.ppt")), File("Opening.ppt", "o")});

    ui::DialogScript script;
    form->AdvOfficePager1->setCurrentIndex(1);
    form->EncartaButtonAuswahlClick();
    EXPECT_EQ(script.texts(), QStringList{"Bitte zuerst ein Profil auswählen"});

    SelectProfile("Trade fair");
    form->EncartaButtonAuswahlClick();
    EXPECT_EQ(g.CurrentProfile, "Trade fair");
    EXPECT_EQ(g.ChosenProfileEnglish, "Trade fair");
    EXPECT_EQ(g.ChosenProfileGerman, "Deutsch");
    EXPECT_EQ(g.ProfileStartFile, "Opening.ppt");
    EXPECT_EQ(form->LabelProfilname->text(), "Trade fair");
    EXPECT_EQ(form->AdvOfficePager1->currentIndex(), 2);
    const std::string settingsText = ReadFile(SettingsFile());
    EXPECT_NE(settingsText.find("wahlProfilEnglisch=Trade fair"), std::string::npos) << settingsText;
    EXPECT_EQ(settingsText.find("wahlProfilDeutsch"), std::string::npos) << settingsText;
    ASSERT_EQ(ProfileRows().rowCount(), 1);
    EXPECT_EQ(ProfileRows().row(0).name, "Opening.ppt");
    EXPECT_TRUE(ProfileRows().data(ProfileRows().index(0, 0), Qt::FontRole).value<QFont>().bold());
}

TEST_F(ProfilesTest, ADoubleClickAnywhereInTheProfileListIsAuswaehlen)
{
    util::RuntimeState& g = util::Global();
    fs::create_directories(ProfileFolder("Messe"));
    WriteFile(ProfileFolder("Messe") / "qPPP_Profile.ini", Ini("", "Intro.ppt"));
    form->AdvOfficePager1->setCurrentIndex(1);
    form->show();
    form->ListBoxProfile->clearSelection();
    form->ListBoxProfile->setCurrentItem(nullptr);
    {
        ui::DialogScript script;
        DoubleClickBelowEntries(form->ListBoxProfile);
        EXPECT_EQ(script.texts(), QStringList{"Bitte zuerst ein Profil auswählen"});
    }
    EXPECT_EQ(form->AdvOfficePager1->currentIndex(), 1);

    SelectProfile("Messe");
    DoubleClickBelowEntries(form->ListBoxProfile);
    EXPECT_EQ(g.CurrentProfile, "Messe");
    EXPECT_EQ(form->LabelProfilname->text(), "Messe");
    EXPECT_EQ(form->AdvOfficePager1->currentIndex(), 2);

    // On a name, as before.
    g.CurrentProfile.clear();
    form->AdvOfficePager1->setCurrentIndex(1);
    form->ListBoxProfile->clearSelection();
    const auto items = form->ListBoxProfile->findItems("Messe", Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1);
    DoubleClickOn(form->ListBoxProfile, form->ListBoxProfile->indexFromItem(items.first()));
    EXPECT_EQ(g.CurrentProfile, "Messe");
    EXPECT_EQ(form->AdvOfficePager1->currentIndex(), 2);
}

TEST_F(ProfilesTest, RightClickInAListOpensItsContextMenu)
{
    form->show();
    const std::pair<QAbstractScrollArea*, QMenu*> lists[] = {
        {form->TntListViewAkt, form->PopupMenuAPPP},
        {form->ListBoxProfile, form->PopupMenuProfil},
        {form->TntListViewAuswahl, form->PopupMenuAusProf}};
    for (const auto& [list, menu] : lists) {
        QWidget* viewport = list->viewport();
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), viewport->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(viewport, &event);
        EXPECT_TRUE(menu->isVisible()) << menu->objectName().toStdString();
        menu->hide();
    }
}

TEST_F(ProfilesTest, OddProfilesFoldersAndFilesAreShownOrSkippedWithoutHarm)
{
    // The profiles folder is a file: no profiles, no message.
    Build(localDe, {File("qPPP_Profile", "kein Ordner")});
    form->AdvOfficePager1->setCurrentIndex(1);
    EXPECT_EQ(form->ListBoxProfile->count(), 0);
    fs::remove(localDe / "qPPP_Profile");

    // Non-Latin names, an INI in Windows-1252 with garbage lines, a very long description.
    fs::create_directories(ProfileFolder("Выставка 2024"));
    fs::create_directories(ProfileFolder("Alt"));
    fs::create_directories(ProfileFolder("Lang"));
    WriteFile(ProfileFolder("Alt") / "qPPP_Profile.ini",
              "\x01\x02 M\xfcll\n[Profil]\n=ohne Schl\xfcssel\nBeschreibung=F\xfcr Kunden\x08gr\xfc\xdf"
              "e\n");
    WriteFile(ProfileFolder("Lang") / "qPPP_Profile.ini",
              "[Profil]\nBeschreibung=" + std::string(100'000, 'x') + "\n");
    form->AdvOfficePager1->setCurrentIndex(0);
    form->AdvOfficePager1->setCurrentIndex(1);
    EXPECT_EQ(form->ListBoxProfile->count(), 3);
    SelectProfile("Выставка 2024");
    EXPECT_EQ(form->MemoProfileH->toPlainText(), "");
    SelectProfile("Alt");
    EXPECT_EQ(form->MemoProfileH->toPlainText(), "Für Kunden\ngrüße");
    SelectProfile("Lang");
    EXPECT_EQ(form->MemoProfileH->toPlainText().size(), 2047) << "values read back at most 2047 characters";
}
