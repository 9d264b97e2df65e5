#pragma once
// The command editor as the main window places it: the command box and the hex box (two
// views of one command list model with one selection model), their pop-up menu and actions,
// and the editing logic behind them. The views are created with the given parent; the main
// window may put them anywhere (the command box in the "Command Editor " group, the hex box
// on the "Hex Data" tab).
//
// The editor is a child of the views' parent created before them, so it goes first; its
// model and selection model go with it and the views are left empty until they go too.

#include "block_editor.h"
#include "command_box_actions.h"
#include "command_clipboard.h"
#include "commandbox/command_box.h"
#include "commandbox/command_list_model.h"
#include "commandbox/command_selection_sync.h"
#include "data_editor.h"
#include "widgets/ovel_list_box.h"

#include <QItemSelectionModel>
#include <QObject>
#include <QPointer>

#include <vector>

class ParameterDialogs;
class UserDialogs;

class CommandEditor : public QObject {
    Q_OBJECT
public:
    CommandEditor(UserDialogs& dialogs, ParameterDialogs& parameters, QWidget* viewParent = nullptr);

    CommandBox& box() { return m_box; }
    BlockEditor& blocks() { return m_blocks; }
    DataEditor& dataEditor() { return m_data; }
    CommandClipboard& clipboard() { return m_clipboard; }
    CommandListModel& model() { return m_model; }
    QItemSelectionModel& selectionModel() { return m_selection; }
    TOvelListBox* commandBox() const { return m_commandBox; }
    TOvelListBox* hexBox() const { return m_hexBox; }
    CommandBoxActions& actions() { return *m_actions; }

    // Where Edit Data sends the escape commands with dialogs of their own.
    void setCommandEditHook(CommandEditHook* hook) { m_data.setCommandEditHook(hook); }
    // Force Packet and New Packet exist only with the extended protocol.
    void setExtendedLmx(bool on);
    // The command box has the input focus (a pop-up menu or another window does not take it).
    bool commandBoxFocused() const { return m_focused; }

    // Recomputes every action's enabled state.
    void updateActions();
    // The hex box takes the command box's first visible line.
    void bringIntoStep();
    // Selects these lines (rows of the list) alone, the cursor on the first, and scrolls the
    // command box to it; rows beyond the list are left out.
    void selectLines(const std::vector<int>& rows);

signals:
    void titleChanged(const QString& title);
    // Clear window was confirmed and the list now holds only its end line.
    void windowCleared();
    void forcePacketRequested();
    void newPacketRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setUpViews(QWidget* parent);
    void connectActions();
    void settled();
    void clicked();
    void doubleClicked(int row, Qt::KeyboardModifiers modifiers);
    void focusLost();
    void dragStarting();
    void showPopup(const QPoint& pos);
    // Runs an editing operation and refreshes the enabling afterwards.
    template <class F>
    void run(F&& operation);

    CommandBox m_box;
    BlockEditor m_blocks;
    DataEditor m_data;
    CommandClipboard m_clipboard;
    // After the box: the model observes its list and stops doing so when it goes.
    CommandListModel m_model;
    QItemSelectionModel m_selection;
    CommandSelectionSync m_sync;
    QPointer<TOvelListBox> m_commandBox;
    QPointer<TOvelListBox> m_hexBox;
    const QObject* m_commandBoxObject = nullptr;
    CommandBoxActions* m_actions = nullptr;
    bool m_focused = false;
    bool m_extendedLmx = true;
    bool m_inStep = false;
    bool m_stepPending = false;
};
