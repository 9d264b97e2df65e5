// Filling the answer templates with the data of an answer, and putting them back.
#include "engine_test_support.h"

#include "transmission/answer_templates.h"

#include <gtest/gtest.h>

using namespace lmx;
using Shown = std::vector<std::string>;

namespace {

AnswerTemplates templates(std::initializer_list<const char*> texts)
{
    AnswerTemplates t;
    for (const char* text : texts)
        t.append(text);
    return t;
}

Shown shown(const AnswerTemplates& t)
{
    return enginetest::collect(t.lines(), [](const auto& line) { return line.shownText; });
}

} // namespace

TEST(AnswerTemplates, DataRunsOnAcrossLinesEachFillStartsFromTheTemplatesAndLineEndsShowAsTags)
{
    AnswerTemplates t = templates({"T=@@", "none", "V=@", "<End>"});
    t.FillAnswerTemplates("123");
    EXPECT_EQ(shown(t), (Shown{"T=12", "none", "V=3", "<End>"}));
    t.FillAnswerTemplates("9");
    EXPECT_EQ(shown(t), (Shown{"T=9@", "none", "V=@", "<End>"}));
    EXPECT_FALSE(t.FillAnswerTemplates(""));
    EXPECT_FALSE(t.FillAnswerTemplates(std::string("\0" "7", 2)));
    EXPECT_EQ(shown(t)[0], "T=9@");
    t.Restore();
    EXPECT_EQ(shown(t), (Shown{"T=@@", "none", "V=@", "<End>"}));

    t = templates({"A@", "B@"});
    t.FillAnswerTemplates("\x0D");
    EXPECT_EQ(shown(t), (Shown{"A<C>", "B@"}));
    t = templates({"@@@", "@"}); // an at sign in the data is no placeholder
    t.FillAnswerTemplates("@\x0A" "y");
    EXPECT_EQ(shown(t), (Shown{"@<R>y", "@"}));
}

