#pragma once
// The answer box's lines as logic: each line keeps its template and the text it shows.
// A data answer is written into the placeholders '@' of the templates, one byte each, in line
// order; Restore shows the templates again.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lmx {

class AnswerTemplates {
public:
    static constexpr char kPlaceholder = '@';

    struct Line {
        std::string templateText;
        std::string shownText;
    };

    const std::vector<Line>& lines() const { return m_lines; }
    size_t size() const { return m_lines.size(); }

    // A line whose template and shown text are `text`: at the end, or before `index` (at the
    // end when index is past the last line).
    void append(std::string text);
    void insert(size_t index, std::string text);
    // A line as it stands (a copy that may show filled-in data), before `index`.
    void insert(size_t index, Line line);
    // Makes the lines equal to `lines` (an undo snapshot, a reordered copy).
    void assign(std::vector<Line> lines) { m_lines = std::move(lines); }
    // Sets the template and the shown text of a line; false when there is no such line.
    bool setTemplate(size_t index, std::string text);
    bool remove(size_t index);
    void clear() { m_lines.clear(); }

    // Writes the data into the placeholders, starting again from the templates: the first
    // line takes the first bytes, the next line goes on where it stopped. 0x0A shows as
    // <R>, 0x0D as <C>. Placeholders beyond the data stay. Empty data, or data whose first
    // byte is 0x00, changes nothing. True when the lines were filled.
    bool FillAnswerTemplates(std::string_view data);
    // Every line shows its template again.
    void Restore();

    // What a data byte shows as in a filled template.
    static std::string byteText(char byte);

private:
    std::vector<Line> m_lines;
};

} // namespace lmx
