#pragma once
// Writing a command file (*.lmx): the command lines with their indentation blanks, an empty
// line, and the answer section when there are answer templates.

#include "atomic_file_saver.h"
#include "command_file_reader.h"
#include "command_list.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lmx {

// The written form of one command line, without its indentation: escape commands from their
// bytes ("ESC $A0 '1'", "ESC $E2 '7FF' EOC", "KEY 'F1' ESC $A0 '1'"), every other line as
// its display text.
std::string commandFileLine(const CommandListLine& line);

// True for a line bound to a programmable key (command line 09 1B ...).
bool isKeyBoundLine(const CommandListLine& line);

// The file's text as the lines come, a line at a time to `write`: for a list read a line at
// a time (lmx check --save), which is never held whole. End lines are not written; the last
// answer is left out when it is "<End>". Without saveKeys, key-bound lines are left out.
class CommandFileTextWriter : public CommandFileVisitor {
public:
    using Write = std::function<bool(std::string_view)>;
    CommandFileTextWriter(Write write, bool saveKeys) : m_write(std::move(write)), m_saveKeys(saveKeys) {}

    void command(const CommandListLine& line) override;
    void answer(const std::string& text) override;
    // Writes what is still due; false when a write failed (then or before).
    bool finish();

private:
    void put(std::string_view text);

    Write m_write;
    bool m_saveKeys;
    bool m_ok = true;
    bool m_inAnswers = false;
    std::optional<std::string> m_pendingAnswer; // written once the next one comes
    std::string m_line;
};

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
