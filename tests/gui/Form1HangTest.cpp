#include "FormFixture.h"

#include "app/QuintorApplication.h"
#include "app/dialogs/FormPfade_u.h"
#include "support/FileRows.h"
#include "support/HangingFolder.h"
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
#include <QTabWidget>
#include <QTimer>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <mutex>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

const QString kNoAnswer = QStringLiteral("Der Server antwortet nicht …");

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

    void UseShare()
    {
        util::RuntimeState& g = util::Global();
        g.LanguageFlag = 1;
        g.LocalFolderGerman = g.CurrentLocalFolder = local.str();
        g.ServerFolderGerman = g.CurrentServerFolder = share->path();
        g.HostNameGerman.clear();
        g.CompareWithServer = true;
    }

    void CloseWhileTheShareHangs(bool update);

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
    std::unique_ptr<testsupport::HangingFolder> share;
};

TEST_F(FormHangTest, ARefreshOnAHangingShareKeepsTheWindowTickingAndSaysSoWithoutMovingAnything)
{
    TForm1& f = CreateForm();
    UseShare();
    share->Hold();
    QString noticeWhileHanging;
    QRect listBefore = f.TntListViewAkt->geometry();
    QRect listWhileHanging;
    QTimer::singleShot(5600, [&] {
        noticeWhileHanging = f.TntListViewAkt->notice();
        listWhileHanging = f.TntListViewAkt->geometry();
        share->LetGo();
    });
    TickWatch watch;

    f.EncartaButtonAktAClick();

    EXPECT_LT(watch.LongestGapMs(), 250);
    EXPECT_GT(watch.Ticks(), 200);
    EXPECT_EQ(noticeWhileHanging, kNoAnswer);
    EXPECT_EQ(listWhileHanging, listBefore);
    // Once the server answers the list fills as always and the notice goes.
    EXPECT_TRUE(f.TntListViewAkt->notice().isEmpty());
    ASSERT_EQ(f.TntListViewAkt->statusModel()->rowCount(), 1);
    EXPECT_EQ(f.TntListViewAkt->statusModel()->row(0).name, "Vortrag.ppt");
}

TEST_F(FormHangTest, CheckingTheStorageLocationsOnAHangingShareKeepsTheWindowTicking)
{
    CreateForm();
    TFormPfade& dialog = windows->FormPfade;
    dialog.SetMountedShareHost([](const std::string&) { return std::string(); });
    fs::create_directory(dir / "de");
    fs::create_directory(dir / "en");
    fs::create_directory(dir / "server-en");
    dialog.EditLPfadDeutsch->setText(QString::fromStdString((dir / "de").string()));
    dialog.EditSPfadDeutsch->setText(QString::fromStdString(share->path()));
    dialog.EditLPfadenglisch->setText(QString::fromStdString((dir / "en").string()));
    dialog.EditSPfadenglisch->setText(QString::fromStdString((dir / "server-en").string()));

    dialog.setResult(-1);
    WaitsOnTheShareTicking([&] { dialog.EncartaButtonOK->click(); });
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
    share->Hold();
    const LetGoAtTheLatest safety(*share, 15s);

    // Where every control stands: once while copying, once while the notice shows.
    const auto layout = [&f] {
        QMap<QString, QRect> places;
        for (const QWidget* w : f.findChildren<QWidget*>())
            if (!w->objectName().isEmpty() && w->isVisible())
                places.insert(w->objectName(), w->geometry());
        return places;
    };
    QMap<QString, QRect> layoutCopying;
    QMap<QString, QRect> layoutNotice;
    QString labelCopying;
    QString labelNotice;
    QTimer::singleShot(2000, [&] {
        labelCopying = f.LabelKopPPP->text();
        layoutCopying = layout();
    });
    QTimer::singleShot(6200, [&] {
        labelNotice = f.LabelKopPPP->text();
        layoutNotice = layout();
        share->LetGo();
    });
    QStringList labels;
    TickWatch watch;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        if (labels.isEmpty() || labels.last() != f.LabelKopPPP->text())
            labels << f.LabelKopPPP->text();
    });
    sampler.start(0);

    ui::DialogScript script;
    script.answerConfirm(true);
    f.EncartaButtonSyncClick();
    sampler.stop();

    EXPECT_LT(watch.LongestGapMs(), 250);
    EXPECT_GT(watch.Ticks(), 300);
    EXPECT_EQ(labelCopying, "Kopiere Dateien...");
    EXPECT_EQ(labelNotice, kNoAnswer);
    EXPECT_FALSE(layoutCopying.isEmpty());
    EXPECT_EQ(layoutNotice, layoutCopying);
    // Once the server answers the copy ends as always: the notice goes, "Fertig",
    // and the refreshed list shows the file as current.
    EXPECT_EQ(labels, (QStringList{"Kopieren wird vorbereitet...", "Kopiere Dateien...", kNoAnswer,
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
    util::Global().CurrentProfile = "Messe";
    f.LabelProfilname->setText("Messe");
    f.EncartaButtonListeAuswahlClick();
    ASSERT_EQ(f.TntListViewAuswahl->statusModel()->rowCount(), 1);
    f.TntListViewAuswahl->markRow(0);
    share->Hold();
    const LetGoAtTheLatest safety(*share, 15s);
    QString profileNotice;
    QString setNotice;
    QTimer::singleShot(5600, [&] {
        profileNotice = f.TntListViewAuswahl->notice();
        setNotice = f.TntListViewAkt->notice();
        share->LetGo();
    });
    TickWatch watch;

    ui::DialogScript script;
    script.answerConfirm(true);
    f.AusgewhlteDateienaktuallisierenProfilClick();

    EXPECT_EQ(script.texts().size(), 1);
    EXPECT_LT(watch.LongestGapMs(), 250);
    EXPECT_EQ(profileNotice, kNoAnswer) << "the page shown must say it";
    EXPECT_TRUE(setNotice.isEmpty());
    EXPECT_TRUE(f.TntListViewAuswahl->notice().isEmpty());
    EXPECT_EQ(testsupport::ReadFile(local / "qPPP_Profile" / "Messe" / "Vortrag.ppt"), "server");
}

// The local folder itself may lie on a share: listing its profiles and reading a
// profile's description wait on it as the lists do, and the profiles page says so.
TEST_F(FormHangTest, TheProfilesOfALocalFolderOnAHangingShareKeepTheWindowTicking)
{
    fs::create_directories(dir / "backing" / "qPPP_Profile" / "Messe");
    testsupport::WriteFile(dir / "backing" / "qPPP_Profile" / "Messe" / "qPPP_Profile.ini",
                           "[Profil]\nBeschreibung=Stand 4\n");
    TForm1& f = CreateForm();
    util::RuntimeState& g = util::Global();
    g.LanguageFlag = 1;
    g.LocalFolderGerman = g.CurrentLocalFolder = share->path();
    // Long enough for the notice, which the page's label over its list shows; looked
    // for all along, as a busy machine may start the wait late.
    bool noticeShown = false;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout,
                     [&] { noticeShown = noticeShown || f.LabelPN->text() == kNoAnswer; });
    look.start(50);
    WaitsOnTheShareTicking([&] { f.AdvOfficePager1->setCurrentIndex(1); }, 6500ms);
    look.stop();
    EXPECT_TRUE(noticeShown);
    EXPECT_TRUE(f.LabelPN->text().startsWith("Profilnamen (")) << f.LabelPN->text().toStdString();
    ASSERT_EQ(f.ListBoxProfile->count(), 1);
    EXPECT_EQ(f.ListBoxProfile->item(0)->text(), "Messe");
    WaitsOnTheShareTicking([&] { f.ListBoxProfile->setCurrentRow(0); });
    EXPECT_EQ(f.MemoProfileH->toPlainText(), "Stand 4");
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
