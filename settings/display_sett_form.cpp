#include "display_sett_form.h"

#include "widgets/dialog_buttons.h"
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

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(field);
    layout->addSpacing(8);
    layout->addWidget(okCancelButtons(this, QStringLiteral("Ok"), m_ok, m_cancel));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_ok, &QPushButton::clicked, this, &TDisplaySettForm::OkButtonClick);
    m_netSpin->setFocus();
    m_netSpin->selectAll();
}

void TDisplaySettForm::OkButtonClick()
{
    m_record.NetNr = m_netSpin->entryValue();
    accept();
}

} // namespace lmx
