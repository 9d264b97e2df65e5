#include "answer_templates.h"

#include <algorithm>

namespace lmx {

void AnswerTemplates::append(std::string text)
{
    m_lines.push_back({text, text});
}

void AnswerTemplates::insert(size_t index, std::string text)
{
    const size_t at = std::min(index, m_lines.size());
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(at), Line{text, text});
}

void AnswerTemplates::insert(size_t index, Line line)
{
    const size_t at = std::min(index, m_lines.size());
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
}

bool AnswerTemplates::setTemplate(size_t index, std::string text)
{
    if (index >= m_lines.size())
        return false;
    m_lines[index] = {text, text};
    return true;
}

bool AnswerTemplates::remove(size_t index)
{
    if (index >= m_lines.size())
        return false;
    m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

std::string AnswerTemplates::byteText(char byte)
{
    if (byte == '\x0A')
        return "<R>";
    if (byte == '\x0D')
        return "<C>";
    return std::string(1, byte);
}

bool AnswerTemplates::FillAnswerTemplates(std::string_view data)
{
    if (data.empty() || data[0] == '\0')
        return false;
    size_t d = 0;
    for (Line& line : m_lines) {
        // Built left to right, so a data byte that is itself '@' is never taken for a
        // placeholder.
        std::string shown;
        shown.reserve(line.templateText.size());
        for (const char c : line.templateText) {
            if (c == kPlaceholder && d < data.size())
                shown += byteText(data[d++]);
            else
                shown += c;
        }
        line.shownText = std::move(shown);
    }
    return true;
}

void AnswerTemplates::Restore()
{
    for (Line& line : m_lines)
        line.shownText = line.templateText;
}

} // namespace lmx
