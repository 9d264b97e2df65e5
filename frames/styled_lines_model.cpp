#include "styled_lines_model.h"

StyledLinesModel::StyledLinesModel(Style style, QObject* parent)
    : QAbstractListModel(parent), m_style(std::move(style))
{
}

QVariant StyledLinesModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return lineText(index.row());
    case Qt::FontRole:
        return m_style.font;
    case Qt::ForegroundRole:
        return m_style.colour;
    case Qt::BackgroundRole:
        return m_style.background;
    case lbrole::Indent:
        return m_style.indent;
    case lbrole::HasItem:
        return true;
    default:
        return {};
    }
}

Qt::ItemFlags StyledLinesModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemNeverHasChildren;
}
