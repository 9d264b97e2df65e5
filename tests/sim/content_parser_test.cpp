#include "sim_test_support.h"

#include "sim/content_parser.h"
#include "sim/line_format.h"

#include "protocol/answer.h"
#include "protocol/hex.h"

#include <gtest/gtest.h>

using namespace lmx;
using namespace lmx::sim;
using namespace lmx::sim::testing;

namespace {

// The code a display gives for `content` sent as one whole series.
int codeOf(const std::string& content)
{
    DisplayState display;
    ContentParser parser;
    const auto r = parser.feed(content, display, 0);
    return r.code != 0 ? r.code : parser.endOfSeries();
}

std::string esc(uint8_t command, const std::string& param)
{
    std::string s = "\x1B";
    s += static_cast<char>(command);
    s += param;
    if (command >= 0xE0)
        s += '\x0C';
    return s;
}

const std::string kConfig = "010808" + std::string(28, '0');

} // namespace

TEST(SimContent, CodesForWhatADisplayCannotAcceptAndTheBoundedMemory)
{
    struct Case {
        std::string content;
        int code;
    } cases[] = {
        {"Hello, world", 0x00},
        {"caf\xE9", 0x00},                        // Latin-1 text
        {"\x7F", 0x14},
        {esc(0x30, ""), 0x13},                    // below the escape range
        {esc(0x81, ""), 0x13},
        {esc(0xA0, "9"), 0x00},
        {esc(0xA0, "A"), 0x15},                   // font 0..9
        {esc(0xA0, "a"), 0x11},                   // upper-case hex only
        {esc(0xA2, "0"), 0x15},                   // sizes start at 1
        {esc(0xA1, "3") + esc(0xA3, "2") + esc(0xA4, "1") + esc(0xA5, "7") + esc(0xA7, "F"), 0},
        {esc(0xA1, "4"), 0x15},
        {esc(0xC0, "99"), 0x00},
        {esc(0xC1, "9A"), 0x15},                  // effects 00..99 hex
        {esc(0xE2, "FFF"), 0x00},
        {esc(0xE2, "FF"), 0x17},
        {"\x1B\xE2" "FFFF", 0x17},                // too long before its end of command
        {esc(0xE6, "231224183000"), 0x00},
        {esc(0xE6, "231324183000"), 0x15},        // month 13
        {esc(0xE6, "2312241830AA"), 0x11},        // decimal digits only
        {esc(0xE5, "2500"), 0x15},
        {esc(0xE4, kConfig), 0x00},
        {esc(0xE4, "09" + kConfig.substr(2)), 0x15},  // at most 8 boards
        {esc(0xE4, "0111" + kConfig.substr(4)), 0x15}, // line heights 0..10 hex
        {esc(0xE0, "3456789ABCDEFFFF"), 0x00},
        {esc(0xE0, "1F0405060708090A0B0C0D0E0F0F0F0F"), 0x15},
        {esc(0xE0, std::string(20, '3')), 0x17},
        {esc(0xE1, "070064"), 0x00},
        {esc(0xE1, "080001"), 0x15},
        {esc(0xE1, "000065"), 0x15},              // message number above 100
        {esc(0xE1, "00000"), 0x17},
        {esc(0xA6, "5"), 0x15},
        {esc(0xA6, "x"), 0x11},
        {"\x02" "01" "Hi" "\x0E" "02" "\x0A" "03" "x" "\x0D" "\x0F" "\x03", 0x00},
        {"\x02" "64" "\x03", 0x00},
        {"\x02" "65", 0x12},                      // numbers 0..100
        {"\x02" "0g", 0x11},
        {"\x03", 0x10},                           // end without start
        {"\x0E" "01", 0x10},                      // page outside a message
        {"\x02" "01" "\x0A" "01", 0x10},          // line outside a page
        {"\x02" "01" "\x02" "02", 0x10},          // messages do not nest
        {"\x02" "01" "\x0E" "01" "\x03", 0x10},   // message ended with its page open
        {"\x01", 0x10},
        {"\x09" "\x1B\xA0" "1", 0x10},            // the key marker never leaves the editor
        {std::string(1, '\0'), 0x10},
        {"\x07" "00250" "\x08" "10000", 0x00},
        {"\x07" "0025x", 0x11},
        {"\x1B", 0x17},                           // cut off at the end of the series
        {"\x02" "0", 0x17},
        {"\x02" "01" "open at the end", 0x00},    // blocks may span series
    };
    for (const auto& c : cases)
        EXPECT_EQ(codeOf(c.content), c.code) << normalisedHexText(c.content);

    // the memory is bounded: text fills it exactly, then the next byte is refused
    DisplayState display;
    ContentParser parser;
    EXPECT_EQ(parser.feed(std::string(kTextMemory - kBlockCost, 'a'), display, 0).code, 0);
    EXPECT_EQ(parser.feed("b", display, 0).code, 0x16);
    EXPECT_EQ(display.memoryUsed, kTextMemory);

    // empty blocks cost memory too, so endless block markers cannot grow it
    DisplayState blocks;
    std::string many = "\x02" "01" "\x0E" "01";
    for (int i = 0; i <= kMaxBlockNumber; ++i)
        many += "\x0A" + byteToHex(static_cast<uint8_t>(i)) + "\x0D";
    many += "\x0F";
    size_t messages = 0;
    uint8_t code = 0;
    for (; code == 0 && messages < 1000; ++messages) {
        std::string m = many;
        m.replace(1, 2, byteToHex(static_cast<uint8_t>(messages % 100)));
        m.replace(3 + 1, 2, byteToHex(static_cast<uint8_t>(messages / 100)));
        code = ContentParser().feed(m, blocks, 0).code;
    }
    EXPECT_EQ(code, 0x16);
    EXPECT_LE(blocks.memoryUsed, kTextMemory);
}

TEST(SimContent, CutAnywhereAcrossASeriesChangesNothing)
{
    const std::string valid = "\x02" "01" "\x0E" "01" "\x0A" "01" "Hi" "\x1B\xA0" "2"
                              "\x1B\xE6" "231224183000" "\x0C" "x" "\x0D" "\x0F" "\x03";
    const std::string faulty = "\x02" "01" "ab" "\x1B\xC1" "9A" "cd" "\x03";
    SimDevice whole(optionsFor({1}));
    ASSERT_EQ(resultOf(whole, packet(1, 0, valid), 1, 0), 0);
    for (size_t cut = 0; cut <= valid.size(); ++cut) {
        SimDevice device(optionsFor({1}));
        EXPECT_EQ(resultOf(device, packet(1, 0x40, valid.substr(0, cut)), 1, 0x40), 0) << cut;
        EXPECT_EQ(resultOf(device, packet(1, 0x81, valid.substr(cut)), 1, 0x81), 0) << cut;
        EXPECT_EQ(device.displays()[0].texts, whole.displays()[0].texts) << cut;
        EXPECT_EQ(device.displays()[0].settings, whole.displays()[0].settings) << cut;
    }
    for (size_t cut = 0; cut <= faulty.size(); ++cut) {
        SimDevice device(optionsFor({1}));
        resultOf(device, packet(1, 0x40, faulty.substr(0, cut)), 1, 0x40);
        // whichever packet holds the fault, the series ends with its code
        EXPECT_EQ(resultOf(device, packet(1, 0x81, faulty.substr(cut)), 1, 0x81), 0x15) << cut;
        // and the next series starts clean
        EXPECT_EQ(resultOf(device, packet(1, 0, "ok"), 1, 0), 0) << cut;
    }
}

TEST(SimContent, WhatTheDisplayShows)
{
    SimDevice device(optionsFor({3}));
    resultOf(device, packet(3, 0, "\x02" "01" "\x0E" "01" "\x0A" "01" "old" "\x0D" "\x0F" "\x03"), 3, 0);
    resultOf(device, packet(3, 0, "\x02" "02" "A\x1E" "B" "\x03" "\x02" "04" "\x03"), 3, 0);
    // sent again, message 1 replaces all it held; text outside messages is the display's own
    resultOf(device, packet(3, 0, "\x02" "01" "\x0E" "02" "new" "\x0F" "\x03" "top" "\x1B\xA1" "2"), 3, 0);
    const std::vector<std::string> expected = {
        "SHOW netnr=3 message=- page=- line=- text='top'",
        "SHOW netnr=3 message=01 page=02 line=- text='new'",
        "SHOW netnr=3 message=02 page=- line=- text='A\\x1EB'",
        "SHOW netnr=3 message=04 page=- line=- text=''",
        "SETTING netnr=3 command='ESC Color' value='2'",
    };
    EXPECT_EQ(showLines(device.displays()[0]), expected);

    resultOf(device, packet(3, 0, "\x1B\x80"), 3, 0); // delete
    EXPECT_TRUE(device.displays()[0].texts.empty());
}

TEST(SimInquiries, AnswerWithDataOfTheirOwn)
{
    SimOptions o = optionsFor({1});
    std::time_t wall = 1700000000;
    o.wallClock = [&wall] { return wall; };
    SimDevice device(o);
    auto inquire = [&](char which) {
        const std::string answer = joined(device.receive(packet(1, 0, std::string("\x1B\xA6") + which), 0));
        const AnswerParse p = parseExtendedAnswer(answer, 1, 0);
        EXPECT_TRUE(p.ok);
        const AnswerParse d = parseAnswerData(p.data);
        EXPECT_TRUE(d.ok && d.answerOk());
        EXPECT_EQ(d.paramText, "$01");
        return p.data.substr(4);
    };
    EXPECT_EQ(inquire('2'), kVersionText);
    EXPECT_EQ(inquire('4'), kConfig);
    EXPECT_EQ(inquire('3').size(), 12u);

    resultOf(device, packet(1, 0, esc(0xE6, "231231235930") + esc(0xE4, "0410100000" + std::string(24, '0'))), 1, 0);
    wall += 95; // the clock runs on from the time it was set
    EXPECT_EQ(inquire('3'), "240101000105");
    EXPECT_EQ(inquire('4'), "0410100000" + std::string(24, '0'));
    EXPECT_EQ(inquire('1').rfind("Ready", 0), 0u);

    // two inquiries in one packet answer in the order asked; a fault drops the data
    const std::string both = joined(device.receive(packet(1, 0, "\x1B\xA6" "2" "\x1B\xA6" "4"), 0));
    EXPECT_EQ(parseExtendedAnswer(both, 1, 0).data, "0001" + std::string(kVersionText) + "0410100000" + std::string(24, '0'));
    EXPECT_EQ(resultOf(device, packet(1, 0, "\x1B\xA6" "2" "\x1B\xA0" "A"), 1, 0), 0x15);
}
