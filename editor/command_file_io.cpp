#include "command_file_io.h"

#include "answer_box_editor.h"
#include "commandbox/command_box.h"
#include "protocol/hex.h"
#include "protocol/vocabulary.h"

#include <array>
#include <iterator>
#include <string_view>

std::vector<lmx::CommandListLine> commandFileLines(const CommandBox& box)
{
    const CommandLines& lines = box.list().lines();
    std::vector<lmx::CommandListLine> out;
    out.reserve(lines.size());
    for (const CommandBoxLine& line : lines)
        out.push_back({line.displayText, line.commandLine(), line.item.indent, line.item.fontColour});
    return out;
}

int unbalancedBlockLine(const CommandBox& box)
{
    constexpr size_t kKinds = std::size(lmx::kBlockKinds);
    std::array<int, kKinds> count{};
    std::array<int, kKinds> lastStart{};
    std::array<bool, kKinds> open{};
    const CommandLines& lines = box.list().lines();
    for (size_t row = 0; row < lines.size(); ++row) {
        const std::string_view text = lines[row].displayText;
        const int line = static_cast<int>(row) + 1;
        for (const lmx::BlockKind kind : lmx::kBlockKinds) {
            const auto k = static_cast<size_t>(kind);
            const lmx::BlockInfo& info = lmx::blockInfo(kind);
            if (text.substr(0, std::string_view(info.startTag).size()) == info.startTag) {
                for (size_t inner = k; inner < kKinds; ++inner)
                    if (open[inner])
                        return line;
                open[k] = true;
                ++count[k];
                lastStart[k] = line;
            } else if (text.substr(0, std::string_view(info.endTag).size()) == info.endTag) {
                open[k] = false;
                if (--count[k] < 0)
                    return line;
            }
        }
    }
    for (size_t k = 0; k < kKinds; ++k)
        if (count[k] != 0)
            return lastStart[k];
    return 0;
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
        box.clearUndoHistory();
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
