#pragma once
// The "Answer Data" tab: the answer box with its five actions and pop-up menu. Insert and
// Edit ask for the template in the Insert Data dialog; Clear asks first. The Edit menu's Cut,
// Copy, Paste and Undo reach the box through canCutOrCopy() ... Undo() while it has the
// focus. Data answers of a transmission arrive through answerData().

#include "answer_list_model.h"
#include "editor/answer_box_editor.h"
#include "transmission/transmission_reports.h"
#include "widgets/ovel_list_box.h"

#include <QPointer>
#include <QWidget>

class ParameterDialogs;
class QAction;
class QMenu;
class UserDialogs;

class TAnswerFrame : public QWidget, public lmx::AnswerDataSink {
    Q_OBJECT
public:
    static constexpr const char* kInputCaption = "AnswerBox: Type Your Text.";
    static constexpr const char* kClearQuestion = "Are you sure you want to clear the window ??";
    static constexpr const char* kClearTitle = "Delete Message";

    TAnswerFrame(UserDialogs& dialogs, ParameterDialogs& parameters, QWidget* parent = nullptr);

    AnswerBoxEditor& editor() { return m_editor; }
    const AnswerBoxEditor& editor() const { return m_editor; }
    TOvelListBox* AnswerBox() const { return m_box; }
    QMenu* popupMenu() const { return m_menu; }

    QAction* DoClearAnswerBox;
    QAction* DoEditAnswerBox;
    QAction* DoInsertAnswerBox;
    QAction* DoDeleteAnswerBox;
    QAction* DoRestoreAnswerBox;

    void DoClearAnswerBoxExecute();
    void DoEditAnswerBoxExecute();
    void DoInsertAnswerBoxExecute();
    void DoDeleteAnswerBoxExecute();
    void DoRestoreAnswerBoxExecute();

    // The answer box has the input focus (a pop-up menu or another window does not take it).
    bool boxFocused() const { return m_focused; }
    // The Edit menu's steps while the box has the focus.
    bool canCutOrCopy() const;
    bool canPaste() const;
    bool canUndo() const;
    void Cut();
    void Copy();
    void Paste();
    void Undo();

    // New file: the end marker alone.
    void newFile();
    // The editor's lines changed from outside (a command file was loaded).
    void refresh();
    void updateActions();

    void answerData(const std::string& data) override;

signals:
    // The user changed the templates (they are saved with the command file).
    void templatesEdited();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* make(const QString& caption, const QKeySequence& shortcut);
    template <class F>
    void change(F&& step);
    template <class F>
    void edit(F&& step);
    void textsChanged();
    void pushSelection();
    void pullSelection();
    void focusLost();
    void showPopup(const QPoint& pos);

    UserDialogs& m_dialogs;
    ParameterDialogs& m_parameters;
    AnswerBoxEditor m_editor;
    // Goes before the box that shows it; the box is then left empty until it goes too.
    AnswerListModel m_model;
    QPointer<TOvelListBox> m_box;
    const QObject* m_boxObject = nullptr;
    QMenu* m_menu = nullptr;
    bool m_focused = false;
    bool m_syncing = false;
};
