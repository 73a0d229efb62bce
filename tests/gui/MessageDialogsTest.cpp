#include "ui/MessageDialogs.h"
#include "Modal.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

using namespace std::chrono_literals;

TEST(MessageDialogs, ScriptedAnswersAreTakenInOrderAndTextsRecorded)
{
    ui::DialogScript script;
    script.answerConfirm(true);
    script.answerConfirm(false);
    script.answerFolder("/tmp/gewählt");
    EXPECT_TRUE(ui::Confirm("erste\rFrage"));
    ui::Information("Biite eine Datei markieren.");
    EXPECT_FALSE(ui::Confirm("zweite"));
    EXPECT_EQ(ui::BrowseForFolder("/start"), "/tmp/gewählt");
    EXPECT_EQ(script.texts(),
              QStringList({"erste\rFrage", "Biite eine Datei markieren.", "zweite", "/start"}));
    EXPECT_EQ(script.shown()[1].kind, ui::BoxKind::Information);
    EXPECT_EQ(script.shown()[3].kind, ui::BoxKind::FolderPicker);
}

// The seam fails the test that leaves something unchecked, and says what.
TEST(MessageDialogs, AScriptFailsTheTestThatLeavesAnAnswerUnusedOrABoxUnread)
{
    EXPECT_NONFATAL_FAILURE(
        {
            ui::DialogScript script;
            script.answerConfirm(true);
        },
        "1 queued answer(s) left unused");
    EXPECT_NONFATAL_FAILURE(
        {
            ui::DialogScript script;
            EXPECT_TRUE(script.texts().isEmpty());
            ui::Error("Datei konnte nicht kopiert werden.");
        },
        "a box the test did not look at: error \"Datei konnte nicht kopiert werden.\"");
    EXPECT_NONFATAL_FAILURE(
        {
            ui::DialogScript script;
            script.answerFolder("/tmp");
            EXPECT_FALSE(ui::Confirm("Frage")); // the folder is not an answer to it
            EXPECT_EQ(script.texts().size(), 1);
            script.allowUnusedAnswers();
        },
        "a box found no queued answer of its kind: question \"Frage\"");
    EXPECT_NONFATAL_FAILURE(ui::Information("ohne Skript"), "while no dialog script was active");
}

TEST(MessageDialogs, TheOptOutsAreExplicit)
{
    ui::DialogScript script;
    script.answerConfirm(true);
    script.allowUnusedAnswers();
    script.ignoreBoxes();
    ui::Information("nicht geprüft");
}

TEST(MessageDialogs, AModalDialogThatNeverClosesFailsTheTestInsteadOfHanging)
{
    EXPECT_NONFATAL_FAILURE(
        {
            QDialog dialog;
            dialog.setWindowTitle("bleibt offen");
            const int result = guitest::WithModal(
                dialog, [] {}, [&] { return dialog.exec(); }, 50ms);
            EXPECT_EQ(result, QDialog::Rejected);
        },
        "the modal dialog \"bleibt offen\" was still open after 50 ms");
    EXPECT_NONFATAL_FAILURE(
        {
            QDialog dialog;
            guitest::WithModal(
                dialog, [] {}, [] {});
        },
        "never showed");
}

TEST(MessageDialogs, CarriageReturnsBecomeLineBreaksOnScreen)
{
    EXPECT_EQ(ui::DisplayText("a\rb\r\rc"), "a\nb\n\nc");
}
