#include "command_list_model.h"

#include "platform/latin1.h"
#include "protocol/hex.h"
#include "widgets/lb_item.h"

#include <QColor>

CommandListModel::CommandListModel(CommandList& list, QObject* parent)
    : QAbstractListModel(parent), m_list(list)
{
    m_list.setObserver(this);
}

CommandListModel::~CommandListModel()
{
    m_list.setObserver(nullptr);
}

int CommandListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_list.count();
}

QFont CommandListModel::fontOf(const TLBItem& item)
{
    QFont font(QString::fromLatin1(item.fontName), item.fontSize);
    font.setBold(item.fontStyle & fontstyle::Bold);
    font.setItalic(item.fontStyle & fontstyle::Italic);
    font.setUnderline(item.fontStyle & fontstyle::Underline);
    font.setStrikeOut(item.fontStyle & fontstyle::StrikeOut);
    return font;
}

const QFont& CommandListModel::cachedFont(const TLBItem& item) const
{
    if (!m_fontValid || std::strcmp(m_fontKey.fontName, item.fontName) != 0
        || m_fontKey.fontSize != item.fontSize
        || m_fontKey.fontStyle != item.fontStyle) {
        m_fontKey.fontName = item.fontName;
        m_fontKey.fontSize = item.fontSize;
        m_fontKey.fontStyle = item.fontStyle;
        m_font = fontOf(item);
        m_fontValid = true;
    }
    return m_font;
}

QVariant CommandListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_list.count())
        return {};
    const CommandBoxLine& line = m_list.line(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return latin1(line.displayText);
    case HexTextRole:
        return latin1(lmx::hexTextOfCommandLine(line.commandLine()));
    case CommandLineRole:
        return QByteArray(line.commandLine().data(), qsizetype(line.commandLine().size()));
    case Qt::FontRole:
        return cachedFont(line.item);
    case Qt::ForegroundRole:
        return QColor::fromRgb(line.item.fontColour);
    case Qt::BackgroundRole:
        return QColor::fromRgb(line.item.backgroundColour);
    case lbrole::Indent:
        return line.item.indent;
    case lbrole::HasItem:
        return true;
    default:
        return {};
    }
}

Qt::ItemFlags CommandListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemNeverHasChildren;
}

void CommandListModel::linesAboutToBeInserted(int first, int last)
{
    beginInsertRows(QModelIndex(), first, last);
}

void CommandListModel::linesInserted()
{
    endInsertRows();
}

void CommandListModel::linesAboutToBeRemoved(int first, int last)
{
    beginRemoveRows(QModelIndex(), first, last);
}

void CommandListModel::linesRemoved()
{
    endRemoveRows();
}

void CommandListModel::lineAboutToBeMoved(int from, int to)
{
    // Qt names the row the line goes in front of, counted before the move.
    beginMoveRows(QModelIndex(), from, from, QModelIndex(), to > from ? to + 1 : to);
}

void CommandListModel::lineMoved()
{
    endMoveRows();
}

void CommandListModel::linesChanged(int first, int last)
{
    emit dataChanged(index(first), index(last));
}

void CommandListModel::changesSettled()
{
    emit settled();
}
