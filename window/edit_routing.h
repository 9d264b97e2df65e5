#pragma once
// The Edit menu's Cut, Copy, Paste, Undo and Redo go to the control that has the focus: the
// command box (its own clipboard, undo and redo), the answer box (its own clipboard and
// one-step undo; no redo), or a single-line text field of the window (the system clipboard).
// With the focus elsewhere they are unavailable.

#include <QObject>
#include <QPointer>

class CommandEditor;
class QAction;
class QLineEdit;
class QWidget;
class TAnswerFrame;

class EditRouting : public QObject {
    Q_OBJECT
public:
    enum class Target { None, CommandBox, AnswerBox, TextField };

    // The four actions are the window's; `window` is where a focused text field counts.
    EditRouting(QAction* cut, QAction* copy, QAction* paste, QAction* undo,
                CommandEditor& editor, TAnswerFrame& answers, QWidget* window);

    // The window's Redo; without one only the other four are routed.
    void setRedo(QAction* redo);

    Target target() const;
    // Recomputes the four actions' enabled state for the focused control.
    void update();

    void Cut();
    void Copy();
    void Paste();
    void Undo();
    void Redo();

private:
    QLineEdit* focusedTextField() const;

    QAction* m_cut;
    QAction* m_copy;
    QAction* m_paste;
    QAction* m_undo;
    QAction* m_redo = nullptr;
    QPointer<CommandEditor> m_editor;
    QPointer<TAnswerFrame> m_answers;
    QPointer<QWidget> m_window;
};
