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

// Errors of the reader, by their index in the message table; the texts are
// commandFileErrorText(error).
enum class CommandFileError : int {
    Ok = 0,
    DollarExpected = 1,
    NoEndQuote = 2,
    IllegalDataSize = 3,
    NoBeginQuote = 4,
    Expected1Byte = 5,
    Expected2Bytes = 6,
    ExpectedEoc = 7,
    EmptyAfterEsc = 8, // in the table, never raised
    OddDisplayBlocks = 9,
    OddMessageBlocks = 10,
    OddPageBlocks = 11,
    OddLineBlocks = 12,
    EotBeforeSot = 13,
    EtxBeforeStx = 14,
    EopBeforeSop = 15,
    EolBeforeSol = 16,
    BlockOrder = 17,
    FixedDataSize = 18,
    BrightnessTableSize = 19,
    DataAfterDollar = 20,
    IllegalCommand = 21,
    Expected5Bytes = 22,
    IllegalValue = 23,
    EmptyEocData = 24,
    KeyNameTooLong = 25,
    KeyNotAssigned = 26,
    DollarWithoutEsc = 27,
    NoKeyName = 28,
    EocWithoutCommand = 29,
    InvalidHex = 30,
    EmptyHex = 31, // the last in the table
    // Not in the table: the file itself could not be read.
    NotReadable = -1,
    TooLarge = -2,
};

// Largest command file the reader loads. A line costs the window about 60 times the two
// characters of its shortest form (''), so a file of this size at worst stays well under
// 1 GB.
constexpr size_t kMaxCommandFileSize = 12u * 1024 * 1024;
constexpr size_t kMaxKeyNameLength = 8;

// Empty for the errors outside the table.
std::string commandFileErrorText(CommandFileError error);

struct CommandFileContent {
    std::vector<CommandListLine> commands; // the end line "<End>" last
    std::vector<std::string> answers;      // answer templates, "<End>" last
};

struct CommandFileReadResult {
    CommandFileError errorIndex = CommandFileError::Ok;
    int lineNumber = 0;  // the line of the error; 0 for errors found at the end of the file
    std::string message; // the exact text to show; empty when the file was read
    CommandFileContent content; // empty unless the file was read

    bool ok() const { return errorIndex == CommandFileError::Ok; }
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

// Takes the lines of a file read a line at a time, as they are made: the command lines and
// the answer templates, each section's end line last.
class CommandFileVisitor {
public:
    virtual ~CommandFileVisitor() = default;
    virtual void command(const CommandListLine& line) = 0;
    virtual void answer(const std::string& text) = 0;
};

// Reads the file. KEY lines bind free keys as they are met; keys is changed only when the
// whole file reads without error.
CommandFileReadResult readCommandFile(const std::string& fileName, KeySet& keys);
// The same, with the command lines (the end line last) going to `sink` instead of
// content.commands; a file that does not read gives the sink nothing.
CommandFileReadResult readCommandFile(const std::string& fileName, KeySet& keys,
                                      CommandLineSink& sink);

// The same a line at a time, holding no more of the file than the line at hand: every line
// goes to the visitor as it is read, and nothing is kept (content stays empty). Lines may
// reach the visitor before an error further on; a pass without a visitor only checks.
CommandFileReadResult readCommandFileLines(const std::string& fileName, KeySet& keys,
                                           CommandFileVisitor* visitor);

// The same on the file's bytes; fileName is used only in the message.
CommandFileReadResult parseCommandFile(std::string_view bytes, const std::string& fileName,
                                       KeySet& keys, CommandLineSink* sink = nullptr);

} // namespace lmx
