#include "FormFixture.h"

#include "ui/Flags.h"
#include "ui/FlatButton.h"
#include "ui/GradientStrip.h"
#include "ui/PagerStyler.h"
#include "ui/StatusListView.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <thread>

namespace fs = std::filesystem;
using testsupport::ReadFile;
using testsupport::WriteFile;

namespace {

void Key(QWidget* target, Qt::Key key, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
}

// Replaces the spin edit's text keystroke by keystroke, as the user types.
void TypeInto(QSpinBox* spin, const QString& text)
{
    spin->selectAll();
    for (const QChar c : text)
        Key(spin, static_cast<Qt::Key>(c.unicode()), QString(c));
}

void LeaveField(QWidget* field)
{
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(field, &out);
}

QColor WindowColour(const QWidget* w)
{
    return w->palette().color(QPalette::Window);
}

// Which list models were reset, in order: "akt" or "auswahl".
struct ResetLog
{
    explicit ResetLog(TForm1& f)
    {
        QObject::connect(f.TntListViewAkt->statusModel(), &QAbstractItemModel::modelReset,
                         [this] { order.push_back("akt"); });
        QObject::connect(f.TntListViewAuswahl->statusModel(), &QAbstractItemModel::modelReset,
                         [this] { order.push_back("auswahl"); });
    }
    std::vector<std::string> order;
};

} // namespace

TEST_F(FormTest, SettingsSaveWritesTheFiveKeysAndNothingElse)
{
    const std::string before = "[Allgemein]\r\n"
                               "EditLPfadDeutsch=/daten/de\r\n"
                               "CheckBoxStart=1\r\n"
                               "wahlProfilDeutsch=Messe\r\n"
                               "ComboBoxDesign=3\r\n"
                               "AktivPage=2\r\n"
                               "[Fremd]\r\n"
                               "CheckBoxStart=bleibt\r\n";
    WriteSettings(before);
    TForm1& f = CreateForm();
    f.CheckBoxStart->click();
    EXPECT_EQ(ReadFile(SettingsFile()), "[Allgemein]\r\n"
                                        "EditLPfadDeutsch=/daten/de\r\n"
                                        "CheckBoxStart=0\r\n"
                                        "wahlProfilDeutsch=Messe\r\n"
                                        "ComboBoxDesign=3\r\n"
                                        "AktivPage=2\r\n"
                                        "CheckBoxInterval=0\r\n"
                                        "RxSpinEditInterval=2\r\n"
                                        "CheckFlage=1\r\n"
                                        "[Fremd]\r\n"
                                        "CheckBoxStart=bleibt\r\n");
    EXPECT_TRUE(util::Global().CompareWithServer) << "the start check box acts at the next start only";
}

TEST_F(FormTest, EveryKeystrokeInTheIntervalSavesAndSetsTheTimer)
{
    TForm1& f = CreateForm();
    f.CheckBoxInterval->click();
    EXPECT_TRUE(f.TimerInterval->isActive());
    EXPECT_EQ(f.TimerInterval->interval(), 7'200'000);

    TypeInto(f.RxSpinEditInterval, "7");
    EXPECT_NE(ReadFile(SettingsFile()).find("RxSpinEditInterval=7"), std::string::npos);
    EXPECT_EQ(f.TimerInterval->interval(), 25'200'000);
    EXPECT_TRUE(f.TimerInterval->isActive());

    // An arrow step is a change as well.
    f.RxSpinEditInterval->stepDown();
    EXPECT_NE(ReadFile(SettingsFile()).find("RxSpinEditInterval=6"), std::string::npos);
    EXPECT_EQ(f.TimerInterval->interval(), 21'600'000);
    f.RxSpinEditInterval->stepUp();

    f.CheckBoxInterval->click();
    const std::string unticked = ReadFile(SettingsFile());
    EXPECT_NE(unticked.find("CheckBoxInterval=0"), std::string::npos);
    EXPECT_NE(unticked.find("RxSpinEditInterval=7"), std::string::npos);
    EXPECT_FALSE(f.TimerInterval->isActive());

    // An emptied field is no number and counts as 1; leaving it brings back a
    // number, and that correction is saved as well.
    Key(f.RxSpinEditInterval, Qt::Key_Backspace);
    ASSERT_TRUE(f.RxSpinEditInterval->cleanText().isEmpty());
    EXPECT_NE(ReadFile(SettingsFile()).find("RxSpinEditInterval=1\n"), std::string::npos);
    LeaveField(f.RxSpinEditInterval);
    const int shown = f.RxSpinEditInterval->cleanText().toInt();
    EXPECT_GE(shown, 1);
    EXPECT_LE(shown, 10);
    EXPECT_NE(ReadFile(SettingsFile()).find("RxSpinEditInterval=" + std::to_string(shown) + "\n"),
              std::string::npos);

    // A passing 0 (on the way to 10) is never stored; typed on its own it is
    // corrected to the nearest allowed value when the field is left.
    TypeInto(f.RxSpinEditInterval, "0");
    EXPECT_NE(ReadFile(SettingsFile()).find("RxSpinEditInterval=1\n"), std::string::npos);
    LeaveField(f.RxSpinEditInterval);
    EXPECT_EQ(f.RxSpinEditInterval->value(), 1);
    TypeInto(f.RxSpinEditInterval, "99");
    EXPECT_EQ(f.RxSpinEditInterval->cleanText(), "9") << "the field takes no number above 10";
}

TEST_F(FormTest, ASaveThatChangesNeitherPeriodNorEnablingLeavesTheRunningPeriodAlone)
{
    WriteSettings("[Allgemein]\nCheckBoxInterval=1\nRxSpinEditInterval=2\n");
    TForm1& f = CreateForm();
    ASSERT_TRUE(f.TimerInterval->isActive());
    // A period of hours runs on a timer of whole seconds: its remaining time moves
    // in steps of up to a second, so the pauses must be longer than that.
    const auto pause = [] { std::this_thread::sleep_for(std::chrono::milliseconds(1300)); };
    pause();
    f.CheckBoxStart->click();
    EXPECT_LE(f.TimerInterval->remainingTime(), 7'200'000 - 700) << "the running period was restarted";

    TypeInto(f.RxSpinEditInterval, "3");
    EXPECT_GT(f.TimerInterval->remainingTime(), 7'200'000) << "a new period starts a new count";

    pause();
    f.CheckBoxInterval->click();
    EXPECT_FALSE(f.TimerInterval->isActive());
    f.CheckBoxInterval->click();
    EXPECT_TRUE(f.TimerInterval->isActive());
    EXPECT_GE(f.TimerInterval->remainingTime(), 10'800'000 - 600) << "switching on starts a full period";
}

TEST_F(FormTest, SelectingTheLanguageAlreadySelectedDoesNothing)
{
    TForm1& f = CreateForm();
    ResetLog log(f);
    f.RadioButtonDeutsch->click();
    EXPECT_TRUE(f.RadioButtonDeutsch->isChecked());
    EXPECT_TRUE(log.order.empty());
    EXPECT_FALSE(fs::exists(SettingsFile()));
}

TEST_F(FormTest, LanguageSwitchSavesSwitchesFoldersAndRefreshesTheProfileListFirst)
{
    testsupport::TempDir de, en;
    WriteFile(de / "Deutsch.ppt", "d");
    WriteFile(de / "qPPP_Profile.ini", "[Profil]\nStartDatei=Deutsch.ppt\n");
    WriteFile(en / "English.ppt", "e");
    WriteFile(en / "qPPP_Profile.ini", "[Profil]\nStartDatei=English.ppt\n");
    fs::create_directories(en / "qPPP_Profile" / "Fair");
    WriteFile(en / "qPPP_Profile" / "Fair" / "English.ppt", "e");
    WriteSettings("[Allgemein]\nCheckBoxStart=0\nEditLPfadDeutsch=" + de.str() +
                  "\nEditLPfadEnglisch=" + en.str() + "\nEditSPfadEnglisch=" + (en / "fehlt").string() +
                  "\nwahlProfilEnglisch=Fair\n");
    TForm1& f = CreateForm();
    ResetLog log(f);

    f.RadioButtonEnglisch->click();

    const util::RuntimeState& g = util::Global();
    EXPECT_EQ(g.LanguageFlag, 0);
    EXPECT_EQ(g.CurrentLocalFolder, en.str());
    EXPECT_EQ(g.CurrentProfile, "Fair");
    EXPECT_EQ(f.LabelProfilname->text(), "Fair");
    EXPECT_NE(ReadFile(SettingsFile()).find("CheckFlage=0"), std::string::npos);
    EXPECT_EQ(f.ImageFlageAkt->pixmap().toImage(), ui::BritishFlag().toImage());
    EXPECT_EQ(f.ImageFlageProfil->pixmap().toImage(), ui::BritishFlag().toImage());
    EXPECT_EQ(g.CurrentSetStartFile, "Deutsch.ppt") << "the start files are not read again";

    ASSERT_FALSE(log.order.empty());
    EXPECT_EQ(log.order.front(), "auswahl");
    EXPECT_EQ(log.order.back(), "akt");
    EXPECT_EQ(std::count(log.order.begin(), log.order.end(), "auswahl"), 2) << "cleared, then filled";
    ASSERT_EQ(f.TntListViewAkt->statusModel()->rowCount(), 1);
    EXPECT_EQ(f.TntListViewAkt->statusModel()->row(0).name, "English.ppt");
    EXPECT_EQ(f.TntListViewAuswahl->statusModel()->rowCount(), 1);
}

TEST_F(FormTest, ChoosingSilverStoresItAndRecoloursAllFiveWindows)
{
    TForm1& f = CreateForm();
    // A button the help dialog will carry: coloured by its name.
    auto* helpOk = new ui::FlatButton("OK", &windows->FormInfo);
    helpOk->setObjectName("EncartaButtonOK");
    ResetLog log(f);

    f.ComboBoxDesign->setCurrentIndex(1);
    emit f.ComboBoxDesign->activated(1);

    EXPECT_NE(ReadFile(SettingsFile()).find("ComboBoxDesign=1"), std::string::npos);
    EXPECT_EQ(util::Global().DesignIndex, 1);
    EXPECT_EQ(util::Global().Palette.windowBackground, 0xEBEBF2u);
    const QColor background(0xEB, 0xEB, 0xF2);
    for (QWidget* w : std::initializer_list<QWidget*>{&f, &windows->FormPfade, &windows->FormProfilSpeichern,
                                                      &windows->FormDListe, &windows->FormInfo})
        EXPECT_EQ(WindowColour(w), background) << w->objectName().toStdString();
    for (ui::FlatButton* b : {f.EncartaButtonAktA, f.EncartaButtonOrte, windows->FormPfade.EncartaButtonOK,
                              windows->FormPfade.EncartaButton4, helpOk}) {
        EXPECT_EQ(b->faceColour(), QColor(0xCB, 0xCD, 0xCF)) << b->objectName().toStdString();
        EXPECT_EQ(b->pressedColour(), QColor(0xE1, 0xE3, 0xE3));
        EXPECT_EQ(b->hoverColour(), QColor(0xB3, 0xB5, 0xB7));
    }
    for (ui::GradientStrip* band : {f.GradientFillAkt, f.GradientFillProfil}) {
        EXPECT_EQ(band->startColour(), QColor(0xA3, 0xA3, 0xA3));
        EXPECT_EQ(band->endColour(), QColor(0xEA, 0xEA, 0xF2));
    }
    EXPECT_EQ(WindowColour(f.CheckBoxStart), QColor(0xE9, 0xE9, 0xF1));
    EXPECT_EQ(WindowColour(f.RadioButtonEnglisch), QColor(0xD8, 0xD8, 0xE6));
    EXPECT_EQ(WindowColour(f.LMDStatusBar1), QColor(0xB8, 0xBE, 0xC8));
    EXPECT_EQ(f.MemoProfileH->palette().color(QPalette::Base), QColor(0xCB, 0xCD, 0xCF));
    auto* styler = f.AdvOfficePager1->findChild<ui::PagerStyler*>("AdvOfficePagerOfficeStyler1");
    ASSERT_TRUE(styler);
    EXPECT_EQ(styler->style(), settings::PagerStyle::psOffice2003Silver);
    // The check boxes sit on a page background of their own shade.
    f.show();
    QApplication::processEvents();
    EXPECT_EQ(styler->pageColourAt(f.CheckBoxStart->geometry().center().y()), QColor(0xE9, 0xE9, 0xF1));
    EXPECT_EQ(styler->pageColourAt(f.RadioButtonDeutsch->geometry().center().y()), QColor(0xD8, 0xD8, 0xE6));

    // The activation ran: the current set was listed again (no profile is chosen,
    // so the profile list has nothing to show).
    EXPECT_NE(std::find(log.order.begin(), log.order.end(), "akt"), log.order.end());
}

TEST_F(FormTest, AStoredDesignOutsideTheFourShowsNoSelectionAndAppliesNothing)
{
    WriteSettings("[Allgemein]\nComboBoxDesign=7\n");
    TForm1& f = CreateForm();
    const QColor mainBefore = WindowColour(&f);
    const QColor dialogBefore = WindowColour(&windows->FormPfade);
    const QColor faceBefore = windows->FormPfade.EncartaButtonOK->faceColour();
    f.FormActivate();
    EXPECT_EQ(f.ComboBoxDesign->currentIndex(), -1);
    EXPECT_EQ(util::Global().Palette.windowBackground, 0u) << "the palette stays unfilled";
    EXPECT_EQ(WindowColour(&f), mainBefore);
    EXPECT_EQ(WindowColour(&windows->FormPfade), dialogBefore);
    EXPECT_EQ(windows->FormPfade.EncartaButtonOK->faceColour(), faceBefore);
    EXPECT_EQ(ReadFile(SettingsFile()), "[Allgemein]\nComboBoxDesign=7\n")
        << "activation alone stores nothing";
}

TEST_F(FormTest, TheFlagsDecodeFromTheirPictures)
{
    const QImage german = ui::GermanFlag().toImage();
    const QImage british = ui::BritishFlag().toImage();
    ASSERT_FALSE(german.isNull());
    ASSERT_FALSE(british.isNull());
    EXPECT_EQ(german.size(), QSize(100, 60));
    EXPECT_EQ(british.size(), QSize(120, 60));
    // Black on top, gold at the bottom; blue in the British corner.
    EXPECT_LT(qGray(german.pixel(50, 5)), 40);
    EXPECT_GT(qRed(german.pixel(50, 55)), 200);
    EXPECT_GT(qBlue(british.pixel(3, 15)), 2 * qRed(british.pixel(3, 15)));
}

// With the fonts in use, every caption has the room it needs, no two controls of a
// page cover each other, and the five tabs fit without scroll buttons.
TEST_F(FormTest, PagesShowEveryControlWholeAndApart)
{
    TForm1& f = CreateForm();
    f.show();
    QApplication::processEvents();
    QTabBar* tabs = f.AdvOfficePager1->tabBar();
    EXPECT_LE(tabs->tabRect(4).right(), f.AdvOfficePager1->width());
    for (int i = 0; i < 5; ++i)
        EXPECT_GE(tabs->tabRect(i).width(), tabs->fontMetrics().horizontalAdvance(tabs->tabText(i)));

    for (int i = 0; i < f.AdvOfficePager1->count(); ++i) {
        QWidget* page = f.AdvOfficePager1->widget(i);
        f.AdvOfficePager1->setCurrentIndex(i);
        QApplication::processEvents();
        QList<QWidget*> controls;
        for (QWidget* w : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (w->objectName() != "ButtonESpeichern")
                controls.append(w);
        for (QWidget* w : controls) {
            const std::string name = w->objectName().toStdString();
            EXPECT_TRUE(page->rect().contains(w->geometry())) << name << " leaves page " << i;
            const auto* label = qobject_cast<QLabel*>(w);
            if ((label && label->pixmap().isNull()) || qobject_cast<QCheckBox*>(w) ||
                qobject_cast<QRadioButton*>(w)) {
                EXPECT_GE(w->width(), w->sizeHint().width()) << name << " is cut off";
            } else if (const auto* button = qobject_cast<ui::FlatButton*>(w);
                       button && !button->text().isEmpty()) {
                EXPECT_GE(w->width(), button->fontMetrics().horizontalAdvance(button->text()) + 8)
                    << name << " is cut off";
            }
        }
        for (int a = 0; a < controls.size(); ++a)
            for (int b = a + 1; b < controls.size(); ++b)
                EXPECT_FALSE(controls[a]->geometry().intersects(controls[b]->geometry()))
                    << controls[a]->objectName().toStdString() << " covers "
                    << controls[b]->objectName().toStdString();
    }
}

TEST_F(FormTest, ARightClickOnEachListOpensItsMenu)
{
    TForm1& f = CreateForm();
    f.show();
    const std::pair<QAbstractScrollArea*, QMenu*> lists[] = {
        {f.TntListViewAkt, f.PopupMenuAPPP},
        {f.ListBoxProfile, f.PopupMenuProfil},
        {f.TntListViewAuswahl, f.PopupMenuAusProf},
    };
    for (const auto& [list, menu] : lists) {
        QWidget* viewport = list->viewport();
        QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(10, 10),
                                viewport->mapToGlobal(QPoint(10, 10)));
        QApplication::sendEvent(viewport, &click);
        EXPECT_TRUE(menu->isVisible()) << menu->objectName().toStdString();
        menu->hide();
    }
}
