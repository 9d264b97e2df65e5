#include "bus_scan_form.h"

#include "platform/latin1.h"
#include "protocol/hex.h"
#include "widgets/dialog_buttons.h"
#include "widgets/dialog_style.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace lmx {

namespace {

enum Column { NetNrColumn, AnswerColumn, RttColumn, TextColumn, DataColumn };

// The answer's data as text: what a display says of itself is mostly letters; a byte that is
// not printable stands as a dot.
QString dataText(const std::string& data)
{
    QString text;
    for (const char c : data) {
        const auto b = static_cast<unsigned char>(c);
        text += b >= 0x20 && b < 0x7F ? QChar(b) : QChar(u'.');
    }
    return text;
}

} // namespace

BusScanForm::BusScanForm(TDisplaySettings& record, PacketExchange& exchange, bool extended,
                         QWidget* parent)
    : QDialog(parent),
      m_record(record),
      m_scanner(exchange),
      m_extended(extended),
      m_from(newSpinBox("FromSpin", kScanLowest, kScanHighest, kScanFirstNetNr, this)),
      m_to(newSpinBox("ToSpin", kScanLowest, kScanHighest, kScanLastNetNr, this)),
      m_timeout(newSpinBox("TimeoutSpin", kScanMinTimeoutMs, kScanMaxTimeoutMs, kScanTimeoutMs, this)),
      m_scan(new QPushButton(QStringLiteral("Scan"), this)),
      m_progress(new QProgressBar(this)),
      m_status(new QLabel(this)),
      m_list(new QTreeWidget(this)),
      m_note(new QLabel(this))
{
    setWindowTitle(QCoreApplication::applicationName() + QStringLiteral("  Scan Bus"));
    m_timeout->setSingleStep(50);
    m_timeout->setSuffix(QStringLiteral(" ms"));
    m_scan->setObjectName(QStringLiteral("ScanButton"));
    m_scan->setAutoDefault(false);
    m_progress->setObjectName(QStringLiteral("ScanProgress"));
    m_progress->setValue(0);
    m_status->setObjectName(QStringLiteral("ScanStatus"));
    m_status->setText(extended ? QStringLiteral("Each number gets ESC Inquiry1 in one packet.")
                               : QStringLiteral("Each number gets ESC Inquiry1 in a display "
                                                "block; the answer is one result character."));
    m_list->setObjectName(QStringLiteral("AnswerList"));
    m_list->setHeaderLabels({QStringLiteral("NetNr"), QStringLiteral("Answer"),
                             QStringLiteral("ms"), QStringLiteral("Text"),
                             QStringLiteral("Data")});
    m_list->setRootIsDecorated(false);
    m_list->setAllColumnsShowFocus(true);
    m_list->setUniformRowHeights(true);
    m_list->setColumnWidth(NetNrColumn, 50);
    m_list->setColumnWidth(AnswerColumn, 170);
    m_list->setColumnWidth(RttColumn, 50);
    // The data columns as wide as their texts: the list scrolls sideways instead of cutting.
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionResizeMode(TextColumn, QHeaderView::ResizeToContents);
    m_list->header()->setSectionResizeMode(DataColumn, QHeaderView::ResizeToContents);
    m_list->setMinimumSize(540, 180);
    m_note->setObjectName(QStringLiteral("NoteLabel"));
    m_note->setWordWrap(true);

    auto* range = new QHBoxLayout;
    const std::pair<const char*, QSpinBox*> fields[] = {
            {"From NetNr:", m_from}, {"To:", m_to}, {"Time-out:", m_timeout}};
    for (const auto& [text, box] : fields) {
        auto* label = new QLabel(QString::fromLatin1(text), this);
        label->setBuddy(box);
        range->addWidget(label);
        range->addWidget(box);
        range->addSpacing(6);
    }
    range->addStretch();
    range->addWidget(m_scan);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(range);
    layout->addWidget(m_progress);
    layout->addWidget(m_status);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_note);
    layout->addWidget(okCancelButtons(this, QStringLiteral("OK"), m_ok, m_cancel));

    connect(m_scan, &QPushButton::clicked, this, &BusScanForm::ScanButtonClick);
    connect(m_ok, &QPushButton::clicked, this, &BusScanForm::OkButtonClick);
    connect(m_list, &QTreeWidget::currentItemChanged, this, &BusScanForm::updateState);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (m_ok->isEnabled())
            OkButtonClick();
    });
    for (QSpinBox* box : {m_from, m_to, m_timeout})
        connect(box, &QSpinBox::valueChanged, this, &BusScanForm::updateState);
    connect(&m_scanner, &BusScanner::answered, this, &BusScanForm::addAnswer);
    connect(&m_scanner, &BusScanner::probing, this, [this](int netNr, int probed) {
        m_progress->setValue(probed);
        m_status->setText(QStringLiteral("Probing NetNr %1 \u00b7 %2")
                                  .arg(netNr)
                                  .arg(latin1(scanCountLine(m_scanner.displaysAnswered()))));
    });
    connect(&m_scanner, &BusScanner::finished, this, &BusScanForm::scanEnded);
    updateState();
    m_scan->setFocus();
}

void BusScanForm::ScanButtonClick()
{
    if (m_scanner.running()) {
        m_scanner.requestStop();
        m_scan->setEnabled(false); // until the probe under way is done
        return;
    }
    BusScanner::Setup setup;
    setup.from = m_from->value();
    setup.to = m_to->value();
    setup.timeoutMs = m_timeout->value();
    setup.extended = m_extended;
    m_list->clear();
    m_progress->setRange(0, setup.to - setup.from + 1);
    m_progress->setValue(0);
    m_scan->setText(QStringLiteral("Stop"));
    if (!m_scanner.start(setup)) {
        m_scan->setText(QStringLiteral("Scan"));
        m_status->setText(QStringLiteral("The port is busy; try again when the transmission has ended."));
    }
    updateState();
}

void BusScanForm::addAnswer(int index)
{
    const ScanAnswer& a = m_scanner.answers()[static_cast<size_t>(index)];
    auto* item = new QTreeWidgetItem(m_list);
    item->setText(NetNrColumn, QString::number(a.netNr));
    item->setData(NetNrColumn, Qt::UserRole, a.display ? a.netNr : -1); // noise is no display to take
    item->setText(AnswerColumn, latin1(a.result));
    item->setToolTip(AnswerColumn, latin1(a.result));
    item->setText(RttColumn, a.rttMs ? QString::number(*a.rttMs, 'f', 1) : QString());
    std::string hex;
    for (const char c : a.data)
        hex += byteToHex(static_cast<uint8_t>(c)) + " ";
    item->setText(DataColumn, latin1(hex));
    item->setText(TextColumn, dataText(a.data));
    item->setToolTip(TextColumn, dataText(a.data));
    item->setToolTip(DataColumn, latin1(hex));
    item->setTextAlignment(NetNrColumn, Qt::AlignRight | Qt::AlignVCenter);
    item->setTextAlignment(RttColumn, Qt::AlignRight | Qt::AlignVCenter);
    if (!a.ok)
        for (int c = 0; c < m_list->columnCount(); ++c)
            item->setForeground(c, QColor(150, 0, 0));
}

void BusScanForm::scanEnded()
{
    m_scan->setText(QStringLiteral("Scan"));
    m_progress->setValue(m_scanner.probed());
    QString text = latin1(scanCountLine(m_scanner.displaysAnswered()));
    if (const int noisy = static_cast<int>(m_scanner.answers().size()) - m_scanner.displaysAnswered(); noisy > 0)
        text += QStringLiteral("; ") + latin1(scanNoiseLine(noisy));
    if (m_scanner.end() == BusScanner::End::Stopped)
        text += QStringLiteral(", stopped after %1 of %2 numbers.").arg(m_scanner.probed()).arg(m_scanner.total());
    else if (m_scanner.end() == BusScanner::End::PortFailed)
        text += QStringLiteral(": the scan ended, the port failed.");
    else
        text += QStringLiteral(" (NetNr %1 to %2).").arg(m_from->value()).arg(m_to->value());
    m_status->setText(text);
    if (m_closeWhenDone) {
        QDialog::reject();
        return;
    }
    // The first display the settings can take is chosen already.
    for (int i = 0; i < m_list->topLevelItemCount() && !m_list->currentItem(); ++i)
        if (const int n = m_list->topLevelItem(i)->data(NetNrColumn, Qt::UserRole).toInt();
            n >= TDisplaySettings::kMinNetNr && n <= TDisplaySettings::kMaxNetNr)
            m_list->setCurrentItem(m_list->topLevelItem(i));
    updateState();
}

int BusScanForm::chosenNetNr() const
{
    const QTreeWidgetItem* item = m_list->currentItem();
    return item ? item->data(NetNrColumn, Qt::UserRole).toInt() : -1;
}

void BusScanForm::updateState()
{
    const bool running = m_scanner.running();
    for (QSpinBox* box : {m_from, m_to, m_timeout})
        box->setEnabled(!running);
    const bool rangeOk = m_from->value() <= m_to->value();
    m_scan->setEnabled(running || rangeOk);
    const int netNr = chosenNetNr();
    const bool takes = netNr >= TDisplaySettings::kMinNetNr && netNr <= TDisplaySettings::kMaxNetNr;
    m_ok->setEnabled(!running && takes);
    if (!rangeOk)
        m_note->setText(QStringLiteral("From NetNr must not be above To."));
    else if (netNr > TDisplaySettings::kMaxNetNr)
        m_note->setText(QStringLiteral("NetNr %1 is above %2, the highest the display settings "
                                       "take; address it with a display block SOT '%3'.")
                                .arg(netNr)
                                .arg(TDisplaySettings::kMaxNetNr)
                                .arg(latin1(byteToHex(static_cast<uint8_t>(netNr)))));
    else if (netNr >= 0)
        m_note->setText(QStringLiteral("OK makes NetNr %1 the display settings' network number.").arg(netNr));
    else
        m_note->clear();
}

void BusScanForm::OkButtonClick()
{
    const int netNr = chosenNetNr();
    if (m_scanner.running() || netNr < TDisplaySettings::kMinNetNr || netNr > TDisplaySettings::kMaxNetNr)
        return;
    m_record.NetNr = netNr;
    accept();
}

void BusScanForm::reject()
{
    if (!m_scanner.running()) {
        QDialog::reject();
        return;
    }
    m_closeWhenDone = true;
    m_scanner.requestStop();
}

} // namespace lmx
