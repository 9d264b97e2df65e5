#include "answer_list_model.h"

#include "editor/answer_box_editor.h"
#include "platform/latin1.h"

AnswerListModel::AnswerListModel(const AnswerBoxEditor& editor, QObject* parent)
    : StyledLinesModel({QFont(QStringLiteral("MS Sans Serif"), 8), QColor(kColour), Qt::white, 2},
                       parent),
      m_editor(editor)
{
}

int AnswerListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_editor.count();
}

QString AnswerListModel::lineText(int row) const
{
    return latin1(m_editor.line(row).shownText);
}

void AnswerListModel::reload()
{
    beginResetModel();
    endResetModel();
}

void AnswerListModel::textsChanged()
{
    if (rowCount() > 0)
        emit dataChanged(index(0), index(rowCount() - 1));
}
