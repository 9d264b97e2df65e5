#pragma once
// Which editor the Edit Data action opens for a command line, whether a line can be edited at
// all, and the "Byte Command" editor's rewriting of a line: pure functions of the line.

#include "protocol/vocabulary.h"

#include <string>
#include <string_view>

enum class EditorKind {
    None,           // nothing opens
    BlockNumber,    // SOT, STX, SOP, SOL: the block number, two hex digits
    Wait,           // FPACK, NPACK: the wait
    HexData,        // HEX: the hex data entry
    OneHexDigit,    // ESC A0..A5, A7
    TwoHexDigits,   // ESC C0, C1, C4, C6, C7
    ThreeHexDigits, // ESC E2
    Brightness,     // ESC E0
    ValueDialog,    // ESC E1 (watchdog), E5 (LED test)
    EocFields,      // ESC E4 (display configuration), E6 (time and date)
    ByteCommand,    // any other escape command from A0, also behind a key prefix
    Text,           // plain text and anything else
};

EditorKind editorKindOf(std::string_view commandLine);

// False for the end line, the block ends, the separator, the delete command and the
// inquiries, a lone ESC, and key lines whose command has no parameter to edit.
bool isEditable(std::string_view commandLine);

// The block kind a start line opens, from its first byte; false for any other line.
bool blockKindOfStart(std::string_view commandLine, lmx::BlockKind& kind);

// The "Byte Command" editor's result: `newText` between the first two apostrophes of the
// display text, and as the command's parameter in the command line (the last characters, or
// everything after the command byte up to the final EOC byte). A key prefix stays.
lmx::CommandEntry byteCommandEdit(std::string_view displayText, std::string_view commandLine,
                                  std::string_view newText);
