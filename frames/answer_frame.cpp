#include "answer_frame.h"

#include "dialogs/ask_data_rules.h"
#include "dialogs/parameter_dialogs.h"
#include "platform/user_dialogs.h"
#include "widgets/ovel_list_box.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QItemSelectionModel>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>

TAnswerFrame::TAnswerFrame(UserDialogs& dialogs, ParameterDialogs& parameters, QWidget* parent)
    : QWidget(parent),
      m_dialogs(dialogs),
      m_parameters(parameters),
      m_model(m_editor)
{
    setObjectName(QStringLiteral("AnswerFrame"));
    m_box = new TOvelListBox(this);
    m_box->setObjectName(QStringLiteral("AnswerBox"));
    setUpProgramList(m_box, QFont(QStringLiteral("Arial"), 8), Qt::black);
    // Several templates can be selected for Copy, Cut and moving by drag.
    m_box->SetAllowRangeSelect(true);
    m_box->SetAllowExtSelect(true);
    m_box->setModel(&m_model);
    m_box->setLineDragEnabled(true);
    m_boxObject = m_box;
    m_box->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_box);

    DoClearAnswerBox = make(QStringLiteral("Clear Answer&Box"), QKeySequence(Qt::CTRL | Qt::Key_B));
    DoEditAnswerBox = make(QStringLiteral("Edit Data Field"), QKeySequence(Qt::CTRL | Qt::Key_E));
    DoInsertAnswerBox = make(QStringLiteral("Insert  Answer  Text"), QKeySequence(Qt::Key_Insert));
    DoDeleteAnswerBox = make(QStringLiteral("Delete Answer Text"), QKeySequence(Qt::Key_Delete));
    DoRestoreAnswerBox = make(QStringLiteral("Restore AnswerBox"), QKeySequence(Qt::CTRL | Qt::Key_R));
    connect(DoClearAnswerBox, &QAction::triggered, this, &TAnswerFrame::DoClearAnswerBoxExecute);
    connect(DoEditAnswerBox, &QAction::triggered, this, &TAnswerFrame::DoEditAnswerBoxExecute);
    connect(DoInsertAnswerBox, &QAction::triggered, this, &TAnswerFrame::DoInsertAnswerBoxExecute);
    connect(DoDeleteAnswerBox, &QAction::triggered, this, &TAnswerFrame::DoDeleteAnswerBoxExecute);
    connect(DoRestoreAnswerBox, &QAction::triggered, this, &TAnswerFrame::DoRestoreAnswerBoxExecute);
    m_box->addActions({DoClearAnswerBox, DoEditAnswerBox, DoInsertAnswerBox, DoDeleteAnswerBox,
                       DoRestoreAnswerBox});

    m_menu = new QMenu(this);
    m_menu->addAction(DoClearAnswerBox);
    m_menu->addSeparator();
    m_menu->addAction(DoEditAnswerBox);
    m_menu->addSeparator();
    m_menu->addActions({DoInsertAnswerBox, DoDeleteAnswerBox});
    m_menu->addSeparator();
    m_menu->addAction(DoRestoreAnswerBox);
    m_box->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_box, &QWidget::customContextMenuRequested, this, &TAnswerFrame::showPopup);

    connect(m_box->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TAnswerFrame::pullSelection);
    connect(m_box->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TAnswerFrame::pullSelection);
    connect(m_box, &TOvelListBox::focusLost, this, &TAnswerFrame::focusLost);
    // The box keeps the focus while another window has it; a control of this window taking
    // it from that window takes it from the box too.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (m_focused && now && now != m_box && now->window() == window()
            && !qobject_cast<QMenuBar*>(now))
            focusLost();
    });
    connect(m_box, &TOvelListBox::dragStarting, this, &TAnswerFrame::pullSelection);
    connect(m_box, &TOvelListBox::linesDropped, this,
            [this](int row) { edit([this, row] { m_editor.drop(row); }); });
    connect(m_box, &TOvelListBox::lineDoubleClicked, this, [this](int, Qt::KeyboardModifiers) {
        if (DoEditAnswerBox->isEnabled())
            DoEditAnswerBoxExecute();
    });
    refresh();
}

QAction* TAnswerFrame::make(const QString& caption, const QKeySequence& shortcut)
{
    auto* action = new QAction(caption, this);
    action->setShortcut(shortcut);
    // The command box has shortcuts of its own on the same keys.
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    return action;
}

template <class F>
void TAnswerFrame::change(F&& step)
{
    step();
    refresh();
}

template <class F>
void TAnswerFrame::edit(F&& step)
{
    change(std::forward<F>(step));
    emit templatesEdited();
}

void TAnswerFrame::refresh()
{
    m_model.reload();
    pushSelection();
    updateActions();
}

void TAnswerFrame::textsChanged()
{
    m_model.textsChanged();
    updateActions();
}

void TAnswerFrame::pushSelection()
{
    if (m_syncing || !m_box)
        return;
    m_syncing = true;
    QItemSelectionModel* selection = m_box->selectionModel();
    QItemSelection rows;
    for (int i = 0; i < m_editor.count(); ++i)
        if (m_editor.isSelected(i))
            rows.select(m_model.index(i), m_model.index(i));
    selection->select(rows, QItemSelectionModel::ClearAndSelect);
    const int current = m_editor.current();
    selection->setCurrentIndex(current >= 0 ? m_model.index(current) : QModelIndex(),
                               QItemSelectionModel::NoUpdate);
    m_syncing = false;
}

void TAnswerFrame::pullSelection()
{
    if (m_syncing || !m_box)
        return;
    m_syncing = true;
    std::vector<char> selected(static_cast<size_t>(m_editor.count()), 0);
    for (const QModelIndex& index : m_box->selectionModel()->selectedIndexes())
        if (index.row() >= 0 && index.row() < m_editor.count())
            selected[static_cast<size_t>(index.row())] = 1;
    const QModelIndex current = m_box->selectionModel()->currentIndex();
    m_editor.setSelection(selected, current.isValid() ? current.row() : m_editor.current());
    m_syncing = false;
    updateActions();
}

void TAnswerFrame::updateActions()
{
    const bool more = m_editor.holdsMoreThanEndMarker();
    DoClearAnswerBox->setEnabled(more);
    DoRestoreAnswerBox->setEnabled(more);
    DoEditAnswerBox->setEnabled(m_editor.canEdit());
    DoInsertAnswerBox->setEnabled(m_focused);
    DoDeleteAnswerBox->setEnabled(m_focused && m_editor.canEdit());
}

bool TAnswerFrame::eventFilter(QObject* watched, QEvent* event)
{
    // A plain pointer comparison: events also arrive while the box is being destroyed.
    if (watched == m_boxObject && event->type() == QEvent::FocusIn) {
        m_focused = true;
        updateActions();
    }
    // A hidden box (its tab switched off while a dialog had the focus) is edited by nothing.
    if (watched == m_boxObject && event->type() == QEvent::Hide && m_focused)
        focusLost();
    return QWidget::eventFilter(watched, event);
}

void TAnswerFrame::focusLost()
{
    m_focused = false;
    m_editor.deselectAll();
    pushSelection();
    updateActions();
}

void TAnswerFrame::showPopup(const QPoint& pos)
{
    updateActions();
    m_menu->popup(m_box->viewport()->mapToGlobal(pos));
}

void TAnswerFrame::DoClearAnswerBoxExecute()
{
    if (!m_editor.holdsMoreThanEndMarker())
        return;
    if (m_dialogs.askYesNoCancel(QString::fromLatin1(kClearQuestion), QString::fromLatin1(kClearTitle),
                                 UserDialogs::Icon::Question)
        != UserDialogs::Answer::Yes)
        return;
    edit([this] { m_editor.clearAll(); });
}

void TAnswerFrame::DoEditAnswerBoxExecute()
{
    if (!m_editor.canEdit())
        return;
    // The dialog edits the template, so the templates are shown again first.
    DoRestoreAnswerBoxExecute();
    AskValueRequest request;
    request.askMode = AskMode::EditText;
    request.caption = kInputCaption;
    request.currentText = prefillText(AskMode::EditText, m_editor.line(m_editor.current()).shownText,
                                      true);
    const AskResult result = m_parameters.AskValue(request);
    if (!result.confirmed)
        return;
    edit([this, &result] { m_editor.editText(result.raw); });
}

void TAnswerFrame::DoInsertAnswerBoxExecute()
{
    AskValueRequest request;
    request.askMode = AskMode::InsertText;
    request.caption = kInputCaption;
    const AskResult result = m_parameters.AskValue(request);
    if (!result.confirmed)
        return;
    edit([this, &result] { m_editor.insertText(result.raw); });
}

void TAnswerFrame::DoDeleteAnswerBoxExecute()
{
    if (!m_editor.canEdit())
        return;
    edit([this] { m_editor.deleteCurrent(); });
}

void TAnswerFrame::DoRestoreAnswerBoxExecute()
{
    m_box->setUpdatesEnabled(false);
    m_editor.restore();
    textsChanged();
    m_box->setUpdatesEnabled(true);
}

bool TAnswerFrame::canCutOrCopy() const
{
    return m_focused && m_editor.canEdit();
}

bool TAnswerFrame::canPaste() const
{
    return m_focused && !m_editor.clipboardEmpty();
}

bool TAnswerFrame::canUndo() const
{
    return m_focused && !m_editor.snapshotEmpty();
}

void TAnswerFrame::Cut()
{
    edit([this] { m_editor.cut(); });
}

void TAnswerFrame::Copy()
{
    m_editor.copy();
    updateActions();
}

void TAnswerFrame::Paste()
{
    edit([this] { m_editor.paste(); });
}

void TAnswerFrame::Undo()
{
    edit([this] { m_editor.undo(); });
}

void TAnswerFrame::newFile()
{
    change([this] { m_editor.reset(); });
}

void TAnswerFrame::answerData(const std::string& data)
{
    m_box->setUpdatesEnabled(false);
    if (m_editor.fill(data))
        textsChanged();
    m_box->setUpdatesEnabled(true);
}
