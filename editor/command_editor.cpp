#include "command_editor.h"

#include "widgets/ovel_list_box.h"

#include <QAction>
#include <QFocusEvent>
#include <QItemSelectionModel>
#include <QMenu>

#include <algorithm>
#include <vector>

CommandEditor::CommandEditor(UserDialogs& dialogs, ParameterDialogs& parameters, QWidget* viewParent)
    : QObject(viewParent),
      m_blocks(m_box, parameters, dialogs),
      m_data(m_box, m_blocks, parameters),
      m_clipboard(m_box, m_blocks),
      m_model(m_box.list()),
      m_selection(&m_model),
      m_sync(m_box.list(), m_model, m_selection)
{
    setUpViews(viewParent);
    m_actions = new CommandBoxActions(m_commandBox);
    m_commandBox->addActions(m_actions->shortcutActions());
    // The hex box shows the same lines with the same cursor: Edit Data and Delete Single act
    // on its cursor line by their keys as well.
    m_hexBox->addActions({m_actions->DoEditData, m_actions->DoDeleteSingleCommand});
    connectActions();

    m_box.setTitleHandler([this](const std::string& title) {
        emit titleChanged(QString::fromLatin1(title.c_str()));
    });
    connect(&m_model, &CommandListModel::settled, this, &CommandEditor::settled);
    m_box.list().setCursor(0);
    m_sync.pushToView();
    updateActions();
}

void CommandEditor::setUpViews(QWidget* parent)
{
    m_commandBox = new TOvelListBox(parent);
    m_commandBox->setObjectName(QStringLiteral("CommandBox"));
    setUpProgramList(m_commandBox, QFont(QStringLiteral("Times New Roman"), 8), Qt::red);
    m_hexBox = new TOvelListBox(parent);
    m_hexBox->setObjectName(QStringLiteral("HexBox"));
    setUpProgramList(m_hexBox, QFont(QStringLiteral("Arial"), 8), Qt::black);
    m_hexBox->setTextRole(CommandListModel::HexTextRole);
    // One current line in sight in both boxes, with the focus or without.
    m_commandBox->SetShowCurrentLine(true);
    m_hexBox->SetShowCurrentLine(true);

    const QFont boxFont = m_commandBox->font();
    m_box.setLineFont(boxFont.pointSize(), (boxFont.bold() ? fontstyle::Bold : 0u)
                                                   | (boxFont.italic() ? fontstyle::Italic : 0u));

    for (TOvelListBox* view : {m_commandBox.data(), m_hexBox.data()}) {
        view->setModel(&m_model);
        view->setSelectionModel(&m_selection);
        connect(view, &TOvelListBox::lineClicked, this, &CommandEditor::clicked);
        connect(view, &TOvelListBox::OnScroll, this, [this](TOvelListBox* sender) {
            if (m_inStep)
                return;
            m_inStep = true;
            TOvelListBox* other = sender == m_commandBox ? m_hexBox.data() : m_commandBox.data();
            other->setTopRow(sender->topRow());
            m_inStep = false;
        });
    }
    connect(m_commandBox, &TOvelListBox::lineDoubleClicked, this, &CommandEditor::doubleClicked);
    connect(m_commandBox, &TOvelListBox::focusLost, this, &CommandEditor::focusLost);
    m_commandBoxObject = m_commandBox;
    m_commandBox->installEventFilter(this);

    m_commandBox->setLineDragEnabled(true);
    connect(m_commandBox, &TOvelListBox::dragStarting, this, &CommandEditor::dragStarting);
    m_commandBox->setDropFilter([this](int row) { return m_clipboard.dropAllowedAt(row); });
    connect(m_commandBox, &TOvelListBox::linesDropped, this,
            [this](int row) { run([&] { m_clipboard.Drop(row); }); });

    m_commandBox->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_commandBox, &QWidget::customContextMenuRequested, this, &CommandEditor::showPopup);
}

template <class F>
void CommandEditor::run(F&& operation)
{
    operation();
    updateActions();
}

void CommandEditor::connectActions()
{
    CommandBoxActions& a = *m_actions;
    auto on = [this](QAction* action, auto operation) {
        connect(action, &QAction::triggered, this, [this, operation] { run(operation); });
    };
    on(a.DoCommandBoxClear, [this] {
        if (m_blocks.ClearWindow())
            emit windowCleared();
    });
    on(a.DoCutText, [this] { m_clipboard.Cut(); });
    on(a.DoCopyText, [this] { m_clipboard.Copy(); });
    on(a.DoPasteText, [this] { m_clipboard.Paste(); });
    on(a.DoUndoText, [this] { m_clipboard.Undo(); });
    on(a.DoRedoText, [this] { m_clipboard.Redo(); });
    on(a.DoEditData, [this] { m_data.EditData(); });
    for (lmx::BlockKind kind : lmx::kBlockKinds) {
        on(a.insertAction(kind), [this, kind] { m_blocks.insertBlock(kind); });
        on(a.deleteBlockAction(kind), [this] { m_blocks.deleteSelection(); });
    }
    on(a.DoDeleteSingleCommand, [this] { m_blocks.DeleteSingle(); });
    connect(a.DoForcePacket, &QAction::triggered, this, &CommandEditor::forcePacketRequested);
    connect(a.DoNewPacket, &QAction::triggered, this, &CommandEditor::newPacketRequested);
}

void CommandEditor::setExtendedLmx(bool on)
{
    m_extendedLmx = on;
    updateActions();
}

void CommandEditor::updateActions()
{
    CommandBoxActions::State s;
    s.block = m_box.blockState();
    s.clipboard = m_box.clipboardState();
    s.clipboardEmpty = m_box.clipboard().empty();
    s.undoEmpty = !m_box.canUndo();
    s.redoEmpty = !m_box.canRedo();
    s.focused = m_focused;
    s.lineCount = m_box.list().count();
    s.cursorDisplayText = m_box.cursorLine().displayText;
    s.cursorCommandLine = m_box.cursorLine().commandLine();
    s.extendedLmx = m_extendedLmx;
    m_actions->update(s);
}

void CommandEditor::bringIntoStep()
{
    if (m_inStep || !m_commandBox || !m_hexBox)
        return;
    m_inStep = true;
    m_hexBox->setTopRow(m_commandBox->topRow());
    m_inStep = false;
}

void CommandEditor::selectLines(const std::vector<int>& rows)
{
    CommandList& list = m_box.list();
    int first = -1;
    {
        CommandList::Batch batch(list);
        list.deselectAll();
        for (const int row : rows) {
            if (row < 0 || row >= list.count())
                continue;
            list.setSelected(row, true);
            first = first < 0 ? row : std::min(first, row);
        }
        if (first >= 0)
            list.setCursor(first);
    }
    m_box.UpdateSelectionFlags();
    if (first >= 0 && m_commandBox)
        m_commandBox->scrollTo(m_model.index(first, 0));
    updateActions();
}

void CommandEditor::settled()
{
    m_sync.pushToView();
    updateActions();
    // Bringing the boxes into step lays the lines out; once after a run of changes is enough
    // (a reader adding thousands of lines one by one settles after each).
    if (!m_stepPending) {
        m_stepPending = true;
        QMetaObject::invokeMethod(this, [this] {
            m_stepPending = false;
            bringIntoStep();
        }, Qt::QueuedConnection);
    }
}

void CommandEditor::clicked()
{
    m_sync.pullFromView();
    m_box.UpdateSelectionFlags();
    bringIntoStep();
    updateActions();
}

void CommandEditor::doubleClicked(int, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & Qt::ShiftModifier)
        run([this] { m_blocks.SelectBlock(); });
    else if (m_data.canEditData())
        run([this] { m_data.EditData(); });
}

void CommandEditor::dragStarting()
{
    // A drag that starts on an unselected line selected it with its press: that is a click.
    // A drag of lines already selected (a whole block) keeps the block selection's flags.
    std::vector<int> before;
    for (int i = 0; i < m_box.list().count(); ++i)
        if (m_box.list().isSelected(i))
            before.push_back(i);
    std::vector<int> now;
    for (const QModelIndex& index : m_selection.selectedIndexes())
        now.push_back(index.row());
    std::sort(now.begin(), now.end());
    if (now != before)
        clicked();
}

void CommandEditor::focusLost()
{
    m_focused = false;
    m_box.list().deselectAll();
    // No block stays selected when no line is.
    m_box.UpdateSelectionFlags();
    updateActions();
}

bool CommandEditor::eventFilter(QObject* watched, QEvent* event)
{
    // A plain pointer comparison: events also arrive while the box is being destroyed.
    if (watched == m_commandBoxObject && event->type() == QEvent::FocusIn) {
        m_focused = true;
        updateActions();
    }
    return QObject::eventFilter(watched, event);
}

void CommandEditor::showPopup(const QPoint& pos)
{
    updateActions();
    m_actions->popupMenu()->popup(m_commandBox->viewport()->mapToGlobal(pos));
}
