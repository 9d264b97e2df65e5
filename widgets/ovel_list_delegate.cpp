#include "ovel_list_delegate.h"

#include "list_box_roles.h"
#include "ovel_list_box.h"
#include "word_wrap.h"

#include <QFontMetricsF>
#include <QPainter>

namespace {

const char* const kSentence = "The Quick Brown Fox Jumped Over The Lazy Dog";
constexpr double kSentenceLength = 44.0;

} // namespace

TOvelListDelegate::TOvelListDelegate(TOvelListBox& box)
    : QStyledItemDelegate(&box), m_box(box)
{
}

TOvelListDelegate::Metrics TOvelListDelegate::metricsOf(const QFont& font) const
{
    if (m_lastValid && font.isCopyOf(m_lastFont))
        return m_lastMetrics;
    auto it = m_metrics.constFind(font);
    if (it != m_metrics.constEnd()) {
        m_lastFont = font;
        m_lastMetrics = *it;
        m_lastValid = true;
        return *it;
    }
    const QFontMetricsF fm(font, &m_box);
    Metrics m;
    m.averageCharWidth = std::max(fm.horizontalAdvance(QString::fromLatin1(kSentence)) / kSentenceLength, 0.1);
    m.lineHeight = std::max(1, static_cast<int>(std::ceil(fm.height())));
    auto widths = std::make_shared<CharWidths>();
    for (int c = 0; c < 256; ++c)
        (*widths)[static_cast<size_t>(c)] = fm.horizontalAdvance(QChar(c));
    m.charWidths = std::move(widths);
    m_metrics.insert(font, m);
    return m;
}

TOvelListDelegate::Line TOvelListDelegate::lineOf(const QModelIndex& index, bool withColour) const
{
    Line line;
    if (index.data(lbrole::HasItem).toBool()) {
        line.font = index.data(Qt::FontRole).value<QFont>();
        if (withColour)
            line.colour = index.data(Qt::ForegroundRole).value<QColor>();
        line.indent = index.data(lbrole::Indent).toInt();
    } else {
        line.font = m_box.font();
        line.colour = m_box.FontColor();
    }
    line.metrics = metricsOf(line.font);
    // The text starts after the number column and the indent, and 2 pixels in when frames
    // are drawn, whose right edge then takes the last 2.
    line.textWidth = m_box.viewport()->width() - (m_box.ShowNumbers() ? m_box.LineNrWidth() : 0)
                   - line.indent - (m_box.DrawLines() ? 4 : 0);
    return line;
}

QSize TOvelListDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex& index) const
{
    const Line line = lineOf(index, false);
    const QByteArray text = index.data(m_box.textRole()).toString().toLatin1();
    const int height = wrappedLineHeight(std::string_view(text.constData(), size_t(text.size())),
                                         *line.metrics.charWidths, line.textWidth,
                                         line.metrics.lineHeight, m_box.DrawLines());
    return QSize(m_box.viewport()->width(), height);
}

void TOvelListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const
{
    const Line line = lineOf(index, true);
    const QRect area = option.rect;
    const bool selected = option.state & QStyle::State_Selected;
    painter->save();

    if (selected)
        painter->fillRect(area, option.palette.brush(QPalette::Normal, QPalette::Highlight));
    else if (index.data(lbrole::HasItem).toBool())
        painter->fillRect(area, index.data(Qt::BackgroundRole).value<QColor>());

    int x = area.left();
    int y = area.top();
    if (m_box.DrawLines()) {
        x += 2;
        y += 1;
        painter->setPen(m_box.LineColor());
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(area.adjusted(0, -1, -1, 0));
    }

    if (m_box.ShowNumbers()) {
        painter->setFont(m_box.NrFont());
        painter->setPen(m_box.NrFontColor());
        const QString number = QString::asprintf("%.2d", index.row());
        painter->drawText(QRect(x, y, m_box.LineNrWidth(), area.height()),
                          Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, number);
        x += m_box.LineNrWidth();
        if (m_box.DrawLines()) {
            painter->setPen(m_box.LineColor());
            painter->drawLine(x - 5, area.top(), x - 5, area.bottom());
        }
    }

    x += line.indent;
    painter->setFont(line.font);
    painter->setPen(line.colour);
    const QByteArray text = index.data(m_box.textRole()).toString().toLatin1();
    const std::string wrapped =
            wordWrap(std::string_view(text.constData(), size_t(text.size())),
                     *line.metrics.charWidths, line.textWidth);
    const QFontMetrics fm(line.font, &m_box);
    int offset = 0;
    for (std::string_view piece : wrappedPieces(wrapped)) {
        if (offset > kMaxLineHeight - line.metrics.lineHeight)
            break;
        painter->drawText(QPoint(x, y + offset + fm.ascent()),
                          QString::fromLatin1(piece.data(), qsizetype(piece.size())));
        offset += line.metrics.lineHeight;
    }

    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.rect = area;
        focus.state = option.state | QStyle::State_KeyboardFocusChange;
        focus.backgroundColor = option.palette.color(QPalette::Highlight);
        m_box.style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, &m_box);
    }
    painter->restore();
}
