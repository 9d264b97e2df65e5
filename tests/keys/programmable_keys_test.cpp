#include "tests/editor/commands_support.h"

#include "files/key_file.h"
#include "tests/files/file_test_support.h"

#include <gtest/gtest.h>

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
        asker.setNext(entryOf(0xC5), "ab");
        keys.DoKeyDef(1);
    }
    bool load(const std::string& path)
    {
        user.setNextFileName(QString::fromStdString(path));
        return keys.DoLoadKeys();
    }
};

} // namespace

TEST(ProgrammableKeys, DefineInsertAndClear)
{
    KeysRig rig; // Key 2 defined
    EXPECT_EQ(rig.status, QStringList({"Modifying Settings Key 2", "Ready..."}));
    EXPECT_EQ(rig.keys.buttonCaption(0), "Key 1");
    EXPECT_EQ(rig.keys.buttonCaption(1), "Key 2 = $C5");
    EXPECT_FALSE(rig.keys.DoKey(0) || rig.keys.DoClearKey(0) || rig.keys.DoKeyDef(1));
    ASSERT_TRUE(rig.keys.DoKey(1));
    EXPECT_EQ(rig.box.cursorLine().displayText, "ESC Key 2 'AB'");

    rig.user.setNextAnswer(UserDialogs::Answer::No);
    EXPECT_FALSE(rig.keys.DoClearKey(1));
    EXPECT_EQ(rig.user.lastText(), "Are you sure to clear Key 2 = $C5 ?");
    rig.user.setNextAnswer(UserDialogs::Answer::No);
    EXPECT_FALSE(rig.keys.DoClearAllKeys());
    EXPECT_EQ(rig.user.lastText(), "Are you sure to clear the Keys ?");
    rig.user.setNextAnswer(UserDialogs::Answer::Yes);
    EXPECT_TRUE(rig.keys.DoClearAllKeys());
    EXPECT_FALSE(rig.keys.anyKeyDefined() || rig.keys.DoSaveKeys() || rig.keys.DoClearAllKeys());
    EXPECT_EQ(rig.user.steps().size(), 3u);
}

TEST(ProgrammableKeys, SaveAndLoadThroughTheFileDialogs)
{
    filetest::TempFolder folder;
    KeysRig rig;
    rig.keys.setCheckFileReplace(false);
    rig.user.setNextFileName(QString::fromStdString(folder.file("mine")));
    ASSERT_TRUE(rig.keys.DoSaveKeys());
    EXPECT_FALSE(rig.user.steps().last().request.confirmOverwrite);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"mine.kcf"}); // the default suffix

    const lmx::KeySet saved = rig.keys.keys();
    rig.keys.ClearKeyList();
    ASSERT_TRUE(rig.load(folder.file("mine.kcf")));
    EXPECT_EQ(rig.keys.keys(), saved);
    EXPECT_EQ(rig.status.mid(2), QStringList({"Save Keys", "Ready...", "Load Keys", "Ready..."}));

    rig.keys.setCheckFileReplace(true);
    rig.user.setNextFileName(QString()); // cancelled
    EXPECT_FALSE(rig.keys.DoSaveKeys());
    EXPECT_TRUE(rig.user.steps().last().request.confirmOverwrite);

    // Four free keys read back free, over the defined one too.
    filetest::writeFile(folder.file("free.kcf"), lmx::keyFileText(lmx::makeKeySet()));
    ASSERT_TRUE(rig.load(folder.file("free.kcf")));
    EXPECT_FALSE(rig.keys.anyKeyDefined());
    EXPECT_EQ(rig.keys.buttonCaption(1), "Key 2");
    EXPECT_EQ(rig.user.unexpected(), 0);
}

TEST(ProgrammableKeys, FailedLoadsAndSavesAreReported)
{
    filetest::TempFolder folder;
    const std::string text = lmx::keyFileText(lmx::makeKeySet());
    filetest::writeFile(folder.file("colour.kcf"),
                        std::string(text).insert(text.find("  Id"), "  Colour = 1\r\n"));
    filetest::writeFile(folder.file("three.kcf"), text.substr(0, text.rfind("object")));
    const std::pair<std::string, QString> cases[] = {
        {"colour.kcf", "Failed to read from file "},
        {"three.kcf", "Unknown error while reading from file "},
        {"missing.kcf", "Failed to open file "},
    };
    for (const auto& [file, starts] : cases) {
        SCOPED_TRACE(file);
        KeysRig rig;
        rig.load(folder.file(file));
        EXPECT_TRUE(rig.user.lastText().startsWith(starts + QString::fromStdString(folder.file(file))));
        EXPECT_FALSE(rig.keys.anyKeyDefined());
    }
    KeysRig rig;
    const lmx::KeySet before = rig.keys.keys();
    rig.user.setNextFileName(QString::fromStdString(folder.file("no/such/folder/keys.kcf")));
    EXPECT_FALSE(rig.keys.DoSaveKeys());
    EXPECT_TRUE(rig.user.lastText().startsWith("Failed to create file "));
    EXPECT_EQ(rig.user.steps().last().icon, UserDialogs::Icon::Warning);
    EXPECT_EQ(rig.keys.keys(), before);
}

// A key file named on the command line is read without a dialog, and its failure told as
// Load Keys tells it.
TEST(ProgrammableKeys, AKeyFileIsLoadedWithoutTheDialog)
{
    filetest::TempFolder folder;
    KeysRig rig;
    filetest::writeFile(folder.file("mine.kcf"), lmx::keyFileText(rig.keys.keys()));
    KeysRig other;
    other.keys.ClearKeyList();
    other.keys.loadKeyFile(QString::fromStdString(folder.file("mine.kcf")));
    EXPECT_EQ(other.keys.buttonCaption(1), "Key 2 = $C5");
    EXPECT_EQ(other.user.steps().size(), 0u);
    other.keys.loadKeyFile(QString::fromStdString(folder.file("missing.kcf")));
    EXPECT_TRUE(other.user.lastText().startsWith("Failed to open file")) << other.user.lastText().toStdString();
}
