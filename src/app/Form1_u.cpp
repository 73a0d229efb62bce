#include "app/Form1_u.h"
#include "settings/StorageLocations.h"
#include "ui/LaunchFeedback.h"

#include "app/QuintorApplication.h"
#include "app/dialogs/FormPfade_u.h"
#include "launch/PresentationLauncher.h"
#include "launch/StartFile.h"
#include "platform/PathDelimiter.h"
#include "platform/UserFolders.h"
#include "profiles/ProfileStore.h"
#include "profiles/WriteLeftovers.h"
#include "settings/Settings.h"
#include "sync/FileStatus.h"
#include "sync/Inventory.h"
#include "sync/OfficeLockFile.h"
#include "sync/z_ping.h"
#include "ui/Fonts.h"
#include "ui/Layout.h"
#include "ui/MessageDialogs.h"
#include "ui/QtText.h"
#include "ui/StatusListView.h"
#include "util/FileWork.h"
#include "util/z_global.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <filesystem>
#include <tuple>
#include <utility>

// The window frame and its lifecycle, and what the pages share: the two list
// refreshes, the context-menu rule and the commands of both file lists. Each page's
// layout, wiring and handlers are in Form1_Page*.cpp.

using ui::Q;
using ui::S;

namespace {

constexpr int kClientWidth = 410;
constexpr int kClientHeight = 372;

const filesync::FileRow* FirstMarkedRow(const ui::StatusListView* list)
{
    const int row = list->firstMarkedRow();
    return row < 0 ? nullptr : &list->statusModel()->row(row);
}

} // namespace

TForm1::TForm1(QWidget* parent) : QWidget(parent), FormSizeSave1(this)
{
    ui::InstallFontSubstitutes();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Quintor 3P"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    resize(kClientWidth, kClientHeight);

    AdvOfficePager1 = ui::Named(new QTabWidget(this), "AdvOfficePager1");
    AdvOfficePager1->setGeometry(0, 0, kClientWidth, kClientHeight);
    AdvOfficePager1->setMovable(false);
    // The five tabs share the window's width, as on the pager they come from.
    QFont tabFont(QStringLiteral("Tahoma"), 8);
    AdvOfficePager1->tabBar()->setFont(tabFont);
    AdvOfficePager1->tabBar()->setUsesScrollButtons(false);
    AdvOfficePager1->tabBar()->setExpanding(false);
    const struct
    {
        const char* object;
        const char* caption;
        void (TForm1::*build)(QWidget*);
        void (TForm1::*connect)();
    } pages[] = {
        {"AdvOfficePager11", "Aktuelle PPP", &TForm1::BuildPageAktuell, &TForm1::ConnectPageAktuell},
        {"AdvOfficePager12", "Profile", &TForm1::BuildPageProfile, &TForm1::ConnectPageProfile},
        {"AdvOfficePager13", "Ausgewähltes Profil", &TForm1::BuildPageAusgewaehlt,
         &TForm1::ConnectPageAusgewaehlt},
        {"AdvOfficePage1", "Einstellungen", &TForm1::BuildPageEinstellungen,
         &TForm1::ConnectPageEinstellungen},
        {"AdvOfficePage2", "Info", &TForm1::BuildPageInfo, nullptr},
    };
    for (const auto& page : pages) {
        auto* widget = ui::Named(new QWidget, page.object);
        widget->setFont(QFont(QStringLiteral("Tahoma"), 8));
        (this->*page.build)(widget);
        AdvOfficePager1->addTab(widget, QString::fromUtf8(page.caption));
    }
    ApplyLook();

    Timer1 = ui::Named(new QTimer(this), "Timer1");
    Timer1->setInterval(3000);
    Timer1->setSingleShot(true);
    TimerInterval = ui::Named(new QTimer(this), "TimerInterval");

    m_gate.SetRefreshRunner([this](util::OperationGate::Request r) { RunPutOffRefresh(r); });
    util::InstallNoProgressNotice([this](bool stalled) { ShowNoProgress(stalled); });
    // Wired only now: adding the tabs above changes the current page.
    ConnectWindow();
    for (const auto& page : pages)
        if (page.connect)
            (this->*page.connect)();
    FormCreate();
}

TForm1::~TForm1()
{
    util::InstallNoProgressNotice({});
}

void TForm1::ShowNoProgress(bool stalled)
{
    static const QString kNoAnswer = QString::fromUtf8(util::kServerNotAnswering);
    // On the page shown, whichever list the work is for: an update or a save shows
    // its label; the profiles page has the label over its list, the settings page
    // its language heading, the info page its status bar; else the page's list says
    // it. Whether the window is on screen or minimised does not change the place;
    // the notice is taken back where it was given.
    const int page = AdvOfficePager1->currentIndex();
    if (stalled) {
        m_noticeLabel = page == 0 && !LabelKopPPP->isHidden() ? LabelKopPPP
                        : page == 1                           ? LabelPN
                        : page == 3                           ? Label7
                        : page == 4                           ? m_statusPanel
                                                              : nullptr;
        if (m_noticeLabel) {
            m_labelTextBeforeNotice = m_noticeLabel->text();
            m_noticeLabel->setText(kNoAnswer);
            return;
        }
        m_noticeList = page == 2 ? TntListViewAuswahl : TntListViewAkt;
        m_noticeList->setNotice(kNoAnswer);
    } else if (m_noticeLabel) {
        if (m_noticeLabel->text() == kNoAnswer)
            m_noticeLabel->setText(m_labelTextBeforeNotice);
        m_noticeLabel = nullptr;
    } else if (m_noticeList) {
        m_noticeList->setNotice({});
        m_noticeList = nullptr;
    }
}

void TForm1::SetDialogs(TFormProfilSpeichern* profilSpeichern, TFormDListe* dListe, TFormPfade* pfade,
                        TFormInfo* info)
{
    m_formProfilSpeichern = profilSpeichern;
    m_formDListe = dListe;
    m_formPfade = pfade;
    m_formInfo = info;
}

void TForm1::ConnectWindow()
{
    connect(AdvOfficePager1, &QTabWidget::currentChanged, this,
            QuintorApplication::Guarded(this, &TForm1::AdvOfficePager1Change));
    connect(Timer1, &QTimer::timeout, this, QuintorApplication::Guarded(this, &TForm1::Timer1Timer));
    connect(TimerInterval, &QTimer::timeout, this,
            QuintorApplication::Guarded(this, &TForm1::TimerIntervalTimer));
}

// ---------------------------------------------------------------- lifecycle

void TForm1::FormCreate()
{
    util::RuntimeState& g = util::Global();
    g.UserDataFolder = util::WithTrailingDelimiter(platform::UserAppDataFolder()) + "quintorPPP";
    // Even when the folder cannot be made, the settings component points at the
    // file, so that a later save reports the failure instead of writing elsewhere.
    LMDIniCtrl1.SetFileName(util::WithTrailingDelimiter(g.UserDataFolder) + "optionen.ini");
    std::error_code ec;
    // On a fresh account the per-user configuration folder itself may not exist yet;
    // it is made first, so that only our own folder below it can fail.
    std::filesystem::create_directories(platform::UserAppDataFolder(), ec);
    if (!std::filesystem::is_directory(g.UserDataFolder, ec) &&
        !std::filesystem::create_directory(g.UserDataFolder, ec)) {
        ui::Error(QStringLiteral("Ordner \"%1\" kann nicht erstellt werden.").arg(Q(g.UserDataFolder)), this);
        ShowVersionLine();
        return;
    }

    FormSizeSave1.Restore();

    const settings::StartupSettings s =
        settings::LoadStartupSettings(LMDIniCtrl1, g.UserName, g.AccountDomain);
    settings::ApplyStartupSettings(s, g);
    m_statusPanel->setText(Q(s.statusBarNotice));
    LabelProfilname->setText(Q(g.CurrentProfile));
    {
        // Putting the stored values into the controls must not save them again.
        const QSignalBlocker blockCombo(ComboBoxDesign);
        const QSignalBlocker blockSpin(RxSpinEditInterval);
        ComboBoxDesign->setCurrentIndex(
            s.designIndex >= 0 && s.designIndex < ComboBoxDesign->count() ? s.designIndex : -1);
        CheckBoxStart->setChecked(s.compareAtStart);
        CheckBoxInterval->setChecked(s.intervalEnabled);
        RxSpinEditInterval->setValue(s.intervalHours);
    }
    AdvOfficePager1->setCurrentIndex(
        s.activePage >= 0 && s.activePage < AdvOfficePager1->count() ? s.activePage : 0);
    if (CheckBoxInterval->isChecked()) {
        TimerInterval->setInterval(settings::IntervalMilliseconds(RxSpinEditInterval->value()));
        TimerInterval->start();
    }

    g.ProfileStartFile = ProfileStartFileOf(g.CurrentProfile);
    LabelZProfil->setText(Q(g.CurrentProfile));
    ShowVersionLine();
    g.CurrentSetStartFile = ReadStartFileAt(profiles::CurrentSetIniPath(g.CurrentLocalFolder));
    // What an interrupted write or copy of an earlier run left behind goes now, not
    // only at the next update of that folder.
    util::RunFileWork([settings = g.UserDataFolder,
                       locals = std::vector{g.LocalFolderGerman, g.LocalFolderEnglish}](util::WorkProgress&) {
        profiles::RemoveWriteLeftovers(profiles::FoldersWrittenTo(settings, locals));
    });
}

bool TForm1::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate && !m_activated) {
        m_activated = true;
        // Run after the activation has been delivered, like the first activation
        // handler of a shown window.
        QTimer::singleShot(0, this, QuintorApplication::Guarded(this, &TForm1::FormActivate));
    }
    return QWidget::event(event);
}

void TForm1::FormActivate()
{
    m_activated = true;
    util::OperationScope scope(m_gate, util::OperationGate::Request::Command);
    if (!scope)
        return;
    Activate();
}

void TForm1::Activate()
{
    util::RuntimeState& g = util::Global();
    // 1. An index the program does not know leaves every colour as it is.
    ApplyDesign(g.DesignIndex);
    // 2. The storage-locations dialog shows the state's folders.
    if (m_formPfade) {
        m_formPfade->EditLPfadDeutsch->setText(Q(g.LocalFolderGerman));
        m_formPfade->EditSPfadDeutsch->setText(Q(g.ServerFolderGerman));
        m_formPfade->EditLPfadenglisch->setText(Q(g.LocalFolderEnglish));
        m_formPfade->EditSPfadenglisch->setText(Q(g.ServerFolderEnglish));
    }
    // 3. Selecting the other language runs its switch; the selected one does nothing.
    QRadioButton* language = g.LanguageFlag == 0 ? RadioButtonEnglisch : RadioButtonDeutsch;
    if (!language->isChecked()) {
        SetLanguageButton(language);
        SwitchLanguage(language == RadioButtonDeutsch);
    }
    // 4. This order matters for the first comparison with the server.
    RefreshCurrentSet();
    RefreshProfile();
    // 5. The window keeps the size it has now.
    setFixedSize(size());
}

void TForm1::closeEvent(QCloseEvent* event)
{
    // From here on no wait for a share may hold the program open for long: a
    // refresh on a share that hangs is given up, its thread left behind.
    util::BeginClosing();
    FormCloseQuery();
    event->accept();
}

void TForm1::FormCloseQuery()
{
    try {
        LMDIniCtrl1.WriteInteger("Allgemein", "AktivPage", AdvOfficePager1->currentIndex() == 2 ? 2 : 0);
    } catch (const std::exception& e) {
        // Closing is never refused; the failure is still reported.
        ui::Error(QString::fromStdString(e.what()), this);
    }
    FormSizeSave1.Save();
}

void TForm1::AdvOfficePager1Change()
{
    switch (AdvOfficePager1->currentIndex()) {
    case 1:
        FillProfilesPage();
        break;
    case 2:
        CheckProfilePage();
        break;
    default:
        break;
    }
}

void TForm1::Timer1Timer()
{
    LabelKopPPP->hide();
    LMDProgress1->hide();
    Timer1->stop();
}

void TForm1::TimerIntervalTimer()
{
    // Whether this refresh found anything new is told once it has run, also when
    // it has to wait for an operation in progress.
    m_periodicRefreshPending = true;
    EncartaButtonAktAClick();
    EncartaButtonListeAuswahlClick();
}

void TForm1::RunPutOffRefresh(util::OperationGate::Request request)
{
    if (request == util::OperationGate::Request::RefreshCurrentSet)
        EncartaButtonAktAClick();
    else
        EncartaButtonListeAuswahlClick();
}

// ---------------------------------------------------------------- shared by the pages

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == MemoProfileH && event->type() == QEvent::FocusOut) {
        // A popup menu or another window taking the focus for a while does not
        // leave the field; only another control of this window does.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            MemoProfileHExit();
    } else if ((watched == ImageFlageAkt || watched == ImageFlageProfil) &&
               event->type() == QEvent::MouseButtonDblClick)
        ImageFlageProfilDblClick();
    return QWidget::eventFilter(watched, event);
}

std::string TForm1::HostNameOfCurrentSet() const
{
    const util::RuntimeState& g = util::Global();
    return g.LanguageFlag == 1 ? g.HostNameGerman : g.HostNameEnglish;
}

void TForm1::RefreshCurrentSet()
{
    const util::RuntimeState& g = util::Global();
    const filesync::ListSummary summary =
        RebuildList(TntListViewAkt, {g.CurrentLocalFolder, g.CurrentServerFolder, HostNameOfCurrentSet(),
                                     g.CompareWithServer});
    TntListViewAkt->setEmptyHint(
        settings::FoldersNotSetUp(g.CurrentLocalFolder, g.CurrentServerFolder)
            ? QStringLiteral("Für diese Sprache sind noch keine Ordner eingestellt.\n\n"
                             "Im Reiter „Einstellungen“ auf „Speicherorte“ klicken und "
                             "den lokalen Ordner und den Ordner auf dem Server wählen.")
            : QString());
    AfterCurrentSetRefresh(summary);
}

void TForm1::RefreshProfile()
{
    util::RuntimeState& g = util::Global();
    if (LabelProfilname->text().isEmpty()) {
        // With no profile the rows stay as they are; comparing is still switched on
        // here, or without the start check no refresh of the run would ever compare.
        g.CompareWithServer = true;
        // Rows left from before keep their summary; a list emptied meanwhile has none.
        if (TntListViewAuswahl->statusModel()->rowCount() == 0)
            TntListViewAuswahl->setSummary({});
        return;
    }
    // An empty or stale profile name must not make another folder the profile.
    const std::string folder =
        profiles::ProfileFolderPath(g.CurrentLocalFolder, g.CurrentProfile).value_or(std::string());
    // The first run of this refresh lists without comparing and switches comparing on.
    const bool compare = g.CompareWithServer;
    g.CompareWithServer = true;
    RebuildList(TntListViewAuswahl, {folder, g.CurrentServerFolder, HostNameOfCurrentSet(), compare});
}

filesync::ListSummary TForm1::RebuildList(ui::StatusListView* list, const filesync::InventoryRequest& request)
{
    list->clearSelection();
    list->statusModel()->clear();
    util::DelayWithMessages(100);
    auto inventory = util::RunFileWorkFor([request](util::WorkProgress&) {
        return filesync::BuildComparedInventory(request, filesync::PingHost);
    });
    // Empty only when the program is closing and gave up on a share that hangs.
    if (!inventory)
        return {};
    const filesync::ListSummary summary = filesync::Summarize(*inventory);
    const QString cause = Q(filesync::ServerFolderProblemText(inventory->serverFolderProblem));
    list->statusModel()->setRows(std::move(inventory->rows), cause);
    ShowSummary(list, summary);
    return summary;
}

void TForm1::UpdateMenuState(const ui::StatusListView* list, QAction* updateItem, QAction* deleteItem)
{
    const int row = list->firstMarkedRow();
    if (row < 0)
        return;
    const int status = list->statusModel()->row(row).status;
    deleteItem->setEnabled(filesync::CanDeleteLocally(status));
    updateItem->setEnabled(filesync::CanUpdateFromServer(status));
}

std::string TForm1::ProfileStartFileOf(const std::string& profileName)
{
    const auto iniPath = profiles::ProfileIniPath(util::Global().CurrentLocalFolder, profileName);
    return iniPath ? ReadStartFileAt(*iniPath) : std::string();
}

std::string TForm1::ReadStartFileAt(const std::string& iniPath)
{
    return util::RunFileWorkFor(
               [ini = ProfileIni(iniPath), iniPath]() mutable { return launch::ReadStartFile(ini, iniPath); })
        .value_or(std::string());
}

ini::TLMDIniCtrl TForm1::ProfileIni(const std::string& iniPath)
{
    LMDIniCtrl2.SetFileName(iniPath);
    return LMDIniCtrl2;
}

void TForm1::AskToMarkAFile()
{
    ui::Information(QStringLiteral("Biite eine Datei markieren."), this);
}

// Shows nothing but the launcher's own failure: the started program runs on its own.
void TForm1::LaunchMarkedFile(const ui::StatusListView* list, launch::ListPage page,
                              launch::LaunchButton button)
{
    const util::RuntimeState& g = util::Global();
    const filesync::FileRow* marked = FirstMarkedRow(list);
    // Looking for the file is file work; starting the program is not.
    const auto decided =
        util::RunFileWorkFor([page, button, row = marked ? std::optional(*marked) : std::nullopt,
                              folder = launch::PageFolder(page, g.CurrentLocalFolder, g.CurrentProfile)] {
            return launch::DecideLaunch(page, button, row ? &*row : nullptr, folder);
        });
    if (!decided) // the program is closing
        return;
    const launch::LaunchDecision& decision = *decided;
    if (!decision.IsDone()) {
        ui::Information(Q(decision.message), this);
        return;
    }
    if (!ShowFailure(launch::ActiveLauncher().Launch(decision.value)) &&
        decision.value.action == platform::LaunchAction::SlideShow)
        ui::ShowBusyUntilAnotherWindowAppears();
}

bool TForm1::ShowFailure(const util::Outcome<>& outcome)
{
    if (outcome.IsDone())
        return false;
    ui::Error(Q(outcome.message), this);
    return true;
}

util::StepSummary TForm1::RunPlan(const util::StepPlan& plan, const util::StepObserver& observer)
{
    // The steps' file work on the worker, everything the window shows here.
    return util::ExecutePlan(plan, observer, util::RunStepAsFileWork);
}

void TForm1::ConfirmOpenDocuments(util::StepPlan& plan, const std::string& folder)
{
    filesync::ConfirmOpenDocuments(
        plan, folder, [this](std::string_view name) { return UpdateOpenDocumentAnyway(name); },
        IsOpenDocument);
}

bool TForm1::IsOpenDocument(const std::string& folder, std::string_view name)
{
    return util::RunFileWorkFor(
               [folder, name = std::string(name)] { return filesync::IsOpenInOfficeProgram(folder, name); })
        .value_or(false);
}

bool TForm1::DefineStartFile(StartFileDefinition define, const ui::StatusListView* list)
{
    const std::optional<std::string> name = ConfirmedStartFile(list);
    if (!name)
        return false;
    // Written as file work on a copy of the state; the start files it took come back.
    const auto defined =
        util::RunFileWorkFor([define, ini = LMDIniCtrl2, state = util::Global(), name = *name]() mutable {
            util::Outcome<> outcome = define(ini, state, name);
            return std::tuple{std::move(outcome), state.CurrentSetStartFile, state.ProfileStartFile};
        });
    if (!defined) // the program is closing
        return false;
    util::RuntimeState& g = util::Global();
    g.CurrentSetStartFile = std::get<1>(*defined);
    g.ProfileStartFile = std::get<2>(*defined);
    return !ShowFailure(std::get<0>(*defined));
}

std::optional<std::string> TForm1::ConfirmedStartFile(const ui::StatusListView* list)
{
    const filesync::FileRow* row = FirstMarkedRow(list);
    if (!row) {
        AskToMarkAFile();
        return std::nullopt;
    }
    std::string name = launch::StartFileName(row->displayName);
    if (!ui::Confirm(Q(launch::StartFileQuestion(name)), this))
        return std::nullopt;
    return name;
}
