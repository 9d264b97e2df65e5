#include "edit_routing.h"

#include "editor/command_box_actions.h"
#include "editor/command_editor.h"
#include "frames/answer_frame.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>

EditRouting::EditRouting(QAction* cut, QAction* copy, QAction* paste, QAction* undo,
                         CommandEditor& editor, TAnswerFrame& answers, QWidget* window)
    : QObject(window),
      m_cut(cut),
      m_copy(copy),
      m_paste(paste),
      m_undo(undo),
      m_editor(&editor),
      m_answers(&answers),
      m_window(window)
{
    connect(m_cut, &QAction::triggered, this, &EditRouting::Cut);
    connect(m_copy, &QAction::triggered, this, &EditRouting::Copy);
    connect(m_paste, &QAction::triggered, this, &EditRouting::Paste);
    connect(m_undo, &QAction::triggered, this, &EditRouting::Undo);
}

void EditRouting::setRedo(QAction* redo)
{
    m_redo = redo;
    connect(m_redo, &QAction::triggered, this, &EditRouting::Redo);
    update();
}

QLineEdit* EditRouting::focusedTextField() const
{
    auto* field = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (!field || !m_window || field->window() != m_window->window())
        return nullptr;
    return field;
}

EditRouting::Target EditRouting::target() const
{
    // The control that has the focus now decides. The boxes' own marks only stand in while
    // a menu or another window has it: a box that lost the focus to another window and was
    // left from there for the other box may still think it has it.
    const QWidget* focus = QApplication::focusWidget();
    if (m_editor && focus && focus == m_editor->commandBox())
        return m_editor->commandBoxFocused() ? Target::CommandBox : Target::None;
    if (m_answers && focus && focus == m_answers->AnswerBox())
        return m_answers->boxFocused() ? Target::AnswerBox : Target::None;
    if (m_editor && m_editor->commandBoxFocused())
        return Target::CommandBox;
    if (m_answers && m_answers->boxFocused())
        return Target::AnswerBox;
    if (focusedTextField())
        return Target::TextField;
    return Target::None;
}

void EditRouting::update()
{
    bool cut = false;
    bool copy = false;
    bool paste = false;
    bool undo = false;
    bool redo = false;
    switch (target()) {
    case Target::CommandBox: {
        m_editor->updateActions();
        const CommandBoxActions& a = m_editor->actions();
        cut = a.DoCutText->isEnabled();
        copy = a.DoCopyText->isEnabled();
        paste = a.DoPasteText->isEnabled();
        undo = a.DoUndoText->isEnabled();
        redo = a.DoRedoText->isEnabled();
        break;
    }
    case Target::AnswerBox:
        cut = copy = m_answers->canCutOrCopy();
        paste = m_answers->canPaste();
        undo = m_answers->canUndo();
        break;
    case Target::TextField: {
        const QLineEdit* field = focusedTextField();
        const bool selection = field->hasSelectedText() && field->echoMode() == QLineEdit::Normal;
        cut = selection && !field->isReadOnly();
        copy = selection;
        paste = !field->isReadOnly();
        undo = field->isUndoAvailable();
        redo = field->isRedoAvailable();
        break;
    }
    case Target::None:
        break;
    }
    m_cut->setEnabled(cut);
    m_copy->setEnabled(copy);
    m_paste->setEnabled(paste);
    m_undo->setEnabled(undo);
    if (m_redo)
        m_redo->setEnabled(redo);
}

void EditRouting::Cut()
{
    update();
    if (!m_cut->isEnabled())
        return;
    switch (target()) {
    case Target::CommandBox: m_editor->actions().DoCutText->trigger(); break;
    case Target::AnswerBox: m_answers->Cut(); break;
    case Target::TextField: focusedTextField()->cut(); break;
    case Target::None: break;
    }
    update();
}

void EditRouting::Copy()
{
    update();
    if (!m_copy->isEnabled())
        return;
    switch (target()) {
    case Target::CommandBox: m_editor->actions().DoCopyText->trigger(); break;
    case Target::AnswerBox: m_answers->Copy(); break;
    case Target::TextField: focusedTextField()->copy(); break;
    case Target::None: break;
    }
    update();
}

void EditRouting::Paste()
{
    update();
    if (!m_paste->isEnabled())
        return;
    switch (target()) {
    case Target::CommandBox: m_editor->actions().DoPasteText->trigger(); break;
    case Target::AnswerBox: m_answers->Paste(); break;
    case Target::TextField: focusedTextField()->paste(); break;
    case Target::None: break;
    }
    update();
}

void EditRouting::Undo()
{
    update();
    if (!m_undo->isEnabled())
        return;
    switch (target()) {
    case Target::CommandBox: m_editor->actions().DoUndoText->trigger(); break;
    case Target::AnswerBox: m_answers->Undo(); break;
    case Target::TextField: focusedTextField()->undo(); break;
    case Target::None: break;
    }
    update();
}

void EditRouting::Redo()
{
    update();
    if (!m_redo || !m_redo->isEnabled())
        return;
    switch (target()) {
    case Target::CommandBox: m_editor->actions().DoRedoText->trigger(); break;
    case Target::TextField: focusedTextField()->redo(); break;
    case Target::AnswerBox:
    case Target::None: break;
    }
    update();
}
