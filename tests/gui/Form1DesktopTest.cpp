#include "ProfilesTestFixture.h"
#include "support/RecordingLauncher.h"
#include "ui/LaunchFeedback.h"
#include "ui/MessageDialogs.h"
#include "ui/StatusListView.h"

#include <QCursor>
#include <QListWidget>
#include <QTest>

namespace fs = std::filesystem;
using testsupport::Dos;
using testsupport::ReadFile;
using testsupport::WriteFileAt;

namespace {

const std::uint32_t kOld = Dos(2026, 1, 15);
const std::uint32_t kNew = Dos(2026, 3, 2);

} // namespace

class FormDesktopTest : public ProfilesTest
{
protected:
    std::vector<std::string> Names(const ui::StatusListModel& rows)
    {
        std::vector<std::string> names;
        for (const auto& row : rows.rows())
            names.push_back(row.name);
        std::sort(names.begin(), names.end());
        return names;
    }

    int SetRowOf(const std::string& name)
    {
        for (int i = 0; i < SetRows().rowCount(); ++i)
            if (SetRows().row(i).name == name)
                return i;
        return -1;
    }
};

TEST_F(FormDesktopTest, AnEmptyListSaysHowToSetTheFoldersUntilTheyAreSet)
{
    util::RuntimeState& g = util::Global();
    g.CurrentLocalFolder = (localDe / "fehlt").string();
    g.CurrentServerFolder = "Bitte hier Serverpfad für deutsch eintragen";
    form->EncartaButtonAktAClick();
    EXPECT_EQ(SetRows().rowCount(), 0);
    EXPECT_TRUE(form->TntListViewAkt->emptyHint().contains(QStringLiteral("„Speicherorte“")))
        << form->TntListViewAkt->emptyHint().toStdString();

    g.CurrentLocalFolder = localDe.str();
    g.CurrentServerFolder = serverDe.str();
    form->EncartaButtonAktAClick();
    EXPECT_EQ(SetRows().rowCount(), 0);
    EXPECT_TRUE(form->TntListViewAkt->emptyHint().isEmpty()) << "set up, merely empty";
}

// A document open in an office program has a lock file beside it: the lock file is
// no row, is never copied into a profile, and updating the document asks first.
TEST_F(FormDesktopTest, LockFilesAreNoRowsAndAnOpenDocumentIsUpdatedOnlyAfterAsking)
{
    WriteFileAt(serverDe / "Offen.pptx", "neu", kNew);
    WriteFileAt(localDe / "Offen.pptx", "alt", kOld);
    WriteFileAt(localDe / ".~lock.Offen.pptx#", "Benutzer,rechner,02.03.2026 10:00;", kNew);
    WriteFileAt(serverDe / "Zu.pptx", "neu", kNew);
    WriteFileAt(localDe / "Zu.pptx", "alt", kOld);
    WriteFileAt(localDe / "~$Anderes.pptx", "x", kNew);
    form->EncartaButtonAktAClick();
    EXPECT_EQ(Names(SetRows()), (std::vector<std::string>{"Offen.pptx", "Zu.pptx"}));

    {
        ui::DialogScript script;
        script.answerConfirm(true);  // update the newer files
        script.answerConfirm(false); // not the open one
        form->EncartaButtonSyncClick();
        ASSERT_EQ(script.shown().size(), 2);
        EXPECT_TRUE(script.shown()[1].text.startsWith(QStringLiteral("Die Datei \"Offen.pptx\" ist gerade")));
        EXPECT_TRUE(script.shown()[1].defaultNo);
    }
    EXPECT_EQ(ReadFile(localDe / "Offen.pptx"), "alt");
    EXPECT_EQ(ReadFile(localDe / "Zu.pptx"), "neu");

    // One row at a time: "Nein" leaves it, "Ja" updates it; the lock file stays.
    form->TntListViewAkt->markRow(SetRowOf("Offen.pptx"));
    {
        ui::DialogScript script;
        script.answerConfirm(true);
        script.answerConfirm(false);
        form->AusgewhlteDateiaktualisieren1Click();
        EXPECT_EQ(script.shown().size(), 2);
    }
    EXPECT_EQ(ReadFile(localDe / "Offen.pptx"), "alt");
    form->TntListViewAkt->markRow(SetRowOf("Offen.pptx"));
    {
        ui::DialogScript script;
        script.answerConfirm(true);
        script.answerConfirm(true);
        form->AusgewhlteDateiaktualisieren1Click();
        EXPECT_EQ(script.shown().size(), 2);
    }
    EXPECT_EQ(ReadFile(localDe / "Offen.pptx"), "neu");
    EXPECT_TRUE(fs::exists(localDe / ".~lock.Offen.pptx#"));

    SaveProfile(QStringLiteral("Messe"));
    EXPECT_TRUE(fs::exists(ProfileFolder("Messe") / "Offen.pptx"));
    EXPECT_FALSE(fs::exists(ProfileFolder("Messe") / ".~lock.Offen.pptx#"));
    EXPECT_FALSE(fs::exists(ProfileFolder("Messe") / "~$Anderes.pptx"));
}

TEST_F(FormDesktopTest, QuestionsThatDeleteHaveNoAsTheirDefaultAndOthersYes)
{
    WriteFileAt(serverDe / "A.pptx", "neu", kNew);
    WriteFileAt(localDe / "A.pptx", "alt", kOld);
    form->EncartaButtonAktAClick();
    SaveProfile(QStringLiteral("Messe"));
    const auto defaultNo = [&](auto handler) {
        ui::DialogScript script;
        script.answerConfirm(false);
        handler();
        return !script.shown().isEmpty() && script.shown().first().defaultNo;
    };
    form->TntListViewAkt->markRow(0);
    EXPECT_TRUE(defaultNo([&] { form->Dateilschen1Click(); }));
    EXPECT_FALSE(defaultNo([&] { form->AusgewhlteDateiaktualisieren1Click(); }));
    EXPECT_FALSE(defaultNo([&] { form->EncartaButtonSyncClick(); }));

    form->AdvOfficePager1->setCurrentIndex(1);
    SelectProfile(QStringLiteral("Messe"));
    EXPECT_TRUE(defaultNo([&] { form->MenuProfilLoeschenClick(); }));
    form->EncartaButtonAuswahlClick();
    form->TntListViewAuswahl->markRow(0);
    EXPECT_TRUE(defaultNo([&] { form->DateilokallschenProfilClick(); }));
    EXPECT_TRUE(fs::exists(ProfileFolder("Messe") / "A.pptx")) << "nothing deleted on Nein";
}

TEST_F(FormDesktopTest, StartingASlideShowShowsTheBusyPointerUntilTheShowsWindowAppears)
{
    testsupport::InstalledRecordingLauncher launcher;
    WriteFileAt(localDe / "Intro.pptx", "a", kOld);
    WriteFileAt(localDe / "Notizen.txt", "b", kOld);
    form->EncartaButtonAktAClick();
    const auto busy = [] {
        return QGuiApplication::overrideCursor() &&
               QGuiApplication::overrideCursor()->shape() == Qt::BusyCursor;
    };

    form->TntListViewAkt->markRow(SetRowOf("Notizen.txt"));
    form->EncartaButtonExeClick();
    EXPECT_FALSE(busy()) << "only a slide show";

    form->TntListViewAkt->markRow(SetRowOf("Intro.pptx"));
    form->EncartaButtonExeClick();
    EXPECT_TRUE(busy());
    EXPECT_TRUE(ui::LaunchFeedbackShowing());
    // The show's window takes the focus from this program.
    emit qApp->applicationStateChanged(Qt::ApplicationInactive);
    EXPECT_FALSE(busy());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    // A show whose window never appears: the pointer comes back after the limit.
    ui::ShowBusyUntilAnotherWindowAppears(std::chrono::milliseconds(50));
    EXPECT_TRUE(busy());
    QTest::qWait(200);
    EXPECT_FALSE(busy());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}
