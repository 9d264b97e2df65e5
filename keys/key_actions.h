#pragma once
// The programmable keys as the main window shows them: the actions of the key buttons, of
// the "Key Definitions" and "Clear Keys" submenus and of Load Keys / Save Keys, with their
// captions and enabling rules, and the four key buttons Button1..Button4 for the "Command
// Editor " group. The behaviour is ProgrammableKeys'; update() recomputes enabling and the
// buttons' captions and runs after every step (the window calls it after anything else that
// binds keys, such as loading a command file).

#include "programmable_keys.h"

#include <QObject>

#include <array>
#include <memory>

class ActionButton;
class CommandBox;
class QAction;
class QMenu;
class QWidget;
class UserDialogs;

class KeyActions : public QObject {
    Q_OBJECT
public:
    // Without an asker the key definition dialog TKeyDefForm is used. The buttons and menus
    // are created with `owner` as parent; the window's layouts and menus take them over.
    KeyActions(CommandBox& box, UserDialogs& dialogs, QWidget* owner,
               KeyDefinitionAsker* asker = nullptr);
    ~KeyActions() override;

    ProgrammableKeys& keys() { return m_keys; }
    // The four keys, for the command file loader's bindings.
    lmx::KeySet& keySet() { return m_keys.keys(); }
    void setCheckFileReplace(bool on) { m_keys.setCheckFileReplace(on); }
    // Clears all four keys without asking (a command file load with ClearKeys on).
    void ClearKeyList();
    // While locked, Load Keys and Clear Keys are unavailable (the window locks them while a
    // transmission runs).
    void lockKeyList(bool on);

    QAction* DoKey1;
    QAction* DoKey2;
    QAction* DoKey3;
    QAction* DoKey4;
    QAction* DoKeyDef1;
    QAction* DoKeyDef2;
    QAction* DoKeyDef3;
    QAction* DoKeyDef4;
    QAction* DoClearKey1;
    QAction* DoClearKey2;
    QAction* DoClearKey3;
    QAction* DoClearKey4;
    QAction* DoClearAllKeys;
    QAction* ClearKeysEnable; // the "Clear Keys" submenu's own entry
    QAction* DoLoadKeys;
    QAction* DoSaveKeys;

    ActionButton* Button1;
    ActionButton* Button2;
    ActionButton* Button3;
    ActionButton* Button4;

    QAction* keyAction(int i) const { return m_key.at(static_cast<size_t>(i)); }
    QAction* keyDefAction(int i) const { return m_keyDef.at(static_cast<size_t>(i)); }
    QAction* clearKeyAction(int i) const { return m_clearKey.at(static_cast<size_t>(i)); }
    ActionButton* keyButton(int i) const { return m_buttons.at(static_cast<size_t>(i)); }

    // "Key Definitions": Key 1 .. Key 4. "Clear Keys": Key 1 .. Key 4, a separator, All;
    // its entry is ClearKeysEnable.
    QMenu* keyDefinitionsMenu() const { return m_defMenu; }
    QMenu* clearKeysMenu() const { return m_clearMenu; }

    void update();
    // A key file named on the command line, read as Load Keys reads the chosen one.
    void loadKeyFile(const QString& path);

signals:
    // "Modifying Settings Key 1", "Load Keys", "Save Keys", then "Ready...".
    void statusText(const QString& text);

private:
    QAction* make(const QString& caption, QWidget* owner);
    template <class F>
    void on(QAction* action, F&& step);

    std::unique_ptr<KeyDefinitionAsker> m_ownAsker;
    ProgrammableKeys m_keys;
    std::array<QAction*, 4> m_key{};
    std::array<QAction*, 4> m_keyDef{};
    std::array<QAction*, 4> m_clearKey{};
    std::array<ActionButton*, 4> m_buttons{};
    QMenu* m_defMenu;
    QMenu* m_clearMenu;
    bool m_locked = false;
};
