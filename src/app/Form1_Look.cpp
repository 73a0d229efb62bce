#include "app/Form1_u.h"

#include "app/dialogs/FormDListe_u.h"
#include "app/dialogs/FormInfo_u.h"
#include "app/dialogs/FormPfade_u.h"
#include "app/dialogs/FormProfilSpeichern_u.h"
#include "settings/Designs.h"
#include "ui/FlatButton.h"
#include "ui/Glyphs.h"
#include "ui/GradientStrip.h"
#include "ui/PagerStyler.h"
#include "util/z_global.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <initializer_list>

namespace {

QColor Rgb(std::uint32_t rgb)
{
    return QColor::fromRgb(static_cast<QRgb>(rgb));
}

void SetRoles(QWidget* widget, std::initializer_list<QPalette::ColorRole> roles, const QColor& colour)
{
    QPalette palette = widget->palette();
    for (const QPalette::ColorRole role : roles)
        palette.setColor(role, colour);
    widget->setPalette(palette);
}

void SetBackground(QWidget* widget, const QColor& colour)
{
    // Buttons (check boxes, radio buttons) fill their background from the button role.
    SetRoles(widget, {QPalette::Window, QPalette::Button}, colour);
    widget->setAutoFillBackground(true);
}

// Buttons are found by name, so that a window's buttons take the design however
// that window is built.
void ColourButtons(QWidget* window, std::initializer_list<const char*> names, const util::DesignPalette& p)
{
    if (!window)
        return;
    const QList<ui::FlatButton*> buttons = window->findChildren<ui::FlatButton*>();
    for (const char* name : names)
        for (ui::FlatButton* button : buttons)
            if (button->objectName() == QLatin1String(name))
                button->setColours(Rgb(p.buttonFace), Rgb(p.buttonPressed), Rgb(p.buttonHover));
}

void ColourDialog(QWidget* dialog, std::initializer_list<const char*> buttonNames,
                  const util::DesignPalette& p)
{
    if (!dialog)
        return;
    SetBackground(dialog, Rgb(p.windowBackground));
    ColourButtons(dialog, buttonNames, p);
}

// Every control of the main window that a design colours.
void ColourMainWindow(TForm1& f, const util::DesignPalette& p)
{
    SetRoles(&f, {QPalette::Window}, Rgb(p.windowBackground));
    ColourButtons(&f,
                  {"EncartaButtonAktA", "EncartaButtonSync", "EncartaButtonPSpeichern", "EncartaButtonBearb",
                   "EncartaButtonExe", "EncartaButtonAuswahl", "EncartaButtonListeAuswahl",
                   "EncartaButtonProfBer", "EncartaButtonProExe", "EncartaButtonInfo", "EncartaButtonOrte"},
                  p);
    for (ui::GradientStrip* band : {f.GradientFillAkt, f.GradientFillProfil})
        band->setColours(Rgb(p.headerBandStart), Rgb(p.headerBandEnd));
    for (QWidget* input :
         std::initializer_list<QWidget*>{f.MemoProfileH, f.RxSpinEditInterval, f.ComboBoxDesign})
        SetRoles(input, {QPalette::Base, QPalette::Button}, Rgb(p.inputField));
    SetBackground(f.CheckBoxStart, Rgb(p.startCheckBox));
    SetBackground(f.CheckBoxInterval, Rgb(p.intervalCheckBox));
    SetBackground(f.RadioButtonDeutsch, Rgb(p.germanRadioButton));
    SetBackground(f.RadioButtonEnglisch, Rgb(p.englishRadioButton));
    SetRoles(f.LMDProgress1, {QPalette::Base, QPalette::Window}, Rgb(p.bars));
    SetRoles(f.LMDProgress1, {QPalette::Highlight}, Rgb(p.headerBandStart));
    SetBackground(f.LMDStatusBar1, Rgb(p.bars));
}

// The controls that paint their own background, with the shade the page must have
// where they stand.
QVector<std::pair<const QWidget*, QColor>> PageShades(const TForm1& f, const util::DesignPalette& p)
{
    return {{f.CheckBoxStart, Rgb(p.startCheckBox)},
            {f.CheckBoxInterval, Rgb(p.intervalCheckBox)},
            {f.RadioButtonDeutsch, Rgb(p.germanRadioButton)},
            {f.RadioButtonEnglisch, Rgb(p.englishRadioButton)}};
}

} // namespace

void TForm1::ApplyLook()
{
    // Menu items that change files carry a picture; the others stay plain.
    Startdateidefinieren1->setIcon(ui::StartFileGlyph());
    StartdateidefinierenProfil->setIcon(ui::StartFileGlyph());
    AktuellePPPalsProfilspeichern1->setIcon(ui::SaveProfileGlyph());
    AusgewhlteDateiaktualisieren1->setIcon(ui::UpdateGlyph(16));
    AusgewhlteDateienaktuallisierenProfil->setIcon(ui::UpdateGlyph(16));
    Dateilschen1->setIcon(ui::DeleteGlyph());
    DateilokallschenProfil->setIcon(ui::DeleteGlyph());
    MenuProfilLoeschen->setIcon(ui::DeleteGlyph());
    Beschreibungndern1->setIcon(ui::EditGlyph());
    // Menus are windows of their own and take no font from the window.
    for (QMenu* menu : {PopupMenuAPPP, PopupMenuProfil, PopupMenuAusProf})
        menu->setFont(font());

    AdvOfficePagerOfficeStyler1 = new ui::PagerStyler(AdvOfficePager1);
    AdvOfficePagerOfficeStyler1->setObjectName(QStringLiteral("AdvOfficePagerOfficeStyler1"));

    // The check boxes and radio buttons paint their own background; they take no
    // more room than their captions, so that little of it shows.
    for (QWidget* w : std::initializer_list<QWidget*>{CheckBoxStart, CheckBoxInterval, RadioButtonDeutsch,
                                                      RadioButtonEnglisch})
        w->setFixedSize(w->sizeHint());
    LMDStatusBar1->setAutoFillBackground(true);
    // Before a design is applied the window shows the first design's colours.
    if (const auto first = settings::DesignPaletteOf(0)) {
        ColourMainWindow(*this, *first);
        AdvOfficePagerOfficeStyler1->setShades(PageShades(*this, *first));
    }
}

void TForm1::ApplyDesign(int index)
{
    const std::optional<util::DesignPalette> design = settings::DesignPaletteOf(index);
    const std::optional<settings::PagerStyle> pagerStyle = settings::PagerStyleOf(index);
    if (!design || !pagerStyle)
        return;
    util::Global().Palette = *design;
    const util::DesignPalette& p = util::Global().Palette;

    ColourMainWindow(*this, p);
    ColourDialog(m_formPfade,
                 {"EncartaButton1", "EncartaButton2", "EncartaButton3", "EncartaButton4", "EncartaButtonOK",
                  "EncartaButtonAbbrechen"},
                 p);
    ColourDialog(m_formProfilSpeichern, {"EncartaButton2", "EncartaButtonOK", "EncartaButtonAbbrechen"}, p);
    ColourDialog(m_formDListe, {"EncartaButtonOK", "EncartaButtonAb"}, p);
    ColourDialog(m_formInfo, {"EncartaButtonOK"}, p);

    AdvOfficePagerOfficeStyler1->setStyle(*pagerStyle);
    AdvOfficePagerOfficeStyler1->setShades(PageShades(*this, p));
}
