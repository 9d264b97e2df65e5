#include "files/command_file_reader.h"

#include "file_test_support.h"
#include "protocol/vocabulary.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace lmx;
using namespace std::string_literals;

namespace {

CommandFileReadResult parse(const std::string& text, KeySet& keys)
{
    return parseCommandFile(text, "test.lmx", keys);
}

CommandFileReadResult parse(const std::string& text)
{
    KeySet keys = makeKeySet();
    return parse(text, keys);
}

std::vector<std::string> displayTexts(const CommandFileReadResult& r)
{
    std::vector<std::string> out;
    for (const CommandListLine& line : r.content.commands)
        out.push_back(line.displayText);
    return out;
}

// One error of the table with the line it is reported at and the files that give it.
struct ErrorCase {
    CommandFileError index;
    int line;
    std::vector<std::string> texts;
};

} // namespace

TEST(CommandFileReader, ReportsEveryErrorOfTheTable)
{
    using E = CommandFileError;
    const ErrorCase cases[] = {
        {E::DollarExpected, 1, {"ESC A0 '1'"}},
        {E::NoEndQuote, 1, {"SOT '01", "'Hello", "HEX '22", "KEY 'F1", "ESC $E3 '12 EOC"}},
        {E::IllegalDataSize, 1, {"SOT '1'", "SOT '001'"}},
        // keywords are upper case only: "sot"
        {E::NoBeginQuote, 1, {"SOT 01", "sot '01'", "ESC $A0 1", "ESC $C0 12", "ESC $E3 12 EOC",
                              "HEX 22", "HEXA'22'", "'a' b"}},
        {E::Expected1Byte, 1, {"ESC $A0 '12'", "ESC $A0 ''", "ESC $A0 '1"}},
        {E::Expected2Bytes, 1, {"ESC $C6 '5'", "ESC $C6 '123'"}},
        // whatever stands between the data and a later EOC is not swallowed
        {E::ExpectedEoc, 1, {"ESC $E2 '7FF'", "ESC $E3 '12' SEP EOC"}},
        {E::EotBeforeSot, 1, {"EOT"}},
        {E::EtxBeforeStx, 1, {"ETX"}},
        {E::EopBeforeSop, 1, {"EOP"}},
        {E::EolBeforeSol, 1, {"EOL"}},
        {E::EotBeforeSot, 3, {"SOT '01'\r\nEOT\r\nEOT"}},
        {E::BlockOrder, 2, {"SOT '01'\r\nSOT '02'"}},
        {E::BlockOrder, 1, {"STX '01' STX '02'", "STX '01' SOT '01'", "SOP '01' STX '01'",
                            "SOL '01' SOP '01'", "SOL '01' SOL '02'"}},
        {E::FixedDataSize, 1, {"ESC $E5 '123' EOC", "ESC $E1 '12345' EOC", "ESC $E2 '7F' EOC",
                               "ESC $E4 '1' EOC", "ESC $E6 '1234567890123' EOC"}},
        {E::BrightnessTableSize, 1, {"ESC $E0 '123' EOC"}},
        {E::DataAfterDollar, 1, {"ESC $G0", "ESC $A", "ESC $"}},
        {E::IllegalCommand, 1, {"ESC $10", "ESC $7F"}},
        {E::Expected5Bytes, 1, {"FPACK 05000", "FPACK '5000'", "NPACK '05000"}},
        {E::IllegalValue, 1, {"SOT '0G'", "NPACK '0500A'", "ESC", "'a' ESC", "ESC $A6 'X'",
                              "KEY 'F1'", "KEY 'F1' 'text'"}},
        {E::EmptyEocData, 1, {"ESC $E3 '' EOC"}},
        {E::KeyNameTooLong, 1, {"KEY '123456789' ESC $A0 '1'"}},
        {E::DollarWithoutEsc, 1, {"$A0 '1'"}},
        {E::NoKeyName, 1, {"KEY F1 ESC $A0 '1'"}},
        {E::EocWithoutCommand, 1, {"EOC"}},
        {E::InvalidHex, 1, {"HEX '223'", "HEX 'GG'"}},
        {E::EmptyHex, 1, {"HEX ''", "HEX '   '"}},
        // blocks left open are counted at the end of the file, on no line, the outermost first
        {E::OddDisplayBlocks, 0, {"SOT '01'", "SOT '01' STX '01'\r\n"}},
        {E::OddMessageBlocks, 0, {"STX '01'"}},
        {E::OddPageBlocks, 0, {"SOP '01'"}},
        {E::OddLineBlocks, 0, {"SOL '01'", "SOL '01'\r\n"}},
    };
    for (const ErrorCase& c : cases) {
        for (const std::string& text : c.texts) {
            const CommandFileReadResult r = parse(text);
            EXPECT_EQ(r.errorIndex, c.index) << text;
            EXPECT_EQ(r.lineNumber, c.line) << text;
            EXPECT_TRUE(r.content.commands.empty()) << text;
        }
    }
}

TEST(CommandFileReader, LineErrorMessageNamesLineAndFile)
{
    const CommandFileReadResult r = parse("; header\r\n\r\n   \r\nSOT '01'\r\nsot '02'\r\n");
    EXPECT_EQ(r.lineNumber, 5); // comment, empty and blank lines are counted
    EXPECT_EQ(r.message, "No begin character ' found at line 5 of file \r\n\r\ntest.lmx");
    EXPECT_EQ(parse("SOT '01' SOT '02'").message,
              "Insertion of a Higher Block in a Lower Block order and\r\ninsertion of a Block "
              "in a Block with the same order is\r\nnot allowed at line 1 of file "
              "\r\n\r\ntest.lmx");
    EXPECT_EQ(parse("SOT '01' STX '01'\r\n").message,
              "An odd amount of Display block commands is counted of file \r\n\r\ntest.lmx");
}

TEST(CommandFileReader, ReadsSeveralCommandsOfOneLineWithDepthAndColour)
{
    const CommandFileReadResult r = parse("SOT '01' 'Hello' EOT\r\n");
    ASSERT_TRUE(r.ok()) << r.message;
    const std::vector<CommandListLine> expected = {
        {"SOT '01'", "\x01" "01", 2, 0xFF0000},
        {"'Hello'", "Hello", 10, 0x942578},
        {"EOT", "\x04", 2, 0xFF0000},
        {"<End>", "<End>", 2, 0x942578},
    };
    EXPECT_EQ(r.content.commands, expected);
    EXPECT_EQ(r.content.answers, std::vector<std::string>{"<End>"});
}

TEST(CommandFileReader, NestedBlocksIndentTheirContent)
{
    const CommandFileReadResult r =
        parse("SOT '01'\r\nSTX '02'\r\nSOP '03'\r\nSOL '04'\r\n'x'\r\nEOL\r\nEOP\r\nETX\r\n"
              "SEP\r\nEOT\r\n");
    ASSERT_TRUE(r.ok()) << r.message;
    std::vector<int> indents;
    for (const CommandListLine& line : r.content.commands)
        indents.push_back(line.indent);
    EXPECT_EQ(indents, (std::vector<int>{2, 10, 18, 26, 34, 26, 18, 10, 10, 2, 2}));
    EXPECT_EQ(r.content.commands[3].commandLine, "\x0A" "04");
    EXPECT_EQ(r.content.commands[2].fontColour, 0x05C97Au);
    EXPECT_EQ(r.content.commands[8].displayText, "SEP");
}

TEST(CommandFileReader, NormalisesTabsCommentsAndBlanks)
{
    const CommandFileReadResult r =
        parse("\t'a;b' ; comment ' with apostrophe\r\n  ' a  b '  \r\n'x\ty'\r\n;only\r\n");
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(displayTexts(r), (std::vector<std::string>{"'a;b'", "' a  b '", "'xy'", "<End>"}));
    EXPECT_EQ(r.content.commands[1].commandLine, " a  b ");
}

TEST(CommandFileReader, ReadsEveryKindOfCommandAndAcceptsTheFixedEocSizes)
{
    const CommandFileReadResult r = parse(
        "ESC $A0 '1'\r\nESC $80\r\nESC $a6 '2'\r\nESC $E3 'AB' EOC\r\nESC $E2'7FF'EOC\r\n"
        "ESC $E3 'xEOCy' EOC\r\nFPACK '05000'\r\nNPACK '00250'\r\nHEX '22 33 aa'\r\n"
        "ESC $E0 '3456789ABCDEFFFF' EOC\r\n''\r\nESC $C4 '80'\r\n");
    ASSERT_TRUE(r.ok()) << r.message;
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"ESC Font '1'", "\x1B\xA0" "1"},
        {"ESC Delete", "\x1B\x80"},
        {"ESC Inquiry2", "\x1B\xA6" "2"},
        {"ESC $E3 'AB' EOC", "\x1B\xE3" "AB\x0C"},
        {"ESC Hor. Pos. '7FF' EOC", "\x1B\xE2" "7FF\x0C"},
        {"ESC $E3 'xEOCy' EOC", "\x1B\xE3" "xEOCy\x0C"},
        {"FPACK '05000'", "\x07" "05000"},
        {"NPACK '00250'", "\x08" "00250"},
        {"HEX '22 33 aa'", "\x10\x22\x33\xAA"},
        {"ESC BTable '3456789ABCDEFFFF' EOC", "\x1B\xE0" "3456789ABCDEFFFF\x0C"},
        {"''", ""},
        {"ESC Vert. Pos. '80'", "\x1B\xC4" "80"},
    };
    ASSERT_EQ(r.content.commands.size(), expected.size() + 1);
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(r.content.commands[i].displayText, expected[i].first);
        EXPECT_EQ(r.content.commands[i].commandLine, expected[i].second);
    }
    EXPECT_EQ(r.content.commands[6].fontColour, 0x375FA8u);

    // each fixed EOC size is accepted
    for (const char* line :
         {"ESC $E1 '1234' EOC", "ESC $E1 '123456' EOC", "ESC $E5 '1234' EOC",
          "ESC $E6 '240101120000' EOC", "ESC $E4 '1234567890123456789012345678901234' EOC",
          "ESC $E0 '030405060708090A0B0C0D0E0F0F0F0F' EOC"})
        EXPECT_TRUE(parse(line).ok()) << line;
}

TEST(CommandFileReader, AnswerSectionKeepsLinesAsTheyStand)
{
    const CommandFileReadResult r =
        parse("'x'\r\n\r\nANSWER:\r\n  T=@@ ; value\r\nSOT\tV=@\r\n\r\n;c\r\n'not a command'\r\n"
              "ANSWER:\r\nANSWER:;x\r\n");
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(r.content.answers,
              (std::vector<std::string>{"  T=@@ ", "SOTV=@", "'not a command'", "ANSWER:",
                                        "ANSWER:", "<End>"}));
    EXPECT_EQ(displayTexts(r), (std::vector<std::string>{"'x'", "<End>"}));
}

TEST(CommandFileReader, LineEndsAndEightBitBytes)
{
    const std::string text = "'caf\xE9'\n'\xFF\x80'\r\n'nul\0x'\n'last'"s;
    const CommandFileReadResult r = parse(text);
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(r.content.commands[0].commandLine, "caf\xE9");
    EXPECT_EQ(r.content.commands[1].commandLine, "\xFF\x80");
    EXPECT_EQ(r.content.commands[2].commandLine, "nul\0x"s);
    EXPECT_EQ(r.content.commands[3].commandLine, "last");
    EXPECT_EQ(r.content.commands.size(), 5u);

    // control bytes outside apostrophes, as in a binary file
    const CommandFileReadResult binary = parse("\r\n\x00\x01\xFF'x'"s);
    EXPECT_EQ(binary.errorIndex, CommandFileError::NoBeginQuote);
    EXPECT_EQ(binary.lineNumber, 2);
}

TEST(CommandFileReader, LongSingleLineIsCutAsTheCommandBoxCutsIt)
{
    const std::string text = "'" + std::string(10 * 1024 * 1024, 'x') + "'\r\n";
    const CommandFileReadResult r = parse(text);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.content.commands[0].commandLine, std::string(1331, 'x'));
    // and an unterminated one fails on its line without scanning forever
    EXPECT_EQ(parse(std::string(10 * 1024 * 1024, ' ') + "'abc").errorIndex,
              CommandFileError::NoEndQuote);
}

TEST(CommandFileReader, KeyLinesBindTheFirstFreeKey)
{
    KeySet keys = makeKeySet();
    const CommandFileReadResult r =
        parse("KEY 'F1' ESC $A0 '1'\r\nKEY 'F1' ESC $A0 '7'\r\nKEY 'Two' ESC $E3 '12' EOC\r\n",
              keys);
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(r.content.commands[0].displayText, "ESC F1 '1'");
    EXPECT_EQ(r.content.commands[0].commandLine, "\x09\x1B\xA0" "1");
    EXPECT_EQ(r.content.commands[1].displayText, "ESC F1 '7'"); // loaded, key unchanged
    EXPECT_EQ(r.content.commands[2].displayText, "ESC Two '12' EOC");

    EXPECT_EQ(keys[0].ButtonCaption, "F1 = $A0");
    EXPECT_EQ(keys[0].Id, "Key 1");
    EXPECT_EQ(keys[0].NParam, 1);
    EXPECT_EQ(keys[0].CommandIndex, 0xA0 - 0x7F);
    EXPECT_EQ(keys[0].ParamData, "1");
    EXPECT_EQ(keys[0].CommandStr, "ESC F1 '1'");
    EXPECT_EQ(keys[0].CommandHexData, "\x09\x1B\xA0" "1");
    EXPECT_TRUE(keys[0].Enabled);

    EXPECT_EQ(keys[1].ButtonCaption, "Two = $E3");
    EXPECT_EQ(keys[1].NParam, 3);
    EXPECT_EQ(keys[1].ParamData, "12");
    EXPECT_FALSE(keys[2].Enabled);

    // a file that fails further on binds nothing
    const KeySet before = keys;
    EXPECT_FALSE(parse("KEY 'F3' ESC $A0 '1'\r\nEOT\r\n", keys).ok());
    EXPECT_EQ(keys, before);
}

TEST(CommandFileReader, KeyLinesBeyondFourKeysLoadWithoutBinding)
{
    KeySet keys = makeKeySet();
    keys[1].SetFromCommand("ESC K '1'", "\x09\x1B\xA1" "1", "K = $A1");
    const CommandFileReadResult r =
        parse("KEY 'a' ESC $80\r\nKEY 'b' ESC $81\r\nKEY 'c' ESC $82\r\nKEY 'd' ESC $83\r\n"
              "KEY 'e' ESC $84\r\n",
              keys);
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(r.content.commands.size(), 6u);
    EXPECT_EQ(keys[0].ButtonCaption, "a = $80");
    EXPECT_EQ(keys[1].ButtonCaption, "K = $A1"); // in use before: kept
    EXPECT_EQ(keys[2].ButtonCaption, "b = $81");
    EXPECT_EQ(keys[3].ButtonCaption, "c = $82");
    EXPECT_EQ(keys[3].CommandStr, "ESC c");
}

TEST(CommandFileReader, KeyBoundEocCommandsHaveNoFixedSize)
{
    KeySet keys = makeKeySet();
    const CommandFileReadResult r = parse("KEY 'K 1' ESC $E5 '1' EOC\r\nKEY '' ESC $A6 'Z'", keys);
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(r.content.commands[0].displayText, "ESC K 1 '1' EOC");
    EXPECT_EQ(r.content.commands[1].displayText, "ESC  'Z'");
    EXPECT_EQ(keys[0].ButtonCaption, "K 1 = $E5");
}

TEST(CommandFileReader, FilesThatCannotBeRead)
{
    filetest::TempFolder folder;
    KeySet keys = makeKeySet();
    const std::string missing = folder.file("missing.lmx");
    // What is there instead of a file, and the reason the message gives for it.
    const std::string loop = folder.file("loop.lmx");
    std::filesystem::create_symlink(loop, loop);
    const std::string pipe = folder.file("pipe.lmx");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::pair<std::string, const char*> unreadable[] = {
            {missing, "No such file or directory."},
            {folder.path(), "It is a folder, not a file."},
            {pipe, "It is a named pipe, not a regular file."},
            {loop, "Too many levels of symbolic links."},
    };
    CommandFileReadResult r;
    for (const auto& [name, why] : unreadable) {
        r = readCommandFile(name, keys);
        EXPECT_EQ(r.errorIndex, CommandFileError::NotReadable);
        EXPECT_EQ(r.message, "Failed to open file " + name + ".\r\n" + why);
        EXPECT_EQ(readCommandFileLines(name, keys, nullptr).message, r.message);
    }

    const std::string good = folder.file("good.lmx");
    filetest::writeFile(good, "SOT '01'\r\nEOT\r\n");
    r = readCommandFile(good, keys);
    EXPECT_TRUE(r.ok());
    EXPECT_EQ(r.content.commands.size(), 3u);

    // The largest file read is one whose lines, each a command, still fit the memory; the
    // refusal names the limit.
    const std::string large = folder.file("large.lmx");
    filetest::writeFile(large, std::string(12 * 1024 * 1024 + 1, '\''));
    r = readCommandFile(large, keys);
    EXPECT_EQ(r.errorIndex, CommandFileError::TooLarge);
    EXPECT_EQ(r.message, "File " + large + " is too large to be loaded (more than 12 MB).");
}
