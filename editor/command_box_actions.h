#pragma once
// The actions of the command box and its pop-up menu, with the captions and shortcuts the
// user knows. Their enabled state is recomputed from the command box's flags by update(); the
// main window reuses the same actions in its Edit menu and tool bar.

#include "commandbox/block_state.h"
#include "protocol/vocabulary.h"

#include <QKeySequence>
#include <QList>
#include <QObject>

#include <string>

class QAction;
class QMenu;
class QWidget;

class CommandBoxActions : public QObject {
    Q_OBJECT
public:
    // What the enabling is computed from.
    struct State {
        BlockState block;
        ClipboardState clipboard;
        bool clipboardEmpty = true;
        bool undoEmpty = true;
        bool redoEmpty = true;
        bool focused = false; // the command box has the input focus
        int lineCount = 1;
        std::string cursorDisplayText;
        std::string cursorCommandLine;
        bool extendedLmx = true;
    };

    explicit CommandBoxActions(QWidget* owner);
    ~CommandBoxActions() override;

    QAction* DoCommandBoxClear;
    QAction* DoCutText;
    QAction* DoCopyText;
    QAction* DoPasteText;
    QAction* DoUndoText;
    QAction* DoRedoText;
    QAction* DoEditData;
    QAction* DoEnInsertBlock;
    QAction* DoInsertDisplay;
    QAction* DoInsertMessage;
    QAction* DoInsertPage;
    QAction* DoInsertLine;
    QAction* DoEnDelBlock;
    QAction* DoDeleteBlockDisplay;
    QAction* DoDeleteBlockMessage;
    QAction* DoDeleteBlockPage;
    QAction* DoDeleteBlockLine;
    QAction* DoDeleteSingleCommand;
    QAction* DoForcePacket;
    QAction* DoNewPacket;

    QAction* insertAction(lmx::BlockKind kind) const;
    QAction* deleteBlockAction(lmx::BlockKind kind) const;

    // The command box's pop-up menu: "Clear Command&Box", Cut, Copy, Paste, "&Edit Data Field",
    // "Insert Block...", "Delete Block...", "Delete Single".
    QMenu* popupMenu() const { return m_menu; }
    QMenu* insertBlockMenu() const { return m_insertMenu; }
    QMenu* deleteBlockMenu() const { return m_deleteMenu; }

    // The actions the command box reacts to by shortcut while it has the focus.
    QList<QAction*> shortcutActions() const;

    void update(const State& state);

private:
    QAction* make(const QString& caption, const QKeySequence& shortcut = QKeySequence());

    QMenu* m_menu;
    QMenu* m_insertMenu;
    QMenu* m_deleteMenu;
};

