#include "inc_dec_forms.h"

#include "widgets/dialog_style.h"

#include <QKeyEvent>
#include <QPushButton>

namespace {

std::vector<ValueBox> copies(const std::vector<ValueBox*>& boxes)
{
    std::vector<ValueBox> out;
    for (const ValueBox* b : boxes)
        out.push_back(*b);
    return out;
}

} // namespace

IncDecForm::IncDecForm(std::vector<ValueBox*> boxes, UserDialogs& dialogs, QWidget* parent)
    : FieldGridDialog(dialogs, boxes.size(), static_cast<int>(boxes.size()), true, parent),
      m_boxes(std::move(boxes))
{
    m_rules.open(copies(m_boxes));
    setWindowTitle(latin1(m_rules.title()));
    for (size_t i = 0; i < m_boxes.size(); ++i)
        setCell(i, m_boxes[i]->BoxLabel, true, m_rules.field(i).entryLength());
    refresh();
}

void IncDecForm::confirmed()
{
    if (m_rules.fill(m_boxes))
        accept();
}

TSingleIncDec::TSingleIncDec(TSingleBox& box, UserDialogs& dialogs, QWidget* parent)
    : IncDecForm({&box}, dialogs, parent)
{
}

TDoubleIncDec::TDoubleIncDec(TDoubleBox& left, TDoubleBox& right, UserDialogs& dialogs,
                             QWidget* parent)
    : IncDecForm({&left, &right}, dialogs, parent)
{
}

TTripleIncDec::TTripleIncDec(TTripleBox& first, TTripleBox& second, TTripleBox& third,
                             UserDialogs& dialogs, QWidget* parent)
    : FieldGridDialog(dialogs, TripleRules::kFields, static_cast<int>(TripleRules::kFields),
                      false, parent),
      m_boxes{&first, &second, &third}
{
    m_rules.open({first, second, third});
    setWindowTitle(latin1(m_rules.title()));
    for (size_t i = 0; i < TripleRules::kFields; ++i)
        setCell(i, m_rules.label(i), true, m_rules.field(i).config().entryLength);
    okButton()->setAutoDefault(false);
    okButton()->setDefault(false);
    syncErrors();
    refresh();
}

void TTripleIncDec::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        event->accept();
        reject();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        return;
    default:
        FieldGridDialog::keyPressEvent(event);
    }
}

void TTripleIncDec::syncErrors()
{
    for (size_t i = 0; i < TripleRules::kFields; ++i)
        m_boxes[i]->InError = m_rules.field(i).inError();
}

void TTripleIncDec::fieldEdited(size_t i, const std::string& text)
{
    m_rules.setText(i, text);
    syncErrors();
}

void TTripleIncDec::fieldUp(size_t i)
{
    m_rules.spinUp(i);
    syncErrors();
}

void TTripleIncDec::fieldDown(size_t i)
{
    m_rules.spinDown(i);
    syncErrors();
}

void TTripleIncDec::confirmed()
{
    if (m_rules.fill(m_boxes))
        accept();
}
