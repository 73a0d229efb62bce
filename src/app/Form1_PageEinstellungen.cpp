#include "app/Form1_u.h"

#include "app/QuintorApplication.h"
#include "app/dialogs/FormPfade_u.h"
#include "settings/Designs.h"
#include "settings/Settings.h"
#include "settings/SettingsPage.h"
#include "ui/Flags.h"
#include "ui/FlatButton.h"
#include "ui/Layout.h"
#include "ui/QtText.h"
#include "ui/SpinEdit.h"
#include "ui/StatusListView.h"
#include "util/FileWork.h"
#include "util/z_global.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTimer>

// Page 3 "Einstellungen": the checks for new files, the storage locations, the
// presentation language and the design.

using ui::Q;
using ui::S;

void TForm1::BuildPageEinstellungen(QWidget* page)
{
    ui::AddLabel(page, "Label6", QStringLiteral("Überprüfung auf neue Dateien:"), 12, 12);
    CheckBoxStart =
        ui::Named(new QCheckBox(QStringLiteral("beim Start, wenn Zugang zum Server"), page), "CheckBoxStart");
    CheckBoxStart->setGeometry(24, 32, 260, 20);
    CheckBoxStart->setChecked(true);
    CheckBoxInterval =
        ui::Named(new QCheckBox(QStringLiteral("In regelmäßigen abständen"), page), "CheckBoxInterval");
    CheckBoxInterval->setGeometry(24, 56, 180, 20);
    RxSpinEditInterval = ui::Named(new ui::SpinEdit(page), "RxSpinEditInterval");
    RxSpinEditInterval->setGeometry(208, 55, 50, 22);
    RxSpinEditInterval->setRange(1, 10);
    RxSpinEditInterval->setSingleStep(1);
    RxSpinEditInterval->setValue(1);
    ui::AddLabel(page, "Label14", QStringLiteral("Stunde(n)"), 264, 59);

    ui::AddLabel(page, "Label5", QStringLiteral("Hier werden Speicherorte definiert-->"), 12, 104);
    EncartaButtonOrte =
        ui::AddButton(page, "EncartaButtonOrte", QStringLiteral("Speicherorte"), QRect(222, 97, 110, 26));

    Label7 = ui::AddLabel(page, "Label7", QStringLiteral("Präsentationssprache"), 12, 142);
    // Wide enough for the no-progress notice; nothing stands beside it.
    Label7->resize(260, Label7->height());
    RadioButtonDeutsch = ui::Named(new QRadioButton(QStringLiteral("detusch"), page), "RadioButtonDeutsch");
    RadioButtonDeutsch->setGeometry(24, 162, 90, 20);
    RadioButtonDeutsch->setChecked(true);
    ImageFlageD = ui::AddFlag(page, "ImageFlageD", QRect(118, 163, 30, 18));
    ImageFlageD->setPixmap(ui::GermanFlag());
    RadioButtonEnglisch =
        ui::Named(new QRadioButton(QStringLiteral("englisch"), page), "RadioButtonEnglisch");
    RadioButtonEnglisch->setGeometry(24, 188, 90, 20);
    ImageFlageE = ui::AddFlag(page, "ImageFlageE", QRect(118, 189, 30, 18));
    ImageFlageE->setPixmap(ui::BritishFlag());

    ui::AddLabel(page, "Label1", QStringLiteral("Design"), 12, 226);
    ComboBoxDesign = ui::Named(new QComboBox(page), "ComboBoxDesign");
    ComboBoxDesign->setGeometry(24, 244, 200, 22);
    ComboBoxDesign->setEditable(false);
    ComboBoxDesign->addItems({QStringLiteral("Office 2003 Blue"), QStringLiteral("Office 2003 Silver"),
                              QStringLiteral("Office 2007 Luna"), QStringLiteral("Office 2007 Obsidian")});

    ButtonESpeichern =
        ui::Named(new QPushButton(QStringLiteral("ButtonESpeichern"), page), "ButtonESpeichern");
    ButtonESpeichern->hide();
}

void TForm1::ConnectPageEinstellungen()
{
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

// ---------------------------------------------------------------- checks for new files

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
    // The settings file is flushed as it is written: file work, so that a busy disk
    // never stalls the window.
    util::RunFileWork(
        [ini = LMDIniCtrl1.GatedCopy(),
         values = settings::SettingsPageValues{CheckBoxStart->isChecked(), CheckBoxInterval->isChecked(),
                                               hours, !RadioButtonEnglisch->isChecked(),
                                               ComboBoxDesign->currentIndex()}](util::WorkProgress&) mutable {
            settings::SaveSettingsPage(ini, values);
        });
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

// ---------------------------------------------------------------- storage locations

void TForm1::EncartaButtonOrteClick()
{
    util::OperationScope scope(m_gate, util::OperationGate::Request::Command);
    if (!scope)
        return;
    // OK or cancel: the lists are rebuilt either way.
    if (m_formPfade)
        m_formPfade->exec();
    TntListViewAkt->statusModel()->clear();
    TntListViewAuswahl->statusModel()->clear();
    RefreshCurrentSet();
    RefreshProfile();
}

// ---------------------------------------------------------------- presentation language

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

// ---------------------------------------------------------------- design

void TForm1::ComboBoxDesignChange()
{
    util::OperationScope scope(m_gate, util::OperationGate::Request::Command);
    if (!scope) {
        // Refused while another operation runs: the box keeps showing the design in force.
        const int index = util::Global().DesignIndex;
        const QSignalBlocker block(ComboBoxDesign);
        ComboBoxDesign->setCurrentIndex(index >= 0 && index < ComboBoxDesign->count() ? index : -1);
        return;
    }
    const int index = ComboBoxDesign->currentIndex();
    if (index >= 0 && index < settings::kDesignCount)
        util::Global().DesignIndex = index;
    Activate();
    SaveSettings();
}
