#include "files/key_file.h"

#include "file_test_support.h"

#include <gtest/gtest.h>

using namespace lmx;

namespace {

const char kExampleBlock[] = "object TKeyDefinition\r\n"
                             "  ButtonCaption = 'Key 1 = $A0'\r\n"
                             "  Id = 'Key 1'\r\n"
                             "  NParam = 1\r\n"
                             "  CommandIndex = 33\r\n"
                             "  CommandStr = 'ESC Key 1 '#39'5'#39\r\n"
                             "  CommandHexData = #9#27'\xA0" "5'\r\n"
                             "  ParamData = '5'\r\n"
                             "  Enabled = True\r\n"
                             "end\r\n";

std::string freeBlock(const char* id)
{
    return std::string("object TKeyDefinition\r\n  ButtonCaption = 'FreeKey'\r\n  Id = '") + id
         + "'\r\n  NParam = 0\r\n  CommandIndex = 0\r\n  Enabled = False\r\nend\r\n";
}

TKeyDefinition definedKey(const char* id, const std::string& name, char code,
                          const std::string& param)
{
    TKeyDefinition k(id);
    std::string line = std::string("\x09\x1B") + code + param;
    if (static_cast<unsigned char>(code) >= 0xE0)
        line += '\x0C';
    EXPECT_TRUE(k.SetFromCommand("ESC " + name + " '" + param + "'", line,
                                 name + " = $xx"));
    return k;
}

} // namespace

TEST(KeyDefinition, SetFromCommandByCodeRange)
{
    TKeyDefinition k("Key 2");
    // {command line, NParam, CommandIndex, ParamData}
    const std::tuple<std::string, int, int, const char*> cases[] = {
        {"\x09\x1B\xC5" "AB", 2, 70, "AB"}, {"\x09\x1B\x85", 0, 6, ""},
        {"\x09\x1B\xE3" "12\x0C", 3, 0xE3 - 0x7F, "12"}};
    for (const auto& [bytes, nParam, index, param] : cases) {
        EXPECT_TRUE(k.SetFromCommand("ESC Key 2", bytes, "c") && k.Enabled) << index;
        EXPECT_TRUE(k.NParam == nParam && k.CommandIndex == index && k.ParamData == param) << index;
    }

    k.ClearKey();
    EXPECT_EQ(k, TKeyDefinition("Key 2"));

    // refused: the text so far stays, the key stays free
    EXPECT_FALSE(k.SetFromCommand("d", "\x09\x1B\xE3" "12", "c")); // EOC type without 0C
    EXPECT_FALSE(k.SetFromCommand("d", "\x09\x1B\x41", "c"));
    EXPECT_FALSE(k.SetFromCommand("d", "\x09" "A", "c"));
    EXPECT_FALSE(k.SetFromCommand("d", "\x09", "c"));
    EXPECT_FALSE(k.Enabled);
    EXPECT_EQ(k.ButtonCaption, "c");
}

TEST(KeyFile, WrittenExactlyReadBackAndAbsentPropertiesKeepTheirValues)
{
    filetest::TempFolder folder;
    const std::string path = folder.file("keys.kcf");
    KeySet keys = makeKeySet();
    ASSERT_TRUE(keys[0].SetFromCommand("ESC Key 1 '5'", "\x09\x1B\xA0" "5", "Key 1 = $A0"));
    EXPECT_EQ(keyFileText(keys),
              kExampleBlock + freeBlock("Key 2") + freeBlock("Key 3") + freeBlock("Key 4"));
    ASSERT_TRUE(writeKeyFile(path, keys).ok);
    KeySet read = makeKeySet();
    EXPECT_EQ(readKeyFile(path, read), "");
    EXPECT_EQ(read, keys);

    // Into a defined key the block's free state arrives; the texts it leaves out (they are
    // empty) keep their values, as any absent property does.
    read[2] = definedKey("Key 3", "X", '\xA1', "1");
    EXPECT_EQ(readKeyFile(path, read), "");
    EXPECT_FALSE(read[2].Enabled);
    EXPECT_EQ(read[2].ButtonCaption, "FreeKey");
    EXPECT_EQ(read[2].ParamData, "1");

    // defined keys with control characters and long texts
    keys[0] = definedKey("Key 1", "F1", '\xE3', std::string(100, 'P'));
    keys[1] = definedKey("Key 2", "F'2", '\xC0', "\x01\x7F");
    keys[3] = definedKey("Key 4", "F4", '\xFF', std::string(64, '\'') + "#39 +\r\n");
    ASSERT_TRUE(writeKeyFile(path, keys).ok);
    read = makeKeySet();
    EXPECT_EQ(readKeyFile(path, read), "");
    EXPECT_EQ(read, keys);
    EXPECT_EQ(read[0].CommandStr.size(), 109u);
}

TEST(KeyFile, ReadFailuresFreeAllKeysAndFailedWritesKeepThePreviousFile)
{
    const std::string unknown =
        "Unknown error while reading from file k.kcf.\n\rUsing default Key values. ";
    const std::string failedRead = "Failed to read from file k.kcf.\n\rUsing default Key values.";
    const std::string three = freeBlock("Key 1") + freeBlock("Key 2") + freeBlock("Key 3");
    const std::pair<std::string, std::string> cases[] = {
        {three, unknown},
        {three + "object TKeyDefinition\n  Colour = 1\nend\n", failedRead},
        {three + "object TKeyDefinition\n  Enabled = 1\nend\n", failedRead},
        {three + "object TKeyDefinition\n  NParam = 4\nend\n", failedRead},
        {three + "object TKeyDefinition\n  CommandIndex = 129\nend\n", failedRead},
        {three + "object TKeyDefinition\n  ParamData = 'x\nend\n", unknown},
        {std::string("\x00\x01garbage", 9), unknown},
    };
    for (const auto& c : cases) {
        KeySet keys = makeKeySet();
        keys[0] = definedKey("Key 1", "F1", '\xA0', "1");
        EXPECT_EQ(parseKeyFile(c.first, "k.kcf", keys), c.second) << c.first;
        EXPECT_EQ(keys, makeKeySet()) << c.first;
    }

    filetest::TempFolder folder;
    KeySet keys = makeKeySet();
    keys[0] = definedKey("Key 1", "F1", '\xA0', "1");
    const std::string missing = folder.file("missing.kcf");
    EXPECT_EQ(readKeyFile(missing, keys),
              "Failed to open file " + missing + ".\n\rUsing default Key values.");
    EXPECT_EQ(keys, makeKeySet());

    // a failed write keeps the previous file
    using Step = filetest::FailingSaver::Step;
    const std::string path = folder.file("keys.kcf");
    const std::pair<Step, std::string> writes[] = {
        {Step::Create, "Failed to create file "},
        {Step::Write, "Failed to write to file "},
        {Step::Replace, "Unknown error while writing to file "},
    };
    for (const auto& c : writes) {
        filetest::writeFile(path, "previous");
        const WriteResult r = writeKeyFile(path, makeKeySet(), filetest::FailingSaver(c.first));
        EXPECT_EQ(r.message, c.second + path + ".\n\rThe previous file is kept.");
        EXPECT_EQ(filetest::readFile(path), "previous");
        EXPECT_EQ(folder.entries(), std::vector<std::string>{"keys.kcf"});
    }
    EXPECT_EQ(writeKeyFile(path, makeKeySet(), filetest::FailingSaver(Step::Write, true)).message,
              "Failed to write to file " + path + ".\n\rThe previous file is kept. The partial file "
                  + path + ".~tmp could not be deleted.");
}
