#pragma once
// A list model whose lines all look alike: one font, colour, background and indent for every
// line, the text per line from the subclass. The receive box and the answer box show theirs
// through it.

#include "widgets/list_box_roles.h"

#include <QAbstractListModel>
#include <QColor>
#include <QFont>

class StyledLinesModel : public QAbstractListModel {
    Q_OBJECT
public:
    struct Style {
        QFont font;
        QColor colour;
        QColor background = Qt::white;
        int indent = 2;
    };

    explicit StyledLinesModel(Style style, QObject* parent = nullptr);

    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    Qt::DropActions supportedDragActions() const override { return Qt::MoveAction; }

    const Style& style() const { return m_style; }

protected:
    virtual QString lineText(int row) const = 0;

private:
    Style m_style;
};
