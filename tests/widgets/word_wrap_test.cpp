#include "widgets/word_wrap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The pieces at `width` columns, or at `width` pixels with these character widths.
std::vector<std::string> pieces(const std::string& text, int width, const CharWidths* widths = nullptr)
{
    const std::string wrapped = widths ? wordWrap(text, *widths, width) : wordWrap(text, width);
    std::vector<std::string> out;
    for (std::string_view p : wrappedPieces(wrapped))
        out.emplace_back(p);
    return out;
}

using Pieces = std::vector<std::string>;

} // namespace

TEST(WordWrap, BreaksAfterBlanksTabsAndHyphensAndCutsLongWordsAtWidthMinusOne)
{
    const std::string x(50, 'x'), a(30, 'a');
    const std::tuple<std::string, int, Pieces> cases[] = {
        {x, 20, {x.substr(31), x.substr(31), x.substr(38)}},
        {"alpha beta gamma delta", 12, {"alpha beta ", "gamma delta"}},
        {"first-second-third", 10, {"first-", "second-", "third"}},
        {"one\ttwo\tthree", 6, {"one\t", "two\t", "three"}},
        // Apostrophes are ordinary characters: a quoted parameter is broken like any text.
        {"'" + a + "'", 11, {"'" + a.substr(21), a.substr(20), a.substr(20), "a'"}},
        {a, 3, Pieces(15, "aa")},
        {"one\r\ntwo", 40, {"one", "two"}}, // existing line breaks are kept
        {"short", 40, {"short"}},
        {"", 40, {""}},
    };
    for (const auto& [text, width, expected] : cases)
        EXPECT_EQ(pieces(text, width), expected) << text << " at " << width;
}

TEST(WordWrap, QuotedTextExistingBreaksAndDegenerateWidthsAreNeverBroken)
{
    const std::string quoted = "\"" + std::string(40, 'q') + " with blanks - and hyphens\"";
    const Pieces ps = pieces("ab " + quoted + " tail", 12);
    ASSERT_GE(ps.size(), 2u);
    bool whole = false;
    for (const std::string& p : ps)
        whole |= p.find(quoted) != std::string::npos;
    EXPECT_TRUE(whole);
    // A CR LF inside quotes is text, not a break of the wrap.
    EXPECT_EQ(wordWrap("\"a\r\nb\"", 40), "\"a\r\nb\"");
    // Existing line breaks, and widths too small to break at, leave the text as it stands.
    EXPECT_EQ(pieceCount(wordWrap("a\r\nb\r\nc", 40)), 3);
    const std::string text(30, 'z');
    for (int width : {-5, 0, 1, 2})
        EXPECT_EQ(wordWrap(text, width), text) << width;
}

TEST(WordWrap, LineHeightsByMeasuredWidthsAndByColumns)
{
    CharWidths widths;
    widths.fill(1.0);
    widths['W'] = 3.0;
    const std::pair<std::string, Pieces> cases[] = {
            {"WWW iii", {"WWW ", "iii"}}, // seven characters, eleven pixels
            {"WWWWWWW", {"WWW", "WWW", "W"}}, {"iiiiiiiii -", {"iiiiiiiii ", "-"}}, {"iii WW", {"iii WW"}}};
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(pieces(text, 10, &widths), expected) << text;
        EXPECT_EQ(wrappedLineHeight(text, widths, 10, 13, false), 13 * int(expected.size()));
    }
    // The height counts the pieces, adds the frames and stops at 255.
    EXPECT_EQ(wrappedLineHeight("short", 40, 13, false), 13);
    EXPECT_EQ(wrappedLineHeight("short", 40, 13, true), 15);
    EXPECT_EQ(wrappedLineHeight(std::string(50, 'x'), 20, 13, false), 39);
    EXPECT_EQ(wrappedLineHeight(std::string(4000, 'x'), 20, 13, false), kMaxLineHeight);
    EXPECT_EQ(wrappedLineHeight(std::string(4000, 'x'), 20, 13, true), kMaxLineHeight);
    // Short lines are measured without wrapping them: the same height at every length and
    // width around the last column.
    for (const std::string base : {"x", "a b", "a\r\nb", "\"q q\"", "a-"})
        for (int width = 0; width < 12; ++width)
            for (std::string text = base; text.size() < 14; text += 'y')
                EXPECT_EQ(wrappedLineHeight(text, width, 13, false),
                          std::min(pieceCount(wordWrap(text, width)) * 13, kMaxLineHeight))
                    << text << " " << width;
}
