// What every lmx command line shares.
#include "cli/command_line.h"

#include <gtest/gtest.h>

using Args = std::vector<std::string>;

TEST(CommandLine, JoinedValuesAreTakenAsSeparateOnes)
{
    const std::pair<Args, Args> cases[] = {
        {{"--port=/dev/ttyUSB0", "a.lmx"}, {"--port", "/dev/ttyUSB0", "a.lmx"}},
        {{"--netnr=1-3", "--report=r=1.jsonl"}, {"--netnr", "1-3", "--report", "r=1.jsonl"}},
        {{"--port="}, {"--port", ""}},
        // only the joined form gives --rs485 its delays
        {{"--rs485=5,5", "--rs485"}, {"--rs485=5,5", "--rs485"}},
        // names, not options: a file, a single dash, anything after "--"
        {{"a=b.lmx", "-x=1", "--", "--port=x"}, {"a=b.lmx", "-x=1", "--", "--port=x"}},
        {{"--=x"}, {"--=x"}},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(cli::withSeparateValues(in), out) << ::testing::PrintToString(in);
}
