#include "text_export.h"

#include "command_list.h"

namespace lmx {

std::string exportHeading(std::string_view listName)
{
    switch (listName.empty() ? '\0' : listName[0]) {
    case 'A':
        return "--------- ANSWER DATA ---------";
    case 'C':
        return "--------- COMMAND DATA ---------";
    case 'H':
        return "--------- HEX DATA ---------";
    case 'R':
        return "--------- TRANSMIT / RECEIVE DATA ---------";
    default:
        return "!!! INVALID LISTBOX NAME !!!";
    }
}

void appendExportLine(std::string& out, std::string_view text, int indent)
{
    out.append(static_cast<size_t>(depthOfIndent(indent)), ' ');
    out += text;
    out += "\r\n";
}

std::string exportSection(const ExportList& list)
{
    std::string out = exportHeading(list.name);
    out += "\r\n\r\n";
    for (const ExportLine& line : list.lines)
        appendExportLine(out, line.text, line.indent);
    out += "\r\n";
    return out;
}

std::string exportText(const std::vector<ExportList>& lists)
{
    std::string out;
    for (const ExportList& list : lists)
        out += exportSection(list);
    return out;
}

WriteResult writeTextExport(const std::string& fileName, const std::vector<ExportList>& lists,
                            const AtomicFileSaver& saver)
{
    const SaveOutcome outcome = saver.save(fileName, exportText(lists));
    if (outcome.ok())
        return {};
    return {false, "Failed to write to file " + fileName + ".", outcome.reason};
}

} // namespace lmx
