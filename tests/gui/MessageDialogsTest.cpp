#include "ui/MessageDialogs.h"

#include <gtest/gtest.h>

TEST(MessageDialogs, ScriptedAnswersAreTakenInOrderAndTextsRecorded)
{
    ui::DialogScript script;
    script.answerConfirm(true);
    script.answerConfirm(false);
    EXPECT_TRUE(ui::Confirm("erste\rFrage"));
    ui::Information("Biite eine Datei markieren.");
    EXPECT_FALSE(ui::Confirm("zweite"));
    EXPECT_FALSE(ui::Confirm("dritte")); // no answer left: No, and counted
    EXPECT_EQ(script.texts(),
              QStringList({"erste\rFrage", "Biite eine Datei markieren.", "zweite", "dritte"}));
    EXPECT_EQ(script.shown()[1].kind, ui::BoxKind::Information);
    EXPECT_EQ(script.unusedAnswers(), 0);
    EXPECT_EQ(script.unexpectedBoxes(), 1);
}

TEST(MessageDialogs, CarriageReturnsBecomeLineBreaksOnScreen)
{
    EXPECT_EQ(ui::DisplayText("a\rb\r\rc"), "a\nb\n\nc");
}
