#pragma once
// Draws and measures the lines of a TOvelListBox: the number column, the frames, each line's
// own font, colours and indent, and the word-wrapped text cut at the list box's line height
// limit. Font metrics are measured once per font and kept.

#include <QFont>
#include <QHash>
#include <QStyledItemDelegate>

class TOvelListBox;

class TOvelListDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    struct Metrics {
        double averageCharWidth = 1.0;
        int lineHeight = 1;
    };

    explicit TOvelListDelegate(TOvelListBox& box);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // Average character width (the width of a fixed 44-character sentence / 44) and the
    // height of a text line in `font`.
    Metrics metricsOf(const QFont& font) const;

private:
    struct Line {
        QFont font;
        QColor colour;
        int wrapWidth = 0;
        int lineHeight = 1;
        int indent = 0;
    };
    // The colour is only looked up for painting.
    Line lineOf(const QModelIndex& index, bool withColour) const;

    TOvelListBox& m_box;
    mutable QHash<QFont, Metrics> m_metrics;
    // Nearly every line has the font of the line before (a copy of one font): found without
    // hashing it.
    mutable QFont m_lastFont;
    mutable Metrics m_lastMetrics;
    mutable bool m_lastValid = false;
};
