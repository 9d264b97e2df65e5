#include "commands_support.h"

#include "files/key_file.h"
#include "tests/files/file_test_support.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

struct KeysRig {
    ScriptedDialogs user;
    ScriptedKeyAsker asker;
    CommandBox box;
    ProgrammableKeys keys{box, user, asker};
    QStringList status;

    KeysRig()
    {
        keys.setStatusHandler([this](const QString& s) { status << s; });
    }
    void defineTwo()
    {
        asker.setNext(entryOf(0xC5), "ab");
        keys.DoKeyDef(1);
    }
};

void writeText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

} // namespace

TEST(ProgrammableKeys, FreeKeysAtStart)
{
    KeysRig rig;
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(rig.keys.buttonCaption(i), "Key " + std::to_string(i + 1));
        EXPECT_FALSE(rig.keys.keyEnabled(i));
        EXPECT_TRUE(rig.keys.keyDefEnabled(i));
        EXPECT_FALSE(rig.keys.clearKeyEnabled(i));
        EXPECT_FALSE(rig.keys.DoKey(i));
        EXPECT_FALSE(rig.keys.DoClearKey(i));
    }
    EXPECT_FALSE(rig.keys.anyKeyDefined());
    EXPECT_FALSE(rig.keys.DoSaveKeys());
    EXPECT_FALSE(rig.keys.DoClearAllKeys());
    EXPECT_TRUE(rig.user.steps().empty());
}

TEST(ProgrammableKeys, DefineInsertAndClear)
{
    KeysRig rig;
    rig.defineTwo();
    EXPECT_EQ(rig.status, QStringList({"Modifying Settings Key 2", "Ready..."}));
    EXPECT_EQ(rig.keys.buttonCaption(1), "Key 2 = $C5");
    EXPECT_TRUE(rig.keys.keyEnabled(1));
    EXPECT_FALSE(rig.keys.keyDefEnabled(1));
    EXPECT_FALSE(rig.keys.DoKeyDef(1));
    EXPECT_EQ(rig.asker.calls(), 1);

    ASSERT_TRUE(rig.keys.DoKey(1));
    EXPECT_EQ(rig.box.cursorLine().displayText, "ESC Key 2 'AB'");
    EXPECT_EQ(hexOf(rig.box.cursorLine().commandLine()), "09 1B C5 41 42");

    rig.user.setNextAnswer(UserDialogs::Answer::No);
    EXPECT_FALSE(rig.keys.DoClearKey(1));
    EXPECT_EQ(rig.user.lastText(), "Are you sure to clear Key 2 = $C5 ?");
    rig.user.setNextAnswer(UserDialogs::Answer::Yes);
    EXPECT_TRUE(rig.keys.DoClearKey(1));
    EXPECT_EQ(rig.keys.buttonCaption(1), "Key 2");
    EXPECT_FALSE(rig.keys.anyKeyDefined());

    // A cancelled definition leaves the key free.
    EXPECT_FALSE(rig.keys.DoKeyDef(0));
    EXPECT_FALSE(rig.keys.keyEnabled(0));
}

TEST(ProgrammableKeys, ClearAllAsksOnce)
{
    KeysRig rig;
    rig.defineTwo();
    rig.asker.setNext(entryOf(0x85), "");
    rig.keys.DoKeyDef(3);
    rig.user.setNextAnswer(UserDialogs::Answer::No);
    EXPECT_FALSE(rig.keys.DoClearAllKeys());
    EXPECT_TRUE(rig.keys.anyKeyDefined());
    rig.user.setNextAnswer(UserDialogs::Answer::Yes);
    EXPECT_TRUE(rig.keys.DoClearAllKeys());
    EXPECT_EQ(rig.user.texts(), QStringList({"Are you sure to clear the Keys ?",
                                             "Are you sure to clear the Keys ?"}));
    EXPECT_FALSE(rig.keys.anyKeyDefined());
}

TEST(ProgrammableKeys, SaveAndLoadThroughTheFileDialogs)
{
    filetest::TempFolder folder;
    KeysRig rig;
    rig.defineTwo();
    rig.keys.setCheckFileReplace(false);
    rig.user.setNextFileName(QString::fromStdString(folder.file("mine")));
    ASSERT_TRUE(rig.keys.DoSaveKeys());
    const UserDialogs::FileRequest save = rig.user.steps().last().request;
    EXPECT_EQ(save.title, "Save Key Definitions");
    EXPECT_EQ(save.filter, "ORVANTA KeyFiles (*.kcf)");
    EXPECT_EQ(save.defaultSuffix, "kcf");
    EXPECT_FALSE(save.confirmOverwrite);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"mine.kcf"});
    const lmx::KeySet saved = rig.keys.keys();

    rig.keys.ClearKeyList();
    rig.user.setNextFileName(QString::fromStdString(folder.file("mine.kcf")));
    ASSERT_TRUE(rig.keys.DoLoadKeys());
    EXPECT_EQ(rig.user.steps().last().request.title, "Load Key Definitions");
    EXPECT_EQ(rig.keys.keys(), saved);
    EXPECT_EQ(rig.status.mid(2), QStringList({"Save Keys", "Ready...", "Load Keys", "Ready..."}));

    rig.keys.setCheckFileReplace(true);
    rig.user.setNextFileName(QString()); // cancelled
    EXPECT_FALSE(rig.keys.DoSaveKeys());
    EXPECT_TRUE(rig.user.steps().last().request.confirmOverwrite);
    EXPECT_EQ(rig.user.unexpected(), 0);
}

TEST(ProgrammableKeys, FourFreeKeysReadBackFree)
{
    filetest::TempFolder folder;
    writeText(folder.file("free.kcf"), lmx::keyFileText(lmx::makeKeySet()));
    KeysRig fresh;
    fresh.user.setNextFileName(QString::fromStdString(folder.file("free.kcf")));
    fresh.keys.DoLoadKeys();
    EXPECT_EQ(fresh.keys.keys(), lmx::makeKeySet());
    EXPECT_EQ(fresh.user.steps().size(), 1u); // the dialog, no message

    // Over a defined key: the file's free block frees it (the strings a free block leaves
    // out keep their values, as for any absent property).
    KeysRig rig;
    rig.defineTwo();
    rig.user.setNextFileName(QString::fromStdString(folder.file("free.kcf")));
    rig.keys.DoLoadKeys();
    EXPECT_FALSE(rig.keys.anyKeyDefined());
    EXPECT_EQ(rig.keys.buttonCaption(1), "Key 2");
    EXPECT_EQ(rig.keys.key(1).ButtonCaption, "FreeKey");
    EXPECT_EQ(rig.keys.key(1).CommandIndex, 0);
    EXPECT_FALSE(rig.keys.DoKey(1));
}

TEST(ProgrammableKeys, FailedLoadsAndSavesAreReported)
{
    filetest::TempFolder folder;
    std::string text = lmx::keyFileText(lmx::makeKeySet());
    const std::string colour = text;
    writeText(folder.file("colour.kcf"),
              std::string(colour).insert(colour.find("  Id"), "  Colour = 1\r\n"));
    writeText(folder.file("three.kcf"), text.substr(0, text.rfind("object")));

    struct Case {
        std::string file;
        QString starts;
    };
    const Case cases[] = {
        {"colour.kcf", "Failed to read from file "},
        {"three.kcf", "Unknown error while reading from file "},
        {"missing.kcf", "Failed to open file "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        KeysRig rig;
        rig.defineTwo();
        rig.user.setNextFileName(QString::fromStdString(folder.file(c.file)));
        rig.keys.DoLoadKeys();
        EXPECT_TRUE(rig.user.lastText().startsWith(c.starts + QString::fromStdString(folder.file(c.file))));
        EXPECT_FALSE(rig.keys.anyKeyDefined());
    }

    KeysRig rig;
    rig.defineTwo();
    const lmx::KeySet before = rig.keys.keys();
    rig.user.setNextFileName(QString::fromStdString(folder.file("no/such/folder/keys.kcf")));
    EXPECT_FALSE(rig.keys.DoSaveKeys());
    EXPECT_TRUE(rig.user.lastText().startsWith("Failed to create file "));
    EXPECT_EQ(rig.user.steps().last().icon, UserDialogs::Icon::Warning);
    EXPECT_EQ(rig.keys.keys(), before);
}
