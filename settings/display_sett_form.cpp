#include "display_sett_form.h"

#include "files/display_entry.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lmx {

namespace {

std::string bytesOf(const QString& s)
{
    const QByteArray b = s.toLatin1();
    return std::string(b.constData(), static_cast<size_t>(b.size()));
}

} // namespace

NetNrSpinBox::NetNrSpinBox(QWidget* parent) : QSpinBox(parent)
{
    setRange(TDisplaySettings::kMinNetNr, TDisplaySettings::kMaxNetNr);
    lineEdit()->setMaxLength(kNetNrEntryLength);
}

int NetNrSpinBox::entryValue() const
{
    return netNrOfEntry(bytesOf(lineEdit()->text()));
}

QValidator::State NetNrSpinBox::validate(QString& text, int&) const
{
    return isNetNrEntryText(bytesOf(text)) ? QValidator::Acceptable : QValidator::Invalid;
}

int NetNrSpinBox::valueFromText(const QString& text) const
{
    return netNrOfEntry(bytesOf(text));
}

void NetNrSpinBox::fixup(QString& text) const
{
    text = QString::number(netNrOfEntry(bytesOf(text)));
}

TDisplaySettForm::TDisplaySettForm(TDisplaySettings& record, QWidget* parent)
    : QDialog(parent), m_record(record)
{
    setWindowTitle(QCoreApplication::applicationName() + QStringLiteral("  Display Settings"));

    m_netSpin = new NetNrSpinBox(this);
    m_netSpin->setObjectName(QStringLiteral("NetSpinEdit"));
    m_netSpin->setValue(record.NetNr);
    m_netSpin->setMinimumWidth(60);
    m_label = new QLabel(QStringLiteral("NetWork Number:"), this);
    m_label->setBuddy(m_netSpin);
    auto* field = new QHBoxLayout;
    field->addWidget(m_label);
    field->addWidget(m_netSpin);
    field->addStretch();

    m_ok = new QPushButton(QStringLiteral("Ok"), this);
    m_ok->setObjectName(QStringLiteral("OkButton"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("CancelButton"));
    m_cancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(field);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_ok, &QPushButton::clicked, this, &TDisplaySettForm::OkButtonClick);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    m_netSpin->setFocus();
    m_netSpin->selectAll();
}

void TDisplaySettForm::OkButtonClick()
{
    m_record.NetNr = m_netSpin->entryValue();
    accept();
}

} // namespace lmx
