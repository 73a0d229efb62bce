#include "app/Form1_u.h"

#include "app/QuintorApplication.h"
#include "app/dialogs/FormDListe_u.h"
#include "app/dialogs/FormInfo_u.h"
#include "app/dialogs/FormPfade_u.h"
#include "app/dialogs/FormProfilSpeichern_u.h"
#include "launch/StartFile.h"
#include "platform/PathDelimiter.h"
#include "platform/UserFolders.h"
#include "profiles/ProfileStore.h"
#include "settings/Settings.h"
#include "settings/SettingsPage.h"
#include "sync/Inventory.h"
#include "sync/z_ping.h"
#include "ui/Flags.h"
#include "ui/FlatButton.h"
#include "ui/Fonts.h"
#include "ui/Glyphs.h"
#include "ui/GradientStrip.h"
#include "ui/MessageDialogs.h"
#include "ui/PictureLabel.h"
#include "ui/QtText.h"
#include "ui/SpinEdit.h"
#include "ui/StatusImages.h"
#include "ui/StatusListView.h"
#include "util/z_global.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <filesystem>

using ui::Q;
using ui::S;

namespace {

const QString kVersionLine = QStringLiteral("Quintor 3P (PowerPointPräsentation). Version 1.03 (22.11.2014)");
constexpr int kClientWidth = 410;
constexpr int kClientHeight = 372;

const char* const kLegendTexts[ui::kStatusImageCount] = {
    "Lokale Datei übereinstimmt mit der Datei auf dem Server",
    "Datei wurden noch nicht aktuallisiert oder Server nicht erreichbar",
    "Datei auf dem Server ist jünger als Datei lokal",
    "Datei im lokalen Ordner nicht vorhanden aber auf Server vorhanden",
    "Lokale Datei wurde geändert und ist jünger als auf dem Server",
    "Datei existiert nicht mehr auf dem Server, nur lokal",
    "Ausnahmesituation. Bitte den Programmierer informieren",
    "Server erreichbar, aber Ordner auf dem Server nicht verfügbar",
};

template <typename T> T* Named(T* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel* AddLabel(QWidget* parent, const char* name, const QString& text, int x, int y)
{
    auto* label = Named(new QLabel(text, parent), name);
    label->move(x, y);
    label->adjustSize();
    return label;
}

ui::FlatButton* AddButton(QWidget* parent, const char* name, const QString& text, const QRect& geometry)
{
    auto* button = Named(new ui::FlatButton(text, parent), name);
    button->setGeometry(geometry);
    return button;
}

QLabel* AddBoldLabel(QWidget* parent, const char* name, int x, int y, int width)
{
    auto* label = Named(new QLabel(parent), name);
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    label->setGeometry(x, y, width, 16);
    return label;
}

// The header band above a file list: the list's own headers are hidden.
ui::GradientStrip* AddHeaderBand(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* band = Named(new ui::GradientStrip(parent), name);
    band->setGeometry(geometry);
    const int offsets[] = {24, 222, 302};
    const char* captions[] = {"Dateiname", "DatumServer", "DatumLokal"};
    for (int i = 0; i < 3; ++i) {
        auto* label = new QLabel(QString::fromLatin1(captions[i]), band);
        label->setAttribute(Qt::WA_TranslucentBackground);
        label->move(offsets[i], 2);
        label->adjustSize();
    }
    return band;
}

QLabel* AddFlag(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* flag = Named(new ui::PictureLabel(parent), name);
    flag->setGeometry(geometry);
    return flag;
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

    AdvOfficePager1 = Named(new QTabWidget(this), "AdvOfficePager1");
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
    } pages[] = {
        {"AdvOfficePager11", "Aktuelle PPP", &TForm1::BuildPageAktuell},
        {"AdvOfficePager12", "Profile", &TForm1::BuildPageProfile},
        {"AdvOfficePager13", "Ausgewähltes Profil", &TForm1::BuildPageAuswahl},
        {"AdvOfficePage1", "Einstellungen", &TForm1::BuildPageEinstellungen},
        {"AdvOfficePage2", "Info", &TForm1::BuildPageInfo},
    };
    for (const auto& page : pages) {
        auto* widget = Named(new QWidget, page.object);
        widget->setFont(QFont(QStringLiteral("Tahoma"), 8));
        (this->*page.build)(widget);
        AdvOfficePager1->addTab(widget, QString::fromUtf8(page.caption));
    }
    BuildMenus();
    ApplyLook();

    Timer1 = Named(new QTimer(this), "Timer1");
    Timer1->setInterval(3000);
    Timer1->setSingleShot(true);
    TimerInterval = Named(new QTimer(this), "TimerInterval");

    m_gate.SetRefreshRunner([this](util::OperationGate::Request r) { RunPutOffRefresh(r); });
    ConnectHandlers();
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::SetDialogs(TFormProfilSpeichern* profilSpeichern, TFormDListe* dListe, TFormPfade* pfade,
                        TFormInfo* info)
{
    m_formProfilSpeichern = profilSpeichern;
    m_formDListe = dListe;
    m_formPfade = pfade;
    m_formInfo = info;
}

// ---------------------------------------------------------------- layout

void TForm1::BuildPageAktuell(QWidget* page)
{
    EncartaButtonSync = AddButton(page, "EncartaButtonSync", QString(), QRect(6, 6, 32, 28));
    EncartaButtonSync->setToolTip(QStringLiteral("Dateien aktuallisieren"));
    EncartaButtonSync->setIcon(ui::UpdateGlyph());
    EncartaButtonSync->setIconSize(QSize(20, 20));
    EncartaButtonAktA =
        AddButton(page, "EncartaButtonAktA", QStringLiteral("Liste Aktuallisieren"), QRect(44, 6, 130, 28));
    LabelKopPPP = AddLabel(page, "LabelKopPPP", QStringLiteral("LabelKopPPP"), 184, 5);
    LabelKopPPP->setFixedWidth(214);
    LabelKopPPP->hide();
    LMDProgress1 = Named(new QProgressBar(page), "LMDProgress1");
    LMDProgress1->setGeometry(184, 22, 214, 12);
    LMDProgress1->setRange(0, 100);
    LMDProgress1->setTextVisible(false);
    LMDProgress1->hide();
    GradientFillAkt = AddHeaderBand(page, "GradientFillAkt", QRect(3, 40, 398, 18));
    TntListViewAkt = Named(new ui::StatusListView(false, page), "TntListViewAkt");
    TntListViewAkt->setGeometry(3, 58, 398, 244);
    EncartaButtonPSpeichern = AddButton(page, "EncartaButtonPSpeichern",
                                        QStringLiteral("Profil speichern als"), QRect(3, 310, 130, 26));
    ImageFlageAkt = AddFlag(page, "ImageFlageAkt", QRect(146, 314, 30, 18));
    ImageFlageAkt->setPixmap(ui::GermanFlag());
    EncartaButtonBearb =
        AddButton(page, "EncartaButtonBearb", QStringLiteral("Bearbeiten"), QRect(227, 310, 84, 26));
    EncartaButtonExe =
        AddButton(page, "EncartaButtonExe", QStringLiteral("Ausführen"), QRect(317, 310, 84, 26));
}

void TForm1::BuildPageProfile(QWidget* page)
{
    // Caption and bold name share one line box, so that they share a baseline.
    AddLabel(page, "Label23", QStringLiteral("Aktuelles Profil"), 8, 8)->setFixedHeight(16);
    LabelZProfil = AddBoldLabel(page, "LabelZProfil", 100, 8, 296);
    LabelPN = AddLabel(page, "LabelPN", QStringLiteral("Profilnamen"), 8, 34);
    LabelPN->setFixedWidth(200);
    ListBoxProfile = Named(new QListWidget(page), "ListBoxProfile");
    ListBoxProfile->setGeometry(8, 50, 392, 104);
    ListBoxProfile->setSelectionMode(QAbstractItemView::SingleSelection);
    AddLabel(page, "Label2", QStringLiteral("Profilbeschreibung"), 8, 162);
    MemoProfileH = Named(new QPlainTextEdit(QStringLiteral("MemoProfileH"), page), "MemoProfileH");
    MemoProfileH->setGeometry(8, 178, 392, 90);
    MemoProfileH->setReadOnly(true);
    LabelPB1 = AddLabel(page, "LabelPB1",
                        QStringLiteral("Beim verlassen des Eingabefensters wird die Beschreibung"), 8, 272);
    LabelPB2 = AddLabel(page, "LabelPB2", QStringLiteral("automatisch gespeichert (Max länge: 255 zeichen)"),
                        8, 287);
    for (QLabel* hint : {LabelPB1, LabelPB2}) {
        hint->setStyleSheet(QStringLiteral("color: blue"));
        hint->hide();
    }
    EncartaButtonAuswahl =
        AddButton(page, "EncartaButtonAuswahl", QStringLiteral("Auswählen"), QRect(304, 310, 96, 26));
}

void TForm1::BuildPageAuswahl(QWidget* page)
{
    AddLabel(page, "Label3", QStringLiteral("Profilname:"), 8, 12)->setFixedHeight(16);
    LabelProfilname = AddBoldLabel(page, "LabelProfilname", 76, 12, 180);
    EncartaButtonListeAuswahl = AddButton(page, "EncartaButtonListeAuswahl",
                                          QStringLiteral("Liste Aktuallisieren"), QRect(271, 6, 130, 28));
    GradientFillProfil = AddHeaderBand(page, "GradientFillProfil", QRect(3, 40, 398, 18));
    TntListViewAuswahl = Named(new ui::StatusListView(true, page), "TntListViewAuswahl");
    TntListViewAuswahl->setGeometry(3, 58, 398, 244);
    EncartaButtonInfo = AddButton(page, "EncartaButtonInfo", QStringLiteral("i"), QRect(3, 310, 24, 26));
    QFont courier(QStringLiteral("Courier New"), 9);
    courier.setBold(true);
    EncartaButtonInfo->setFont(courier);
    ImageFlageProfil = AddFlag(page, "ImageFlageProfil", QRect(36, 314, 30, 18));
    ImageFlageProfil->setPixmap(ui::GermanFlag());
    EncartaButtonProfBer =
        AddButton(page, "EncartaButtonProfBer", QStringLiteral("Bearbeiten"), QRect(227, 310, 84, 26));
    EncartaButtonProExe =
        AddButton(page, "EncartaButtonProExe", QStringLiteral("Ausführen"), QRect(317, 310, 84, 26));
}

void TForm1::BuildPageEinstellungen(QWidget* page)
{
    AddLabel(page, "Label6", QStringLiteral("Überprüfung auf neue Dateien:"), 12, 12);
    CheckBoxStart =
        Named(new QCheckBox(QStringLiteral("beim Start, wenn Zugang zum Server"), page), "CheckBoxStart");
    CheckBoxStart->setGeometry(24, 32, 260, 20);
    CheckBoxStart->setChecked(true);
    CheckBoxInterval =
        Named(new QCheckBox(QStringLiteral("In regelmäßigen abständen"), page), "CheckBoxInterval");
    CheckBoxInterval->setGeometry(24, 56, 180, 20);
    RxSpinEditInterval = Named(new ui::SpinEdit(page), "RxSpinEditInterval");
    RxSpinEditInterval->setGeometry(208, 55, 50, 22);
    RxSpinEditInterval->setRange(1, 10);
    RxSpinEditInterval->setSingleStep(1);
    RxSpinEditInterval->setValue(1);
    AddLabel(page, "Label14", QStringLiteral("Stunde(n)"), 264, 59);

    AddLabel(page, "Label5", QStringLiteral("Hier werden Speicherorte definiert-->"), 12, 104);
    EncartaButtonOrte =
        AddButton(page, "EncartaButtonOrte", QStringLiteral("Speicherorte"), QRect(222, 97, 110, 26));

    AddLabel(page, "Label7", QStringLiteral("Präsentationssprache"), 12, 142);
    RadioButtonDeutsch = Named(new QRadioButton(QStringLiteral("detusch"), page), "RadioButtonDeutsch");
    RadioButtonDeutsch->setGeometry(24, 162, 90, 20);
    RadioButtonDeutsch->setChecked(true);
    ImageFlageD = AddFlag(page, "ImageFlageD", QRect(118, 163, 30, 18));
    ImageFlageD->setPixmap(ui::GermanFlag());
    RadioButtonEnglisch = Named(new QRadioButton(QStringLiteral("englisch"), page), "RadioButtonEnglisch");
    RadioButtonEnglisch->setGeometry(24, 188, 90, 20);
    ImageFlageE = AddFlag(page, "ImageFlageE", QRect(118, 189, 30, 18));
    ImageFlageE->setPixmap(ui::BritishFlag());

    AddLabel(page, "Label1", QStringLiteral("Design"), 12, 226);
    ComboBoxDesign = Named(new QComboBox(page), "ComboBoxDesign");
    ComboBoxDesign->setGeometry(24, 244, 200, 22);
    ComboBoxDesign->setEditable(false);
    ComboBoxDesign->addItems({QStringLiteral("Office 2003 Blue"), QStringLiteral("Office 2003 Silver"),
                              QStringLiteral("Office 2007 Luna"), QStringLiteral("Office 2007 Obsidian")});

    ButtonESpeichern = Named(new QPushButton(QStringLiteral("ButtonESpeichern"), page), "ButtonESpeichern");
    ButtonESpeichern->hide();
}

void TForm1::BuildPageInfo(QWidget* page)
{
    for (int i = 0; i < ui::kStatusImageCount; ++i) {
        auto* picture = new QLabel(page);
        picture->setObjectName(QStringLiteral("ImageLegend%1").arg(i));
        picture->setPixmap(ui::StatusImage(i));
        picture->setGeometry(12, 12 + 24 * i, 16, 16);
        auto* text = new QLabel(QString::fromUtf8(kLegendTexts[i]), page);
        text->setObjectName(QStringLiteral("LabelLegend%1").arg(i));
        text->move(36, 13 + 24 * i);
        text->adjustSize();
    }
    LabelVersion = AddLabel(page, "LabelVersion", QString(), 12, 220);
    LabelVersion->setFixedWidth(390);
    LMDStatusBar1 = Named(new QStatusBar(page), "LMDStatusBar1");
    LMDStatusBar1->setSizeGripEnabled(false);
    LMDStatusBar1->setGeometry(0, 322, 406, 22);
    m_statusPanel = Named(new QLabel(LMDStatusBar1), "LMDStatusBar1Panel");
    LMDStatusBar1->addWidget(m_statusPanel, 1);
}

void TForm1::BuildMenus()
{
    const auto item = [](QMenu* menu, const char* name, const char* caption) {
        QAction* action = menu->addAction(QString::fromUtf8(caption));
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    const auto separator = [](QMenu* menu, const char* name) {
        menu->addSeparator()->setObjectName(QString::fromLatin1(name));
    };

    PopupMenuAPPP = Named(new QMenu(this), "PopupMenuAPPP");
    Startdateidefinieren1 = item(PopupMenuAPPP, "Startdateidefinieren1", "Startdatei definieren");
    AktuellePPPalsProfilspeichern1 =
        item(PopupMenuAPPP, "AktuellePPPalsProfilspeichern1", "Aktuelle PPP als Profil speichern unter...");
    AusgewhlteDateiaktualisieren1 =
        item(PopupMenuAPPP, "AusgewhlteDateiaktualisieren1", "Ausgewählte Datei aktualisieren");
    separator(PopupMenuAPPP, "N1");
    Dateilschen1 = item(PopupMenuAPPP, "Dateilschen1", "Datei lokal löschen");

    PopupMenuProfil = Named(new QMenu(this), "PopupMenuProfil");
    MenuProfilLoeschen = item(PopupMenuProfil, "MenuProfilLoeschen", "Profil löschen");
    separator(PopupMenuProfil, "N2");
    Beschreibungndern1 = item(PopupMenuProfil, "Beschreibungndern1", "Beschreibung ändern");

    PopupMenuAusProf = Named(new QMenu(this), "PopupMenuAusProf");
    StartdateidefinierenProfil =
        item(PopupMenuAusProf, "StartdateidefinierenProfil", "Startdatei definieren");
    AusgewhlteDateienaktuallisierenProfil = item(PopupMenuAusProf, "AusgewhlteDateienaktuallisierenProfil",
                                                 "Ausgewählte Datei(en) aktuallisieren");
    separator(PopupMenuAusProf, "N3");
    DateilokallschenProfil = item(PopupMenuAusProf, "DateilokallschenProfil", "Datei lokal löschen");

    // A list hands the right click of its viewport to itself, with the position in
    // viewport coordinates; a policy set on the viewport would never be asked.
    const auto attach = [](QAbstractScrollArea* owner, QMenu* menu) {
        owner->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(owner, &QWidget::customContextMenuRequested, menu, [owner, menu](const QPoint& at) {
            menu->popup(owner->viewport()->mapToGlobal(at));
        });
    };
    attach(TntListViewAkt, PopupMenuAPPP);
    attach(ListBoxProfile, PopupMenuProfil);
    attach(TntListViewAuswahl, PopupMenuAusProf);
}

void TForm1::ConnectHandlers()
{
    connect(AdvOfficePager1, &QTabWidget::currentChanged, this,
            QuintorApplication::Guarded(this, &TForm1::AdvOfficePager1Change));
    connect(Timer1, &QTimer::timeout, this, QuintorApplication::Guarded(this, &TForm1::Timer1Timer));
    connect(TimerInterval, &QTimer::timeout, this,
            QuintorApplication::Guarded(this, &TForm1::TimerIntervalTimer));

    connect(EncartaButtonAktA, &QPushButton::clicked, this,
            QuintorApplication::Guarded(this, &TForm1::EncartaButtonAktAClick));
    connect(EncartaButtonSync, &QPushButton::clicked, this,
            QuintorApplication::Guarded(this, &TForm1::EncartaButtonSyncClick));
    connect(EncartaButtonPSpeichern, &QPushButton::clicked, this,
            QuintorApplication::Guarded(this, &TForm1::EncartaButtonPSpeichernClick));
    connect(EncartaButtonBearb, &QPushButton::clicked, this,
            QuintorApplication::Guarded(this, &TForm1::EncartaButtonBearbClick));
    connect(EncartaButtonExe, &QPushButton::clicked, this,
            QuintorApplication::Guarded(this, &TForm1::EncartaButtonExeClick));
    connect(TntListViewAkt, &QAbstractItemView::doubleClicked, this,
            QuintorApplication::Guarded(this, &TForm1::EncartaButtonExeClick));
    connect(TntListViewAkt, &ui::StatusListView::markChanged, this,
            QuintorApplication::Guarded(this, &TForm1::TntListViewAktChange));
    TntListViewAkt->statusModel()->setBoldRule([this](int row, int column) {
        return column == 0 ? TntListViewAktCustomDrawItem(row) : TntListViewAktCustomDrawSubItem(row, column);
    });
    connect(Startdateidefinieren1, &QAction::triggered, this,
            QuintorApplication::Guarded(this, &TForm1::Startdateidefinieren1Click));
    connect(AktuellePPPalsProfilspeichern1, &QAction::triggered, this,
            QuintorApplication::Guarded(this, &TForm1::EncartaButtonPSpeichernClick));
    connect(AusgewhlteDateiaktualisieren1, &QAction::triggered, this,
            QuintorApplication::Guarded(this, &TForm1::AusgewhlteDateiaktualisieren1Click));
    connect(Dateilschen1, &QAction::triggered, this,
            QuintorApplication::Guarded(this, &TForm1::Dateilschen1Click));

    connect(ListBoxProfile, &QListWidget::itemClicked, this,
            QuintorApplication::Guarded(this, &TForm1::ListBoxProfileClick));
    connect(ListBoxProfile, &QListWidget::itemSelectionChanged, this,
            QuintorApplication::Guarded(this, &TForm1::ListBoxProfileClick));
    connect(ListBoxProfile, &QListWidget::itemDoubleClicked, this,
            QuintorApplication::Guarded(this, &TForm1::EncartaButtonAuswahlClick));
    connect(EncartaButtonAuswahl, &QPushButton::clicked, this,
            QuintorApplication::Guarded(this, &TForm1::EncartaButtonAuswahlClick));
    MemoProfileH->installEventFilter(this);
    connect(MenuProfilLoeschen, &QAction::triggered, this,
            QuintorApplication::Guarded(this, &TForm1::MenuProfilLoeschenClick));
    connect(Beschreibungndern1, &QAction::triggered, this,
            QuintorApplication::Guarded(this, &TForm1::Beschreibungndern1Click));

    connect(EncartaButtonListeAuswahl, &QPushButton::clicked, this,
            QuintorApplication::Guarded(this, &TForm1::EncartaButtonListeAuswahlClick));
    connect(TntListViewAuswahl, &ui::StatusListView::markChanged, this,
            QuintorApplication::Guarded(this, &TForm1::TntListViewAuswahlChange));
    TntListViewAuswahl->statusModel()->setBoldRule([this](int row, int column) {
        return column == 0 ? TntListViewAuswahlCustomDrawItem(row)
                           : TntListViewAuswahlCustomDrawSubItem(row, column);
    });
    connect(TntListViewAuswahl, &QAbstractItemView::doubleClicked, this,
            QuintorApplication::Guarded(this, &TForm1::EncartaButtonProExeClick));
    connect(EncartaButtonProfBer, &QPushButton::clicked, this,
            QuintorApplication::Guarded(this, &TForm1::EncartaButtonProfBerClick));
    connect(EncartaButtonProExe, &QPushButton::clicked, this,
            QuintorApplication::Guarded(this, &TForm1::EncartaButtonProExeClick));
    connect(EncartaButtonInfo, &QPushButton::clicked, this,
            QuintorApplication::Guarded(this, &TForm1::EncartaButtonInfoClick));
    ImageFlageAkt->installEventFilter(this);
    ImageFlageProfil->installEventFilter(this);
    connect(StartdateidefinierenProfil, &QAction::triggered, this,
            QuintorApplication::Guarded(this, &TForm1::StartdateidefinierenProfilClick));
    connect(AusgewhlteDateienaktuallisierenProfil, &QAction::triggered, this,
            QuintorApplication::Guarded(this, &TForm1::AusgewhlteDateienaktuallisierenProfilClick));
    connect(DateilokallschenProfil, &QAction::triggered, this,
            QuintorApplication::Guarded(this, &TForm1::DateilokallschenProfilClick));

    // Only the user's clicks save: values put in by the program do not.
    connect(CheckBoxStart, &QCheckBox::clicked, this,
            QuintorApplication::Guarded(this, &TForm1::ButtonESpeichernClick));
    connect(CheckBoxInterval, &QCheckBox::clicked, this,
            QuintorApplication::Guarded(this, &TForm1::ButtonESpeichernClick));
    // Every keystroke saves, also one that leaves no number in the field.
    connect(static_cast<ui::SpinEdit*>(RxSpinEditInterval), &ui::SpinEdit::edited, this,
            QuintorApplication::Guarded(this, &TForm1::ButtonESpeichernClick));
    connect(ButtonESpeichern, &QPushButton::clicked, this,
            QuintorApplication::Guarded(this, &TForm1::ButtonESpeichernClick));
    connect(EncartaButtonOrte, &QPushButton::clicked, this,
            QuintorApplication::Guarded(this, &TForm1::EncartaButtonOrteClick));
    connect(RadioButtonDeutsch, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            QuintorApplication::RunGuarded([this] { RadioButtonDeutschClick(); });
    });
    connect(RadioButtonEnglisch, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            QuintorApplication::RunGuarded([this] { RadioButtonEnglischClick(); });
    });
    connect(ComboBoxDesign, &QComboBox::activated, this,
            QuintorApplication::Guarded(this, &TForm1::ComboBoxDesignChange));
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
    // The per-user configuration folder itself may be missing on a fresh account here
    // (it always exists where the program came from); it is made first.
    std::filesystem::create_directories(platform::UserAppDataFolder(), ec);
    if (!std::filesystem::is_directory(g.UserDataFolder, ec) &&
        !std::filesystem::create_directory(g.UserDataFolder, ec)) {
        ui::Error(QStringLiteral("Ordner \"%1\" kann nicht erstellt werden.").arg(Q(g.UserDataFolder)), this);
        LabelVersion->setText(kVersionLine);
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

    g.ProfileStartFile =
        launch::ReadStartFile(LMDIniCtrl2, profiles::ProfileIniPath(g.CurrentLocalFolder, g.CurrentProfile));
    LabelZProfil->setText(Q(g.CurrentProfile));
    LabelVersion->setText(kVersionLine);
    g.CurrentSetStartFile =
        launch::ReadStartFile(LMDIniCtrl2, profiles::CurrentSetIniPath(g.CurrentLocalFolder));
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

void TForm1::FillProfilesPage()
{
    const util::RuntimeState& g = util::Global();
    ListBoxProfile->clear();
    MemoProfileH->clear();
    LabelZProfil->setText(Q(g.CurrentProfile));
    for (const std::string& name : profiles::ListProfiles(g.CurrentLocalFolder)) {
        auto* item = new QListWidgetItem(Q(name), ListBoxProfile);
        // The shown text may not give back the folder name's bytes.
        item->setData(Qt::UserRole, QByteArray::fromStdString(name));
    }
    LabelPN->setText(RadioButtonDeutsch->isChecked() ? QStringLiteral("Profilnamen (deutsch)")
                                                     : QStringLiteral("Profilnamen (englisch)"));
}

void TForm1::CheckProfilePage()
{
    const util::RuntimeState& g = util::Global();
    std::error_code ec;
    const auto folder = profiles::SafeProfileFolderPath(g.CurrentLocalFolder, S(LabelProfilname->text()));
    if (!folder || !std::filesystem::is_directory(*folder, ec))
        LabelProfilname->clear();
}

void TForm1::Timer1Timer()
{
    LabelKopPPP->hide();
    LMDProgress1->hide();
    Timer1->stop();
}

void TForm1::TimerIntervalTimer()
{
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

// ---------------------------------------------------------------- current set

std::string TForm1::HostNameOfCurrentSet() const
{
    const util::RuntimeState& g = util::Global();
    return g.LanguageFlag == 1 ? g.HostNameGerman : g.HostNameEnglish;
}

void TForm1::EncartaButtonAktAClick()
{
    util::OperationScope scope(m_gate, util::OperationGate::Request::RefreshCurrentSet);
    if (scope)
        RefreshCurrentSet();
}

void TForm1::RefreshCurrentSet()
{
    const util::RuntimeState& g = util::Global();
    RebuildList(TntListViewAkt,
                {g.CurrentLocalFolder, g.CurrentServerFolder, HostNameOfCurrentSet(), g.CompareWithServer});
}

void TForm1::RebuildList(ui::StatusListView* list, const filesync::InventoryRequest& request)
{
    list->clearSelection();
    list->statusModel()->clear();
    util::DelayWithMessages(100);
    list->statusModel()->setRows(filesync::BuildInventory(request, filesync::PingHost));
}

void TForm1::UpdateMenuState(const ui::StatusListView* list, QAction* updateItem, QAction* deleteItem)
{
    const int row = list->firstMarkedRow();
    if (row < 0)
        return;
    const int status = list->statusModel()->row(row).status;
    deleteItem->setEnabled(status != 3);
    updateItem->setEnabled(status != 1 && status != 5 && status != 7);
}

void TForm1::TntListViewAktChange()
{
    UpdateMenuState(TntListViewAkt, AusgewhlteDateiaktualisieren1, Dateilschen1);
}

bool TForm1::TntListViewAktCustomDrawItem(int row) const
{
    return launch::IsStartFile(TntListViewAkt->statusModel()->row(row).displayName,
                               util::Global().CurrentSetStartFile);
}

bool TForm1::TntListViewAktCustomDrawSubItem(int, int) const
{
    return false;
}

// ---------------------------------------------------------------- profiles

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

// ---------------------------------------------------------------- selected profile

void TForm1::EncartaButtonListeAuswahlClick()
{
    util::OperationScope scope(m_gate, util::OperationGate::Request::RefreshProfile);
    if (scope)
        RefreshProfile();
}

void TForm1::RefreshProfile()
{
    util::RuntimeState& g = util::Global();
    if (LabelProfilname->text().isEmpty()) {
        // With no profile the rows stay as they are; comparing is still switched on
        // here, or without the start check no refresh of the run would ever compare.
        g.CompareWithServer = true;
        return;
    }
    // An empty or stale profile name must not make another folder the profile.
    const std::string folder =
        profiles::SafeProfileFolderPath(g.CurrentLocalFolder, g.CurrentProfile).value_or(std::string());
    // The first run of this refresh lists without comparing and switches comparing on.
    const bool compare = g.CompareWithServer;
    g.CompareWithServer = true;
    RebuildList(TntListViewAuswahl, {folder, g.CurrentServerFolder, HostNameOfCurrentSet(), compare});
}

void TForm1::TntListViewAuswahlChange()
{
    UpdateMenuState(TntListViewAuswahl, AusgewhlteDateienaktuallisierenProfil, DateilokallschenProfil);
}

bool TForm1::TntListViewAuswahlCustomDrawItem(int row) const
{
    return launch::IsStartFile(TntListViewAuswahl->statusModel()->row(row).displayName,
                               util::Global().ProfileStartFile);
}

bool TForm1::TntListViewAuswahlCustomDrawSubItem(int, int) const
{
    return false;
}

// ---------------------------------------------------------------- settings page

void TForm1::ButtonESpeichernClick()
{
    // Not through the operation gate: a save touches no list or folder and waits
    // for nothing, and refusing it would leave a control showing an unsaved value.
    SaveSettings();
}

void TForm1::SaveSettings()
{
    // The text, not the spin box's last valid value: each keystroke is saved.
    const int hours = settings::IntervalHoursFromText(S(RxSpinEditInterval->cleanText()));
    settings::SaveSettingsPage(LMDIniCtrl1,
                               {CheckBoxStart->isChecked(), CheckBoxInterval->isChecked(), hours,
                                !RadioButtonEnglisch->isChecked(), ComboBoxDesign->currentIndex()});
    if (CheckBoxInterval->isChecked()) {
        // A running period is left alone unless its length changes.
        const int period = settings::IntervalMilliseconds(hours);
        if (TimerInterval->interval() != period || !TimerInterval->isActive()) {
            TimerInterval->setInterval(period);
            TimerInterval->start();
        }
    } else {
        TimerInterval->stop();
    }
}

void TForm1::RadioButtonDeutschClick()
{
    LanguageButtonClicked(RadioButtonDeutsch);
}

void TForm1::RadioButtonEnglischClick()
{
    LanguageButtonClicked(RadioButtonEnglisch);
}

void TForm1::LanguageButtonClicked(QRadioButton* button)
{
    util::OperationScope scope(m_gate, util::OperationGate::Request::Command);
    if (!scope) {
        // Refused while another operation runs: the buttons keep showing the set in use.
        SetLanguageButton(util::Global().LanguageFlag == 1 ? RadioButtonDeutsch : RadioButtonEnglisch);
        return;
    }
    SetLanguageButton(button);
    SwitchLanguage(button == RadioButtonDeutsch);
}

void TForm1::SetLanguageButton(QRadioButton* button)
{
    const QSignalBlocker blockGerman(RadioButtonDeutsch);
    const QSignalBlocker blockEnglish(RadioButtonEnglisch);
    button->setChecked(true);
}

void TForm1::SwitchLanguage(bool german)
{
    util::RuntimeState& g = util::Global();
    const QPixmap flag = german ? ui::GermanFlag() : ui::BritishFlag();
    ImageFlageProfil->setPixmap(flag);
    ImageFlageAkt->setPixmap(flag);
    g.LanguageFlag = german ? 1 : 0;
    SaveSettings();
    g.CurrentServerFolder = german ? g.ServerFolderGerman : g.ServerFolderEnglish;
    g.CurrentLocalFolder = german ? g.LocalFolderGerman : g.LocalFolderEnglish;
    g.CurrentProfile = german ? g.ChosenProfileGerman : g.ChosenProfileEnglish;
    LabelProfilname->setText(Q(g.CurrentProfile));
    RefreshProfile();
    RefreshCurrentSet();
}
