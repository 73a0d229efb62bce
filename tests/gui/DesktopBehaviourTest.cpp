#include "FormFixture.h"
#include "Modal.h"
#include "sync/FileStatus.h"
#include "ui/FlatButton.h"
#include "ui/MessageDialogs.h"
#include "ui/RowToolTip.h"
#include "ui/StatusImages.h"
#include "ui/StatusListView.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

using testsupport::Dos;

namespace {

QImage Render(QWidget& widget)
{
    QImage image(widget.size(), QImage::Format_ARGB32);
    widget.render(&image);
    return image;
}

} // namespace

// ---- where the window appears ----

TEST(WindowPosition, TheWholeTitleBarMustLieOnTheScreensElseTheWindowIsCentred)
{
    const QList<QRect> laptopAndProjector{QRect(0, 0, 1280, 800), QRect(1280, 0, 1024, 768)};
    const QRect primaryArea(0, 0, 1280, 770);
    const QSize frame(416, 430);
    const QPoint centred(432, 170);
    const auto place = [&](QPoint stored, const QList<QRect>& screens) {
        return TFormSizeSave::VisiblePosition(stored, frame, 24, screens, primaryArea);
    };
    EXPECT_EQ(place({100, 50}, laptopAndProjector), QPoint(100, 50));
    EXPECT_EQ(place({1100, 50}, laptopAndProjector), QPoint(1100, 50)) << "across both screens";
    EXPECT_EQ(place({1500, 100}, laptopAndProjector), QPoint(1500, 100)) << "on the projector";
    EXPECT_EQ(place({1500, 100}, {laptopAndProjector.first()}), centred) << "projector gone";
    EXPECT_EQ(place({1000, 760}, {laptopAndProjector.first()}), centred) << "title bar half below the screen";
    EXPECT_EQ(place({2000, 360}, laptopAndProjector), centred)
        << "title bar beyond the projector's lower edge";
    EXPECT_EQ(place({-5, 10}, laptopAndProjector), centred) << "five pixels off the left edge";
    EXPECT_EQ(place({100, -1}, laptopAndProjector), centred);
    EXPECT_EQ(
        TFormSizeSave::VisiblePosition({5000, 5000}, QSize(2000, 1000), 24, laptopAndProjector, primaryArea),
        QPoint(0, 0))
        << "a window larger than the screen keeps its title bar on it";
}

TEST_F(FormTest, APositionOffEveryScreenOpensCentredAndTheStoredValuesStay)
{
    {
        QSettings store(QSettings::NativeFormat, QSettings::UserScope, "Travenil", "quintorPPP");
        store.setValue("FormPosition/Form1.Left", 5000);
        store.setValue("FormPosition/Form1.Top", -3000);
    }
    TForm1& f = CreateForm();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(area.contains(QRect(f.pos(), QSize(f.width(), 20))));
    EXPECT_LE(std::abs(f.geometry().center().x() - area.center().x()), 1);
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, "Travenil", "quintorPPP");
    EXPECT_EQ(store.value("FormPosition/Form1.Left").toInt(), 5000);
    EXPECT_EQ(store.value("FormPosition/Form1.Top").toInt(), -3000);

    windows.reset();
    store.setValue("FormPosition/Form1.Left", 40);
    store.setValue("FormPosition/Form1.Top", 30);
    store.sync();
    EXPECT_EQ(CreateForm().pos(), QPoint(40, 30));
}

// ---- German throughout ----

TEST(GermanTexts, QtsOwnButtonsAndMenusSpeakGerman)
{
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Save);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Abbrechen"));
    EXPECT_EQ(buttons.button(QDialogButtonBox::Save)->text(), QStringLiteral("Speichern"));
    QLineEdit field;
    std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
    QStringList items;
    for (const QAction* action : menu->actions())
        items << action->text().section('\t', 0, 0);
    EXPECT_TRUE(items.contains(QStringLiteral("&Rückgängig"))) << items.join('|').toStdString();
    EXPECT_TRUE(items.contains(QStringLiteral("Alles auswählen"))) << items.join('|').toStdString();
}

TEST(GermanTexts, DatesFollowTheLocaleAndReadShortOnAGermanSystem)
{
    const QLocale german(QLocale::German, QLocale::Germany);
    EXPECT_EQ(ui::ShortDateText(Dos(2026, 12, 7, 9, 30, 4), german), QStringLiteral("07.12.26"));
    EXPECT_EQ(ui::ShortDateText(Dos(2026, 12, 7), QLocale(QLocale::English, QLocale::UnitedStates)),
              QStringLiteral("12/7/26"));
    EXPECT_EQ(ui::FullDateTimeText(Dos(2026, 12, 7, 9, 30, 4), german),
              QStringLiteral("Montag, 7. Dezember 2026, 09:30:04"));
    if (QLocale::system().language() == QLocale::C)
        EXPECT_EQ(ui::DisplayLocale(), german) << "without a language setting the dates are German";
    else
        EXPECT_EQ(ui::DisplayLocale(), QLocale::system());
}

// ---- lists that explain themselves ----

TEST(StatusList, HoveringARowTellsItsStatusInWordsAndBothDatesInFull)
{
    ui::StatusListView list(false);
    list.statusModel()->setLocale(QLocale(QLocale::German, QLocale::Germany));
    list.statusModel()->setRows({
        {"Intro.pptx", "Intro.pptx", Dos(2026, 3, 2, 14, 5, 10), Dos(2026, 1, 15, 10, 0, 0),
         filesync::StatusServerNewer},
        {"Neu.pptx", "Neu.pptx", Dos(2026, 2, 10), std::nullopt, filesync::StatusMissingLocally},
    });
    const QString expected = QStringLiteral("Intro.pptx\nDatei auf dem Server ist jünger als Datei lokal\n"
                                            "Server: Montag, 2. März 2026, 14:05:10\n"
                                            "Lokal: Donnerstag, 15. Januar 2026, 10:00:00");
    for (int column = 0; column < 3; ++column)
        EXPECT_EQ(list.model()->index(0, column).data(Qt::ToolTipRole).toString(), expected) << column;
    EXPECT_TRUE(list.model()
                    ->index(1, 2)
                    .data(Qt::ToolTipRole)
                    .toString()
                    .endsWith(QStringLiteral("Lokal: keine Datei")));
    EXPECT_EQ(list.model()->index(0, 1).data().toString(), QStringLiteral("02.03.26"));
}

TEST(StatusList, AMarkedRowShowsItsStatusPictureUnchanged)
{
    for (int status = 0; status < ui::kStatusImageCount; ++status) {
        const QIcon& icon = ui::StatusIcon(status);
        EXPECT_EQ(icon.pixmap(16, 16, QIcon::Selected).toImage().convertToFormat(QImage::Format_ARGB32),
                  ui::StatusImage(status).toImage().convertToFormat(QImage::Format_ARGB32))
            << status;
    }
}

TEST(StatusList, OnlyMarkedRowsLookMarkedAndAnEmptyListShowsItsHint)
{
    ui::StatusListView list(false);
    list.resize(400, 200);
    list.show();
    list.setFocus();
    list.statusModel()->setRows({{"A.pptx", "A.pptx", Dos(2026, 1, 1), Dos(2026, 1, 1), 0},
                                 {"B.pptx", "B.pptx", Dos(2026, 1, 1), Dos(2026, 1, 1), 0}});
    list.markRow(1);
    // A refresh: the rows are replaced and nothing is marked.
    list.statusModel()->setRows({{"A.pptx", "A.pptx", Dos(2026, 1, 1), Dos(2026, 1, 1), 0},
                                 {"B.pptx", "B.pptx", Dos(2026, 1, 1), Dos(2026, 1, 1), 0}});
    QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(&list, &focusIn);
    ASSERT_TRUE(list.markedRows().isEmpty());
    const QColor highlight = list.palette().color(QPalette::Active, QPalette::Highlight);
    const auto highlightPixels = [&] {
        const QImage image = Render(*list.viewport());
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 40; x < image.width(); ++x)
                count += image.pixelColor(x, y) == highlight;
        return count;
    };
    EXPECT_EQ(highlightPixels(), 0) << "no row looks marked";
    list.markRow(0);
    EXPECT_GT(highlightPixels(), 100) << "a marked row does";

    const QString hint = QStringLiteral("Keine Ordner eingestellt.");
    list.setEmptyHint(hint);
    const QImage withRows = Render(*list.viewport());
    list.statusModel()->clear();
    const QImage empty = Render(*list.viewport());
    list.setEmptyHint(QString());
    const QImage blank = Render(*list.viewport());
    EXPECT_NE(empty, blank) << "the hint is drawn in the empty list";
    EXPECT_EQ(list.emptyHint(), QString());
    list.setEmptyHint(hint);
    list.statusModel()->setRows({{"A.pptx", "A.pptx", Dos(2026, 1, 1), Dos(2026, 1, 1), 0},
                                 {"B.pptx", "B.pptx", Dos(2026, 1, 1), Dos(2026, 1, 1), 0}});
    list.markRow(0);
    EXPECT_EQ(Render(*list.viewport()), withRows) << "rows hide the hint";
}

// ---- dialogs: Enter confirms, Escape cancels ----

class DialogKeysTest : public FormTest
{
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        CreateForm();
    }

    struct Outcome
    {
        int result = -1;
        int okClicks = 0;
    };

    // Opens the dialog, gives `focus` the focus and presses the key on it. A dialog
    // that stays open after Enter (its OK refused the fields) is closed by Escape.
    Outcome Press(QDialog& dialog, QPushButton* ok, QWidget* focus, Qt::Key key,
                  const std::function<int()>& open)
    {
        Outcome outcome;
        const auto connection = QObject::connect(ok, &QPushButton::clicked, [&] { ++outcome.okClicks; });
        outcome.result = guitest::WithModal(
            dialog,
            [&, focus, key] {
                focus->setFocus();
                QTest::keyClick(focus, key);
                if (dialog.isVisible())
                    QTimer::singleShot(0, &dialog, [&] { QTest::keyClick(&dialog, Qt::Key_Escape); });
            },
            open);
        QObject::disconnect(connection);
        return outcome;
    }
};

TEST_F(DialogKeysTest, EnterPressesOkWhereverTheFocusIsAndEscapeCancels)
{
    ui::DialogScript script; // OK on the empty storage fields asks and answers with boxes
    script.answerConfirm(false);
    script.answerConfirm(false);
    script.allowUnusedAnswers();
    TFormPfade& pfade = windows->FormPfade;
    TFormProfilSpeichern& save = windows->FormProfilSpeichern;
    TFormDListe& chooser = windows->FormDListe;
    TFormInfo& info = windows->FormInfo;
    QString text;
    struct Dialog
    {
        QDialog* dialog;
        QPushButton* ok;
        QWidget* busiestField; // the field or button Enter used to go to
        std::function<int()> open;
    };
    const std::vector<Dialog> dialogs{
        {&pfade, pfade.EncartaButtonOK, pfade.findChild<QPushButton*>("EncartaButton1"),
         [&] { return pfade.exec(); }},
        {&save, save.EncartaButtonOK, save.EncartaButton2, [&] { return save.Execute(text) ? 1 : 0; }},
        {&chooser, chooser.EncartaButtonOK, chooser.ListBox1,
         [&] { return chooser.ChooseStartFile(text) ? 1 : 0; }},
        {&info, info.EncartaButtonOK, info.EncartaButtonOK, [&] { return info.exec(); }},
    };
    for (const Dialog& d : dialogs) {
        SCOPED_TRACE(d.dialog->objectName().toStdString());
        EXPECT_TRUE(d.ok->isDefault());
        const Outcome enter = Press(*d.dialog, d.ok, d.busiestField, Qt::Key_Return, d.open);
        EXPECT_EQ(enter.okClicks, 1) << "Enter pressed OK, not the focused button";
        const Outcome escape = Press(*d.dialog, d.ok, d.busiestField, Qt::Key_Escape, d.open);
        EXPECT_EQ(escape.okClicks, 0);
        EXPECT_EQ(escape.result, 0) << "Escape cancels";
        EXPECT_FALSE(d.dialog->isVisible());
    }
    for (const ui::ShownBox& box : script.shown())
        EXPECT_NE(box.kind, ui::BoxKind::FolderPicker) << "Enter never opens the folder picker";
}

TEST_F(DialogKeysTest, TabLeavesTheDescriptionAndEnterStartsANewLineInIt)
{
    TFormProfilSpeichern& save = windows->FormProfilSpeichern;
    QString folder;
    QWidget* focusAfterTab = nullptr;
    EXPECT_FALSE(guitest::WithModal(
        save,
        [&] {
            save.MemoProfil->setFocus();
            QTest::keyClicks(save.MemoProfil, QStringLiteral("Zeile"));
            QTest::keyClick(save.MemoProfil, Qt::Key_Return);
            QTest::keyClicks(save.MemoProfil, QStringLiteral("zwei"));
            QTest::keyClick(save.MemoProfil, Qt::Key_Tab);
            focusAfterTab = QApplication::focusWidget();
            save.EncartaButtonAbbrechen->click();
        },
        [&] { return save.Execute(folder); }));
    EXPECT_EQ(save.MemoProfil->toPlainText(), QStringLiteral("Zeile\nzwei"));
    EXPECT_NE(focusAfterTab, save.MemoProfil);
}

TEST(ConfirmationBox, QuestionsThatDeleteDefaultToNo)
{
    for (const auto answer : {ui::DefaultAnswer::Yes, ui::DefaultAnswer::No}) {
        const auto box = ui::MakeConfirmationBox(QStringLiteral("Datei lokal löschen?"), nullptr, answer);
        EXPECT_EQ(box->windowTitle(), QStringLiteral("Bestätigung"));
        ASSERT_NE(box->defaultButton(), nullptr);
        EXPECT_EQ(box->defaultButton()->text(),
                  answer == ui::DefaultAnswer::No ? QStringLiteral("&Nein") : QStringLiteral("&Ja"));
        EXPECT_EQ(box->escapeButton()->property("text").toString(), QStringLiteral("&Nein"));
        // Enter on the shown box presses the default button.
        QTimer::singleShot(0, box.get(), [&] { QTest::keyClick(box.get(), Qt::Key_Return); });
        box->exec();
        EXPECT_EQ(box->buttonRole(box->clickedButton()),
                  answer == ui::DefaultAnswer::No ? QMessageBox::NoRole : QMessageBox::YesRole);
    }
}
