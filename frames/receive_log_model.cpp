#include "receive_log_model.h"

#include "platform/latin1.h"

ReceiveLogModel::ReceiveLogModel(QObject* parent)
    : StyledLinesModel({QFont(QStringLiteral("Arial"), 8), QColor(kColour), Qt::white, 2}, parent)
{
}

int ReceiveLogModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_lines.size());
}

QString ReceiveLogModel::lineText(int row) const
{
    return latin1(m_lines[static_cast<size_t>(row)]);
}

void ReceiveLogModel::clear()
{
    if (!m_keep)
        clearLines();
}

void ReceiveLogModel::clearLines()
{
    m_dropped = 0;
    if (m_lines.empty())
        return;
    beginResetModel();
    m_lines.clear();
    endResetModel();
}

std::string ReceiveLogModel::droppedNotice() const
{
    return "--- " + std::to_string(m_dropped) + " older lines dropped: this box keeps the last "
         + std::to_string(m_maxLines)
         + " lines. The Packets tab (and the debug log, when it is on) keeps every exchange.";
}

void ReceiveLogModel::dropOldest()
{
    // A tenth at once: the lines behind move up once per tenth, not once per line.
    const bool noticeShown = m_dropped > 0;
    const size_t first = noticeShown ? 1 : 0;
    const size_t count = std::min(std::max<size_t>(m_maxLines / 10, 1), m_lines.size() - first);
    beginRemoveRows(QModelIndex(), static_cast<int>(first), static_cast<int>(first + count - 1));
    m_lines.erase(m_lines.begin() + static_cast<long>(first),
                  m_lines.begin() + static_cast<long>(first + count));
    endRemoveRows();
    m_dropped += count;
    if (noticeShown) {
        m_lines[0] = droppedNotice();
        emit dataChanged(index(0), index(0));
    } else {
        beginInsertRows(QModelIndex(), 0, 0);
        m_lines.insert(m_lines.begin(), droppedNotice());
        endInsertRows();
    }
}

void ReceiveLogModel::addLine(const std::string& line)
{
    if (m_lines.size() >= m_maxLines)
        dropOldest();
    const int row = static_cast<int>(m_lines.size());
    beginInsertRows(QModelIndex(), row, row);
    m_lines.push_back(line);
    endInsertRows();
    emit lineAdded(row);
}
