// The rules of the line beneath the exchange: the echo a 2-wire bus brings back, the Telnet
// framing of a COM port server, the system's RS-485 mode as read back.
#include "port/echo_filter.h"
#include "port/rs485.h"
#include "port/telnet_codec.h"

#include <gtest/gtest.h>

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
        // discard does not compare: a spoilt echo is still dropped, never the answer
        {"discard a spoilt echo", EchoMode::Discard, {"\x01" "0xABC\x04" "ok"}, "ok", EchoFault::Kind::None, 0},
        {"verify a faithful echo", EchoMode::Verify, {sent, "ok"}, "ok", EchoFault::Kind::None, 0},
        {"verify a spoilt echo", EchoMode::Verify, {"\x01" "05", "AbC\x04" "ok"}, "ok", EchoFault::Kind::Collision, 5},
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
