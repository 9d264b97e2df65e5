#pragma once
// The readable report of the four lists: command box, hex box, answer box and receive box,
// each under its heading, every line behind one blank per block level.

#include "atomic_file_saver.h"

#include <string>
#include <string_view>
#include <vector>

namespace lmx {

struct ExportLine {
    std::string text; // the line as shown
    int indent = 2;   // pixels
};

struct ExportList {
    std::string name; // "CommandBox", "HexBox", "AnswerBox", "ReceiveBox"
    std::vector<ExportLine> lines;
};

// Chosen by the first letter of the list's name.
std::string exportHeading(std::string_view listName);

// One line of a section: one blank per block level, the text, CR LF.
void appendExportLine(std::string& out, std::string_view text, int indent);

// Heading, empty line, the lines (end line included, as the list holds it), empty line.
std::string exportSection(const ExportList& list);

// The sections of all lists, in the given order, as one file.
std::string exportText(const std::vector<ExportList>& lists);
WriteResult writeTextExport(const std::string& fileName, const std::vector<ExportList>& lists,
                            const AtomicFileSaver& saver = defaultFileSaver());

} // namespace lmx
