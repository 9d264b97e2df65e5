#include "command_box_actions.h"

#include "edit_rules.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

#include <array>

CommandBoxActions::CommandBoxActions(QWidget* owner)
    : QObject(owner), m_menu(new QMenu(owner))
{
    DoCommandBoxClear = make(QStringLiteral("Clear Command&Box"), QKeySequence(Qt::CTRL | Qt::Key_B));
    DoCutText = make(QStringLiteral("Cut"), QKeySequence(Qt::CTRL | Qt::Key_X));
    DoCopyText = make(QStringLiteral("Copy"), QKeySequence(Qt::CTRL | Qt::Key_C));
    DoPasteText = make(QStringLiteral("Paste"), QKeySequence(Qt::CTRL | Qt::Key_V));
    DoUndoText = make(QStringLiteral("Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z));
    DoRedoText = make(QStringLiteral("Redo"), QKeySequence(Qt::CTRL | Qt::Key_Y));
    DoEditData = make(QStringLiteral("&Edit Data Field"), QKeySequence(Qt::CTRL | Qt::Key_E));
    DoEnInsertBlock = make(QStringLiteral("Insert Block..."));
    DoInsertDisplay = make(QStringLiteral("Display"));
    DoInsertMessage = make(QStringLiteral("Message"));
    DoInsertPage = make(QStringLiteral("Page"));
    DoInsertLine = make(QStringLiteral("Line"));
    DoEnDelBlock = make(QStringLiteral("Delete Block..."));
    DoDeleteBlockDisplay = make(QStringLiteral("Display"));
    DoDeleteBlockMessage = make(QStringLiteral("Message"));
    DoDeleteBlockPage = make(QStringLiteral("Page"));
    DoDeleteBlockLine = make(QStringLiteral("Line"));
    DoDeleteSingleCommand = make(QStringLiteral("Delete Single"), QKeySequence(Qt::Key_Delete));
    DoForcePacket = make(QStringLiteral("Force Packet"));
    DoForcePacket->setToolTip(QStringLiteral("Insert a new Packet number."));
    DoNewPacket = make(QStringLiteral("New Packet"));
    DoNewPacket->setToolTip(QStringLiteral("Start a new Packet with Packet number 0."));
    for (QAction* a : {DoCutText, DoCopyText, DoPasteText, DoUndoText, DoRedoText})
        a->setToolTip(a->text());

    m_insertMenu = new QMenu(m_menu);
    m_insertMenu->addActions({DoInsertDisplay, DoInsertMessage, DoInsertPage, DoInsertLine});
    DoEnInsertBlock->setMenu(m_insertMenu);
    m_deleteMenu = new QMenu(m_menu);
    m_deleteMenu->addActions({DoDeleteBlockDisplay, DoDeleteBlockMessage, DoDeleteBlockPage,
                              DoDeleteBlockLine});
    DoEnDelBlock->setMenu(m_deleteMenu);

    m_menu->addAction(DoCommandBoxClear);
    m_menu->addSeparator();
    m_menu->addActions({DoCutText, DoCopyText, DoPasteText});
    m_menu->addSeparator();
    m_menu->addAction(DoEditData);
    m_menu->addSeparator();
    m_menu->addAction(DoEnInsertBlock);
    m_menu->addAction(DoEnDelBlock);
    m_menu->addSeparator();
    m_menu->addAction(DoDeleteSingleCommand);
}

CommandBoxActions::~CommandBoxActions() = default;

QAction* CommandBoxActions::make(const QString& caption, const QKeySequence& shortcut)
{
    auto* action = new QAction(caption, this);
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    }
    return action;
}

QAction* CommandBoxActions::insertAction(lmx::BlockKind kind) const
{
    const std::array<QAction*, 4> a{DoInsertDisplay, DoInsertMessage, DoInsertPage, DoInsertLine};
    return a[static_cast<size_t>(kind)];
}

QAction* CommandBoxActions::deleteBlockAction(lmx::BlockKind kind) const
{
    const std::array<QAction*, 4> a{DoDeleteBlockDisplay, DoDeleteBlockMessage,
                                    DoDeleteBlockPage, DoDeleteBlockLine};
    return a[static_cast<size_t>(kind)];
}

QList<QAction*> CommandBoxActions::shortcutActions() const
{
    return {DoCommandBoxClear, DoCutText, DoCopyText, DoPasteText, DoUndoText, DoRedoText,
            DoEditData, DoDeleteSingleCommand};
}

void CommandBoxActions::update(const State& s)
{
    using namespace editrules;
    for (lmx::BlockKind kind : lmx::kBlockKinds) {
        insertAction(kind)->setEnabled(canInsertBlock(kind, s.block));
        deleteBlockAction(kind)->setEnabled(canDeleteBlock(kind, s.block));
    }
    DoEnInsertBlock->setEnabled(canOpenInsertBlock(s.block));
    m_insertMenu->setEnabled(DoEnInsertBlock->isEnabled());
    DoEnDelBlock->setEnabled(canOpenDeleteBlock(s.block));
    m_deleteMenu->setEnabled(DoEnDelBlock->isEnabled());
    DoDeleteSingleCommand->setEnabled(canDeleteSingle(s.cursorDisplayText));
    DoEditData->setEnabled(canEditData(s.cursorCommandLine));
    DoCommandBoxClear->setEnabled(canClearCommandBox(s.lineCount));
    DoForcePacket->setEnabled(canInsertPacketBreak(s.extendedLmx));
    DoNewPacket->setEnabled(canInsertPacketBreak(s.extendedLmx));

    const bool cutCopy = s.focused && canCutOrCopy(s.block);
    DoCutText->setEnabled(cutCopy);
    DoCopyText->setEnabled(cutCopy);
    DoPasteText->setEnabled(s.focused && canPaste(s.block, s.clipboard, s.clipboardEmpty));
    DoUndoText->setEnabled(s.focused && canUndo(s.undoEmpty));
    DoRedoText->setEnabled(s.focused && canUndo(s.redoEmpty));
}
