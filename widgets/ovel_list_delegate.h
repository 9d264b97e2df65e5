#pragma once
// Draws and measures the lines of a TOvelListBox: the number column, the frames, each line's
// own font, colours and indent, and the word-wrapped text cut at the list box's line height
// limit. A line wraps by the measured width of its characters, so none runs past the right
// edge. Font metrics are measured once per font and kept.

#include "word_wrap.h"

#include <QFont>
#include <QHash>
#include <QStyledItemDelegate>

#include <memory>

class TOvelListBox;

class TOvelListDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    struct Metrics {
        double averageCharWidth = 1.0;
        int lineHeight = 1;
        std::shared_ptr<const CharWidths> charWidths;
    };

    explicit TOvelListDelegate(TOvelListBox& box);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // Average character width (the width of a fixed 44-character sentence / 44), the height
    // of a text line and the width of every character in `font`.
    Metrics metricsOf(const QFont& font) const;

private:
    struct Line {
        QFont font;
        QColor colour;
        Metrics metrics;
        double textWidth = 0; // pixels the text may take
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
