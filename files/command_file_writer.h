#pragma once
// Writing a command file (*.lmx): the command lines with their indentation blanks, an empty
// line, and the answer section when there are answer templates.

#include "atomic_file_saver.h"
#include "command_list.h"

#include <string>
#include <vector>

namespace lmx {

// The written form of one command line, without its indentation: escape commands from their
// bytes ("ESC $A0 '1'", "ESC $E2 '7FF' EOC", "KEY 'F1' ESC $A0 '1'"), every other line as
// its display text.
std::string commandFileLine(const CommandListLine& line);

// True for a line bound to a programmable key (command line 09 1B ...).
bool isKeyBoundLine(const CommandListLine& line);

// The whole file. End lines are not written; answers is the answer box's templates, its
// final "<End>" included or not. Without saveKeys, key-bound lines are left out.
std::string commandFileText(const std::vector<CommandListLine>& commands,
                            const std::vector<std::string>& answers, bool saveKeys);

// Writes the file through saver; the previous file survives a failure.
WriteResult writeCommandFile(const std::string& fileName,
                             const std::vector<CommandListLine>& commands,
                             const std::vector<std::string>& answers, bool saveKeys,
                             const AtomicFileSaver& saver = defaultFileSaver());

} // namespace lmx
