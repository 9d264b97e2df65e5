#include "files/object_notation.h"

#include <gtest/gtest.h>

using namespace lmx;

namespace {

std::string stringLine(std::string_view value, ApostropheStyle style = ApostropheStyle::Coded)
{
    ObjectNotationWriter w(style);
    w.string("S", value);
    return w.text();
}

// The value the reader gets back from one written string property.
std::string readBack(const std::string& written)
{
    std::vector<NotationObject> objects;
    EXPECT_TRUE(parseObjectNotation("object T\r\n" + written + "end\r\n", objects)) << written;
    std::string value;
    if (objects.size() == 1 && objects[0].properties.size() == 1) {
        EXPECT_TRUE(notationString(objects[0].properties[0].value, value));
    }
    return value;
}

} // namespace

TEST(ObjectNotationWriter, StringPiecesAndLongStringsSplitEvery64Characters)
{
    EXPECT_EQ(stringLine("Key 1"), "  S = 'Key 1'\r\n");
    EXPECT_EQ(stringLine("it's", ApostropheStyle::Doubled), "  S = 'it''s'\r\n");

    // long strings are split every 64 characters
    const std::string exactly64(64, 'a');
    EXPECT_EQ(stringLine(exactly64), "  S = '" + exactly64 + "'\r\n");

    const std::string hundred = std::string(63, 'a') + "\x01" + std::string(36, 'b');
    EXPECT_EQ(stringLine(hundred), "  S = \r\n    '" + std::string(63, 'a') + "'#1 +\r\n    '"
                                       + std::string(36, 'b') + "'\r\n");

    const std::string long130(130, 'x');
    EXPECT_EQ(stringLine(long130), "  S = \r\n    '" + std::string(64, 'x') + "' +\r\n    '"
                                       + std::string(64, 'x') + "' +\r\n    'xx'\r\n");
    // a split never falls inside a doubled apostrophe
    const std::string quotes(70, '\'');
    EXPECT_EQ(readBack(stringLine(quotes, ApostropheStyle::Doubled)), quotes);
}

TEST(ObjectNotationReader, BlocksInAnyLayoutCheckedValueKindsAndBrokenSyntaxRefused)
{
    std::vector<NotationObject> objects;
    int32_t i = 0;
    bool b = false;
    std::string s;
    ASSERT_TRUE(parseObjectNotation(
        "OBJECT Name: TFirst\n   b = -12\r\n\ta=TRUE  c.d = 'x' + #13\r\n  e = 1.5e3 f = [x, y]"
        "\nEnd\nobject TSecond end  ",
        objects));
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(objects[0].className, "TFirst");
    ASSERT_EQ(objects[0].properties.size(), 5u);
    EXPECT_TRUE(notationInt32(objects[0].properties[0].value, i) && i == -12);
    EXPECT_TRUE(notationBool(objects[0].properties[1].value, b) && b);
    EXPECT_EQ(objects[0].properties[2].name, "c.d");
    EXPECT_TRUE(notationString(objects[0].properties[2].value, s) && s == "x\r");
    EXPECT_EQ(objects[0].properties[3].value.kind, NotationValue::Kind::Float);
    EXPECT_EQ(objects[0].properties[4].value.kind, NotationValue::Kind::Set);
    EXPECT_TRUE(objects[1].properties.empty());

    ASSERT_TRUE(parseObjectNotation("object T\n a = 2147483647 b = -2147483648 c = 2147483648 "
                                    "d = 99999999999999999999999 e = $FF f = 'T' g = Yes end",
                                    objects));
    const auto& p = objects[0].properties;
    EXPECT_TRUE(notationInt32(p[0].value, i) && i == 2147483647);
    EXPECT_TRUE(notationInt32(p[1].value, i) && i == -2147483647 - 1);
    EXPECT_TRUE(notationInt32(p[4].value, i) && i == 255);
    // Beyond 32 bits, a string as a number, a string or a word as a truth value.
    EXPECT_FALSE(notationInt32(p[2].value, i) || notationInt32(p[3].value, i)
                 || notationInt32(p[5].value, i));
    EXPECT_FALSE(notationBool(p[5].value, b) || notationBool(p[6].value, b)
                 || notationString(p[0].value, s));

    // broken syntax is refused
    for (const char* text : {
             "object T\n a = 1\n",           // no end
             "object T\n a 1\nend",          // no =
             "object T\n a = 'open\nend",    // string over a line end
             "object T\n a = 'x' 'y'\nend",  // two strings without +
             "object T\n a = 'x' +\nend",    // + without a string
             "object T\n a = #\nend",        // # without digits
             "object T\n a = #256\nend",     // beyond 8 bits
             "object T\n a = [x\nend",
             "object T\n object U end\nend", // nested blocks
             "T\n a = 1\nend",
             "object\n",
             "object T\n a = \x01\nend",
             "end",
         })
        EXPECT_FALSE(parseObjectNotation(text, objects)) << text;
    EXPECT_TRUE(parseObjectNotation("", objects));
    EXPECT_TRUE(objects.empty());
}
