// Command file reader: any bytes either fail with a message or read into a list that saves
// and reads back to the same lines, answers and key bindings, and that the command box holds
// as it stands (no line left for the window to cut).
#include "files/command_file_reader.h"
#include "files/command_file_writer.h"
#include "protocol/vocabulary.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    lmx::KeySet keys = lmx::makeKeySet();
    const lmx::CommandFileReadResult first = lmx::parseCommandFile(bytes, "fuzz.lmx", keys);
    if (!first.ok()) {
        if (first.message.empty() || !first.content.commands.empty()
            || keys != lmx::makeKeySet())
            std::abort();
        return 0;
    }
    for (lmx::CommandListLine line : first.content.commands)
        if (lmx::applyLineSizeLimit(line.displayText, line.commandLine))
            std::abort();
    const std::string saved =
        lmx::commandFileText(first.content.commands, first.content.answers, true);
    lmx::KeySet keysAgain = lmx::makeKeySet();
    const lmx::CommandFileReadResult second = lmx::parseCommandFile(saved, "fuzz.lmx", keysAgain);
    if (!second.ok() || second.content.commands != first.content.commands
        || second.content.answers != first.content.answers || keysAgain != keys)
        std::abort();
    (void)lmx::commandFileText(first.content.commands, first.content.answers, false);
    return 0;
}
