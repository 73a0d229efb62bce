#include "FormFixture.h"

#include "sync/FileStatus.h"
#include "ui/DesktopNotifier.h"
#include "ui/PictureLabel.h"
#include "ui/StatusListView.h"

#include <QCoreApplication>
#include <QLabel>
#include <QScrollBar>

using testsupport::Dos;
using testsupport::WriteFileAt;
namespace fs = std::filesystem;

namespace {

// Counts the messages instead of showing them; a test clicks them itself.
struct RecordingNotifier : ui::DesktopNotifier
{
    struct Message
    {
        QString title, text;
        std::function<void()> onClick;
    };
    std::vector<Message> messages;
    void Notify(const QString& title, const QString& text, std::function<void()> onClick) override
    {
        messages.push_back({title, text, std::move(onClick)});
    }
};

const std::uint32_t kTime = Dos(2024, 3, 1, 10, 0, 0);

} // namespace

class FormGlanceTest : public FormTest
{
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        WriteFileAt(local / "Start.pptx", "s", kTime);
        WriteFileAt(server / "Start.pptx", "s", kTime);
        WriteFileAt(local / "Zahlen.pptx", "z", kTime);
        WriteFileAt(server / "Zahlen.pptx", "z", kTime);
        testsupport::WriteFile(local / "qPPP_Profile.ini", "[Profil]\nStartDatei=Start.pptx\n");
        CreateForm();
        util::RuntimeState& g = util::Global();
        g.LocalFolderGerman = g.CurrentLocalFolder = local.str();
        g.ServerFolderGerman = g.CurrentServerFolder = server.str();
        g.HostNameGerman.clear();
        g.LanguageFlag = 1;
        g.CompareWithServer = true;
        g.CurrentSetStartFile = "Start.pptx";
    }

    QString Summary(const ui::StatusListView* list) const { return list->summary(); }
    static QString Verdict(const QString& summary) { return summary.section(QLatin1Char('\n'), 0, 0); }
    static std::string Counts(const QString& summary)
    {
        return summary.section(QLatin1Char('\n'), 1).toStdString();
    }
    static ui::PictureLabel* Flag(QLabel* label) { return static_cast<ui::PictureLabel*>(label); }

    testsupport::TempDir local;
    testsupport::TempDir server;
    RecordingNotifier notifier;
    ui::ScopedNotifier scopedNotifier{notifier};
};

TEST_F(FormGlanceTest, TheSummarySaysHowEachRefreshEnded)
{
    WriteFileAt(server / "Neu.pptx", "n", kTime);
    WriteFileAt(local / "Zahlen.pptx", "z", Dos(2024, 3, 1, 9, 59, 58));

    form->EncartaButtonAktAClick();
    QString summary = Summary(form->TntListViewAkt);
    EXPECT_TRUE(Verdict(summary).startsWith(QStringLiteral("Geprüft "))) << summary.toStdString();
    EXPECT_TRUE(Verdict(summary).endsWith(QStringLiteral(": mit dem Server verglichen")))
        << summary.toStdString();
    EXPECT_EQ(Counts(summary), "1 aktuell, 1 neuer auf dem Server, 1 fehlt lokal");

    util::Global().HostNameGerman = "fileserver.invalid";
    form->EncartaButtonAktAClick();
    summary = Summary(form->TntListViewAkt);
    EXPECT_TRUE(Verdict(summary).endsWith(QStringLiteral(": Server antwortet nicht")));
    EXPECT_EQ(Counts(summary), "2 nicht verglichen");

    // The folder vanishes between two refreshes: the host answers (this machine),
    // or there is no host to ask.
    fs::remove_all(server.path());
    util::Global().HostNameGerman = "localhost";
    form->EncartaButtonAktAClick();
    EXPECT_TRUE(Verdict(Summary(form->TntListViewAkt))
                    .endsWith(QStringLiteral(": Server antwortet, Serverordner fehlt")));
    util::Global().HostNameGerman.clear();
    form->EncartaButtonAktAClick();
    summary = Summary(form->TntListViewAkt);
    EXPECT_TRUE(Verdict(summary).endsWith(QStringLiteral(": Serverordner nicht erreichbar")));
    EXPECT_EQ(Counts(summary), "2 ohne Serverordner");

    util::Global().CompareWithServer = false;
    form->EncartaButtonAktAClick();
    EXPECT_TRUE(Verdict(Summary(form->TntListViewAkt))
                    .endsWith(QStringLiteral(": nicht verglichen (beim Start abgeschaltet)")));

    // The list keeps its place and size; the summary lies inside it, below the rows.
    EXPECT_EQ(form->TntListViewAkt->geometry(), QRect(3, 58, 398, 244));
    const QWidget* band = form->TntListViewAkt->findChild<QWidget*>(QStringLiteral("Summary"));
    ASSERT_NE(band, nullptr);
    EXPECT_TRUE(form->TntListViewAkt->rect().contains(band->geometry()));
    EXPECT_LE(form->TntListViewAkt->viewport()->geometry().bottom(), band->geometry().top());
}

TEST_F(FormGlanceTest, EveryRowCanBeScrolledIntoViewAboveTheSummary)
{
    form->show();
    ui::StatusListView& list = *form->TntListViewAkt;
    const auto lastRowShownAtBottom = [&] {
        form->EncartaButtonAktAClick();
        QCoreApplication::processEvents();
        list.scrollToBottom();
        QCoreApplication::processEvents();
        const QRect shown = list.visualRect(list.statusModel()->index(list.statusModel()->rowCount() - 1, 0));
        return shown.isValid() && shown.bottom() <= list.viewport()->height();
    };
    // Two rows; then rows that would just fit without the summary; then many.
    EXPECT_TRUE(lastRowShownAtBottom());
    EXPECT_FALSE(list.verticalScrollBar()->isVisible());
    for (int i = 0; i < 11; ++i)
        WriteFileAt(local / ("Folie " + std::to_string(100 + i) + ".pptx"), "f", kTime);
    EXPECT_TRUE(lastRowShownAtBottom()) << "the last row lies under the summary";
    EXPECT_TRUE(list.verticalScrollBar()->isVisible());
    for (int i = 11; i < 60; ++i)
        WriteFileAt(local / ("Folie " + std::to_string(100 + i) + ".pptx"), "f", kTime);
    EXPECT_TRUE(lastRowShownAtBottom());
}

TEST_F(FormGlanceTest, TheSelectedProfileHasASummaryOfItsOwn)
{
    const fs::path profile = local / "qPPP_Profile" / "Messe";
    fs::create_directories(profile);
    WriteFileAt(profile / "Start.pptx", "s", kTime);
    util::Global().CurrentProfile = "Messe";
    form->LabelProfilname->setText(QStringLiteral("Messe"));

    form->EncartaButtonListeAuswahlClick();
    const QString summary = Summary(form->TntListViewAuswahl);
    EXPECT_TRUE(Verdict(summary).endsWith(QStringLiteral(": mit dem Server verglichen")));
    EXPECT_EQ(Counts(summary), "1 aktuell, 1 fehlt lokal");

    // No profile: the refresh does nothing, and an emptied list has no summary.
    form->TntListViewAuswahl->statusModel()->clear();
    form->LabelProfilname->clear();
    form->EncartaButtonListeAuswahlClick();
    EXPECT_TRUE(Summary(form->TntListViewAuswahl).isEmpty());
}

TEST_F(FormGlanceTest, TheFlagsSayWhetherEachLanguageIsReadyToPresent)
{
    form->EncartaButtonAktAClick();
    EXPECT_EQ(Flag(form->ImageFlageAkt)->mark(), ui::ReadyMark::Ready);
    EXPECT_EQ(Flag(form->ImageFlageProfil)->mark(), ui::ReadyMark::Ready);
    EXPECT_EQ(Flag(form->ImageFlageD)->mark(), ui::ReadyMark::Ready);
    EXPECT_TRUE(
        form->ImageFlageAkt->toolTip().startsWith(QStringLiteral("Deutsch: bereit zum Präsentieren")));
    // English has had no check in this run.
    EXPECT_EQ(Flag(form->ImageFlageE)->mark(), ui::ReadyMark::Unchecked);
    EXPECT_EQ(form->ImageFlageE->toolTip(), QStringLiteral("Englisch: noch nicht geprüft"));

    WriteFileAt(server / "Zahlen.pptx", "z", kTime + 1);
    form->EncartaButtonAktAClick();
    EXPECT_EQ(Flag(form->ImageFlageAkt)->mark(), ui::ReadyMark::NotReady);
    EXPECT_EQ(form->ImageFlageAkt->toolTip(),
              QStringLiteral("Deutsch: nicht bereit - 1 neuer auf dem Server"));
    EXPECT_EQ(form->ImageFlageD->toolTip(), form->ImageFlageAkt->toolTip());

    WriteFileAt(server / "Zahlen.pptx", "z", kTime);
    fs::remove(local / "Start.pptx");
    fs::create_directory(local / "Start.pptx"); // a folder in the start file's place
    form->EncartaButtonAktAClick();
    EXPECT_EQ(Flag(form->ImageFlageAkt)->mark(), ui::ReadyMark::NotReady);
    EXPECT_EQ(form->ImageFlageAkt->toolTip(),
              QStringLiteral("Deutsch: nicht bereit - 1 fehlt lokal, Startdatei \"Start.pptx\" fehlt lokal"));
}

TEST_F(FormGlanceTest, APeriodicRefreshTellsOnceAboutNewerFilesOnTheServer)
{
    form->EncartaButtonAktAClick();
    form->TimerIntervalTimer();
    EXPECT_TRUE(notifier.messages.empty()) << "nothing is newer";

    // Found by a refresh the user asked for: the user sees it already.
    WriteFileAt(server / "Zahlen.pptx", "z", kTime + 1);
    form->EncartaButtonAktAClick();
    form->TimerIntervalTimer();
    EXPECT_TRUE(notifier.messages.empty());

    WriteFileAt(server / "Neu.pptx", "n", kTime);
    WriteFileAt(server / "Noch neuer.pptx", "n", kTime);
    form->TimerIntervalTimer();
    ASSERT_EQ(notifier.messages.size(), 1u);
    EXPECT_EQ(notifier.messages[0].title, QStringLiteral("Quintor 3P"));
    EXPECT_EQ(notifier.messages[0].text, QStringLiteral("2 Präsentationen auf dem Server sind neuer"));
    form->TimerIntervalTimer();
    EXPECT_EQ(notifier.messages.size(), 1u) << "the same files again are no news";

    // A click brings the window back.
    form->showMinimized();
    notifier.messages[0].onClick();
    EXPECT_FALSE(form->isMinimized());
    EXPECT_TRUE(form->isVisible());
}

TEST_F(FormGlanceTest, ATimeOneHourOffWithTheSameSizeIsExplainedAndCountedApart)
{
    WriteFileAt(local / "Sommerzeit.pptx", "gleich", Dos(2024, 3, 31, 9, 0, 0));
    WriteFileAt(server / "Sommerzeit.pptx", "gleich", Dos(2024, 3, 31, 10, 0, 0));
    form->EncartaButtonAktAClick();
    const ui::StatusListModel& rows = *form->TntListViewAkt->statusModel();
    int row = 0;
    while (rows.row(row).name != "Sommerzeit.pptx")
        ++row;
    EXPECT_EQ(rows.row(row).status, filesync::StatusServerNewer);
    const QString tip = rows.data(rows.index(row, 0), Qt::ToolTipRole).toString();
    EXPECT_TRUE(tip.contains(QStringLiteral("Zeitumstellung"))) << tip.toStdString();
    EXPECT_FALSE(
        rows.data(rows.index(0, 0), Qt::ToolTipRole).toString().contains(QStringLiteral("Zeitumstellung")));
    EXPECT_EQ(Counts(Summary(form->TntListViewAkt)), "2 aktuell, 1 eine Stunde versetzt");
}
