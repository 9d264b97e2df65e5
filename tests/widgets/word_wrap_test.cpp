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

std::vector<size_t> lengths(const std::vector<std::string>& ps)
{
    std::vector<size_t> out;
    for (const std::string& p : ps)
        out.push_back(p.size());
    return out;
}

using Pieces = std::vector<std::string>;

} // namespace

TEST(WordWrap, ALongWordIsCutIntoPiecesOfWidthMinusOne)
{
    EXPECT_EQ(lengths(pieces(std::string(50, 'x'), 20)), std::vector<size_t>({19, 19, 12}));
    // Nothing is lost or added but the breaks.
    const std::string text(50, 'x');
    std::string joined;
    for (const std::string& p : pieces(text, 20))
        joined += p;
    EXPECT_EQ(joined, text);
}

TEST(WordWrap, BreaksAfterBlanksTabsAndHyphensButNotAfterApostrophes)
{
    EXPECT_EQ(pieces("alpha beta gamma delta", 12), Pieces({"alpha beta ", "gamma delta"}));
    EXPECT_EQ(pieces("first-second-third", 10), Pieces({"first-", "second-", "third"}));
    EXPECT_EQ(pieces("one\ttwo\tthree", 6), Pieces({"one\t", "two\t", "three"}));
    // Apostrophes are ordinary characters: a quoted parameter is broken like any text.
    EXPECT_EQ(lengths(pieces("'" + std::string(30, 'a') + "'", 11)),
              std::vector<size_t>({10, 10, 10, 2}));
    EXPECT_EQ(pieces("short", 40), Pieces({"short"}));
    EXPECT_EQ(pieces("", 40), Pieces({""}));
}

TEST(WordWrap, TextBetweenDoubleQuotesIsNeverBroken)
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
}

TEST(WordWrap, ExistingLineBreaksAreKept)
{
    EXPECT_EQ(wordWrap("one\r\ntwo", 40), "one\r\ntwo");
    EXPECT_EQ(pieces("one\r\ntwo", 40), Pieces({"one", "two"}));
    EXPECT_EQ(pieceCount(wordWrap("a\r\nb\r\nc", 40)), 3);
}

TEST(WordWrap, DegenerateWidthsEndWithoutBreaking)
{
    const std::string text(30, 'z');
    for (int width : {-5, 0, 1, 2})
        EXPECT_EQ(wordWrap(text, width), text) << width;
    EXPECT_EQ(lengths(pieces(text, 3)), std::vector<size_t>(15, 2));
}

TEST(WordWrap, MeasuredWidthsBreakWhereTheNextCharacterNoLongerFits)
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
}

TEST(WordWrap, LineHeightCountsPiecesAddsFramesAndStopsAt255)
{
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
