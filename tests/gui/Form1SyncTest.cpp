#include "FormFixture.h"
#include "ListRows.h"
#include "Modal.h"

#include "support/FileRows.h"
#include "support/FolderTree.h"
#include "support/ScopedFault.h"
#include "sync/FileStatus.h"
#include "ui/MessageDialogs.h"
#include "ui/StatusListView.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <atomic>
#include <thread>

namespace fs = std::filesystem;
using testsupport::Build;
using testsupport::Dos;
using testsupport::File;
using testsupport::FolderHolds;
using testsupport::Row;
using testsupport::SameSnapshot;
using testsupport::ScopedFault;
using testsupport::SnapshotTree;

namespace {

const std::uint32_t kOld = Dos(2023, 1, 10);
const std::uint32_t kNew = Dos(2024, 2, 20);
const QString kQuestion =
    "Auf dem Server befinden sich neuere Dateien\rWollen Sie lokale Dateien jetz aktuallisieren?";

bool WaitCursorShown()
{
    const QCursor* cursor = QGuiApplication::overrideCursor();
    return cursor && cursor->shape() == Qt::WaitCursor;
}

} // namespace

class FormSyncTest : public FormTest
{
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        CreateForm();
        util::RuntimeState& g = util::Global();
        g.LanguageFlag = 1;
        g.LocalFolderGerman = g.CurrentLocalFolder = local.str();
        g.ServerFolderGerman = g.CurrentServerFolder = server.str();
        g.LocalFolderEnglish = english.str();
        g.HostNameGerman.clear();
        g.CompareWithServer = true;
    }

    ui::StatusListModel& Rows() { return *form->TntListViewAkt->statusModel(); }
    int RowOf(const std::string& name) const { return guitest::RowOf(form->TntListViewAkt, name); }
    int StatusOf(const std::string& name) const { return guitest::StatusOf(form->TntListViewAkt, name); }
    void Refresh() { form->EncartaButtonAktAClick(); }

    // Calls back at the start of every copy from the server, with the file's name,
    // for as long as the result lives.
    static ScopedFault OnCopy(std::function<void(const std::string& name)> observe)
    {
        return ScopedFault::Copy([observe](const std::string& source) -> std::optional<std::uint64_t> {
            observe(fs::path(source).filename().string());
            return std::nullopt;
        });
    }

    testsupport::TempDir local;
    testsupport::TempDir server;
    testsupport::TempDir english;
};

TEST_F(FormSyncTest, WithoutNewerOrMissingFilesTheUpdateDoesNothingAtAll)
{
    Build(local,
          {File("Gleich.ppt", "a", kOld), File("Lokal.ppt", "b", kOld), File("Geaendert.ppt", "c", kNew)});
    Build(server, {File("Gleich.ppt", "a", kOld), File("Geaendert.ppt", "c0", kOld)});
    Refresh();
    ui::DialogScript script;
    form->EncartaButtonSyncClick();
    EXPECT_TRUE(script.shown().isEmpty());
    EXPECT_TRUE(form->LabelKopPPP->isHidden());
    EXPECT_TRUE(form->LMDProgress1->isHidden());
}

TEST_F(FormSyncTest, AnsweringNoCopiesNothingAndShowsNoProgress)
{
    Build(local, {File("Neu.ppt", "alt", kOld)});
    Build(server, {File("Neu.ppt", "neu", kNew), File("Fehlt.ppt", "x", kNew)});
    Refresh();
    const auto before = SnapshotTree(local.path());
    ui::DialogScript script;
    script.answerConfirm(false);
    form->EncartaButtonSyncClick();
    EXPECT_EQ(script.texts(), QStringList{kQuestion});
    EXPECT_EQ(script.shown()[0].kind, ui::BoxKind::Confirmation);
    EXPECT_TRUE(SameSnapshot(before, SnapshotTree(local.path())));
    EXPECT_TRUE(form->LabelKopPPP->isHidden());
    EXPECT_TRUE(form->LMDProgress1->isHidden());
    EXPECT_FALSE(form->Timer1->isActive());
}

TEST_F(FormSyncTest, ProgressFollowsTheRowPositionAndTheDisplayGoesThreeSecondsLater)
{
    Build(local, {File("Neu.ppt", "alt", kOld), File("Gleich.ppt", "g", kOld)});
    Build(server,
          {File("Neu.ppt", "neu", kNew), File("Gleich.ppt", "g", kOld), File("Fehlt.ppt", "fehlt", kNew)});
    Rows().setRows({Row("Neu.ppt", 2), Row("Gleich.ppt", 0), Row("Fehlt.ppt", 3)});

    std::vector<int> values;
    QObject::connect(form->LMDProgress1, &QProgressBar::valueChanged, [&](int v) { values.push_back(v); });
    std::vector<std::pair<std::string, int>> copies;
    const auto observer =
        OnCopy([&](const std::string& name) { copies.emplace_back(name, form->LMDProgress1->value()); });
    // What the user sees between the steps: label text and cursor.
    QStringList labels;
    bool waitCursorWhileCopying = true;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        if (labels.isEmpty() || labels.last() != form->LabelKopPPP->text())
            labels << form->LabelKopPPP->text();
        if (form->LabelKopPPP->text() == "Kopiere Dateien...")
            waitCursorWhileCopying = waitCursorWhileCopying && WaitCursorShown();
    });
    sampler.start(0);

    ui::DialogScript script;
    script.answerConfirm(true);
    form->EncartaButtonSyncClick();
    sampler.stop();
    EXPECT_EQ(script.texts(), QStringList{kQuestion});

    EXPECT_EQ(values, (std::vector<int>{0, 50, 100}));
    EXPECT_EQ(copies, (std::vector<std::pair<std::string, int>>{{"Neu.ppt", 0}, {"Fehlt.ppt", 100}}))
        << "the missing file is copied while the bar already stands at 100";
    EXPECT_EQ(labels, (QStringList{"Kopieren wird vorbereitet...", "Kopiere Dateien...", "Fertig"}));
    EXPECT_TRUE(waitCursorWhileCopying);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(FolderHolds(local.path(), {File("Neu.ppt", "neu", kNew), File("Gleich.ppt", "g", kOld),
                                           File("Fehlt.ppt", "fehlt", kNew)}));
    for (const char* name : {"Neu.ppt", "Gleich.ppt", "Fehlt.ppt"})
        EXPECT_EQ(StatusOf(name), filesync::StatusIdentical) << name;

    EXPECT_FALSE(form->LabelKopPPP->isHidden());
    ASSERT_TRUE(form->Timer1->isActive());
    EXPECT_EQ(form->Timer1->interval(), 3000);
    form->Timer1->start(1);
    QElapsedTimer waited;
    waited.start();
    while (!form->LabelKopPPP->isHidden() && waited.elapsed() < 5000)
        QCoreApplication::processEvents();
    EXPECT_TRUE(form->LabelKopPPP->isHidden());
    EXPECT_TRUE(form->LMDProgress1->isHidden());
    EXPECT_FALSE(form->Timer1->isActive());
}

TEST_F(FormSyncTest, AMissingEnglishFolderOpensTheStorageLocationsInsteadOfCopying)
{
    Build(server, {File("Fehlt.ppt", "x", kNew)});
    util::Global().LocalFolderEnglish = (english / "gibtsnicht").string();
    Refresh();
    TFormPfade& pfade = windows->FormPfade;
    ui::DialogScript script;
    script.answerConfirm(true);
    guitest::WithModal(
        pfade, [&] { pfade.reject(); }, [&] { form->EncartaButtonSyncClick(); });
    EXPECT_EQ(script.texts(), (QStringList{kQuestion, "Bitte noch einmal den Befehl aufrufen."}));
    EXPECT_EQ(script.shown()[1].kind, ui::BoxKind::Information);
    EXPECT_FALSE(fs::exists(local / "Fehlt.ppt"));
    EXPECT_TRUE(form->LabelKopPPP->isHidden());
}

TEST_F(FormSyncTest, AFailedCopyIsReportedOnceWithTheNormalCursorAndTheOthersAreCopied)
{
    Build(local, {File("A.ppt", "alt", kOld)});
    Build(server, {File("A.ppt", "neu", kNew), File("B.ppt", "b", kNew), File("C.ppt", "c", kNew)});
    Rows().setRows({Row("A.ppt", 2), Row("B.ppt", 3), Row("C.ppt", 3)});

    std::vector<std::pair<std::string, bool>> cursorAtCopy;
    const auto fault = ScopedFault::Copy([&](const std::string& source) -> std::optional<std::uint64_t> {
        const std::string name = fs::path(source).filename().string();
        cursorAtCopy.emplace_back(name, WaitCursorShown());
        return name == "A.ppt" ? std::optional<std::uint64_t>(1) : std::nullopt;
    });
    ui::DialogScript script;
    script.answerConfirm(true);
    form->EncartaButtonSyncClick();

    EXPECT_EQ(script.texts(), (QStringList{kQuestion, "Datei konnte nicht kopiert werden."}));
    EXPECT_EQ(script.shown()[1].kind, ui::BoxKind::Message);
    EXPECT_EQ(cursorAtCopy, (std::vector<std::pair<std::string, bool>>{
                                {"A.ppt", true}, {"B.ppt", false}, {"C.ppt", false}}));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    // The failed copy leaves the old file and no temporary file.
    EXPECT_TRUE(FolderHolds(
        local.path(), {File("A.ppt", "alt", kOld), File("B.ppt", "b", kNew), File("C.ppt", "c", kNew)}));
    EXPECT_EQ(StatusOf("A.ppt"), filesync::StatusServerNewer);
    EXPECT_EQ(StatusOf("B.ppt"), filesync::StatusIdentical);
}

TEST_F(FormSyncTest, ACopyThatCannotBePlacedIsReportedOnceAndTheBarNeverGoesBack)
{
    Build(local, {File("A.ppt", "alt", kOld)});
    Build(server, {File("A.ppt", "neu", kNew), File("B.ppt", "b", kNew), File("C.ppt", "c", kNew)});
    Rows().setRows({Row("A.ppt", 2), Row("B.ppt", 3), Row("C.ppt", 3)});
    // A's copy is complete, but renaming it over the old file fails when the batch
    // is placed at the last row.
    int renames = 0;
    const auto fault = ScopedFault::AtomicWrite([&](platform::AtomicWriteStep step) {
        return step == platform::AtomicWriteStep::Rename && ++renames == 1;
    });
    std::vector<int> values;
    QObject::connect(form->LMDProgress1, &QProgressBar::valueChanged, [&](int v) { values.push_back(v); });

    ui::DialogScript script;
    script.answerConfirm(true);
    form->EncartaButtonSyncClick();

    EXPECT_EQ(script.texts(), (QStringList{kQuestion, "Datei konnte nicht kopiert werden."}));
    EXPECT_EQ(values, (std::vector<int>{0, 33, 67, 100}));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(FolderHolds(
        local.path(), {File("A.ppt", "alt", kOld), File("B.ppt", "b", kNew), File("C.ppt", "c", kNew)}));
    EXPECT_EQ(StatusOf("A.ppt"), filesync::StatusServerNewer);
}

TEST_F(FormSyncTest, TimersAndClicksDuringTheUpdateDoNotInterleaveWithIt)
{
    Build(server, {File("A.ppt", "a", kNew), File("B.ppt", "b", kNew)});
    Refresh();
    std::vector<std::string> events;
    const auto observer = OnCopy([&](const std::string& name) {
        events.push_back("copy " + name);
        EXPECT_FALSE(form->LabelKopPPP->isHidden()) << "an earlier countdown must not hide the display";
    });
    form->Timer1->start(1); // still counting down from an earlier update
    QObject::connect(&Rows(), &QAbstractItemModel::modelReset,
                     [&] { events.push_back("list " + std::to_string(Rows().rowCount())); });
    QTimer::singleShot(0, form.get(), [&] {
        form->TimerIntervalTimer();
        form->EncartaButtonSyncClick();
    });
    const int refusedBefore = form->Gate().Refused();

    ui::DialogScript script;
    script.answerConfirm(true);
    form->EncartaButtonSyncClick();
    std::sort(events.begin(), events.begin() + 2); // the rows' order is the folder's listing order
    EXPECT_EQ(events,
              (std::vector<std::string>{"copy A.ppt", "copy B.ppt", "list 0", "list 2", "list 0", "list 2"}))
        << "the tick's refresh must come after the update, not inside it";
    EXPECT_EQ(script.texts(), QStringList{kQuestion}) << "the second click asks nothing";
    EXPECT_EQ(form->Gate().Refused(), refusedBefore + 1);
    EXPECT_FALSE(form->Gate().Busy());
}

TEST_F(FormSyncTest, TheWindowKeepsBeingServedWhileALargeFileCopies)
{
    const std::string big(std::size_t{32} << 20, 'p');
    Build(server, {File("Gross.ppt", big, kNew)});
    Refresh();
    form->TntListViewAkt->markRow(RowOf("Gross.ppt"));
    std::atomic<int> ticks = 0;
    int ticksAtCopyStart = -1;
    int ticksAtRefresh = -1;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(0);
    const auto observer = OnCopy([&](const std::string&) {
        ticksAtCopyStart = ticks;
        // Long enough to count on any machine: from a fast disk's cache the copy
        // itself may take less than the window's wait between two repaints.
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    });
    QObject::connect(&Rows(), &QAbstractItemModel::modelReset, [&] {
        if (ticksAtRefresh < 0)
            ticksAtRefresh = ticks;
    });

    ui::DialogScript script;
    script.answerConfirm(true);
    form->AusgewhlteDateiaktualisieren1Click();
    ticker.stop();
    EXPECT_EQ(script.texts(),
              QStringList{"Wollen Sie die ausgewählte Datei   \rGross.ppt\r\rlokal wirklich aktualisieren?"});
    ASSERT_GE(ticksAtCopyStart, 0);
    EXPECT_GT(ticksAtRefresh, ticksAtCopyStart) << "timers must run while the file copies";
    EXPECT_EQ(fs::file_size(local / "Gross.ppt"), big.size());
    EXPECT_EQ(StatusOf("Gross.ppt"), filesync::StatusIdentical);
}

TEST_F(FormSyncTest, UpdatingTheMarkedRowReplacesANewerLocalCopyWithTheServers)
{
    Build(local, {File("Neu.ppt", "lokal geändert", kNew)});
    Build(server, {File("Neu.ppt", "server", kOld), File("Weg.ppt", "w", kOld)});
    Refresh();
    ASSERT_EQ(StatusOf("Neu.ppt"), filesync::StatusLocalNewer);

    {
        ui::DialogScript script;
        form->TntListViewAkt->clearSelection();
        form->AusgewhlteDateiaktualisieren1Click();
        form->Dateilschen1Click();
        EXPECT_EQ(script.texts(),
                  (QStringList{"Biite eine Datei markieren.", "Biite eine Datei markieren."}));
        EXPECT_EQ(script.shown()[0].kind, ui::BoxKind::Information);
    }
    {
        ui::DialogScript script;
        script.answerConfirm(true);
        form->TntListViewAkt->markRow(RowOf("Neu.ppt"));
        form->AusgewhlteDateiaktualisieren1Click();
        EXPECT_EQ(
            script.texts(),
            QStringList{"Wollen Sie die ausgewählte Datei   \rNeu.ppt\r\rlokal wirklich aktualisieren?"});
        EXPECT_TRUE(FolderHolds(local.path(), {File("Neu.ppt", "server", kOld)}));
        EXPECT_EQ(StatusOf("Neu.ppt"), filesync::StatusIdentical);
    }
    {
        // The server file went away after the refresh: nothing is said or refreshed.
        form->TntListViewAkt->markRow(RowOf("Weg.ppt"));
        fs::remove(server / "Weg.ppt");
        int resets = 0;
        auto c = QObject::connect(&Rows(), &QAbstractItemModel::modelReset, [&] { ++resets; });
        ui::DialogScript script;
        script.answerConfirm(true);
        form->AusgewhlteDateiaktualisieren1Click();
        QObject::disconnect(c);
        EXPECT_EQ(script.texts().size(), 1);
        EXPECT_EQ(resets, 0);
        EXPECT_TRUE(FolderHolds(local.path(), {File("Neu.ppt", "server", kOld)}));
    }
}

// On a share that tells letter cases apart, a local copy may be spelt otherwise
// than its server file; the list pairs them, so the commands must update them.
TEST_F(FormSyncTest, ACopySpeltInOtherLettersIsUpdatedAndKeepsItsLocalSpelling)
{
    Build(local, {File("intro.ppt", "alt", kOld), File("Ende.PPT", "alt", kOld)});
    Build(server, {File("INTRO.PPT", "neu", kNew), File("ende.ppt", "neu", kNew)});
    Refresh();
    ASSERT_EQ(StatusOf("intro.ppt"), filesync::StatusServerNewer);
    ASSERT_EQ(StatusOf("Ende.PPT"), filesync::StatusServerNewer);

    {
        ui::DialogScript script;
        script.answerConfirm(true);
        form->TntListViewAkt->markRow(RowOf("Ende.PPT"));
        form->AusgewhlteDateiaktualisieren1Click();
        EXPECT_EQ(script.texts().size(), 1) << "the question only";
    }
    EXPECT_TRUE(FolderHolds(local.path(), {File("intro.ppt", "alt", kOld), File("Ende.PPT", "neu", kNew)}));
    EXPECT_EQ(StatusOf("Ende.PPT"), filesync::StatusIdentical);

    {
        ui::DialogScript script;
        script.answerConfirm(true);
        form->EncartaButtonSyncClick();
        EXPECT_EQ(script.texts(), QStringList{kQuestion});
    }
    EXPECT_TRUE(FolderHolds(local.path(), {File("intro.ppt", "neu", kNew), File("Ende.PPT", "neu", kNew)}));
    EXPECT_EQ(StatusOf("intro.ppt"), filesync::StatusIdentical);
    EXPECT_EQ(Rows().rowCount(), 2);
}

TEST_F(FormSyncTest, DeletingALocalCopyBringsItBackAsMissingAndAFailureIsReported)
{
    Build(local, {File("Gleich.ppt", "g", kOld), File("Lokal.ppt", "l", kOld)});
    Build(server, {File("Gleich.ppt", "g", kOld)});
    Refresh();
    const auto question = [](const QString& name) {
        return "Wollen Sie die asugewählte Datei   \r" + name + "\r\rlokal wirklich löschen?";
    };

    {
        ui::DialogScript script;
        script.answerConfirm(false);
        form->TntListViewAkt->markRow(RowOf("Gleich.ppt"));
        form->Dateilschen1Click();
        EXPECT_EQ(script.texts(), QStringList{question("Gleich.ppt")});
        EXPECT_TRUE(fs::exists(local / "Gleich.ppt"));
    }
    {
        ui::DialogScript script;
        script.answerConfirm(true);
        script.answerConfirm(true);
        form->Dateilschen1Click();
        EXPECT_FALSE(fs::exists(local / "Gleich.ppt"));
        EXPECT_TRUE(fs::exists(server / "Gleich.ppt"));
        EXPECT_EQ(StatusOf("Gleich.ppt"), filesync::StatusMissingLocally);
        form->TntListViewAkt->markRow(RowOf("Lokal.ppt"));
        form->Dateilschen1Click();
        EXPECT_EQ(RowOf("Lokal.ppt"), -1);
        EXPECT_EQ(script.texts(), (QStringList{question("Gleich.ppt"), question("Lokal.ppt")}));
    }
    {
        Build(local, {File("Fest.ppt", "f", kOld)});
        Refresh();
        const auto fault = ScopedFault::DeleteRefused("Fest.ppt");
        form->TntListViewAkt->markRow(RowOf("Fest.ppt"));
        int resets = 0;
        QObject::connect(&Rows(), &QAbstractItemModel::modelReset, [&] { ++resets; });
        ui::DialogScript script;
        script.answerConfirm(true);
        form->Dateilschen1Click();
        EXPECT_EQ(script.texts().last(), "Datei konnte nicht gelöscht werden");
        EXPECT_EQ(script.shown().last().kind, ui::BoxKind::Message);
        EXPECT_EQ(resets, 0) << "no refresh after a failed delete";
        EXPECT_TRUE(fs::exists(local / "Fest.ppt"));
    }
}
