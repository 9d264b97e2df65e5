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
    if (m_lines.empty())
        return;
    beginResetModel();
    m_lines.clear();
    endResetModel();
}

void ReceiveLogModel::addLine(const std::string& line)
{
    const int row = static_cast<int>(m_lines.size());
    beginInsertRows(QModelIndex(), row, row);
    m_lines.push_back(line);
    endInsertRows();
    emit lineAdded(row);
}
