// The rules of the line beneath the exchange: the echo a 2-wire bus brings back, the Telnet
// framing of a COM port server, the system's RS-485 mode as read back.
#include "port/echo_filter.h"
#include "port/rs485.h"
#include "port/telnet_codec.h"

#include <gtest/gtest.h>

#include <unistd.h>

using namespace lmx;

namespace {

std::string bytes(std::initializer_list<int> values)
{
    std::string out;
    for (const int v : values)
        out += static_cast<char>(v);
    return out;
}

} // namespace

TEST(EchoFilter, TakesExactlyThePacketsLengthOffTheFront)
{
    const std::string sent = "\x01" "05ABC" "\x04";
    struct Case {
        const char* name;
        EchoMode mode;
        std::vector<std::string> chunks; // as they arrive
        std::string answer;              // what follows the echo
        EchoFault::Kind fault;
        size_t at;                       // Collision: the byte, Missing: bytes received
    } const cases[] = {
        {"off: all is answer", EchoMode::Off, {sent + "ok"}, sent + "ok", EchoFault::Kind::None, 0},
        {"discard in one piece", EchoMode::Discard, {sent + "ok"}, "ok", EchoFault::Kind::None, 0},
        {"discard across chunks", EchoMode::Discard, {"\x01" "05", "ABC\x04" "o", "k"}, "ok", EchoFault::Kind::None, 0},
        // discard does not compare: a spoilt echo is still dropped, never the answer
        {"discard a spoilt echo", EchoMode::Discard, {"\x01" "0xABC\x04" "ok"}, "ok", EchoFault::Kind::None, 0},
        {"verify a faithful echo", EchoMode::Verify, {sent, "ok"}, "ok", EchoFault::Kind::None, 0},
        {"verify a spoilt echo", EchoMode::Verify, {"\x01" "05", "AbC\x04" "ok"}, "ok", EchoFault::Kind::Collision, 5},
        {"verify: first difference counts", EchoMode::Verify, {"x05AbC\x04"}, "", EchoFault::Kind::Collision, 1},
        {"an echo cut short", EchoMode::Verify, {"\x01" "05"}, "", EchoFault::Kind::Missing, 3},
        {"no echo at all", EchoMode::Discard, {}, "", EchoFault::Kind::Missing, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EchoFilter filter;
        filter.start(c.mode, sent);
        std::string answer;
        for (const std::string& chunk : c.chunks)
            answer += chunk.substr(filter.take(chunk.data(), chunk.size()));
        EXPECT_EQ(answer, c.answer);
        const EchoFault fault = filter.fault();
        EXPECT_EQ(fault.kind, c.fault);
        EXPECT_EQ(fault.kind == EchoFault::Kind::Collision ? fault.at : fault.received, c.at);
    }
}

TEST(EchoFilter, FaultsSayWhatCameBack)
{
    EchoFault collision{EchoFault::Kind::Collision, 7, 0, 0};
    EXPECT_EQ(collision.state(), "bus collision");
    EXPECT_EQ(collision.message(), "Bus collision: the echo differs from the packet at byte 7");
    EchoFault cut{EchoFault::Kind::Missing, 0, 3, 20};
    EXPECT_EQ(cut.state(), "no echo");
    EXPECT_EQ(cut.message(), "No echo: 3 of 20 bytes of the packet came back within the answer time");
    cut.received = 0;
    EXPECT_EQ(cut.message(), "No echo: the packet did not come back within the answer time");
    EXPECT_EQ(EchoFault{}.message(), "");
}

TEST(EchoFilter, ModesAreReadByTheirNames)
{
    for (const EchoMode mode : {EchoMode::Off, EchoMode::Discard, EchoMode::Verify}) {
        EchoMode read = EchoMode::Off;
        EXPECT_TRUE(parseEchoMode(echoModeName(mode), read) && read == mode);
    }
    EchoMode read = EchoMode::Verify;
    EXPECT_FALSE(parseEchoMode("Discard", read));
}

TEST(Telnet, TheLinesBytesTravelWithEveryFFDoubled)
{
    EXPECT_EQ(telnet::escape(bytes({0x01, 0xFF, 0x00, 0xFF, 0xFF})),
              bytes({0x01, 0xFF, 0xFF, 0x00, 0xFF, 0xFF, 0xFF, 0xFF}));
    // SET-BAUDRATE 65535 carries two FF bytes in its value
    EXPECT_EQ(telnet::comPortCommand(telnet::kSetBaudRate, telnet::bigEndian32(65535)),
              bytes({255, 250, 44, 1, 0, 0, 255, 255, 255, 255, 255, 240}));
}

TEST(Telnet, TheReaderSplitsDataFromCommandsWhereverTheReadsCut)
{
    // data, a doubled FF, WILL SGA, a SET-BAUDRATE answer holding a doubled FF, NOP, data
    const std::string stream = "ab" + bytes({255, 255, 255, 251, 3, 255, 250, 44, 101, 0, 0, 255, 255, 0,
                                             255, 240, 255, 241}) + "c";
    for (size_t cut = 0; cut <= stream.size(); ++cut) {
        telnet::Reader reader;
        std::string data;
        std::vector<telnet::Event> events;
        reader.feed(std::string_view(stream).substr(0, cut), data, events);
        reader.feed(std::string_view(stream).substr(cut), data, events);
        ASSERT_EQ(data, "ab" + bytes({255}) + "c") << cut;
        ASSERT_EQ(events.size(), 2u) << cut;
        EXPECT_TRUE(events[0].kind == telnet::Event::Kind::Will && events[0].option == 3);
        EXPECT_TRUE(events[1].kind == telnet::Event::Kind::Subnegotiation && events[1].option == 44);
        EXPECT_EQ(events[1].data, bytes({101, 0, 0, 255, 0})) << cut;
    }
}

TEST(Telnet, NegotiationAnswersOnlyWhatChangesAnOption)
{
    using K = telnet::Event::Kind;
    telnet::Negotiation n;
    EXPECT_EQ(n.start(), bytes({255, 251, 0, 255, 253, 0, 255, 251, 44}));
    struct Step {
        K kind;
        uint8_t option;
        std::string answer;
    } const steps[] = {
        {K::Will, 3, bytes({255, 253, 3})},   // suppress go-ahead: taken
        {K::Will, 3, ""},                     // again: no change, no answer
        {K::Do, 3, bytes({255, 251, 3})},
        {K::Will, 1, bytes({255, 254, 1})},   // the server's echo is refused
        {K::Dont, 1, ""},                     // never on: nothing to acknowledge
        {K::Do, 0, ""},                       // the answers to our own requests
        {K::Will, 0, ""},
        {K::Do, 24, bytes({255, 252, 24})},   // anything else: refused
    };
    for (const Step& s : steps) {
        EXPECT_EQ(n.answer({s.kind, s.option, {}}), s.answer) << int(s.kind) << " " << int(s.option);
        EXPECT_FALSE(n.ready());
    }
    EXPECT_EQ(n.answer({K::Do, 44, {}}), "");
    EXPECT_TRUE(n.ready());
    EXPECT_EQ(n.refused(), nullptr);
}

TEST(Telnet, AServerThatRefusesBinaryOrComPortControlIsNamed)
{
    using K = telnet::Event::Kind;
    const std::pair<telnet::Event, const char*> cases[] = {
        {{K::Dont, 44, {}}, "COM-PORT-OPTION"},
        {{K::Wont, 0, {}}, "BINARY"},
        {{K::Dont, 0, {}}, "BINARY"},
        {{K::Wont, 44, {}}, nullptr}, // the server's own side of the option is not needed
    };
    for (const auto& [event, name] : cases) {
        telnet::Negotiation n;
        n.start();
        n.answer(event);
        EXPECT_STREQ(n.refused(), name) << int(event.option);
        EXPECT_FALSE(n.ready());
    }
}

TEST(Rs485, WhatThePortReadsBackIsComparedWithWhatWasAsked)
{
    const Rs485Settings wanted{true, 5, 20};
    struct Case {
        Rs485Settings got;
        const char* difference;
    } const cases[] = {
        {{true, 5, 20}, ""},
        {{false, 5, 20}, "the port reads back RS-485 off"},
        {{true, 0, 20}, "the port reads back a delay before sending of 0 ms instead of 5"},
        {{true, 5, 100}, "the port reads back a delay after sending of 100 ms instead of 20"},
        {{true, 1, 2}, "the port reads back a delay before sending of 1 ms instead of 5, "
                       "a delay after sending of 2 ms instead of 20"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(rs485ReadBackDifference(wanted, c.got), c.difference);
}

TEST(Rs485, APortWithoutTheModeIsRefusedWithTheSystemsReason)
{
#ifdef __linux__
    // Not a terminal at all: the system says so, and the caller goes on without the mode.
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    EXPECT_EQ(applyRs485(fds[1], {true, 0, 0}), "Inappropriate ioctl for device");
    ::close(fds[0]);
    ::close(fds[1]);
#endif
    EXPECT_EQ(rs485WarningText("/dev/ttyUSB0", "why"),
              "The port /dev/ttyUSB0 does not take the RS-485 settings (why). The transmission "
              "goes on without them: the adapter must switch the line's direction itself.");
}
