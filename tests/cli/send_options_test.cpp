// The repeat options of lmx send: what they make of the runs, and what they refuse.
#include "cli/cli_options.h"

#include <gtest/gtest.h>

namespace {

OptionsRead read(std::vector<std::string> args, SendOptions& out, std::string& error)
{
    args.push_back("list.lmx");
    return parseSendOptions(args, out, error);
}

} // namespace

TEST(SendRepeatOptions, MakeThePlanOfTheRuns)
{
    struct Case {
        std::vector<std::string> args;
        lmx::RepeatPlan plan;
        bool receiveLines;
    };
    const Case cases[] = {
        {{}, {1, 0, 0, 0}, true},
        {{"--repeat", "200"}, {200, 0, 0, 0}, false},
        {{"--repeat", "1"}, {1, 0, 0, 0}, true}, // a single run, as ever
        {{"--repeat", "0", "--max-failures", "1"}, {0, 0, 0, 1}, false},
        {{"--duration", "20s", "--interval", "500"}, {0, 20000, 500, 0}, false},
        {{"--repeat", "10", "--duration", "1h30m"}, {10, 5400000, 0, 0}, false},
        {{"--repeat", "3", "--verbose"}, {3, 0, 0, 0}, true},
    };
    for (const Case& c : cases) {
        SendOptions o;
        std::string error;
        ASSERT_EQ(read(c.args, o, error), OptionsRead::Ok) << error;
        EXPECT_EQ(o.repeatPlan(), c.plan) << ::testing::PrintToString(c.args);
        EXPECT_EQ(o.receiveLines(), c.receiveLines) << ::testing::PrintToString(c.args);
    }
}

TEST(SendRepeatOptions, RefuseWhatCannotWorkWithAReason)
{
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"--repeat", "-1"}, "--repeat takes a number of runs 0..1000000000"},
        {{"--repeat", "many"}, "--repeat takes a number of runs 0..1000000000"},
        {{"--duration", "20"}, "--duration takes a time of 1s up to 366d such as 90s, 30m, 8h or 1h30m, not '20'"},
        {{"--repeat", "5", "--interval", "86400001"}, "--interval takes milliseconds 0..86400000"},
        {{"--repeat", "5", "--max-failures", "0"}, "--max-failures takes a number of failed runs 1..1000000000"},
        {{"--interval", "500"}, "--interval applies to repeat runs: give --repeat or --duration too"},
        {{"--max-failures", "2"}, "--max-failures applies to repeat runs: give --repeat or --duration too"},
    };
    for (const auto& [args, reason] : cases) {
        SendOptions o;
        std::string error;
        EXPECT_EQ(read(args, o, error), OptionsRead::Error) << reason;
        EXPECT_EQ(error.rfind(reason, 0), 0u) << error;
    }
}
