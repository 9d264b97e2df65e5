#include "display_list_form.h"

#include "netnr_list.h"
#include "platform/latin1.h"
#include "widgets/dialog_buttons.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace lmx {

namespace {

constexpr int kMaxEntryLength = 1000;
constexpr size_t kNumbersShown = 12;

} // namespace

DisplayListForm::DisplayListForm(TDisplaySettings& record, QWidget* parent)
    : QDialog(parent),
      m_record(record),
      m_edit(new QLineEdit(this)),
      m_note(new QLabel(this))
{
    setWindowTitle(QCoreApplication::applicationName() + QStringLiteral("  Transmit to Displays"));
    auto* label = new QLabel(QStringLiteral("Network Numbers (for example 1-12,18):"), this);
    label->setBuddy(m_edit);
    m_edit->setObjectName(QStringLiteral("NetNrListEdit"));
    m_edit->setMaxLength(kMaxEntryLength);
    m_edit->setMinimumWidth(320);
    m_edit->setText(latin1(record.NetNrList.empty() ? std::to_string(record.NetNr)
                                                    : record.NetNrList));
    m_note->setObjectName(QStringLiteral("NoteLabel"));
    m_note->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_edit);
    layout->addWidget(m_note);
    layout->addSpacing(8);
    layout->addWidget(okCancelButtons(this, QStringLiteral("OK"), m_ok, m_cancel));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_edit, &QLineEdit::textChanged, this, &DisplayListForm::entryChanged);
    connect(m_ok, &QPushButton::clicked, this, &DisplayListForm::OkButtonClick);
    entryChanged();
    m_edit->setFocus();
    m_edit->selectAll();
}

void DisplayListForm::entryChanged()
{
    const QByteArray text = m_edit->text().toLatin1();
    const NetNrList list = parseNetNrList(std::string_view(text.constData(), static_cast<size_t>(text.size())));
    m_ok->setEnabled(list.ok());
    if (!list.ok()) {
        m_note->setStyleSheet(QStringLiteral("color: #960000"));
        m_note->setText(latin1(list.error) + QLatin1Char('.'));
        return;
    }
    m_note->setStyleSheet(QString());
    const size_t n = list.numbers.size();
    QStringList shown;
    for (size_t i = 0; i < std::min<size_t>(n, kNumbersShown); ++i)
        shown << QString::number(list.numbers[i]);
    if (n > kNumbersShown)
        shown << QStringLiteral("\u2026 %1").arg(list.numbers.back());
    m_note->setText(QStringLiteral("%1 %2, in this order: NetNr %3")
                            .arg(n)
                            .arg(n == 1 ? QStringLiteral("display") : QStringLiteral("displays"))
                            .arg(shown.join(QStringLiteral(", "))));
}

void DisplayListForm::OkButtonClick()
{
    const QString text = m_edit->text().trimmed();
    const QByteArray bytes = text.toLatin1();
    if (!parseNetNrList(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size()))).ok())
        return;
    m_record.NetNrList = bytes.toStdString();
    accept();
}

} // namespace lmx
