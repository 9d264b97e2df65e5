#pragma once
// Reading a command file (*.lmx): the command lines with their block depth and colour, the
// answer section, and the keys that KEY lines bind. The reader stops at the first error and
// reports it by index, line number and the exact message text.

#include "command_list.h"
#include "key_definition.h"

#include <string>
#include <string_view>
#include <vector>

namespace lmx {

// Error indices of the reader; the texts are commandFileErrorText(index).
namespace cmdfile {
constexpr int Ok = 0;
constexpr int DollarExpected = 1;
constexpr int NoEndQuote = 2;
constexpr int IllegalDataSize = 3;
constexpr int NoBeginQuote = 4;
constexpr int Expected1Byte = 5;
constexpr int Expected2Bytes = 6;
constexpr int ExpectedEoc = 7;
constexpr int EmptyAfterEsc = 8; // in the table, never raised
constexpr int OddDisplayBlocks = 9; // 9..12: display, message, page, line
constexpr int EotBeforeSot = 13;    // 13..16: EOT, ETX, EOP, EOL
constexpr int BlockOrder = 17;
constexpr int FixedDataSize = 18;
constexpr int BrightnessTableSize = 19;
constexpr int DataAfterDollar = 20;
constexpr int IllegalCommand = 21;
constexpr int Expected5Bytes = 22;
constexpr int IllegalValue = 23;
constexpr int EmptyEocData = 24;
constexpr int KeyNameTooLong = 25;
constexpr int KeyNotAssigned = 26;
constexpr int DollarWithoutEsc = 27;
constexpr int NoKeyName = 28;
constexpr int EocWithoutCommand = 29;
constexpr int InvalidHex = 30;
constexpr int EmptyHex = 31;
constexpr int LastTableIndex = 31;
// Not in the table: the file itself could not be read.
constexpr int NotReadable = -1;
constexpr int TooLarge = -2;
} // namespace cmdfile

// Largest command file the reader loads. A line costs the window about 60 times the two
// characters of its shortest form (''), so a file of this size at worst stays well under
// 1 GB.
constexpr size_t kMaxCommandFileSize = 12u * 1024 * 1024;
constexpr size_t kMaxKeyNameLength = 8;

std::string commandFileErrorText(int index);

struct CommandFileContent {
    std::vector<CommandListLine> commands; // the end line "<End>" last
    std::vector<std::string> answers;      // answer templates, "<End>" last
};

struct CommandFileReadResult {
    int errorIndex = cmdfile::Ok;
    int lineNumber = 0;  // the line of the error; 0 for errors found at the end of the file
    std::string message; // the exact text to show; empty when the file was read
    CommandFileContent content; // empty unless the file was read

    bool ok() const { return errorIndex == cmdfile::Ok; }
};

// Takes the command lines as the reader makes them, so a caller that keeps them in a form
// of its own never holds a second copy of a large file.
class CommandLineSink {
public:
    virtual ~CommandLineSink() = default;
    // Once, before the first line: how many lines will come.
    virtual void expect(size_t lines) = 0;
    virtual void add(CommandListLine&& line) = 0;
};

// Reads the file. KEY lines bind free keys as they are met; keys is changed only when the
// whole file reads without error.
CommandFileReadResult readCommandFile(const std::string& fileName, KeySet& keys);
// The same, with the command lines (the end line last) going to `sink` instead of
// content.commands; a file that does not read gives the sink nothing.
CommandFileReadResult readCommandFile(const std::string& fileName, KeySet& keys,
                                      CommandLineSink& sink);

// The same on the file's bytes; fileName is used only in the message.
CommandFileReadResult parseCommandFile(std::string_view bytes, const std::string& fileName,
                                       KeySet& keys, CommandLineSink* sink = nullptr);

} // namespace lmx
