#include "FormFixture.h"
#include "ProgramProcess.h"
#include "app/DemoFolders.h"
#include "sync/FileStatus.h"
#include "ui/StatusListView.h"

#include <QFile>
#include <QProcess>
#include <QRadioButton>

namespace fs = std::filesystem;
using testsupport::RunEventsUntil;

namespace {

std::map<std::string, int> Statuses(const ui::StatusListModel& rows)
{
    std::map<std::string, int> statuses;
    for (const auto& row : rows.rows())
        statuses[row.displayName] = row.status;
    return statuses;
}

} // namespace

class DemoTest : public FormTest
{
protected:
    QString Root() const { return QString::fromStdString((home / "daten" / "quintor3p-demo").string()); }
    fs::path RootPath() const { return home / "daten" / "quintor3p-demo"; }

    // The window as the demonstration starts it: its settings folder in place of the user's.
    void CreateDemoForm()
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(demo::SettingsHome(Root())));
        CreateForm();
        form->EncartaButtonAktAClick();
    }
};

TEST_F(DemoTest, TheFirstRefreshShowsEachKindOfFileInBothLanguages)
{
    const demo::Preparation prepared = demo::Prepare(Root());
    ASSERT_TRUE(prepared.ok) << prepared.message.toStdString();
    CreateDemoForm();
    using namespace filesync;
    EXPECT_EQ(Statuses(*form->TntListViewAkt->statusModel()),
              (std::map<std::string, int>{{"Willkommen.pptx", StatusIdentical},
                                          {"Produktvorstellung.pptx", StatusServerNewer},
                                          {"Jahresrückblick.pptx", StatusMissingLocally},
                                          {"Eigene Notizen.txt", StatusLocalOnly}}));
    EXPECT_EQ(util::Global().CurrentSetStartFile, "Willkommen.pptx");
    // The profile INI control is left pointed at the set's own INI file.
    EXPECT_EQ(form->LMDIniCtrl2.FileName(), util::Global().CurrentLocalFolder + "/qPPP_Profile.ini");
    // Every file carries its fixed date, the small ones too.
    for (const auto& row : form->TntListViewAkt->statusModel()->rows()) {
        if (row.name == "Eigene Notizen.txt") {
            EXPECT_EQ(row.localTime, testsupport::Dos(2026, 2, 10, 10, 0, 0));
        }
    }

    form->RadioButtonEnglisch->click();
    EXPECT_EQ(Statuses(*form->TntListViewAkt->statusModel()),
              (std::map<std::string, int>{{"Welcome.pptx", StatusIdentical},
                                          {"Product presentation.pptx", StatusServerNewer},
                                          {"Annual review.pptx", StatusMissingLocally},
                                          {"My notes.txt", StatusLocalOnly}}));
    EXPECT_FALSE(fs::exists(home / ".config" / "quintorPPP" / "optionen.ini")) << "real settings untouched";
}

TEST_F(DemoTest, AnExistingDemonstrationIsUsedAsItIs)
{
    ASSERT_TRUE(demo::Prepare(Root()).ok);
    fs::remove(RootPath() / "deutsch" / "lokal" / "Eigene Notizen.txt");
    testsupport::WriteFile(RootPath() / "deutsch" / "lokal" / "Mein Vortrag.pptx", "eigen");
    ASSERT_TRUE(demo::Prepare(Root()).ok);
    EXPECT_FALSE(fs::exists(RootPath() / "deutsch" / "lokal" / "Eigene Notizen.txt"));
    EXPECT_EQ(testsupport::ReadFile(RootPath() / "deutsch" / "lokal" / "Mein Vortrag.pptx"), "eigen");
}

TEST_F(DemoTest, AFolderThatCannotBeMadeIsReportedWithItsPath)
{
    testsupport::WriteFile(home / "datei", "kein Ordner");
    const QString root = QString::fromStdString((home / "datei" / "quintor3p-demo").string());
    const demo::Preparation prepared = demo::Prepare(root);
    EXPECT_FALSE(prepared.ok);
    EXPECT_EQ(prepared.message,
              QStringLiteral("Der Ordner für die Vorführung \"%1\" kann nicht angelegt werden. "
                             "Bitte Schreibrechte prüfen oder den Ordner löschen.")
                  .arg(root));
}

// The program itself: --demo keeps everything below the user's data folder.
TEST_F(DemoTest, TheProgramsDemonstrationLeavesTheRealSettingsAlone)
{
    const fs::path dataHome = home / ".local" / "share";
    QProcess program;
    testsupport::StartProgram(program, home.path(), {QStringLiteral("--demo")});
    const fs::path lock = dataHome / "quintor3p-demo" / "einstellungen" / "quintorPPP" / "quintor3p.lock";
    EXPECT_TRUE(RunEventsUntil([&] { return fs::exists(lock); }, 30000))
        << program.readAllStandardError().toStdString();
    program.kill();
    program.waitForFinished(10000);
    EXPECT_TRUE(fs::exists(dataHome / "quintor3p-demo" / "deutsch" / "server" / "Jahresrückblick.pptx"));
    EXPECT_FALSE(fs::exists(home / ".config" / "quintorPPP"));
    EXPECT_FALSE(fs::exists(home / ".config" / "Travenil"));
}
