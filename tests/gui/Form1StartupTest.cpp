#include "FormFixture.h"

#include "platform/AtomicFile.h"
#include "platform/UserFolders.h"
#include "ui/MessageDialogs.h"
#include "ui/StatusListView.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>

namespace fs = std::filesystem;
using testsupport::ReadFile;

TEST_F(FormTest, FirstRunWithoutSettingsFileUsesTheDefaultsAndWritesNothing)
{
    TForm1& f = CreateForm();
    const util::RuntimeState& g = util::Global();

    EXPECT_EQ(f.windowTitle(), "Quintor 3P");
    ASSERT_EQ(f.AdvOfficePager1->count(), 5);
    const QStringList tabs = {"Aktuelle PPP", "Profile", "Ausgewähltes Profil", "Einstellungen", "Info"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(f.AdvOfficePager1->tabText(i), tabs[i]);

    EXPECT_EQ(g.LanguageFlag, 1);
    EXPECT_EQ(g.DesignIndex, 0);
    EXPECT_EQ(f.ComboBoxDesign->currentIndex(), 0);
    EXPECT_TRUE(f.CheckBoxStart->isChecked());
    EXPECT_TRUE(g.CompareWithServer);
    EXPECT_FALSE(f.CheckBoxInterval->isChecked());
    EXPECT_FALSE(f.TimerInterval->isActive());
    EXPECT_EQ(f.RxSpinEditInterval->value(), 2);
    EXPECT_EQ(f.AdvOfficePager1->currentIndex(), 0);
    EXPECT_TRUE(f.RadioButtonDeutsch->isChecked());
    EXPECT_EQ(f.RadioButtonDeutsch->text(), "detusch");

    const std::string homeFolder = platform::HomeFolder();
    EXPECT_EQ(g.LocalFolderGerman, homeFolder + "/quintor3P_de " + g.UserName);
    EXPECT_EQ(g.LocalFolderEnglish, homeFolder + "/quintor3P_en_" + g.UserName);
    EXPECT_EQ(g.CurrentLocalFolder, g.LocalFolderGerman);
    EXPECT_EQ(g.ServerFolderGerman, "Bitte hier Serverpfad für deutsch eintragen");
    EXPECT_EQ(g.ServerFolderEnglish, "Bitte hier Serverpfad für deutsch eintragen");
    EXPECT_TRUE(fs::is_directory(ConfigFolder()));
    EXPECT_FALSE(fs::exists(SettingsFile())) << "the creation step must not write the settings file";
    EXPECT_EQ(f.LabelVersion->text(), "Quintor 3P (PowerPointPräsentation). Version 1.03 (22.11.2014)");
}

TEST_F(FormTest, StoredValuesAreLoadedWithoutBeingWrittenBackAndSurviveARestart)
{
    const std::string stored = "[Allgemein]\r\n"
                               "EditLPfadDeutsch=/daten/de\r\n"
                               "EditSPfadDeutsch=/server/de\r\n"
                               "EditLPfadEnglisch=/daten/en\r\n"
                               "EditSPfadEnglisch=/server/en\r\n"
                               "ServerNameEnglisch=srv01\r\n"
                               "wahlProfilEnglisch=Messe\r\n"
                               "CheckFlage=0\r\n"
                               "CheckBoxStart=0\r\n"
                               "CheckBoxInterval=1\r\n"
                               "RxSpinEditInterval=5\r\n"
                               "ComboBoxDesign=2\r\n"
                               "AktivPage=0\r\n";
    WriteSettings(stored);
    {
        TForm1& f = CreateForm();
        const util::RuntimeState& g = util::Global();
        EXPECT_EQ(g.LanguageFlag, 0);
        EXPECT_EQ(g.CurrentLocalFolder, "/daten/en");
        EXPECT_EQ(g.CurrentServerFolder, "/server/en");
        EXPECT_EQ(g.HostNameEnglish, "srv01");
        EXPECT_EQ(g.CurrentProfile, "Messe");
        EXPECT_EQ(f.LabelProfilname->text(), "Messe");
        EXPECT_FALSE(g.CompareWithServer);
        EXPECT_EQ(f.ComboBoxDesign->currentIndex(), 2);
        EXPECT_EQ(f.RxSpinEditInterval->value(), 5);
        EXPECT_TRUE(f.TimerInterval->isActive());
        EXPECT_EQ(f.TimerInterval->interval(), 18'000'000);
    }
    EXPECT_EQ(ReadFile(SettingsFile()), stored);
    windows.reset();
    util::InitialiseGlobalState();
    TForm1& again = CreateForm();
    EXPECT_EQ(again.TimerInterval->interval(), 18'000'000);
    EXPECT_EQ(ReadFile(SettingsFile()), stored);
}

TEST_F(FormTest, StoredDesignOutsideTheListShowsNoSelection)
{
    WriteSettings("[Allgemein]\nComboBoxDesign=7\n");
    TForm1& f = CreateForm();
    EXPECT_EQ(f.ComboBoxDesign->currentIndex(), -1);
    EXPECT_EQ(util::Global().DesignIndex, 7);
}

TEST_F(FormTest, ClosingStoresPageTwoOnlyWhenItIsShown)
{
    TForm1& f = CreateForm();
    for (const auto& [page, stored] :
         {std::pair{2, "2"}, std::pair{1, "0"}, std::pair{3, "0"}, std::pair{4, "0"}}) {
        f.AdvOfficePager1->setCurrentIndex(page);
        f.FormCloseQuery();
        EXPECT_NE(ReadFile(SettingsFile()).find(std::string("AktivPage=") + stored), std::string::npos)
            << page;
    }
}

TEST_F(FormTest, WindowPositionIsKeptButAMaximisedCloseKeepsTheLastNormalPosition)
{
    {
        TForm1& f = CreateForm();
        f.show();
        f.move(123, 77);
        f.FormCloseQuery();
        f.setWindowState(Qt::WindowMaximized);
        f.FormCloseQuery();
    }
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, "Travenil", "quintorPPP");
    store.beginGroup("FormPosition");
    EXPECT_EQ(store.value("Form1.Left").toInt(), 123);
    EXPECT_EQ(store.value("Form1.Top").toInt(), 77);
    EXPECT_EQ(store.value("Form1.State").toInt(), 2);
    EXPECT_EQ(store.value("Form1.Caption").toString(), "Quintor 3P");
    EXPECT_FALSE(store.contains("Form1.Width"));
    EXPECT_FALSE(store.contains("Form1.Height"));
    store.endGroup();

    windows.reset();
    TForm1& again = CreateForm();
    EXPECT_EQ(again.pos(), QPoint(123, 77));
    EXPECT_TRUE(again.windowState() & Qt::WindowMaximized);
}

TEST_F(FormTest, DataFolderThatCannotBeMadeIsReportedAndTheWindowStillOpens)
{
    // The configuration folder is a file, so the program's folder cannot be made below it.
    testsupport::WriteFile(home / ".config", "kein Ordner");
    ui::DialogScript script;
    TForm1& f = CreateForm();
    const std::string folder = (home / ".config" / "quintorPPP").string();
    EXPECT_EQ(script.texts(),
              QStringList{QString::fromStdString("Ordner \"" + folder + "\" kann nicht erstellt werden.")});
    EXPECT_EQ(script.shown().first().kind, ui::BoxKind::Error);
    EXPECT_EQ(f.RxSpinEditInterval->value(), 1) << "controls keep their layout values";
    EXPECT_TRUE(util::Global().LocalFolderGerman.empty());

    // A later save reports the failure instead of writing somewhere else.
    f.ButtonESpeichern->click();
    ASSERT_EQ(script.texts().size(), 2);
    EXPECT_EQ(script.texts()[1].toStdString(),
              "nach " + folder + "/optionen.ini kann nicht geschrieben werden");
}

TEST_F(FormTest, AnUnwritableSettingsFileGivesTheGermanErrorAndTheWindowGoesOn)
{
    WriteSettings("[Allgemein]\nCheckBoxStart=1\n");
    TForm1& f = CreateForm();
    // A folder where the settings file should be: no write can succeed, even as root.
    fs::remove(SettingsFile());
    fs::create_directory(SettingsFile());
    ui::DialogScript script;
    f.CheckBoxStart->click();
    EXPECT_EQ(script.texts(), QStringList{QString::fromStdString("nach " + SettingsFile().string() +
                                                                 " kann nicht geschrieben werden")});
    EXPECT_TRUE(fs::is_directory(SettingsFile()));
}

namespace {

// A German and an English set, each with one file that is identical on the server.
struct TwoSets
{
    testsupport::TempDir root;
    std::string Folder(const char* name) const { return (root / name).string(); }

    TwoSets()
    {
        for (const char* name : {"de_lokal", "de_server", "en_lokal", "en_server"}) {
            fs::create_directory(root / name);
            testsupport::WriteFileAt(root / name / "Vortrag.ppt", "x", testsupport::Dos(2024, 1, 2));
        }
    }

    std::string Settings(int checkFlage, int checkBoxStart) const
    {
        return "[Allgemein]\nEditLPfadDeutsch=" + Folder("de_lokal") +
               "\nEditSPfadDeutsch=" + Folder("de_server") + "\nEditLPfadEnglisch=" + Folder("en_lokal") +
               "\nEditSPfadEnglisch=" + Folder("en_server") + "\nCheckFlage=" + std::to_string(checkFlage) +
               "\nCheckBoxStart=" + std::to_string(checkBoxStart) + "\n";
    }
};

int StatusOfFirstRow(TForm1& f)
{
    return f.TntListViewAkt->statusModel()->row(0).status;
}

} // namespace

TEST_F(FormTest, WithoutTheStartCheckTheFirstRefreshesShowLocalFilesOnlyAndLaterOnesCompare)
{
    TwoSets sets;
    WriteSettings(sets.Settings(1, 0));
    TForm1& f = CreateForm();
    EXPECT_FALSE(util::Global().CompareWithServer);
    f.FormActivate();
    ASSERT_EQ(f.TntListViewAkt->statusModel()->rowCount(), 1);
    EXPECT_EQ(StatusOfFirstRow(f), 1) << "the start-up refresh must not compare";
    EXPECT_TRUE(util::Global().CompareWithServer) << "the profile refresh switches comparing on";
    f.EncartaButtonAktAClick();
    EXPECT_EQ(StatusOfFirstRow(f), 0);
    EXPECT_EQ(f.size(), f.minimumSize());
    EXPECT_EQ(f.size(), f.maximumSize());
}

TEST_F(FormTest, StoredEnglishSwitchesAtTheFirstActivationAndThenCompares)
{
    TwoSets sets;
    WriteSettings(sets.Settings(0, 0));
    TForm1& f = CreateForm();
    EXPECT_TRUE(f.RadioButtonDeutsch->isChecked()) << "a fresh window selects German";
    f.FormActivate();
    EXPECT_TRUE(f.RadioButtonEnglisch->isChecked());
    EXPECT_EQ(util::Global().CurrentLocalFolder, sets.Folder("en_lokal"));
    // The English switch refreshed the profile list first, so every refresh after it compares.
    EXPECT_EQ(StatusOfFirstRow(f), 0);
    EXPECT_NE(ReadFile(SettingsFile()).find("CheckFlage=0"), std::string::npos);
}

TEST_F(FormTest, TheCopyProgressTimerHidesLabelAndBar)
{
    TForm1& f = CreateForm();
    f.LabelKopPPP->show();
    f.LMDProgress1->show();
    f.Timer1->start();
    f.Timer1Timer();
    EXPECT_TRUE(f.LabelKopPPP->isHidden());
    EXPECT_TRUE(f.LMDProgress1->isHidden());
    EXPECT_FALSE(f.Timer1->isActive());
    EXPECT_EQ(f.Timer1->interval(), 3000);
    EXPECT_TRUE(f.Timer1->isSingleShot());
}

// A settings write or a copy killed half-way leaves its temporary file; the next
// start clears it from every folder the program writes to, and nothing else.
TEST_F(FormTest, StartClearsTheLeftoversOfInterruptedWritesAndCopies)
{
    testsupport::TempDir local;
    const std::string prefix(platform::kTemporaryFilePrefix);
    const fs::path profile = local / "qPPP_Profile" / "Messe";
    fs::create_directories(profile);
    WriteSettings("[Allgemein]\r\nEditLPfadDeutsch=" + local.str() + "\r\nCheckFlage=1\r\n");
    const std::vector<fs::path> leftovers{ConfigFolder() / (prefix + "1a2b3c4d.tmp"),
                                          local / (prefix + "5e6f7a8b.tmp"), profile / (prefix + "9c0d.tmp")};
    for (const auto& path : leftovers)
        testsupport::WriteFile(path, "half");
    testsupport::WriteFile(local / "Vortrag.ppt", "keep");

    CreateForm();

    for (const auto& path : leftovers)
        EXPECT_FALSE(fs::exists(path)) << path;
    EXPECT_TRUE(fs::exists(local / "Vortrag.ppt"));
    EXPECT_TRUE(fs::exists(SettingsFile()));
}
