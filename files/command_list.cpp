#include "command_list.h"

#include "protocol/vocabulary.h"

namespace lmx {

bool isEndLine(const CommandListLine& line)
{
    return line.displayText == kEndMarker && line.commandLine == kEndMarker;
}

} // namespace lmx
