#include "edit_hex_form.h"

#include "field_edit.h"
#include "widgets/dialog_style.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TEditHexForm::TEditHexForm(THexData& data, UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent),
      m_data(data),
      m_label(new QLabel(this)),
      m_field(new FieldEdit(dialogs, this)),
      m_ok(new QPushButton(QStringLiteral("Ok"), this))
{
    m_rules.open(m_data);
    setWindowTitle(latin1(m_rules.title()));
    m_label->setObjectName(QStringLiteral("HeaderLabel"));
    m_label->setText(latin1(m_rules.label()));
    m_label->setBuddy(m_field);
    m_field->setObjectName(QStringLiteral("HexEditBox"));
    m_field->setMinimumWidth(320);
    m_field->setText(latin1(m_rules.text()));
    m_field->setKeyFilter([this](char c) { return m_rules.key(c); });
    m_ok->setObjectName(QStringLiteral("OkButton"));

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(m_ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_field);
    layout->addLayout(buttonRow);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_field, &QLineEdit::textChanged, this, &TEditHexForm::fieldEdited);
    connect(m_field, &FieldEdit::enterReleased, this, &TEditHexForm::confirm);
    connect(m_field, &FieldEdit::escapeReleased, this, &QDialog::reject);
    connect(m_ok, &QPushButton::clicked, this, &TEditHexForm::confirm);
    refresh();
}

void TEditHexForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_field->setFocus();
}

void TEditHexForm::fieldEdited()
{
    m_rules.setText(m_field->latin1Text());
    m_field->showText(m_rules.text());
    refresh();
}

void TEditHexForm::refresh()
{
    const bool ok = m_rules.okEnabled();
    m_ok->setEnabled(ok);
    m_field->setInvalid(!ok);
}

void TEditHexForm::confirm()
{
    if (m_rules.fill(m_data))
        accept();
}
