// The answer templates filled with any answer data: a fill starts from the templates whatever
// an earlier one wrote, takes one data byte per placeholder in line order (a line end shows as
// a three-character tag), leaves everything else as it was, and Restore brings the templates
// back; data that is empty or starts with 0x00 changes nothing.
#include "fuzz_support.h"

#include "transmission/answer_templates.h"

#include <algorithm>
#include <string>
#include <vector>

using namespace lmx;
using fuzz::check;

namespace {

std::vector<std::string> shown(const AnswerTemplates& t)
{
    std::vector<std::string> out;
    for (const AnswerTemplates::Line& line : t.lines())
        out.push_back(line.shownText);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Input in(data, size);
    AnswerTemplates t;
    for (int n = in.byte() % 16; n > 0; --n)
        t.append(in.bytes(in.byte()));
    AnswerTemplates fresh = t;
    t.FillAnswerTemplates(in.bytes(in.word()));
    const std::vector<std::string> before = shown(t);
    const std::string answer = in.rest();
    const bool filled = t.FillAnswerTemplates(answer);
    check(filled == (!answer.empty() && answer[0] != '\0'));
    fresh.FillAnswerTemplates(answer);
    check(shown(t) == (filled ? shown(fresh) : before));

    size_t placeholders = 0;
    size_t templateLength = 0;
    size_t shownLength = 0;
    for (const AnswerTemplates::Line& line : t.lines()) {
        placeholders += static_cast<size_t>(std::count(line.templateText.begin(),
                                                       line.templateText.end(), '@'));
        templateLength += line.templateText.size();
        shownLength += line.shownText.size();
    }
    if (filled) {
        const std::string used = answer.substr(0, placeholders);
        const auto lineEnds = std::count_if(used.begin(), used.end(),
                                            [](char c) { return c == '\x0A' || c == '\x0D'; });
        check(shownLength == templateLength + 2 * static_cast<size_t>(lineEnds));
    }
    t.Restore();
    for (const AnswerTemplates::Line& line : t.lines())
        check(line.shownText == line.templateText);
    return 0;
}
