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

void showCommandFile(const lmx::CommandFileContent& content, CommandBox& box,
                     AnswerBoxEditor& answers)
{
    CommandLines lines;
    lines.reserve(content.commands.size() + 1);
    for (const lmx::CommandListLine& line : content.commands) {
        std::string displayText = line.displayText;
        std::string commandLine = line.commandLine;
        lmx::applyLineSizeLimit(displayText, commandLine);
        lines.push_back(box.makeLine(std::move(displayText), std::move(commandLine), line.indent));
    }
    if (lines.empty() || lines.back().displayText != lmx::kEndMarker) {
        const lmx::CommandEntry end = lmx::endLine();
        lines.push_back(box.makeLine(end.displayText, end.commandLine, lmx::kBaseIndent));
    }
    {
        // One change for the views, however long the file.
        CommandList::Batch batch(box.list());
        box.list().assign(lines);
        box.list().deselectAll();
        box.list().setCursor(0);
    }
    answers.assign(content.answers);
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
