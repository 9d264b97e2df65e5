#include "command_file_io.h"

#include "answer_box_editor.h"
#include "command_box.h"
#include "protocol/hex.h"
#include "protocol/vocabulary.h"

std::vector<lmx::CommandListLine> commandFileLines(const CommandBox& box)
{
    const CommandLines& lines = box.list().lines();
    std::vector<lmx::CommandListLine> out;
    out.reserve(lines.size());
    for (const CommandBoxLine& line : lines)
        out.push_back({line.displayText, line.commandLine(), line.item.indent, line.item.fontColour});
    return out;
}

std::vector<std::string> transmitLines(const CommandBox& box)
{
    const CommandLines& lines = box.list().lines();
    std::vector<std::string> out;
    out.reserve(lines.size());
    for (const CommandBoxLine& line : lines)
        out.push_back(line.commandLine());
    return out;
}

namespace {

// Makes a command box line of each line the reader gives.
class BoxLineSink : public lmx::CommandLineSink {
public:
    explicit BoxLineSink(const CommandBox& box) : m_box(box) {}

    void expect(size_t lines) override { m_lines.reserve(lines + 1); }
    void add(lmx::CommandListLine&& line) override
    {
        lmx::applyLineSizeLimit(line.displayText, line.commandLine);
        m_lines.push_back(m_box.makeLine(std::move(line.displayText), std::move(line.commandLine),
                                         line.indent));
    }
    CommandLines& lines() { return m_lines; }

private:
    const CommandBox& m_box;
    CommandLines m_lines;
};

} // namespace

lmx::CommandFileReadResult loadCommandFile(const std::string& fileName, lmx::KeySet& keys,
                                           CommandBox& box, AnswerBoxEditor& answers)
{
    BoxLineSink sink(box);
    lmx::CommandFileReadResult result = lmx::readCommandFile(fileName, keys, sink);
    if (!result.ok())
        return result;
    CommandLines& lines = sink.lines();
    if (lines.empty() || lines.back().displayText != lmx::kEndMarker) {
        const lmx::CommandEntry end = lmx::endLine();
        lines.push_back(box.makeLine(end.displayText, end.commandLine, lmx::kBaseIndent));
    }
    {
        // One change for the views, however long the file.
        CommandList::Batch batch(box.list());
        box.list().clear();
        box.list().insert(0, std::move(lines));
        box.list().setCursor(0);
    }
    answers.assign(result.content.answers);
    return result;
}

std::vector<lmx::ExportList> exportLists(const CommandBox& box, const AnswerBoxEditor& answers,
                                         const std::vector<std::string>& receiveLines)
{
    lmx::ExportList commands{"CommandBox", {}};
    lmx::ExportList hex{"HexBox", {}};
    for (const CommandBoxLine& line : box.list().lines()) {
        commands.lines.push_back({line.displayText, line.item.indent});
        hex.lines.push_back({lmx::hexTextOfCommandLine(line.commandLine()), line.item.indent});
    }
    lmx::ExportList answerList{"AnswerBox", {}};
    for (const AnswerBoxEditor::Line& line : answers.templates().lines())
        answerList.lines.push_back({line.shownText, lmx::kBaseIndent});
    lmx::ExportList receive{"ReceiveBox", {}};
    for (const std::string& line : receiveLines)
        receive.lines.push_back({line, lmx::kBaseIndent});
    return {commands, hex, answerList, receive};
}
