#pragma once
// The Edit menu's Cut, Copy, Paste and Undo go to the control that has the focus: the
// command box (its own clipboard and undo), the answer box (its own), or a single-line text
// field of the window (the system clipboard). With the focus elsewhere they are unavailable.

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

    Target target() const;
    // Recomputes the four actions' enabled state for the focused control.
    void update();

    void Cut();
    void Copy();
    void Paste();
    void Undo();

private:
    QLineEdit* focusedTextField() const;

    QAction* m_cut;
    QAction* m_copy;
    QAction* m_paste;
    QAction* m_undo;
    QPointer<CommandEditor> m_editor;
    QPointer<TAnswerFrame> m_answers;
    QPointer<QWidget> m_window;
};
