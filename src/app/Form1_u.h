#pragma once

#include "app/FormSizeSave.h"
#include "ini/LMDIniCtrl.h"
#include "launch/LaunchDecision.h"
#include "launch/Readiness.h"
#include "profiles/ProfileFileCommands.h"
#include "sync/Inventory.h"
#include "sync/ListSummary.h"
#include "ui/MessageDialogs.h"
#include "util/OperationGate.h"
#include "util/Outcome.h"
#include "util/StepPlan.h"

#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QRadioButton;
class QSpinBox;
class QStatusBar;
class QTabWidget;
class QTimer;
class QPushButton;
class TFormProfilSpeichern;
class TFormDListe;
class TFormPfade;
class TFormInfo;
namespace util {
struct RuntimeState;
} // namespace util
namespace ui {
class FlatButton;
class GradientStrip;
class PagerStyler;
class StatusListView;
} // namespace ui

// The main window. Its handlers carry the names of the controls and events they
// belong to; each is a slot, so it can also be called by name.
class TForm1 : public QWidget
{
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // The dialogs are created after the main window; it learns of them here.
    void SetDialogs(TFormProfilSpeichern* profilSpeichern, TFormDListe* dListe, TFormPfade* pfade,
                    TFormInfo* info);

    // Controls, by the names the rest of the program uses for them, page by page;
    // each page's context menu stands with its page.
    QTabWidget* AdvOfficePager1;
    // Page 0 "Aktuelle PPP"
    QLabel* LabelKopPPP;
    ui::FlatButton* EncartaButtonSync;
    ui::FlatButton* EncartaButtonAktA;
    QProgressBar* LMDProgress1;
    ui::GradientStrip* GradientFillAkt;
    ui::StatusListView* TntListViewAkt;
    ui::FlatButton* EncartaButtonPSpeichern;
    QLabel* ImageFlageAkt;
    ui::FlatButton* EncartaButtonBearb;
    ui::FlatButton* EncartaButtonExe;
    QMenu* PopupMenuAPPP;
    QAction* Startdateidefinieren1;
    QAction* AktuellePPPalsProfilspeichern1;
    QAction* AusgewhlteDateiaktualisieren1;
    QAction* Dateilschen1;
    // Page 1 "Profile"
    QLabel* LabelZProfil;
    QLabel* LabelPN;
    QListWidget* ListBoxProfile;
    QPlainTextEdit* MemoProfileH;
    QLabel* LabelPB1;
    QLabel* LabelPB2;
    ui::FlatButton* EncartaButtonAuswahl;
    QMenu* PopupMenuProfil;
    QAction* MenuProfilLoeschen;
    QAction* Beschreibungndern1;
    // Page 2 "Ausgewähltes Profil"
    QLabel* LabelProfilname;
    ui::FlatButton* EncartaButtonListeAuswahl;
    ui::GradientStrip* GradientFillProfil;
    ui::StatusListView* TntListViewAuswahl;
    ui::FlatButton* EncartaButtonInfo;
    QLabel* ImageFlageProfil;
    ui::FlatButton* EncartaButtonProfBer;
    ui::FlatButton* EncartaButtonProExe;
    QMenu* PopupMenuAusProf;
    QAction* StartdateidefinierenProfil;
    QAction* AusgewhlteDateienaktuallisierenProfil;
    QAction* DateilokallschenProfil;
    // Page 3 "Einstellungen"
    QCheckBox* CheckBoxStart;
    QCheckBox* CheckBoxInterval;
    QSpinBox* RxSpinEditInterval;
    ui::FlatButton* EncartaButtonOrte;
    QRadioButton* RadioButtonDeutsch;
    QRadioButton* RadioButtonEnglisch;
    QLabel* ImageFlageD;
    QLabel* ImageFlageE;
    QComboBox* ComboBoxDesign;
    QPushButton* ButtonESpeichern;
    // The heading "Präsentationssprache" of the settings page; there the page says
    // that a server does not answer.
    QLabel* Label7;
    // Page 4 "Info"
    QLabel* LabelVersion;
    QStatusBar* LMDStatusBar1;
    // Timers
    QTimer* Timer1;
    QTimer* TimerInterval;

    ini::TLMDIniCtrl LMDIniCtrl1; // the settings file
    // The profile INI files. A profile folder may lie on a share, so each read or
    // write runs as file work on a copy of this control (ProfileIni), and the worker
    // never touches what the window holds.
    ini::TLMDIniCtrl LMDIniCtrl2;

    util::OperationGate& Gate() { return m_gate; }

public slots:
    // Window (Form1_u.cpp)
    void FormCreate();
    void FormActivate();
    void FormCloseQuery();
    void AdvOfficePager1Change();
    void Timer1Timer();
    void TimerIntervalTimer();

    // Page 0 "Aktuelle PPP" (Form1_PageAktuell.cpp)
    void EncartaButtonAktAClick();
    void TntListViewAktChange();
    bool TntListViewAktCustomDrawItem(int row) const;
    bool TntListViewAktCustomDrawSubItem(int row, int column) const;
    void EncartaButtonSyncClick();
    void AusgewhlteDateiaktualisieren1Click();
    void Dateilschen1Click();
    void EncartaButtonPSpeichernClick();
    void EncartaButtonBearbClick();
    void EncartaButtonExeClick();
    void Startdateidefinieren1Click();

    // Page 1 "Profile" (Form1_PageProfile.cpp)
    void ListBoxProfileClick();
    void EncartaButtonAuswahlClick();
    void MemoProfileHExit();
    void MenuProfilLoeschenClick();
    void Beschreibungndern1Click();

    // Page 2 "Ausgewähltes Profil" (Form1_PageAusgewaehlt.cpp)
    void EncartaButtonListeAuswahlClick();
    void TntListViewAuswahlChange();
    bool TntListViewAuswahlCustomDrawItem(int row) const;
    bool TntListViewAuswahlCustomDrawSubItem(int row, int column) const;
    void EncartaButtonProfBerClick();
    void EncartaButtonProExeClick();
    void EncartaButtonInfoClick();
    void ImageFlageProfilDblClick();
    void StartdateidefinierenProfilClick();
    void AusgewhlteDateienaktuallisierenProfilClick();
    void DateilokallschenProfilClick();

    // Page 3 "Einstellungen" (Form1_PageEinstellungen.cpp)
    void ButtonESpeichernClick();
    void EncartaButtonOrteClick();
    void RadioButtonDeutschClick();
    void RadioButtonEnglischClick();
    void ComboBoxDesignChange();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Window (Form1_u.cpp): the frame, the lifecycle and what several pages share.
    void ConnectWindow();
    void Activate();
    void RunPutOffRefresh(util::OperationGate::Request request);
    // The work of the list refreshes that other operations call directly; only the
    // handlers reached from a click or a timer go through the operation gate.
    void RefreshCurrentSet();
    void RefreshProfile();
    // Empties the list, lets the window repaint, then fills it from the inventory
    // and shows its summary.
    filesync::ListSummary RebuildList(ui::StatusListView* list, const filesync::InventoryRequest& request);
    void UpdateMenuState(const ui::StatusListView* list, QAction* updateItem, QAction* deleteItem);
    std::string HostNameOfCurrentSet() const;
    std::string ProfileStartFileOf(const std::string& profileName);
    // The start file kept in the INI file at iniPath, read as file work; empty when
    // there is none (or the program is closing).
    std::string ReadStartFileAt(const std::string& iniPath);
    // LMDIniCtrl2 pointed at iniPath, and a copy of it for file work.
    ini::TLMDIniCtrl ProfileIni(const std::string& iniPath);
    void AskToMarkAFile();
    // "Ausführen" and "Bearbeiten" of the two file lists.
    void LaunchMarkedFile(const ui::StatusListView* list, launch::ListPage page, launch::LaunchButton button);
    // The name of the marked row once the user agreed to make it the start file.
    std::optional<std::string> ConfirmedStartFile(const ui::StatusListView* list);
    // "Startdatei definieren" of both file lists: asks, then defines the marked row
    // as the start file the way `define` does; true once it is defined.
    using StartFileDefinition = util::Outcome<> (*)(ini::TLMDIniCtrl&, util::RuntimeState&,
                                                    const std::string&);
    bool DefineStartFile(StartFileDefinition define, const ui::StatusListView* list);
    // Shows a failure's message in the error box; true when there was one.
    bool ShowFailure(const util::Outcome<>& outcome);
    // Every plan of file work runs through here, with the window's step runner.
    util::StepSummary RunPlan(const util::StepPlan& plan, const util::StepObserver& observer);
    // Asks before the plan replaces a file of `folder` that is open in an office
    // program; a file declined keeps its step, which then does nothing.
    void ConfirmOpenDocuments(util::StepPlan& plan, const std::string& folder);
    // Whether the local copy `name` in `folder` is open in an office program; looked
    // up as file work.
    static bool IsOpenDocument(const std::string& folder, std::string_view name);
    // Says in the place the running operation already shows that the server has not
    // answered for a while, and takes it back.
    void ShowNoProgress(bool stalled);

    TFormSizeSave FormSizeSave1;
    util::OperationGate m_gate;
    TFormProfilSpeichern* m_formProfilSpeichern = nullptr;
    TFormDListe* m_formDListe = nullptr;
    TFormPfade* m_formPfade = nullptr;
    TFormInfo* m_formInfo = nullptr;
    bool m_activated = false;
    // The label showing the no-progress notice, and what it showed before; or the
    // list showing it.
    QLabel* m_noticeLabel = nullptr;
    ui::StatusListView* m_noticeList = nullptr;
    QString m_labelTextBeforeNotice;

    // At a glance (Form1_Glance.cpp): the summaries under the lists, the ready marks
    // on the flags and the desktop message of the periodic refresh.
    void ShowSummary(ui::StatusListView* list, const filesync::ListSummary& summary);
    void AfterCurrentSetRefresh(const filesync::ListSummary& summary);
    void ShowReadiness();
    void BringToFront();
    std::optional<launch::Readiness> m_readiness[2]; // by LanguageFlag; none before its first check
    std::vector<std::string> m_lastOutdated;         // as the last refresh of the current set found them
    bool m_periodicRefreshPending = false;

    // Look (Form1_Look.cpp): fonts, icons and the designs of the whole window.
    void ApplyLook();
    void ApplyDesign(int index);
    ui::PagerStyler* AdvOfficePagerOfficeStyler1 = nullptr;

    // Page 0 "Aktuelle PPP"
    void BuildPageAktuell(QWidget* page);
    void ConnectPageAktuell();
    // The one-row commands: the marked row, the question, the command, its message,
    // then a refresh when the command did its work (or failed at it, where
    // refreshAfterFailure says so).
    void RunOnMarkedRow(const std::function<std::string(std::string_view caption)>& question,
                        const std::function<util::Outcome<>(const filesync::FileRow&)>& command,
                        bool refreshAfterFailure, ui::DefaultAnswer defaultAnswer = ui::DefaultAnswer::Yes);
    // Asked before a local copy open in an office program is replaced.
    bool UpdateOpenDocumentAnyway(std::string_view name);

    // Page 1 "Profile"
    void BuildPageProfile(QWidget* page);
    void ConnectPageProfile();
    void FillProfilesPage();
    void SetDescriptionWritable(bool writable);

    // Page 2 "Ausgewähltes Profil"
    void BuildPageAusgewaehlt(QWidget* page);
    void ConnectPageAusgewaehlt();
    void CheckProfilePage();
    std::vector<filesync::FileRow> MarkedProfileRows() const;
    // The marked rows, the question with their count, then the plan made for them,
    // with each file's message and a refresh after each file worked on.
    void
    RunOnMarkedProfileRows(const std::function<std::string(std::size_t count)>& question,
                           const std::function<util::StepPlan(const std::vector<filesync::FileRow>&)>& plan,
                           ui::DefaultAnswer defaultAnswer = ui::DefaultAnswer::Yes);

    // Page 3 "Einstellungen"
    void BuildPageEinstellungen(QWidget* page);
    void ConnectPageEinstellungen();
    void SaveSettings();
    void SwitchLanguage(bool german);
    void LanguageButtonClicked(QRadioButton* button);
    void SetLanguageButton(QRadioButton* button);

    // Page 4 "Info"
    void BuildPageInfo(QWidget* page);
    void ShowVersionLine();
    QLabel* m_statusPanel = nullptr;
};
