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

#include <algorithm>

namespace {

constexpr int kSummaryRowsShown = 3;

// The columns' widths in characters, enough for the longest usual text ("Invalid answer CRC
// at CRC", "Param value out of range"); never narrower than their titles. A narrow tab
// scrolls sideways rather than squeezing the texts.
constexpr int kPacketWidths[] = {6, 5, 15, 6, 27, 25, 5, 8};
constexpr int kSummaryWidths[] = {5, 6, 4, 5, 8, 8, 24};

void setColumnWidths(QTableView* table, const int* chars)
{
    const QFontMetrics metrics(table->font());
    const QFontMetrics header(table->horizontalHeader()->font());
    QAbstractItemModel* model = table->model();
    for (int c = 0; c < model->columnCount(); ++c) {
        const QString title = model->headerData(c, Qt::Horizontal).toString();
        table->setColumnWidth(c, std::max(metrics.averageCharWidth() * chars[c],
                                          header.horizontalAdvance(title)) + 12);
    }
}

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
      m_summaryTable(new QTableView(this)),
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
    setColumnWidths(m_table, kPacketWidths);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);

    m_summaryTable->setObjectName(QStringLiteral("PacketSummaryTable"));
    m_summaryTable->setModel(m_summary);
    setUpTable(m_summaryTable);
    setColumnWidths(m_summaryTable, kSummaryWidths);
    m_summaryTable->setSelectionMode(QAbstractItemView::NoSelection);
    m_summaryTable->horizontalHeader()->setStretchLastSection(true);
    m_summaryTable->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_summaryTable->hide();

    m_detail->setObjectName(QStringLiteral("PacketDetail"));
    m_detail->setOpenLinks(false);
    m_splitter->setChildrenCollapsible(false);
    // The tab is short: the pane below comes only while a row is selected.
    m_detail->hide();

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
    column->addWidget(m_summaryTable);

    connect(m_failuresOnly, &QCheckBox::toggled, this, [this](bool on) {
        m_filter->setFailuresOnly(on);
        if (m_shown >= 0)
            m_table->scrollTo(m_filter->mapFromSource(m_model->index(m_shown, 0)));
    });
    connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &PacketsTab::currentChanged);
    // The newest row stays in sight unless the user has scrolled away from the end. The
    // range is the one to follow: it changes only once the rows have been laid out.
    QScrollBar* bar = m_table->verticalScrollBar();
    connect(bar, &QScrollBar::valueChanged, this,
            [this, bar](int value) { m_follow = value >= bar->maximum(); });
    connect(bar, &QScrollBar::rangeChanged, this, [this, bar](int, int maximum) {
        if (m_follow)
            bar->setValue(maximum);
    });
    connect(m_filter, &QAbstractItemModel::rowsInserted, this, &PacketsTab::updateCounts);
    connect(m_model, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& from, const QModelIndex& to) {
        if (m_shown >= from.row() && m_shown <= to.row())
            showDetail();
        updateCounts();
    });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        m_shown = -1;
        m_follow = true;
        showDetail();
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
    // A chosen row stays where it is while more rows come.
    if (m_shown >= 0)
        m_follow = false;
    showDetail();
    if (const lmx::ExchangeRecord* rec = selectedRecord(); rec && !rec->lines.empty())
        emit linesSelected(rec->lines);
}

void PacketsTab::showDetail()
{
    const lmx::ExchangeRecord* rec = selectedRecord();
    if (!rec) {
        m_detail->clear();
        m_detail->hide();
        return;
    }
    m_detail->setHtml(packetDetailHtml(*rec));
    if (m_detail->isHidden()) {
        // Most of the height for the fields; the table keeps the selected row in sight.
        const int total = m_splitter->sizes().value(0);
        m_detail->show();
        m_splitter->setSizes({total - total * 2 / 3, total * 2 / 3});
        m_table->scrollTo(m_table->currentIndex());
    }
}

void PacketsTab::updateCounts()
{
    const lmx::ExchangeRecorder::Progress p = m_recorder.progress();
    const int rows = m_model->rowCount();
    m_counts->setText(rows == 0
                          ? QString()
                          : (rows == 1 ? QStringLiteral("1 packet, %1 failed")
                                       : QStringLiteral("%1 packets, %2 failed").arg(rows))
                                    .arg(p.failures));
}

void PacketsTab::updateSummary()
{
    const int rows = m_summary->rowCount();
    m_summaryTable->setVisible(rows > 0);
    if (rows == 0)
        return;
    const int rowHeight = m_summaryTable->verticalHeader()->defaultSectionSize();
    const int height = m_summaryTable->horizontalHeader()->sizeHint().height()
                     + rowHeight * std::min(rows, kSummaryRowsShown)
                     + 2 * m_summaryTable->frameWidth();
    m_summaryTable->setFixedHeight(height);
}
