#include "sim/sim_arguments.h"

#include <gtest/gtest.h>
#include <tuple>

using namespace lmx::sim;

namespace {

bool parse(std::vector<std::string> args, SimArguments& a, std::string* error = nullptr)
{
    std::string e;
    const bool ok = parseSimArguments(args, a, e);
    if (error)
        *error = e;
    return ok;
}

} // namespace

TEST(SimArguments, ReadsEveryOptionAndRefusesWhatCannotWork)
{
    SimArguments a;
    // both spellings; a repeated network number counts once and replaces the default
    ASSERT_TRUE(parse({"--netnr", "5", "--netnr=18", "--netnr", "5", "--fault", "code=1A",
                       "--fault-every=3", "--port", "/dev/ttyUSB0", "--baud", "9600"},
                      a));
    EXPECT_EQ(a.options.netNrs, (std::vector<uint8_t>{5, 18}));
    EXPECT_EQ(a.options.fault, FaultKind::Code);
    EXPECT_EQ(a.options.faultCode, 0x1A);
    EXPECT_EQ(a.options.faultEvery, 3u);
    EXPECT_EQ(a.baud, 9600u);
    // everything after -- is the command to run, options of its own included
    ASSERT_TRUE(parse({"--show", "--", "lmx", "send", "--port", "/tmp/lmx0"}, a));
    EXPECT_EQ(a.command, (std::vector<std::string>{"lmx", "send", "--port", "/tmp/lmx0"}));

    SimArguments d;
    ASSERT_TRUE(parse({}, d));
    EXPECT_EQ(d.options.netNrs, (std::vector<uint8_t>{1}));
    EXPECT_FALSE(d.listen);

    // a TCP port on the loopback unless a host is named
    const std::tuple<const char*, const char*, uint16_t> listens[] = {
        {"4001", "127.0.0.1", 4001}, {"0.0.0.0:0", "0.0.0.0", 0}, {"[::1]:65535", "::1", 65535}};
    for (const auto& [text, host, port] : listens) {
        SimArguments l;
        ASSERT_TRUE(parse({"--listen", text}, l)) << text;
        EXPECT_TRUE(l.listen && l.listenHost == host && l.listenPort == port) << text;
    }

    // every fault name reads back as itself
    for (const char* kind : {"no-answer", "bad-crc", "wrong-netnr", "wrong-seq", "bad-length",
                             "truncated", "garbage", "split", "slow", "cycle"}) {
        SimArguments f;
        ASSERT_TRUE(parse({"--fault", kind}, f)) << kind;
        EXPECT_EQ(faultName(f.options.fault), kind);
    }

    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
             // 0 is the broadcast address
             {"--netnr", "0"}, {"--netnr", "256"}, {"--netnr", "x"}, {"--netnr"},
             {"--fault", "loud"}, {"--fault", "code=123"}, {"--fault", "code=G1"},
             {"--fault-every", "0"},
             {"--fault", "bad-crc", "--fault-rate", "1.5"}, {"--fault", "bad-crc", "--fault-rate", "5%"},
             {"--fault", "bad-crc", "--fault-rate", "."}, {"--fault", "bad-crc", "--fault-rate", "-0.1"},
             {"--fault-rate", "0.5"},                      // no fault to put in
             {"--fault", "bad-crc", "--fault-rate", "0.5", "--fault-every", "2"}, // two choices
             {"--fault", "bad-crc", "--seed", "4"},        // no rate to seed
             {"--fault", "bad-crc", "--fault-rate", "0.5", "--seed", "-1"},
             {"--slow-delay", "-1"},
             {"--baud", "9600"},         // without --port
             {"--port", "/dev/ttyS0", "--baud", "12345"},
             {"--normal", "--fault", "bad-crc"},
             {"--normal", "--fault", "code=03"}, // no result character for it
             {"--listen", "65536"}, {"--listen", ":4001"}, {"--listen", "[::1"}, {"--listen", "::1:4001"},
             {"--listen", "4001", "--port", "/dev/ttyS0"}, // two lines at once
             {"--listen", "4001", "--link", "/tmp/x"},
             {"--verbose"},
             {"--show", "--"},           // no command after --
         }) {
        SimArguments a;
        std::string error;
        EXPECT_FALSE(parse(bad, a, &error)) << ::testing::PrintToString(bad);
        EXPECT_FALSE(error.empty());
    }
    SimArguments r;
    ASSERT_TRUE(parse({"--fault", "no-answer", "--fault-rate=.25", "--seed", "999999999"}, r));
    EXPECT_EQ(r.options.faultRate, std::optional<double>(0.25));
    EXPECT_EQ(r.options.faultSeed, 999999999u);
    SimArguments n;
    EXPECT_TRUE(parse({"--normal", "--fault", "code=15"}, n));
    EXPECT_TRUE(parse({"--normal", "--fault", "cycle"}, n)); // keeps to the kinds that fit
}
