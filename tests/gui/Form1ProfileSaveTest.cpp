#include "ProfilesTestFixture.h"

#include "app/dialogs/FormInfo_u.h"
#include "platform/AtomicFile.h"
#include "support/ScopedFault.h"
#include "sync/FileStatus.h"
#include "ui/FlatButton.h"
#include "ui/MessagePump.h"
#include "util/z_global.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>

namespace fs = std::filesystem;
using testsupport::Build;
using testsupport::Dos;
using testsupport::File;
using testsupport::ReadFile;
using testsupport::WriteFile;
using testsupport::WriteFileAt;

TEST_F(ProfilesTest, SaveDialogHasItsLayoutAndStartsEmptyEachTime)
{
    TFormProfilSpeichern& dialog = windows->FormProfilSpeichern;
    EXPECT_EQ(dialog.windowTitle(), "Speichern unter Profilnamen");
    EXPECT_EQ(dialog.size(), QSize(438, 301));
    EXPECT_EQ(dialog.MemoProfil->size(), QSize(389, 105));
    for (const char* name : {"EncartaButton2", "EncartaButtonOK", "EncartaButtonAbbrechen"})
        EXPECT_NE(dialog.findChild<ui::FlatButton*>(name), nullptr) << name;
    EXPECT_TRUE(dialog.EncartaButton2->font().bold());

    // Whatever was typed last time is gone when it shows again.
    dialog.EditProfil->setText("alt");
    dialog.MemoProfil->setPlainText("alt");
    dialog.EditSteuerDatei->setText("alt.ppt");
    bool emptied = false;
    QString path = "unverändert";
    EXPECT_FALSE(guitest::WithModal(
        dialog,
        [&] {
            emptied = dialog.EditProfil->text().isEmpty() && dialog.MemoProfil->toPlainText().isEmpty() &&
                      dialog.EditSteuerDatei->text().isEmpty();
            dialog.EncartaButtonAbbrechen->click();
        },
        [&] { return dialog.Execute(path); }));
    EXPECT_TRUE(emptied);
    EXPECT_EQ(path, "unverändert");
}

TEST_F(ProfilesTest, CancelOrTheCloseBoxCreatesNothingAndShowsNoProgress)
{
    Build(localDe, {File("a.ppt", "a")});
    TFormProfilSpeichern& dialog = windows->FormProfilSpeichern;
    guitest::WithModal(
        dialog,
        [&] {
            dialog.EditProfil->setText("Messe");
            dialog.EncartaButtonAbbrechen->click();
        },
        [&] { form->EncartaButtonPSpeichernClick(); });
    guitest::WithModal(
        dialog,
        [&] {
            dialog.EditProfil->setText("Messe");
            dialog.close();
        },
        [&] { form->EncartaButtonPSpeichernClick(); });
    EXPECT_FALSE(fs::exists(localDe / "qPPP_Profile"));
    EXPECT_TRUE(form->LabelKopPPP->isHidden());
    EXPECT_TRUE(form->LMDProgress1->isHidden());
}

TEST_F(ProfilesTest, FailedChecksKeepTheDialogOpenWithItsFieldsAndCreateNothing)
{
    ui::DialogScript script;
    const auto tryName = [&](const QString& name) {
        SaveProfile(name, "Beschreibung", "s.ppt", [](TFormProfilSpeichern& dialog) {
            EXPECT_TRUE(dialog.isVisible());
            EXPECT_EQ(dialog.MemoProfil->toPlainText(), "Beschreibung");
            EXPECT_EQ(dialog.EditSteuerDatei->text(), "s.ppt");
            dialog.EncartaButtonAbbrechen->click();
        });
    };
    tryName("");
    tryName("Ende.");
    tryName("nul");
    tryName("a/b");
    fs::create_directories(ProfileFolder("Messe"));
    tryName("Messe");
    EXPECT_EQ(script.texts(), (QStringList{"Profilname bitte eintragen.",
                                           "Profilname ist ungültig. Bitte keine Sonderzeichen",
                                           "Profilname ist ungültig. Bitte keine Sonderzeichen",
                                           "Profilname ist ungültig. Bitte keine Sonderzeichen",
                                           "Profil mit diesem Namen existiert schon.\rLöschen Sie zuerst das "
                                           "alte Profil."}));
    EXPECT_EQ(script.shown().at(0).kind, ui::BoxKind::Information);
    EXPECT_EQ(script.shown().at(4).kind, ui::BoxKind::Error);
    EXPECT_EQ(std::distance(fs::directory_iterator(localDe / "qPPP_Profile"), fs::directory_iterator()), 1);

    // No local folder: the request to set the storage locations, and no folder anywhere.
    util::Global().CurrentLocalFolder.clear();
    tryName("Neu");
    EXPECT_EQ(script.shown().back().kind, ui::BoxKind::Error);
    EXPECT_TRUE(script.texts().back().startsWith("Bitte zuerst den Profilordner definieren.\r"));
    EXPECT_FALSE(fs::exists(ProfileFolder("Neu")));
}

TEST_F(ProfilesTest, SavingCopiesTheSetCountingEachFileAndEndsWithFertig)
{
    for (int i = 1; i <= 12; ++i)
        WriteFileAt(localDe / ("Folie" + std::to_string(i) + ".ppt"), "x", Dos(2023, 2, i));
    Build(localDe, {File("qPPP_Profile.ini", "[Profil]\nStartDatei=Folie1.ppt\n")});

    // Every text the label shows while the copy waits for the window (the dialog's
    // own file work may pump before the label is shown).
    QStringList shown;
    util::InstallMessagePump([&] {
        if (!form->LabelKopPPP->isHidden() && (shown.isEmpty() || shown.back() != form->LabelKopPPP->text()))
            shown << form->LabelKopPPP->text();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
    SaveProfile("Zwölf", "Erste Zeile\nZweite Zeile\n\nVierte", "Folie3.ppt");
    ui::InstallQtMessagePump();

    QStringList expected{"Kopieren wird vorbereitet.", "Kopiere Dateien..."};
    for (int i = 1; i <= 12; ++i)
        expected << QStringLiteral("%1 / 12").arg(i);
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(form->LabelKopPPP->text(), "Fertig");
    EXPECT_TRUE(form->LabelKopPPP->isVisibleTo(form.get()));
    EXPECT_EQ(form->LMDProgress1->value(), 100);
    EXPECT_TRUE(form->Timer1->isActive());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "the hourglass is gone";

    const fs::path profile = ProfileFolder("Zwölf");
    EXPECT_EQ(std::distance(fs::directory_iterator(profile), fs::directory_iterator()), 13);
    EXPECT_EQ(ReadFile(profile / "qPPP_Profile.ini"),
              "[Profil]\nBeschreibung=Erste Zeile\x08Zweite Zeile\x08\x08Vierte\nStartDatei=Folie3.ppt\n");
    // Saving changes none of the profile state.
    EXPECT_TRUE(util::Global().CurrentProfile.empty());

    form->Timer1Timer();
    EXPECT_TRUE(form->LabelKopPPP->isHidden());
    EXPECT_TRUE(form->LMDProgress1->isHidden());
}

TEST_F(ProfilesTest, ASetOfOnlyItsIniMakesTheProfileAndHidesTheProgressAtOnce)
{
    Build(localDe, {File("qPPP_Profile.ini", "[Profil]\nStartDatei=x.ppt\n")});
    SaveProfile("Leer", QString(300, QLatin1Char('b')));
    const fs::path profile = ProfileFolder("Leer");
    EXPECT_EQ(std::distance(fs::directory_iterator(profile), fs::directory_iterator()), 1);
    EXPECT_EQ(ReadFile(profile / "qPPP_Profile.ini"),
              "[Profil]\nBeschreibung=" + std::string(300, 'b') + "\nStartDatei=\n")
        << "not cut when saved";
    EXPECT_TRUE(form->LabelKopPPP->isHidden());
    EXPECT_TRUE(form->LMDProgress1->isHidden());
    EXPECT_FALSE(form->Timer1->isActive());
}

TEST_F(ProfilesTest, AFileThatCannotBeCopiedIsReportedAndTheRestIsCopied)
{
    Build(localDe, {File("a.ppt", "a"), File("b.ppt", "b")});
    const auto fault = testsupport::ScopedFault::CopyFailsAfter("a.ppt", 0);
    ui::DialogScript script;
    SaveProfile("Teil");
    EXPECT_EQ(script.texts(), QStringList{"Es gibt Probleme beim Kopieren von Dateien"});
    EXPECT_EQ(script.shown().at(0).kind, ui::BoxKind::Error);
    EXPECT_TRUE(fs::exists(ProfileFolder("Teil") / "b.ppt"));
    EXPECT_FALSE(fs::exists(ProfileFolder("Teil") / "a.ppt"));
    EXPECT_EQ(form->LabelKopPPP->text(), "Fertig");
}

TEST_F(ProfilesTest, OtherCommandsAreRefusedWhileTheSetIsCopied)
{
    Build(localDe, {File("a.ppt", "a")});
    fs::create_directories(ProfileFolder("Alt"));
    form->AdvOfficePager1->setCurrentIndex(1);
    SelectProfile("Alt");
    // A delete of a profile asked for during the copy's wait: no question, nothing deleted.
    QTimer::singleShot(100, form.get(), [&] { form->MenuProfilLoeschenClick(); });
    const int refusedBefore = form->Gate().Refused();
    SaveProfile("Neu");
    EXPECT_GT(form->Gate().Refused(), refusedBefore);
    EXPECT_TRUE(fs::exists(ProfileFolder("Alt")));
    EXPECT_TRUE(fs::exists(ProfileFolder("Neu") / "a.ppt"));
}

TEST_F(ProfilesTest, InfoDialogShowsItsThreeLinesAndCloses)
{
    TFormInfo& info = windows->FormInfo;
    EXPECT_EQ(info.windowTitle(), "Info - Profile");
    EXPECT_EQ(info.size(), QSize(331, 100));
    EXPECT_EQ(info.Label1->text(), "In dieser Liste, Reiter \"Ausgewältes Profil\" können Sie eine");
    EXPECT_EQ(info.Label3->text(), "Klick Sie in der Liste auf die rechte Maustaste.");
    EXPECT_EQ(info.EncartaButtonOK->text(), "Schließen");
    bool shown = false;
    guitest::WithModal(
        info,
        [&] {
            shown = info.isVisible();
            info.EncartaButtonOK->click();
        },
        [&] { form->EncartaButtonInfoClick(); });
    EXPECT_TRUE(shown);
    EXPECT_FALSE(info.isVisible());
}
