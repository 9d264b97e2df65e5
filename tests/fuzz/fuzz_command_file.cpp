// Command file reader: any bytes either fail with a message or read into a list that the
// command box holds as it stands (no line left for the window to cut), that saves into a file
// reading back to the same lines, answers and key bindings and saving the same again, and
// that without its keys reads back to the list less its key-bound lines.
#include "fuzz_support.h"

#include "files/command_file_reader.h"
#include "files/command_file_writer.h"
#include "protocol/vocabulary.h"

#include <string>

using namespace lmx;
using fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    KeySet keys = makeKeySet();
    const CommandFileReadResult first = parseCommandFile(bytes, "fuzz.lmx", keys);
    if (!first.ok()) {
        check(!first.message.empty() && first.content.commands.empty() && keys == makeKeySet());
        return 0;
    }
    const CommandFileContent& list = first.content;
    std::vector<CommandListLine> unkeyed;
    for (CommandListLine line : list.commands) {
        if (!isKeyBoundLine(line))
            unkeyed.push_back(line);
        check(!applyLineSizeLimit(line.displayText, line.commandLine));
    }
    const std::string saved = commandFileText(list.commands, list.answers, true);
    KeySet keysAgain = makeKeySet();
    const CommandFileReadResult second = parseCommandFile(saved, "fuzz.lmx", keysAgain);
    check(second.ok() && second.content.commands == list.commands
          && second.content.answers == list.answers && keysAgain == keys);
    check(commandFileText(second.content.commands, second.content.answers, true) == saved);
    KeySet none = makeKeySet();
    const CommandFileReadResult third =
        parseCommandFile(commandFileText(list.commands, list.answers, false), "fuzz.lmx", none);
    check(third.ok() && third.content.commands == unkeyed && none == makeKeySet());
    return 0;
}
