#pragma once
// The boxes as the command files and the text export see them, and a read command file put
// into the boxes.

#include "files/command_file_reader.h"
#include "files/command_list.h"
#include "files/text_export.h"

#include <string>
#include <vector>

class AnswerBoxEditor;
class CommandBox;

// The command box's lines (the end line last) in the files' form.
std::vector<lmx::CommandListLine> commandFileLines(const CommandBox& box);

// The first line (counted from 1) at which the list's blocks stop balancing as the command
// file reader counts them: an end marker without its start, a block opened inside one of the
// same or a lower order, or the start of a block never closed. 0 when they balance: only
// such a list loads again once saved.
int unbalancedBlockLine(const CommandBox& box);

// The command lines the transmission sends from (the end line last).
std::vector<std::string> transmitLines(const CommandBox& box);

// Reads a command file into the boxes: its command lines (the end line last) replace the
// command box's, its answer lines the answer box's. Each line becomes a command box line as
// it is read, so a large file is held once. Nothing is selected afterwards, the cursor is on
// the first line, and no undo snapshot is taken. A file that does not read leaves the boxes
// as they were; the result tells why.
lmx::CommandFileReadResult loadCommandFile(const std::string& fileName, lmx::KeySet& keys,
                                           CommandBox& box, AnswerBoxEditor& answers);

// The four lists of the text export, in the order they are written: command box, hex box,
// answer box, receive box.
std::vector<lmx::ExportList> exportLists(const CommandBox& box, const AnswerBoxEditor& answers,
                                         const std::vector<std::string>& receiveLines);
