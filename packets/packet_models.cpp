#include "packet_models.h"

#include "exchange_reports.h"

#include <QColor>

#include <algorithm>

namespace {

QString latin1(const std::string& s)
{
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

constexpr int kPacketColumns = static_cast<int>(lmx::ExchangeColumn::Count);
// A thousand packets can go in a few seconds: the rows come in groups, so the table is laid
// out and painted a few times a second rather than for every packet.
constexpr int kCatchUpMs = 250;
constexpr int kSummaryColumns = static_cast<int>(lmx::SummaryColumn::Count);

bool numeric(lmx::ExchangeColumn c)
{
    using C = lmx::ExchangeColumn;
    return c == C::Time || c == C::NetNr || c == C::Length || c == C::Rtt;
}

} // namespace

QColor failedBackground()
{
    return QColor(255, 214, 214);
}

QColor failedText()
{
    return QColor(150, 0, 0);
}

// --- packets -------------------------------------------------------------------------------

PacketTableModel::PacketTableModel(const lmx::ExchangeRecorder& recorder, QObject* parent)
    : QAbstractTableModel(parent), m_recorder(recorder)
{
    m_rows = static_cast<int>(recorder.records().size());
    m_pending.setSingleShot(true);
    m_pending.setInterval(kCatchUpMs);
    connect(&m_pending, &QTimer::timeout, this, &PacketTableModel::catchUp);
    connect(&recorder, &lmx::ExchangeRecorder::cleared, this, [this] {
        m_pending.stop();
        beginResetModel();
        m_rows = static_cast<int>(m_recorder.records().size());
        m_firstChanged = m_lastChanged = -1;
        endResetModel();
    });
    connect(&recorder, &lmx::ExchangeRecorder::packetStarted, this, &PacketTableModel::changed);
    connect(&recorder, &lmx::ExchangeRecorder::recordChanged, this, &PacketTableModel::changed);
    connect(&recorder, &lmx::ExchangeRecorder::finished, this, &PacketTableModel::catchUp);
}

void PacketTableModel::changed(int index)
{
    if (index < m_rows) {
        m_firstChanged = m_firstChanged < 0 ? index : std::min(m_firstChanged, index);
        m_lastChanged = std::max(m_lastChanged, index);
    }
    if (!m_pending.isActive())
        m_pending.start();
}

void PacketTableModel::catchUp()
{
    m_pending.stop();
    if (m_firstChanged >= 0)
        emit dataChanged(index(m_firstChanged, 0), index(m_lastChanged, kPacketColumns - 1));
    m_firstChanged = m_lastChanged = -1;
    const int rows = static_cast<int>(m_recorder.records().size());
    if (rows > m_rows) {
        beginInsertRows(QModelIndex(), m_rows, rows - 1);
        m_rows = rows;
        endInsertRows();
    }
}

int PacketTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int PacketTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kPacketColumns;
}

const lmx::ExchangeRecord* PacketTableModel::record(int row) const
{
    const auto& records = m_recorder.records();
    return row >= 0 && row < m_rows && static_cast<size_t>(row) < records.size()
        ? &records[static_cast<size_t>(row)]
        : nullptr;
}

QVariant PacketTableModel::data(const QModelIndex& index, int role) const
{
    const lmx::ExchangeRecord* rec = record(index.row());
    if (!rec)
        return {};
    const auto column = static_cast<lmx::ExchangeColumn>(index.column());
    const bool failed = rec->evaluated && !rec->ok;
    switch (role) {
    case Qt::DisplayRole:
        return latin1(lmx::cellText(*rec, column));
    case Qt::ToolTipRole:
        return failed ? latin1(rec->failure) : QVariant();
    case Qt::BackgroundRole:
        return failed ? QVariant(failedBackground()) : QVariant();
    case Qt::ForegroundRole:
        if (failed)
            return failedText();
        return rec->evaluated ? QVariant() : QVariant(QColor(Qt::gray));
    case Qt::TextAlignmentRole:
        return numeric(column) ? int(Qt::AlignRight | Qt::AlignVCenter)
                               : int(Qt::AlignLeft | Qt::AlignVCenter);
    case FailedRole:
        return failed;
    default:
        return {};
    }
}

QVariant PacketTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    return QString::fromLatin1(lmx::columnTitle(static_cast<lmx::ExchangeColumn>(section)));
}

// --- failures only -------------------------------------------------------------------------

void FailedPacketsFilter::setFailuresOnly(bool on)
{
    if (on == m_failuresOnly)
        return;
    m_failuresOnly = on;
    invalidateFilter();
}

bool FailedPacketsFilter::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const
{
    if (!m_failuresOnly)
        return true;
    const QModelIndex row = sourceModel()->index(sourceRow, 0, sourceParent);
    return row.data(PacketTableModel::FailedRole).toBool();
}

// --- per display ---------------------------------------------------------------------------

PacketSummaryModel::PacketSummaryModel(const lmx::ExchangeRecorder& recorder, QObject* parent)
    : QAbstractTableModel(parent), m_recorder(recorder)
{
    const auto refresh = [this](bool ended) {
        beginResetModel();
        m_summary = ended ? m_recorder.summary() : lmx::ExchangeSummary{};
        endResetModel();
    };
    connect(&recorder, &lmx::ExchangeRecorder::cleared, this, [refresh] { refresh(false); });
    connect(&recorder, &lmx::ExchangeRecorder::started, this, [refresh] { refresh(false); });
    connect(&recorder, &lmx::ExchangeRecorder::finished, this, [refresh] { refresh(true); });
}

int PacketSummaryModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_summary.displays.size());
}

int PacketSummaryModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kSummaryColumns;
}

QVariant PacketSummaryModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || static_cast<size_t>(index.row()) >= m_summary.displays.size())
        return {};
    const lmx::DisplaySummary& d = m_summary.displays[static_cast<size_t>(index.row())];
    const auto column = static_cast<lmx::SummaryColumn>(index.column());
    switch (role) {
    case Qt::DisplayRole:
        return latin1(lmx::cellText(d, column));
    case Qt::BackgroundRole:
        return d.failed > 0 ? QVariant(failedBackground()) : QVariant();
    case Qt::ForegroundRole:
        return d.failed > 0 ? QVariant(failedText()) : QVariant();
    case Qt::TextAlignmentRole:
        return column == lmx::SummaryColumn::LastFailure ? int(Qt::AlignLeft | Qt::AlignVCenter)
                                                         : int(Qt::AlignRight | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant PacketSummaryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    return QString::fromLatin1(lmx::columnTitle(static_cast<lmx::SummaryColumn>(section)));
}
