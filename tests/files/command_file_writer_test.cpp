#include "files/command_file_reader.h"
#include "files/command_file_writer.h"
#include "files/text_export.h"

#include "file_test_support.h"
#include "protocol/hex.h"
#include "protocol/vocabulary.h"

#include <gtest/gtest.h>

using namespace lmx;

namespace {

CommandListLine line(const CommandEntry& e, int depth = 0)
{
    return {e.displayText, e.commandLine, indentOfDepth(depth), fontColourOf(e.displayText)};
}

const CommandListLine kEnd = line(endLine());

} // namespace

TEST(CommandFileWriter, EscapeCommandsFromTheirBytesAndTheFileLayout)
{
    EXPECT_EQ(commandFileLine(line(escapeLine(esc::Font, "1"))), "ESC $A0 '1'");
    EXPECT_EQ(commandFileLine(line(escapeLine(esc::HorPos, "7FF"))), "ESC $E2 '7FF' EOC");
    EXPECT_EQ(commandFileLine(line(escapeLine(esc::Delete, ""))), "ESC $80");
    EXPECT_EQ(commandFileLine(line(inquiryLine(2))), "ESC $A6 '2'");
    EXPECT_EQ(commandFileLine(line(keyLine("F1", esc::Font, "1"))), "KEY 'F1' ESC $A0 '1'");
    EXPECT_EQ(commandFileLine(line(keyLine("Key 1", 0xE3, "12"))), "KEY 'Key 1' ESC $E3 '12' EOC");
    EXPECT_EQ(commandFileLine(line(keyLine("K", 0x85, ""))), "KEY 'K' ESC $85");
    // every other kind is written as it is shown
    EXPECT_EQ(commandFileLine(line(blockStartLine(BlockKind::Page, "01"))), "SOP '01'");
    EXPECT_EQ(commandFileLine(line(hexLine("22 33", "\x22\x33"))), "HEX '22 33'");
    // texts that begin with the bytes of a key marker or an escape stay texts
    EXPECT_EQ(commandFileLine(line(textLine("\tHi"))), "'\tHi'");
    EXPECT_EQ(commandFileLine(line(textLine("\x1B\x8D"))), "'\x1B\x8D'");
    EXPECT_EQ(commandFileLine(line(textLine("\x09\x1B\xA0" "1"))), "'\x09\x1B\xA0" "1'");
    EXPECT_FALSE(isKeyBoundLine(line(textLine("\x09\x1B\xA0" "1"))));

    // the file: indents, keys or none, the answers after the commands
    const std::vector<CommandListLine> lines = {
        line(blockStartLine(BlockKind::Display, "01")), line(textLine("Hello"), 1),
        line(keyLine("F1", esc::Font, "1"), 1), line(textLine("KEY"), 1),
        line(blockEndLine(BlockKind::Display)), kEnd};
    EXPECT_EQ(commandFileText(lines, {"<End>"}, true),
              "SOT '01'\r\n 'Hello'\r\n KEY 'F1' ESC $A0 '1'\r\n 'KEY'\r\nEOT\r\n\r\n");
    EXPECT_EQ(commandFileText(lines, {"T=@", "<End>"}, false),
              "SOT '01'\r\n 'Hello'\r\n 'KEY'\r\nEOT\r\n\r\nANSWER:\r\nT=@\r\n\r\n");
    EXPECT_EQ(commandFileText({kEnd}, {"<End>"}, true), "\r\n");
    // only the answer box's own end line is left out
    EXPECT_EQ(commandFileText({kEnd}, {"<End>", "<End>"}, true), "\r\nANSWER:\r\n<End>\r\n\r\n");
}

// A long text or HEX line reads in cut as the command box cuts an entered one (whole byte
// pairs of a HEX text), and the cut list saves into a file that reads back the same.
TEST(CommandFileWriter, LinesCutToTheSizeLimitReadBackAsSaved)
{
    for (const size_t n : {1331u, 1332u, 1333u, 3000u}) {
        std::string hex, bytes; // with a blank when n is odd
        for (size_t i = 0; i < n; ++i)
            hex += "0123456789ABCDEF"[i % 16];
        hex[2] = n % 2 ? ' ' : hex[2];
        ASSERT_TRUE(hexTextToBytes(hex, bytes));
        std::vector<CommandListLine> cut;
        for (CommandEntry e : {textLine(std::string(n, 'x')), hexLine(hex, bytes)}) {
            applyLineSizeLimit(e.displayText, e.commandLine);
            cut.push_back(line(e));
        }
        cut.push_back(kEnd);
        KeySet keys = makeKeySet();
        const std::string file = "'" + std::string(n, 'x') + "'\r\nHEX '" + hex + "'\r\n";
        EXPECT_EQ(parseCommandFile(file, "t.lmx", keys).content.commands, cut) << n;
        EXPECT_EQ(parseCommandFile(commandFileText(cut, {"<End>"}, true), "t.lmx", keys).content.commands, cut) << n;
    }
}

TEST(CommandFileWriter, FailedSaveKeepsThePreviousFile)
{
    filetest::TempFolder folder;
    const std::string path = folder.file("list.lmx");
    filetest::writeFile(path, "'old'\r\n");
    // any failure gives the one message; what each failing step leaves is the saver's concern
    const filetest::FailingSaver failing(filetest::FailingSaver::Step::Close);
    const WriteResult r = writeCommandFile(path, {line(textLine("new")), kEnd}, {}, true, failing);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, "Failed to write to file " + path + ".");
    EXPECT_EQ(filetest::readFile(path), "'old'\r\n");
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"list.lmx"});
    // a folder that does not exist
    const std::string nowhere = folder.file("none/list.lmx");
    EXPECT_FALSE(writeCommandFile(nowhere, {kEnd}, {}, true).ok);
}

TEST(TextExport, SectionsHeadingsIndentsAndTheFile)
{
    EXPECT_EQ(exportSection({"AnswerBox", {{"<End>", 2}}}),
              "--------- ANSWER DATA ---------\r\n\r\n<End>\r\n\r\n");
    EXPECT_EQ(exportSection({"ReceiveBox", {}}),
              "--------- TRANSMIT / RECEIVE DATA ---------\r\n\r\n\r\n");
    EXPECT_EQ(exportHeading("HexBox") + exportHeading("commandBox") + exportHeading(""),
              "--------- HEX DATA ---------!!! INVALID LISTBOX NAME !!!!!! INVALID LISTBOX NAME !!!");
    // a text inside a display and a message block stands behind two blanks
    EXPECT_EQ(exportSection({"CommandBox", {{"SOT '01'", 2}, {"'x'", 18}, {"odd", 9}}}),
              "--------- COMMAND DATA ---------\r\n\r\nSOT '01'\r\n  'x'\r\nodd\r\n\r\n");

    // the file holds the lists in order
    filetest::TempFolder folder;
    const std::string path = folder.file("report.txt");
    const std::vector<ExportList> lists = {{"CommandBox", {{"<End>", 2}}},
                                           {"HexBox", {{"<End>", 2}}}};
    ASSERT_TRUE(writeTextExport(path, lists).ok);
    EXPECT_EQ(filetest::readFile(path), "--------- COMMAND DATA ---------\r\n\r\n<End>\r\n\r\n"
                                        "--------- HEX DATA ---------\r\n\r\n<End>\r\n\r\n");
    const WriteResult failed =
        writeTextExport(path, {}, filetest::FailingSaver(filetest::FailingSaver::Step::Write));
    EXPECT_EQ(failed.message, "Failed to write to file " + path + ".");
    EXPECT_NE(filetest::readFile(path), "");
}
