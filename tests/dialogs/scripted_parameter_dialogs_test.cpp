// The fake's replies go through the dialogs' rules: callers' tests rely on it answering
// exactly what the real dialog would return.
#include "dialog_fixtures.h"
#include "tests/support/scripted_parameter_dialogs.h"

#include <gtest/gtest.h>

TEST(ScriptedParameterDialogs, RecordsCallsAnswersThroughTheRulesAndCountsRefusals)
{
    ScriptedParameterDialogs d;
    d.setNextReply(ScriptedParameterDialogs::type({"80"}));
    d.setNextReply(ScriptedParameterDialogs::type({"7"}));
    d.setNextReply(ScriptedParameterDialogs::ok());
    d.setNextReply(ScriptedParameterDialogs::type({"1 2 3 4"}));

    const AskResult v = d.AskValue({AskMode::InsertHex2, "Hex. Vertical Position ", 127, 0, -128, {}, false});
    EXPECT_TRUE(v.confirmed);
    EXPECT_EQ(v.quoted, "'80'");
    TSingleBox wait = fixtures::packetWait();
    EXPECT_TRUE(d.AskSingle(wait));
    EXPECT_EQ(wait.CurrValStr, "00007");
    const AskResult f = d.AskFields("Configure Display (All in Hex)", fixtures::displayConfiguration());
    EXPECT_EQ(f.raw.substr(0, 6), "010808");
    THexData hex{"Insert Hexadecimal Data", "", ""};
    EXPECT_TRUE(d.AskHexData(hex));
    EXPECT_EQ(hex.HexData, "12 34");

    EXPECT_EQ(d.calls(), (std::vector<std::string>{"AskValue", "AskSingle", "AskFields", "AskHexData"}));
    EXPECT_EQ(d.askValueCalls().at(0).minimum, -128);
    EXPECT_EQ(d.singleCalls().at(0).CurrentValue, 5000); // the record as it was handed in
    EXPECT_EQ(d.unexpected(), 0);
    EXPECT_EQ(d.refused(), 0);

    // A reply the dialog would refuse, and a call with nothing queued.
    d.setNextReply(ScriptedParameterDialogs::type({"7"})); // watchdog flag "7": invalid
    auto w = fixtures::watchDog();
    EXPECT_FALSE(d.AskTriple(w[0], w[1], w[2]));
    EXPECT_EQ(d.refused(), 1);
    TBrightData b{"BrightNess Table (in percentages)", "3456789ABCDEFFFF", TVersion::V300};
    EXPECT_FALSE(d.AskBrightness(b)); // nothing queued: cancelled
    EXPECT_EQ(d.unexpected(), 1);
    EXPECT_EQ(b.Data, "3456789ABCDEFFFF");
}
