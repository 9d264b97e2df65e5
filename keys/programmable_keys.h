#pragma once
// The four programmable keys and what can be done with them: insert a key's line, define a
// key in the key definition dialog, clear one or all keys after a question, save and load
// key files. The enabling of each step is a function of the keys. The window's actions and
// the key buttons (KeyActions) are a thin layer over this class; the command file loader
// binds keys through keys().

#include "files/key_definition.h"
#include "platform/user_dialogs.h"

#include <QString>

#include <functional>
#include <string>

class CommandBox;

// Runs the key definition dialog on a key; true when confirmed (the key is then filled).
class KeyDefinitionAsker {
public:
    virtual ~KeyDefinitionAsker() = default;
    virtual bool defineKey(lmx::TKeyDefinition& key) = 0;
};

class ProgrammableKeys {
public:
    static constexpr int kKeys = 4;
    static constexpr const char* kReady = "Ready...";
    static constexpr const char* kFilter = "ORVANTA KeyFiles (*.kcf)";
    static constexpr const char* kSuffix = "kcf";
    static constexpr const char* kSaveTitle = "Save Key Definitions";
    static constexpr const char* kLoadTitle = "Load Key Definitions";
    static constexpr const char* kClearAllQuestion = "Are you sure to clear the Keys ?";

    ProgrammableKeys(CommandBox& box, UserDialogs& dialogs, KeyDefinitionAsker& asker);

    lmx::KeySet& keys() { return m_keys; }
    const lmx::KeySet& keys() const { return m_keys; }
    // Key i, 0..3 ("Key 1" is 0).
    const lmx::TKeyDefinition& key(int i) const { return m_keys.at(static_cast<size_t>(i)); }

    // The save dialog asks before replacing a file.
    void setCheckFileReplace(bool on) { m_checkFileReplace = on; }
    bool checkFileReplace() const { return m_checkFileReplace; }
    // Receives the status texts ("Load Keys", "Ready...").
    void setStatusHandler(std::function<void(const QString&)> handler)
    {
        m_status = std::move(handler);
    }

    // Enabling.
    bool keyEnabled(int i) const { return key(i).Enabled; }
    bool keyDefEnabled(int i) const { return !key(i).Enabled; }
    bool clearKeyEnabled(int i) const { return key(i).Enabled; }
    bool anyKeyDefined() const { return lmx::anyKeyDefined(m_keys); }
    // The key button's caption: ButtonCaption while defined, else Id.
    std::string buttonCaption(int i) const;

    // Each returns true when it changed the list or the keys; a disabled step does nothing.
    bool DoKey(int i);
    bool DoKeyDef(int i);
    bool DoClearKey(int i);
    bool DoClearAllKeys();
    void ClearKeyList();
    bool DoSaveKeys();
    bool DoLoadKeys();
    // Load Keys without the dialog, for a key file named on the command line; as DoLoadKeys.
    bool loadKeyFile(const QString& path);

private:
    void status(const QString& text);
    bool readKeys(const QString& path);
    UserDialogs::FileRequest fileRequest(const char* title, bool save) const;

    CommandBox& m_box;
    UserDialogs& m_dialogs;
    KeyDefinitionAsker& m_asker;
    lmx::KeySet m_keys = lmx::makeKeySet();
    bool m_checkFileReplace = true;
    std::function<void(const QString&)> m_status;
};
