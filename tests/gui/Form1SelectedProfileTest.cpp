#include "ProfilesTestFixture.h"

#include "support/FolderTree.h"
#include "support/ScopedFault.h"
#include "sync/FileStatus.h"

#include <QLabel>
#include <QRadioButton>
#include <QTabWidget>
#include <map>

namespace fs = std::filesystem;
using namespace filesync;
using testsupport::Build;
using testsupport::Dos;
using testsupport::File;
using testsupport::FolderHolds;
using testsupport::ReadFile;
using testsupport::SameSnapshot;
using testsupport::ScopedFault;
using testsupport::SnapshotTree;

namespace {

const std::uint32_t kOld = Dos(2022, 4, 1, 9, 0, 0);
const std::uint32_t kNew = Dos(2023, 6, 2, 9, 0, 0);

const auto kIni = File("qPPP_Profile.ini", "[Profil]\nStartDatei=Gleich.ppt\n");
const auto kOldNeu = File("Neu.ppt", "alt", kOld);
const auto kAlt = File("Alt.ppt", "nur hier", kOld);
const auto kGleich = File("Gleich.ppt", "g", kOld);
const auto kServerNeu = File("Neu.ppt", "neu", kNew);
const auto kFehlt = File("Fehlt.ppt", "fehlt", kNew);

std::vector<int> Statuses(const ui::StatusListModel& rows)
{
    std::vector<int> statuses;
    for (int i = 0; i < rows.rowCount(); ++i)
        statuses.push_back(rows.row(i).status);
    return statuses;
}

// Listing order differs between folders; the status of each name is what counts.
std::map<std::string, int> StatusByName(const ui::StatusListModel& rows)
{
    std::map<std::string, int> statuses;
    for (int i = 0; i < rows.rowCount(); ++i)
        statuses[rows.row(i).name] = rows.row(i).status;
    return statuses;
}

} // namespace

class SelectedProfileTest : public ProfilesTest
{
protected:
    // Profile "P" of the German set: Neu.ppt older than the server's (2),
    // Fehlt.ppt only on the server (3), Alt.ppt only in the profile (5),
    // Gleich.ppt identical (0).
    void MakeProfile()
    {
        Build(ProfileFolder("P"), {kIni, kOldNeu, kAlt, kGleich});
        Build(serverDe, {kServerNeu, kFehlt, kGleich, File("qPPP_Profile.ini", "[Profil]\n")});
        util::Global().CurrentProfile = "P";
        form->LabelProfilname->setText("P");
        form->EncartaButtonListeAuswahlClick();
    }

    void Mark(std::initializer_list<const char*> names)
    {
        form->TntListViewAuswahl->clearSelection();
        for (const char* name : names) {
            const int row = ProfileRowOf(name);
            ASSERT_GE(row, 0) << name;
            form->TntListViewAuswahl->markRow(row, true);
        }
    }

    int CountRefreshes()
    {
        refreshes = 0;
        QObject::connect(&ProfileRows(), &QAbstractItemModel::modelReset, form.get(), [this] {
            if (ProfileRows().rowCount() > 0)
                ++refreshes;
        });
        return 0;
    }

    int refreshes = 0;
};

TEST_F(SelectedProfileTest, AFreshlySavedProfileShowsTheStatusesOfTheSet)
{
    Build(localDe, {File("Gleich.ppt", "g", kOld), File("Neu.ppt", "alt", kOld),
                    File("Geändert.ppt", "lokal", kNew), File("Lokal.ppt", "l", kOld)});
    Build(serverDe, {File("Gleich.ppt", "g", kOld), File("Neu.ppt", "neu", kNew),
                     File("Geändert.ppt", "server", kOld), File("Fehlt.ppt", "f", kNew)});
    form->EncartaButtonAktAClick();
    const auto setStatuses = StatusByName(SetRows());
    EXPECT_EQ(setStatuses.size(), 5u);

    SaveProfile("Kopie");
    form->AdvOfficePager1->setCurrentIndex(1);
    SelectProfile("Kopie");
    form->EncartaButtonAuswahlClick();
    EXPECT_EQ(StatusByName(ProfileRows()), setStatuses);
    EXPECT_EQ(ProfileRows().row(ProfileRowOf("Fehlt.ppt")).status, StatusMissingLocally);
}

TEST_F(SelectedProfileTest, UpdatingMarkedRows235CopiesTwoAndRefreshesTwice)
{
    MakeProfile();
    EXPECT_EQ(ProfileRowOf("qPPP_Profile.ini"), -1) << "neither INI is a row";
    Mark({"Neu.ppt", "Fehlt.ppt", "Alt.ppt"});
    CountRefreshes();
    ui::DialogScript script;
    script.answerConfirm(true);
    form->AusgewhlteDateienaktuallisierenProfilClick();
    EXPECT_EQ(script.texts(),
              QStringList{"Wollen Sie die ausgewählte Datei(en) \r(Anzahl der Dateien: 3)\rlokal "
                          "wirklich aktualisieren?"});
    EXPECT_EQ(refreshes, 2);
    EXPECT_TRUE(FolderHolds(ProfileFolder("P"), {kIni, kServerNeu, kFehlt, kAlt, kGleich}));
    EXPECT_EQ(ProfileRows().row(ProfileRowOf("Neu.ppt")).status, StatusIdentical);
    EXPECT_EQ(ProfileRows().row(ProfileRowOf("Fehlt.ppt")).status, StatusIdentical);
    EXPECT_FALSE(fs::exists(localDe / "Neu.ppt")) << "the current set is not touched";
}

TEST_F(SelectedProfileTest, AProfileCopySpeltInOtherLettersIsUpdatedAndKeepsItsSpelling)
{
    Build(ProfileFolder("P"), {kIni, File("neu.PPT", "alt", kOld)});
    Build(serverDe, {kServerNeu});
    util::Global().CurrentProfile = "P";
    form->LabelProfilname->setText("P");
    form->EncartaButtonListeAuswahlClick();
    ASSERT_EQ(ProfileRows().rowCount(), 1);
    ASSERT_EQ(ProfileRows().row(0).status, StatusServerNewer);

    Mark({"neu.PPT"});
    ui::DialogScript script;
    script.answerConfirm(true);
    form->AusgewhlteDateienaktuallisierenProfilClick();
    EXPECT_EQ(script.texts().size(), 1) << "the question only";
    EXPECT_TRUE(FolderHolds(ProfileFolder("P"), {kIni, File("neu.PPT", "neu", kNew)}));
    EXPECT_EQ(ProfileRows().row(0).status, StatusIdentical);
}

TEST_F(SelectedProfileTest, CommandsWithNothingMarkedOrAnsweredNoChangeNothing)
{
    MakeProfile();
    form->TntListViewAuswahl->clearSelection();
    ui::DialogScript script;
    form->AusgewhlteDateienaktuallisierenProfilClick();
    form->DateilokallschenProfilClick();
    Mark({"Neu.ppt"});
    script.answerConfirm(false);
    form->AusgewhlteDateienaktuallisierenProfilClick();
    script.answerConfirm(false);
    form->DateilokallschenProfilClick();
    ASSERT_EQ(script.texts().size(), 4);
    EXPECT_EQ(script.texts()[0], "Biite eine Datei markieren.");
    EXPECT_EQ(script.shown()[1].kind, ui::BoxKind::Information);
    EXPECT_EQ(script.texts()[3],
              "Wollen Sie die asugewählte Datei(en)  \r(Anzahl der Dateien: 1)\rlokal wirklich löschen?");
    EXPECT_TRUE(FolderHolds(ProfileFolder("P"), {kIni, kOldNeu, kAlt, kGleich}));
}

TEST_F(SelectedProfileTest, DeletingAServerOnlyRowDoesNothingAndDeletingOthersRefreshes)
{
    MakeProfile();
    const auto serverBefore = SnapshotTree(serverDe.path());
    Mark({"Fehlt.ppt"});
    CountRefreshes();
    const auto question = [](int count) {
        return QString("Wollen Sie die asugewählte Datei(en)  \r(Anzahl der Dateien: %1)\rlokal wirklich "
                       "löschen?")
            .arg(count);
    };
    ui::DialogScript script;
    script.answerConfirm(true);
    form->DateilokallschenProfilClick();
    EXPECT_EQ(script.texts(), QStringList{question(1)});
    EXPECT_EQ(refreshes, 0);

    Mark({"Alt.ppt", "Gleich.ppt"});
    script.answerConfirm(true);
    form->DateilokallschenProfilClick();
    EXPECT_EQ(script.texts(), (QStringList{question(1), question(2)}));
    EXPECT_EQ(refreshes, 2);
    EXPECT_TRUE(FolderHolds(ProfileFolder("P"), {kIni, kOldNeu}));
    EXPECT_TRUE(SameSnapshot(serverBefore, SnapshotTree(serverDe.path())));
}

TEST_F(SelectedProfileTest, AProfileFolderGoneOrRefusingWritesIsReportedPerFile)
{
    MakeProfile();
    ui::DialogScript script;
    {
        // Read-only: copies and deletes are refused.
        const auto copyFault =
            ScopedFault::Copy([](const std::string&) { return std::optional<std::uint64_t>(0); });
        const auto deleteFault = ScopedFault::Delete([](const std::string&) { return true; });
        Mark({"Neu.ppt", "Alt.ppt"});
        script.answerConfirm(true);
        form->AusgewhlteDateienaktuallisierenProfilClick();
        Mark({"Neu.ppt", "Alt.ppt"});
        script.answerConfirm(true);
        form->DateilokallschenProfilClick();
    }
    EXPECT_EQ(script.texts().mid(1, 1), QStringList{"Datei konnte nicht kopiert werden."});
    EXPECT_EQ(script.shown()[1].kind, ui::BoxKind::Message);
    EXPECT_EQ(script.texts().mid(3), (QStringList{"Datei Neu.ppt konnte nicht gelöscht werden",
                                                  "Datei Alt.ppt konnte nicht gelöscht werden"}));

    // Deleted while shown: the update cannot bring the folder back.
    fs::remove_all(ProfileFolder("P"));
    form->EncartaButtonListeAuswahlClick();
    EXPECT_EQ(Statuses(ProfileRows()),
              (std::vector<int>{StatusMissingLocally, StatusMissingLocally, StatusMissingLocally}));
    Mark({"Neu.ppt"});
    script.answerConfirm(true);
    form->AusgewhlteDateienaktuallisierenProfilClick();
    EXPECT_EQ(script.texts().back(), "Datei konnte nicht kopiert werden.");
    EXPECT_FALSE(fs::exists(ProfileFolder("P")));
    // Showing the page forgets the name; the refresh then leaves the rows alone.
    form->AdvOfficePager1->setCurrentIndex(2);
    EXPECT_TRUE(form->LabelProfilname->text().isEmpty());
    CountRefreshes();
    form->EncartaButtonListeAuswahlClick();
    EXPECT_EQ(refreshes, 0);
    EXPECT_EQ(ProfileRows().rowCount(), 3);
}

TEST_F(SelectedProfileTest, AStaleProfileNameNeverListsOrWritesOutsideTheProfilesFolder)
{
    Build(localDe, {File("Satz.ppt", "s")});
    Build(serverDe, {File("Satz.ppt", "server", kNew)});
    for (const char* name : {"..", "../..", ""}) {
        util::Global().CurrentProfile = name;
        form->LabelProfilname->setText("sichtbar");
        form->EncartaButtonListeAuswahlClick();
        EXPECT_EQ(ProfileRowOf("qPPP_Profile"), -1);
        ASSERT_EQ(ProfileRowOf("Satz.ppt"), 0) << name;
        EXPECT_EQ(ProfileRows().row(0).status, StatusMissingLocally) << "the set is not the profile";
        Mark({"Satz.ppt"});
        ui::DialogScript script;
        script.answerConfirm(true);
        form->AusgewhlteDateienaktuallisierenProfilClick();
        script.answerConfirm(true);
        form->DateilokallschenProfilClick();
        EXPECT_EQ(script.texts(),
                  (QStringList{"Wollen Sie die ausgewählte Datei(en) \r(Anzahl der Dateien: 1)\rlokal "
                               "wirklich aktualisieren?",
                               "Wollen Sie die asugewählte Datei(en)  \r(Anzahl der Dateien: 1)\rlokal "
                               "wirklich löschen?"}))
            << name << ": asked, and then nothing to report";
        EXPECT_TRUE(FolderHolds(localDe.path(), {File("Satz.ppt", "s")})) << name;
    }
    EXPECT_TRUE(FolderHolds(serverDe.path(), {File("Satz.ppt", "server", kNew)}));
}

TEST_F(SelectedProfileTest, FlagDoubleClickTogglesTheLanguageWithItsProfileAndStartFiles)
{
    util::RuntimeState& g = util::Global();
    MakeProfile();
    g.ChosenProfileGerman = "P";
    g.ChosenProfileEnglish = "E";
    fs::create_directories(ProfileFolder("E", false));
    Build(ProfileFolder("E", false),
          {File("qPPP_Profile.ini", "[Profil]\nStartDatei=Welcome.ppt\n"), File("Welcome.ppt", "w", kOld)});
    Build(localEn,
          {File("Agenda.ppt", "a", kOld), File("qPPP_Profile.ini", "[Profil]\nStartDatei=Agenda.ppt\n")});
    Build(localDe,
          {File("qPPP_Profile.ini", "[Profil]\nStartDatei=Satz.ppt\n"), File("Satz.ppt", "s", kOld)});

    form->ImageFlageProfilDblClick();
    EXPECT_TRUE(form->RadioButtonEnglisch->isChecked());
    EXPECT_EQ(g.LanguageFlag, 0);
    EXPECT_EQ(g.CurrentProfile, "E");
    EXPECT_EQ(g.CurrentLocalFolder, localEn.str());
    EXPECT_EQ(g.CurrentServerFolder, serverEn.str());
    EXPECT_EQ(g.ProfileStartFile, "Welcome.ppt");
    EXPECT_EQ(g.CurrentSetStartFile, "Agenda.ppt");
    EXPECT_EQ(form->LabelProfilname->text(), "E");
    ASSERT_EQ(SetRows().rowCount(), 1);
    EXPECT_EQ(SetRows().row(0).name, "Agenda.ppt");
    EXPECT_TRUE(SetRows().data(SetRows().index(0, 0), Qt::FontRole).value<QFont>().bold());
    ASSERT_EQ(ProfileRows().rowCount(), 1);
    EXPECT_TRUE(ProfileRows().data(ProfileRows().index(0, 0), Qt::FontRole).value<QFont>().bold());
    EXPECT_EQ(form->ImageFlageProfil->pixmap().toImage(), form->ImageFlageE->pixmap().toImage());
    EXPECT_NE(ReadFile(SettingsFile()).find("CheckFlage=0"), std::string::npos);

    form->ImageFlageProfilDblClick();
    EXPECT_TRUE(form->RadioButtonDeutsch->isChecked());
    EXPECT_EQ(g.CurrentProfile, "P");
    EXPECT_EQ(g.ProfileStartFile, "Gleich.ppt");
    EXPECT_EQ(g.CurrentSetStartFile, "Satz.ppt");
    EXPECT_EQ(ProfileRows().rowCount(), 4);
    EXPECT_GE(SetRows().rowCount(), 1);
    EXPECT_EQ(form->ImageFlageAkt->pixmap().toImage(), form->ImageFlageD->pixmap().toImage());
}
