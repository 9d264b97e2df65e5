#include "ask_data_form.h"

#include "field_edit.h"
#include "spin_buttons.h"
#include "widgets/dialog_style.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TAskDataFrm::TAskDataFrm(UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent),
      m_caption(new QLabel(this)),
      m_field(new FieldEdit(dialogs, this)),
      m_spin(new SpinButtons(this)),
      m_message(newMessageLine(this)),
      m_ok(new QPushButton(QStringLiteral("Ok"), this))
{
    setWindowTitle(QStringLiteral("Insert Data"));
    m_caption->setObjectName(QStringLiteral("CaptionLabel"));
    m_field->setObjectName(QStringLiteral("DataEdit"));
    m_field->setMinimumWidth(260);
    m_caption->setBuddy(m_field);
    m_ok->setObjectName(QStringLiteral("OkButton"));

    auto* fieldRow = new QHBoxLayout;
    fieldRow->setSpacing(2);
    fieldRow->addWidget(m_field, 1);
    fieldRow->addWidget(m_spin);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(m_ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_caption);
    layout->addLayout(fieldRow);
    layout->addWidget(m_message);
    layout->addLayout(buttonRow);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_field->setKeyFilter([this](char c) { return m_rules.key(c); });
    connect(m_field, &QLineEdit::textChanged, this, &TAskDataFrm::fieldEdited);
    connect(m_field, &FieldEdit::enterReleased, this, &TAskDataFrm::confirm);
    connect(m_field, &FieldEdit::escapeReleased, this, &QDialog::reject);
    connect(m_spin, &SpinButtons::up, this, &TAskDataFrm::spinUp);
    connect(m_spin, &SpinButtons::down, this, &TAskDataFrm::spinDown);
    connect(m_ok, &QPushButton::clicked, this, &TAskDataFrm::confirm);
}

bool TAskDataFrm::start(const AskValueRequest& request)
{
    m_answer = {};
    if (!m_rules.open(request))
        return false;
    m_caption->setText(latin1(m_rules.caption()));
    m_spin->setVisible(m_rules.spinVisible());
    {
        const QSignalBlocker block(m_field);
        m_field->setMaxLength(m_rules.maxLength() > 0 ? m_rules.maxLength() : 32767);
        m_field->setText(latin1(m_rules.text()));
    }
    refresh();
    return true;
}

AskResult TAskDataFrm::AskValue(const AskValueRequest& request)
{
    if (!start(request))
        return {};
    exec();
    return m_answer;
}

void TAskDataFrm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_field->setFocus();
    m_field->selectAll();
}

void TAskDataFrm::fieldEdited(const QString&)
{
    m_rules.setText(m_field->latin1Text());
    m_field->showText(m_rules.text());
    refresh();
}

void TAskDataFrm::spinUp()
{
    m_rules.spinUp();
    m_field->showText(m_rules.text());
    refresh();
}

void TAskDataFrm::spinDown()
{
    m_rules.spinDown();
    m_field->showText(m_rules.text());
    refresh();
}

void TAskDataFrm::refresh()
{
    const bool ok = m_rules.okEnabled();
    m_ok->setEnabled(ok);
    m_field->setInvalid(!ok);
    m_message->setText(latin1(m_rules.message()));
}

void TAskDataFrm::confirm()
{
    if (!m_rules.okEnabled())
        return;
    m_answer = m_rules.result();
    accept();
}
