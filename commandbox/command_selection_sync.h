#pragma once
// Keeps the command list's cursor and selected lines and the views' shared selection model
// in step, both ways: a selection made by the editor is shown (after every settled change of
// the list), and a click in either view becomes the list's cursor and selection. Taking the
// view's selection happens only on the user's clicks and keys, never while the list changes:
// the selection model shifts and trims its own ranges then.

#include <QObject>

class CommandList;
class CommandListModel;
class QItemSelectionModel;

class CommandSelectionSync : public QObject {
    Q_OBJECT
public:
    CommandSelectionSync(CommandList& list, CommandListModel& model,
                         QItemSelectionModel& selection, QObject* parent = nullptr);

    // Shows the list's selection and cursor in the selection model.
    void pushToView();
    // Takes the selection model's selection and current row into the list.
    void pullFromView();

private:
    CommandList& m_list;
    CommandListModel& m_model;
    QItemSelectionModel& m_selection;
    bool m_busy = false;
};
