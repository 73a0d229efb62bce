#include "FormFixture.h"
#include "ListRows.h"
#include "Modal.h"

#include "app/QuintorApplication.h"
#include "app/dialogs/FormPfade_u.h"
#include "app/dialogs/FormProfilSpeichern_u.h"
#include "platform/FileSystem.h"
#include "support/FileRows.h"
#include "support/HangingFolder.h"
#include "support/RecordingLauncher.h"
#include "sync/FileStatus.h"
#include "ui/FlatButton.h"
#include "ui/MessageDialogs.h"
#include "ui/StatusListView.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMap>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <mutex>
#include <optional>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

const std::string kNoAnswer = util::kServerNotAnswering;

// The largest gap between ticks of a 10 ms timer: how long the window was deaf.
class TickWatch
{
public:
    TickWatch()
    {
        m_clock.start();
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            m_longest = std::max(m_longest, m_clock.restart());
            ++m_ticks;
        });
        m_timer.start(10);
    }
    qint64 LongestGapMs() const { return m_longest; }
    int Ticks() const { return m_ticks; }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_longest = 0;
    int m_ticks = 0;
};

// Lets the share go after `limit` from another thread, should the window thread be
// stuck on it: a window that hangs fails the test instead of hanging it.
class LetGoAtTheLatest
{
public:
    LetGoAtTheLatest(testsupport::HangingFolder& share, std::chrono::milliseconds limit)
        : m_thread([this, &share, limit] {
              std::unique_lock lock(m_mutex);
              if (!m_done.wait_for(lock, limit, [this] { return m_ended; }))
                  share.LetGo();
          })
    {}
    ~LetGoAtTheLatest()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_ended = true;
        }
        m_done.notify_all();
        m_thread.join();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_ended = false;
    std::thread m_thread;
};

// Every text `read` gives while the event loop runs, and last when looked at; each
// change once, with when it was first seen.
class TextTrail
{
public:
    explicit TextTrail(std::function<QString()> read) : m_read(std::move(read))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Note(); });
        m_timer.start(0);
    }
    std::vector<std::string> Texts()
    {
        Note();
        std::vector<std::string> texts;
        for (const auto& [text, seen] : m_seen)
            texts.push_back(text);
        return texts;
    }
    std::optional<std::chrono::steady_clock::time_point> FirstSeen(const std::string& text) const
    {
        for (const auto& [shown, seen] : m_seen)
            if (shown == text)
                return seen;
        return std::nullopt;
    }

private:
    void Note()
    {
        std::string text = m_read().toStdString();
        if (m_seen.empty() || m_seen.back().first != text)
            m_seen.emplace_back(std::move(text), std::chrono::steady_clock::now());
    }

    std::function<QString()> m_read;
    QTimer m_timer;
    std::vector<std::pair<std::string, std::chrono::steady_clock::time_point>> m_seen;
};
using Trail = std::vector<std::string>;

// Where every named control of the window stands that is on screen.
QMap<QString, QRect> Layout(const QWidget& window)
{
    QMap<QString, QRect> places;
    for (const QWidget* w : window.findChildren<QWidget*>())
        if (!w->objectName().isEmpty() && w->isVisible())
            places.insert(w->objectName(), w->geometry());
    return places;
}

// How a command went while the share was held past the notice.
struct HeldRun
{
    qint64 longestGapMs = 0;
    int ticks = 0;
    std::chrono::steady_clock::time_point heldAt;
    QMap<QString, QRect> layoutBefore; // 2 s into the hold, before the notice is due
    QMap<QString, QRect> layoutLate;   // when the share was let go, the notice due
};

} // namespace

// The server folder lies on a share that stops answering.
class FormHangTest : public FormTest
{
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        fs::create_directory(dir / "backing");
        fs::create_directory(dir / "share");
        testsupport::WriteFile(dir / "backing" / "Vortrag.ppt", "server");
        share = std::make_unique<testsupport::HangingFolder>(
            (dir / "backing").string(), (dir / "share").string(), (dir / "hold").string());
        if (!share->made())
            GTEST_SKIP() << share->whyNot();
    }

    // The German pair in use, compared with the server.
    static void UseFolders(const std::string& localFolder, const std::string& serverFolder)
    {
        util::RuntimeState& g = util::Global();
        g.LanguageFlag = 1;
        g.LocalFolderGerman = g.CurrentLocalFolder = localFolder;
        g.ServerFolderGerman = g.CurrentServerFolder = serverFolder;
        g.HostNameGerman.clear();
        g.CompareWithServer = true;
    }
    void UseShare() { UseFolders(local.str(), share->path()); }
    // The local folder lies on the share; the server folder is an ordinary one.
    void UseShareAsLocalFolder() { UseFolders(share->path(), server.str()); }

    // The selected-profile page of the profile "Messe" on screen, its one file marked.
    static void ShowProfileMesseWithItsFileMarked(TForm1& f)
    {
        util::Global().CurrentProfile = "Messe";
        f.LabelProfilname->setText("Messe");
        f.show();
        f.AdvOfficePager1->setCurrentIndex(2);
        f.EncartaButtonListeAuswahlClick();
        ASSERT_EQ(f.TntListViewAuswahl->statusModel()->rowCount(), 1);
        f.TntListViewAuswahl->markRow(0);
    }

    void CloseWhileTheShareHangs(bool update);
    TFormPfade& LocationsDialogWithTheShare();

    // Runs the command and holds the share from the first moment `holdWhen` is true
    // (at once without it) until `letGoAfter` later, past the notice; where the
    // window's controls stand is noted 2 s into the hold and when letting go. A
    // window stuck on the share cannot let go itself: then the share is let go from
    // another thread 15 s into the hold, and the test fails instead of hanging.
    HeldRun RunHeld(const QWidget& window, const std::function<void()>& command,
                    const std::function<bool()>& holdWhen = {}, std::chrono::milliseconds letGoAfter = 6200ms)
    {
        HeldRun run;
        std::optional<LetGoAtTheLatest> safety;
        QElapsedTimer held;
        bool letGo = false;
        const auto watchHold = [&] {
            if (letGo)
                return;
            if (!held.isValid() && (!holdWhen || holdWhen())) {
                share->Hold();
                safety.emplace(*share, 15s);
                held.start();
                run.heldAt = std::chrono::steady_clock::now();
            }
            if (!held.isValid())
                return;
            if (run.layoutBefore.isEmpty() && held.elapsed() >= 2000)
                run.layoutBefore = Layout(window);
            if (held.elapsed() >= letGoAfter.count()) {
                run.layoutLate = Layout(window);
                share->LetGo();
                letGo = true;
            }
        };
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, watchHold);
        watchHold();
        poll.start(0);
        TickWatch watch;
        command();
        run.longestGapMs = watch.LongestGapMs();
        run.ticks = watch.Ticks();
        share->LetGo();
        return run;
    }

    // The window kept ticking, `place` said that the server does not answer once
    // the share had been held for 5 s, not before, and while it said so every
    // control stood where it stood before (the notice's own place may have come up).
    static void WaitedTickingAndSaidSo(const HeldRun& run, const TextTrail& place)
    {
        EXPECT_LT(run.longestGapMs, 250);
        EXPECT_GT(run.ticks, 300);
        EXPECT_FALSE(run.layoutBefore.isEmpty()) << "the command did not wait for the share";
        for (auto at = run.layoutBefore.cbegin(); at != run.layoutBefore.cend(); ++at)
            EXPECT_EQ(run.layoutLate.value(at.key()), at.value()) << at.key().toStdString();
        const auto said = place.FirstSeen(kNoAnswer);
        ASSERT_TRUE(said) << "the notice never showed there";
        EXPECT_GE(*said - run.heldAt, util::kNoProgressNotice);
    }

    // Runs the command on the held share, let go after `hold` from another thread (a
    // window thread stuck on the share would never run a timer of its own): the
    // command waited for the share and the window kept ticking meanwhile.
    void WaitsOnTheShareTicking(const std::function<void()>& command, std::chrono::milliseconds hold = 1500ms)
    {
        share->Hold();
        std::thread letGo([this, hold] {
            std::this_thread::sleep_for(hold);
            share->LetGo();
        });
        TickWatch watch;
        QElapsedTimer took;
        took.start();
        command();
        const qint64 waited = took.elapsed();
        letGo.join();
        EXPECT_GE(waited, hold.count() - 100) << "the command did not wait for the share";
        EXPECT_GT(watch.Ticks(), 50);
        EXPECT_LT(watch.LongestGapMs(), 250);
    }

    testsupport::TempDir dir;
    testsupport::TempDir local;
    testsupport::TempDir server;
    std::unique_ptr<testsupport::HangingFolder> share;
};

TEST_F(FormHangTest, ARefreshOnAHangingShareKeepsTheWindowTickingAndSaysSoWithoutMovingAnything)
{
    TForm1& f = CreateForm();
    UseShare();
    f.show();
    TextTrail notice([&f] { return f.TntListViewAkt->notice(); });

    WaitedTickingAndSaidSo(RunHeld(f, [&f] { f.EncartaButtonAktAClick(); }), notice);

    // Once the server answers the list fills as always and the notice goes.
    EXPECT_EQ(notice.Texts(), (Trail{"", kNoAnswer, ""}));
    ASSERT_EQ(f.TntListViewAkt->statusModel()->rowCount(), 1);
    EXPECT_EQ(f.TntListViewAkt->statusModel()->row(0).name, "Vortrag.ppt");
}

// The storage-locations dialog on screen, the German server folder on the share.
TFormPfade& FormHangTest::LocationsDialogWithTheShare()
{
    CreateForm();
    TFormPfade& dialog = windows->FormPfade;
    for (const char* name : {"de", "en", "server-en"})
        fs::create_directory(dir / name);
    dialog.EditLPfadDeutsch->setText(QString::fromStdString((dir / "de").string()));
    dialog.EditSPfadDeutsch->setText(QString::fromStdString(share->path()));
    dialog.EditLPfadenglisch->setText(QString::fromStdString((dir / "en").string()));
    dialog.EditSPfadenglisch->setText(QString::fromStdString((dir / "server-en").string()));
    dialog.setResult(-1);
    dialog.show();
    return dialog;
}

// The dialog is modal over the window: it says itself that the share does not
// answer, in its hint's place, and takes it back.
TEST_F(FormHangTest, CheckingTheStorageLocationsOnAHangingShareSaysSoInTheDialog)
{
    TFormPfade& dialog = LocationsDialogWithTheShare();
    dialog.SetMountedShareHost([](const std::string&) { return std::string(); });
    const std::string hint = dialog.Label6->text().toStdString();
    const QRect hintPlace = dialog.Label6->geometry();
    TextTrail said([&dialog] { return dialog.Label6->text(); });
    TextTrail behind([this] { return form->TntListViewAkt->notice(); });

    WaitedTickingAndSaidSo(RunHeld(dialog, [&dialog] { dialog.EncartaButtonOK->click(); }), said);

    EXPECT_EQ(said.Texts(), (Trail{hint, kNoAnswer, hint}));
    EXPECT_EQ(dialog.Label6->geometry(), hintPlace);
    EXPECT_EQ(behind.Texts(), Trail{""});
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(util::Global().ServerFolderGerman, share->path());
}

// Storing the folders finds the share of each server folder, which resolves its
// path on the share: when the share stops answering just then, the window waits
// for it ticking.
TEST_F(FormHangTest, FindingTheShareOfAServerFolderThatStopsAnsweringKeepsTheWindowTicking)
{
    TFormPfade& dialog = LocationsDialogWithTheShare();
    std::atomic<bool> held = false;
    dialog.SetMountedShareHost([this, &held](const std::string& path) {
        if (!held.exchange(true))
            share->Hold();
        return platform::NetworkHostOfPath(path);
    });
    std::thread letGo([this, &held] {
        const auto limit = std::chrono::steady_clock::now() + 20s;
        while (!held && std::chrono::steady_clock::now() < limit)
            std::this_thread::sleep_for(10ms);
        std::this_thread::sleep_for(1500ms);
        share->LetGo();
    });
    TickWatch watch;
    QElapsedTimer took;
    took.start();
    dialog.EncartaButtonOK->click();
    const qint64 waited = took.elapsed();
    letGo.join();

    EXPECT_TRUE(held);
    EXPECT_GE(waited, 1400) << "storing did not wait for the share";
    EXPECT_GT(watch.Ticks(), 50);
    EXPECT_LT(watch.LongestGapMs(), 250);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(util::Global().ServerFolderGerman, share->path());
}

TEST_F(FormHangTest, AnUpdateOnAHangingShareKeepsTheWindowTickingAndSaysSoInItsLabel)
{
    TForm1& f = CreateForm();
    UseShare();
    util::Global().LocalFolderEnglish = local.str();
    f.show();
    f.EncartaButtonAktAClick();
    ASSERT_EQ(f.TntListViewAkt->statusModel()->rowCount(), 1);
    TextTrail label([&f] { return f.LabelKopPPP->text(); });

    ui::DialogScript script;
    script.answerConfirm(true);
    WaitedTickingAndSaidSo(RunHeld(f, [&f] { f.EncartaButtonSyncClick(); }), label);

    // Once the server answers the copy ends as always: the notice goes, "Fertig",
    // and the refreshed list shows the file as current.
    EXPECT_EQ(label.Texts(), (Trail{"Kopieren wird vorbereitet...", "Kopiere Dateien...", kNoAnswer,
                                    "Kopiere Dateien...", "Fertig"}));
    EXPECT_EQ(script.texts().size(), 1);
    EXPECT_EQ(testsupport::ReadFile(local / "Vortrag.ppt"), "server");
    ASSERT_EQ(f.TntListViewAkt->statusModel()->rowCount(), 1);
    EXPECT_EQ(f.TntListViewAkt->statusModel()->row(0).status, filesync::StatusIdentical);
}

TEST_F(FormHangTest, UpdatingProfileFilesOnAHangingShareSaysSoOverTheProfilesList)
{
    TForm1& f = CreateForm();
    UseShare();
    fs::create_directories(local / "qPPP_Profile" / "Messe");
    ASSERT_NO_FATAL_FAILURE(ShowProfileMesseWithItsFileMarked(f));
    TextTrail profileNotice([&f] { return f.TntListViewAuswahl->notice(); });
    TextTrail setNotice([&f] { return f.TntListViewAkt->notice(); });

    ui::DialogScript script;
    script.answerConfirm(true);
    WaitedTickingAndSaidSo(RunHeld(f, [&f] { f.AusgewhlteDateienaktuallisierenProfilClick(); }),
                           profileNotice);

    EXPECT_EQ(script.texts().size(), 1);
    EXPECT_EQ(profileNotice.Texts(), (Trail{"", kNoAnswer, ""})) << "the page shown must say it";
    EXPECT_EQ(setNotice.Texts(), Trail{""});
    EXPECT_EQ(testsupport::ReadFile(local / "qPPP_Profile" / "Messe" / "Vortrag.ppt"), "server");
}

// On the settings page there is no list: switching to a language whose server
// does not answer is told in the page's language heading.
TEST_F(FormHangTest, SwitchingToALanguageWhoseServerHangsSaysSoOnTheSettingsPage)
{
    TForm1& f = CreateForm();
    util::RuntimeState& g = util::Global();
    g.LocalFolderEnglish = local.str();
    g.ServerFolderEnglish = share->path();
    g.HostNameEnglish.clear();
    g.CompareWithServer = true;
    f.show();
    f.AdvOfficePager1->setCurrentIndex(3);
    const std::string heading = f.Label7->text().toStdString();
    TextTrail said([&f] { return f.Label7->text(); });
    TextTrail setNotice([&f] { return f.TntListViewAkt->notice(); });

    WaitedTickingAndSaidSo(RunHeld(f, [&f] { f.RadioButtonEnglisch->click(); }), said);

    EXPECT_EQ(said.Texts(), (Trail{heading, kNoAnswer, heading}));
    EXPECT_EQ(setNotice.Texts(), Trail{""});
    EXPECT_EQ(g.LanguageFlag, 0);
    ASSERT_EQ(f.TntListViewAkt->statusModel()->rowCount(), 1);
    EXPECT_EQ(f.TntListViewAkt->statusModel()->row(0).name, "Vortrag.ppt");
}

// The periodic refresh runs whatever page is shown; on the info page its status
// bar says that the server does not answer, and then its own notice again.
TEST_F(FormHangTest, APeriodicRefreshOnAHangingShareSaysSoInTheInfoPagesStatusBar)
{
    TForm1& f = CreateForm();
    UseShare();
    f.show();
    f.AdvOfficePager1->setCurrentIndex(4);
    auto* panel = f.findChild<QLabel*>("LMDStatusBar1Panel");
    ASSERT_NE(panel, nullptr);
    const std::string notice = panel->text().toStdString();
    ASSERT_FALSE(notice.empty());
    TextTrail said([panel] { return panel->text(); });
    TextTrail onTheList([&f] { return f.TntListViewAkt->notice(); });

    WaitedTickingAndSaidSo(RunHeld(f, [&f] { f.TimerIntervalTimer(); }), said);

    EXPECT_EQ(said.Texts(), (Trail{notice, kNoAnswer, notice}));
    EXPECT_EQ(onTheList.Texts(), Trail{""}) << "nothing on a list not shown";
    ASSERT_EQ(f.TntListViewAkt->statusModel()->rowCount(), 1);
    EXPECT_EQ(f.TntListViewAkt->statusModel()->row(0).name, "Vortrag.ppt");
}

// The local folder itself may lie on a share: listing its profiles and reading a
// profile's description wait on it as the lists do, and the profiles page says so.
TEST_F(FormHangTest, TheProfilesOfALocalFolderOnAHangingShareKeepTheWindowTicking)
{
    fs::create_directories(dir / "backing" / "qPPP_Profile" / "Messe");
    testsupport::WriteFile(dir / "backing" / "qPPP_Profile" / "Messe" / "qPPP_Profile.ini",
                           "[Profil]\nBeschreibung=Stand 4\n");
    TForm1& f = CreateForm();
    UseShareAsLocalFolder();
    // Long enough for the notice, which the page's label over its list shows.
    const TextTrail label([&f] { return f.LabelPN->text(); });
    WaitsOnTheShareTicking([&] { f.AdvOfficePager1->setCurrentIndex(1); }, 6500ms);
    EXPECT_TRUE(label.FirstSeen(kNoAnswer));
    EXPECT_TRUE(f.LabelPN->text().startsWith("Profilnamen (")) << f.LabelPN->text().toStdString();
    ASSERT_EQ(f.ListBoxProfile->count(), 1);
    EXPECT_EQ(f.ListBoxProfile->item(0)->text(), "Messe");
    WaitsOnTheShareTicking([&] { f.ListBoxProfile->setCurrentRow(0); });
    EXPECT_EQ(f.MemoProfileH->toPlainText(), "Stand 4");
}

// Saving the set as a profile works in the local folder only, never on the
// server: with the local folder on a share that stops answering, the dialog says
// so while it makes the profile, and the label while the copy is prepared.
TEST_F(FormHangTest, SavingAsAProfileInAHangingLocalFolderSaysSoInTheDialogThenInTheLabel)
{
    TForm1& f = CreateForm();
    UseShareAsLocalFolder();
    f.show();
    TFormProfilSpeichern& dialog = windows->FormProfilSpeichern;
    TextTrail inDialog(
        [&dialog] { return dialog.LabelHinweis->isHidden() ? QString() : dialog.LabelHinweis->text(); });
    TextTrail label([&f] { return f.LabelKopPPP->isHidden() ? QString() : f.LabelKopPPP->text(); });
    TextTrail behind([&f] { return f.TntListViewAkt->notice(); });

    HeldRun making;
    const HeldRun preparing = RunHeld(
        f,
        [&] {
            guitest::WithModal(
                dialog,
                [&] {
                    dialog.EditProfil->setText("Messe");
                    making = RunHeld(dialog, [&dialog] { dialog.EncartaButtonOK->click(); });
                },
                [&f] { f.EncartaButtonPSpeichernClick(); }, 20s);
        },
        [&f] { return !f.LabelKopPPP->isHidden() && f.LabelKopPPP->text() == "Kopieren wird vorbereitet."; });

    WaitedTickingAndSaidSo(making, inDialog);
    WaitedTickingAndSaidSo(preparing, label);
    EXPECT_EQ(inDialog.Texts(), (Trail{"", kNoAnswer, ""}));
    EXPECT_EQ(label.Texts(),
              (Trail{"", "Kopieren wird vorbereitet.", kNoAnswer, "Kopiere Dateien...", "1 / 1", "Fertig"}));
    EXPECT_EQ(behind.Texts(), Trail{""});
    // Once the share answers the profile is made and the set copied into it.
    EXPECT_TRUE(fs::exists(dir / "backing" / "qPPP_Profile" / "Messe" / "qPPP_Profile.ini"));
    EXPECT_EQ(testsupport::ReadFile(dir / "backing" / "qPPP_Profile" / "Messe" / "Vortrag.ppt"), "server");
}

// "Startdatei definieren" writes into the local folder, "Ausführen" looks for the
// file there: on a share that stops answering both wait for it, the list of the
// page shown says so, and each ends as always once the share answers.
TEST_F(FormHangTest, DefiningTheStartFileInAHangingLocalFolderSaysSoOverTheList)
{
    TForm1& f = CreateForm();
    UseShareAsLocalFolder();
    f.show();
    f.EncartaButtonAktAClick();
    const int row = guitest::RowOf(f.TntListViewAkt, "Vortrag.ppt");
    ASSERT_GE(row, 0);
    f.TntListViewAkt->markRow(row);
    TextTrail notice([&f] { return f.TntListViewAkt->notice(); });

    ui::DialogScript script;
    script.answerConfirm(true);
    WaitedTickingAndSaidSo(RunHeld(f, [&f] { f.Startdateidefinieren1Click(); }), notice);

    EXPECT_EQ(script.texts(), QStringList{"Wollen Sie die Datei \"Vortrag.ppt\" als Startdatei definieren"});
    EXPECT_EQ(notice.Texts(), (Trail{"", kNoAnswer, ""}));
    EXPECT_EQ(testsupport::ReadFile(dir / "backing" / "qPPP_Profile.ini"),
              "[Profil]\nStartDatei=Vortrag.ppt\n");
    EXPECT_EQ(util::Global().CurrentSetStartFile, "Vortrag.ppt");
    EXPECT_TRUE(guitest::IsBold(f.TntListViewAkt, "Vortrag.ppt"));
}

TEST_F(FormHangTest, RunningAProfilesFileInAHangingLocalFolderSaysSoOverTheProfilesList)
{
    fs::create_directories(dir / "backing" / "qPPP_Profile" / "Messe");
    testsupport::WriteFile(dir / "backing" / "qPPP_Profile" / "Messe" / "Notizen.pdf", "x");
    TForm1& f = CreateForm();
    UseShareAsLocalFolder();
    ASSERT_NO_FATAL_FAILURE(ShowProfileMesseWithItsFileMarked(f));
    TextTrail profileNotice([&f] { return f.TntListViewAuswahl->notice(); });
    TextTrail setNotice([&f] { return f.TntListViewAkt->notice(); });
    testsupport::InstalledRecordingLauncher launcher;

    WaitedTickingAndSaidSo(RunHeld(f, [&f] { f.EncartaButtonProExeClick(); }), profileNotice);

    EXPECT_EQ(profileNotice.Texts(), (Trail{"", kNoAnswer, ""})) << "the page shown must say it";
    EXPECT_EQ(setNotice.Texts(), Trail{""});
    ASSERT_EQ(launcher->requests.size(), 1u);
    EXPECT_EQ(launcher->requests[0],
              (platform::LaunchRequest{
                  platform::LaunchAction::OpenAssociated,
                  (fs::path(share->path()) / "qPPP_Profile" / "Messe" / "Notizen.pdf").string(), ""}));
}

// Run in a process of its own by the tests below, on their share: the window
// closes while a refresh, or an update of many files, waits on the hanging share.
TEST_F(FormTest, HangChildClosesWhileAShareHangs)
{
    const char* marker = std::getenv("QUINTOR_HANG_MARKER");
    const char* sharePath = std::getenv("QUINTOR_HANG_SHARE");
    if (!marker || !sharePath)
        GTEST_SKIP() << "only run by the closing tests of FormHangTest";
    const bool update = std::getenv("QUINTOR_HANG_UPDATE") != nullptr;
    TForm1& f = CreateForm();
    testsupport::TempDir local;
    util::RuntimeState& g = util::Global();
    g.LanguageFlag = 1;
    g.LocalFolderGerman = g.CurrentLocalFolder = g.LocalFolderEnglish = local.str();
    g.ServerFolderGerman = g.CurrentServerFolder = sharePath;
    g.HostNameGerman.clear();
    g.CompareWithServer = true;
    f.show();
    ui::DialogScript script;
    script.allowUnusedAnswers();
    script.answerConfirm(true);
    if (update) {
        // Many rows: once the first copy is given up, the rest must not keep the
        // program open either.
        std::vector<filesync::FileRow> rows{testsupport::Row("Vortrag.ppt", filesync::StatusMissingLocally)};
        for (int i = 0; i < 300; ++i)
            rows.push_back(
                testsupport::Row("Folie " + std::to_string(i) + ".ppt", filesync::StatusMissingLocally));
        f.TntListViewAkt->statusModel()->setRows(rows);
    }
    QTimer::singleShot(0, [&] { update ? f.EncartaButtonSyncClick() : f.EncartaButtonAktAClick(); });
    QTimer::singleShot(update ? 1500 : 500, [&] {
        testsupport::WriteFile(marker, "closing");
        f.close();
    });
    QuintorApplication::RunUntilClosed();
    std::_Exit(3); // the command finished, which a hanging share cannot let it do
}

namespace {

// The program has ended when its main thread has: a thread stuck in the kernel on
// the share keeps the process from being reaped until the share answers.
bool MainThreadEnded(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line))
        return true;
    const auto close = line.rfind(')');
    return close == std::string::npos || close + 2 >= line.size() || line[close + 2] == 'Z' ||
           line[close + 2] == 'X';
}

} // namespace

// Starts this test program as a child with its window on the held share, running
// the command, and closes the window; the child's main thread must end within 3 s.
void FormHangTest::CloseWhileTheShareHangs(bool update)
{
    share->Hold();
    const std::string marker = (dir / "closing").string();
    std::string self = fs::read_symlink("/proc/self/exe").string();
    std::string filter = "--gtest_filter=FormTest.HangChildClosesWhileAShareHangs";
    std::vector<std::string> env{"QUINTOR_HANG_MARKER=" + marker, "QUINTOR_HANG_SHARE=" + share->path()};
    if (update)
        env.emplace_back("QUINTOR_HANG_UPDATE=1");
    for (char** e = environ; *e; ++e)
        env.emplace_back(*e);
    std::vector<char*> envp;
    for (auto& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    char* argv[] = {self.data(), filter.data(), nullptr};
    pid_t child = -1;
    ASSERT_EQ(::posix_spawn(&child, self.c_str(), nullptr, nullptr, argv, envp.data()), 0);

    const auto started = std::chrono::steady_clock::now();
    while (!fs::exists(marker) && std::chrono::steady_clock::now() - started < 20s)
        std::this_thread::sleep_for(10ms);
    const bool closed = fs::exists(marker);
    const auto closing = std::chrono::steady_clock::now();
    while (closed && !MainThreadEnded(child) && std::chrono::steady_clock::now() - closing < 10s)
        std::this_thread::sleep_for(10ms);
    const auto took = std::chrono::steady_clock::now() - closing;
    const bool ended = MainThreadEnded(child);

    // Whatever happened, the child must go: let the share answer, then reap it.
    share->LetGo();
    if (!ended)
        ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(closed) << "the child never came to close its window";
    EXPECT_TRUE(ended) << "the program did not end";
    EXPECT_LT(took, 3s);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
}

TEST_F(FormHangTest, ClosingWhileAShareHangsEndsTheProgramWithinThreeSeconds)
{
    CloseWhileTheShareHangs(false);
}

TEST_F(FormHangTest, ClosingWhileAnUpdateHangsEndsTheProgramWithinThreeSeconds)
{
    CloseWhileTheShareHangs(true);
}
