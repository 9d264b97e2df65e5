#include "packets_tab.h"

#include "packet_detail.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QSplitter>
#include <QTableView>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

constexpr int kSummaryRowsShown = 4;

// The columns' widths in characters: the tab is narrow, so the table scrolls sideways rather
// than squeezing the texts.
constexpr int kPacketWidths[] = {6, 5, 15, 6, 24, 24, 5, 8};
constexpr int kSummaryWidths[] = {5, 7, 5, 6, 24, 10, 10};

} // namespace

PacketsTab::PacketsTab(const lmx::ExchangeRecorder& recorder, QWidget* parent)
    : QWidget(parent),
      m_recorder(recorder),
      m_model(new PacketTableModel(recorder, this)),
      m_filter(new FailedPacketsFilter(this)),
      m_summary(new PacketSummaryModel(recorder, this)),
      m_failuresOnly(new QCheckBox(QStringLiteral("Failures only"), this)),
      m_counts(new QLabel(this)),
      m_splitter(new QSplitter(Qt::Vertical, this)),
      m_table(new QTableView(m_splitter)),
      m_summaryTable(new QTableView(m_splitter)),
      m_detail(new QTextBrowser(m_splitter))
{
    setObjectName(QStringLiteral("PacketsTab"));
    QFont small = font();
    small.setPointSize(8);
    setFont(small);

    m_filter->setSourceModel(m_model);
    m_filter->setDynamicSortFilter(true);
    m_table->setObjectName(QStringLiteral("PacketTable"));
    m_table->setModel(m_filter);
    setUpTable(m_table);
    for (int c = 0; c < m_model->columnCount(); ++c)
        m_table->setColumnWidth(c, fontMetrics().averageCharWidth() * kPacketWidths[c] + 8);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);

    m_summaryTable->setObjectName(QStringLiteral("PacketSummaryTable"));
    m_summaryTable->setModel(m_summary);
    setUpTable(m_summaryTable);
    for (int c = 0; c < m_summary->columnCount(); ++c)
        m_summaryTable->setColumnWidth(c, fontMetrics().averageCharWidth() * kSummaryWidths[c] + 8);
    m_summaryTable->setSelectionMode(QAbstractItemView::NoSelection);
    m_summaryTable->hide();

    m_detail->setObjectName(QStringLiteral("PacketDetail"));
    m_detail->setOpenLinks(false);
    m_splitter->setChildrenCollapsible(false);
    m_splitter->setStretchFactor(0, 3);
    m_splitter->setStretchFactor(1, 0);
    m_splitter->setStretchFactor(2, 2);

    m_failuresOnly->setObjectName(QStringLiteral("FailuresOnly"));
    auto* top = new QHBoxLayout;
    top->setContentsMargins(0, 0, 0, 0);
    top->addWidget(m_failuresOnly);
    top->addStretch(1);
    top->addWidget(m_counts);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(2, 2, 2, 2);
    column->setSpacing(2);
    column->addLayout(top);
    column->addWidget(m_splitter, 1);

    connect(m_failuresOnly, &QCheckBox::toggled, this, [this](bool on) {
        m_filter->setFailuresOnly(on);
        if (m_shown >= 0)
            m_table->scrollTo(m_filter->mapFromSource(m_model->index(m_shown, 0)));
    });
    connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &PacketsTab::currentChanged);
    // The newest row stays in sight unless the user has scrolled away from the end.
    connect(m_filter, &QAbstractItemModel::rowsInserted, this, [this] {
        QScrollBar* bar = m_table->verticalScrollBar();
        if (bar->value() >= bar->maximum() - 1)
            m_table->scrollToBottom();
        updateCounts();
    });
    connect(m_model, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex& from) {
        if (from.row() == m_shown)
            showDetail();
        updateCounts();
    });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        m_shown = -1;
        m_detail->clear();
        updateCounts();
    });
    connect(m_summary, &QAbstractItemModel::modelReset, this, &PacketsTab::updateSummary);
    updateCounts();
}

void PacketsTab::setUpTable(QTableView* table)
{
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setAlternatingRowColors(true);
    table->setWordWrap(false);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // Rows of one height: a thousand rows are laid out without measuring each.
    QHeaderView* rows = table->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(fontMetrics().height() + 4);
    QHeaderView* columns = table->horizontalHeader();
    columns->setHighlightSections(false);
    columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void PacketsTab::selectRecord(int index)
{
    const QModelIndex at = m_filter->mapFromSource(m_model->index(index, 0));
    if (!at.isValid())
        return;
    m_table->selectionModel()->setCurrentIndex(
            at, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_table->scrollTo(at);
}

const lmx::ExchangeRecord* PacketsTab::selectedRecord() const
{
    return m_model->record(m_shown);
}

void PacketsTab::currentChanged()
{
    const QModelIndex current = m_filter->mapToSource(m_table->currentIndex());
    m_shown = current.isValid() ? current.row() : -1;
    showDetail();
    if (const lmx::ExchangeRecord* rec = selectedRecord(); rec && !rec->lines.empty())
        emit linesSelected(rec->lines);
}

void PacketsTab::showDetail()
{
    const lmx::ExchangeRecord* rec = selectedRecord();
    if (!rec) {
        m_detail->clear();
        return;
    }
    m_detail->setHtml(packetDetailHtml(*rec));
}

void PacketsTab::updateCounts()
{
    const lmx::ExchangeRecorder::Progress p = m_recorder.progress();
    const int rows = m_model->rowCount();
    m_counts->setText(rows == 0 ? QString()
                                : QStringLiteral("%1 packets, %2 failed").arg(rows).arg(p.failures));
}

void PacketsTab::updateSummary()
{
    const int rows = m_summary->rowCount();
    m_summaryTable->setVisible(rows > 0);
    if (rows == 0)
        return;
    const int height = m_summaryTable->horizontalHeader()->sizeHint().height()
                     + m_summaryTable->verticalHeader()->defaultSectionSize() * std::min(rows, kSummaryRowsShown)
                     + 2 * m_summaryTable->frameWidth();
    m_summaryTable->setMinimumHeight(height);
    m_summaryTable->setMaximumHeight(height + (rows > kSummaryRowsShown ? 0 : 16));
}
