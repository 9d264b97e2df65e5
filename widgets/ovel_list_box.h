#pragma once
// TOvelListBox: the numbered list box of the command, hex, answer and receive boxes. A list
// view whose delegate wraps each line to the box's width, draws an optional number column
// and frames, and takes each line's font, colours and indent from the model (list_box_roles.h).
// Shift and Ctrl selection can be switched off, and OnScroll reports scrolling by the user so
// that two boxes can be kept in step.
//
// It scrolls line by line (the scroll bar's value is the first visible row) and lays out only
// what it shows: a row is measured when it is first shown and its height kept until the row
// changes, so an insert, delete, move or a new current line costs the same in a list of a
// million lines as in one of ten, and lines added at the end never touch the earlier ones.

#include <QColor>
#include <QFont>
#include <QTimer>
#include <QAbstractItemView>

#include <functional>
#include <memory>
#include <utility>

#include "row_heights.h"

class TOvelListDelegate;

class TOvelListBox : public QAbstractItemView {
    Q_OBJECT
    Q_PROPERTY(bool ShowNumbers READ ShowNumbers WRITE SetShowNumbers)
    Q_PROPERTY(bool DrawLines READ DrawLines WRITE SetDrawLines)
    Q_PROPERTY(QColor LineColor READ LineColor WRITE SetLineColor)
    Q_PROPERTY(QFont NrFont READ NrFont WRITE SetNrFont)
    Q_PROPERTY(QColor NrFontColor READ NrFontColor WRITE SetNrFontColor)
    Q_PROPERTY(int LineNrWidth READ LineNrWidth WRITE SetLineNrWidth)
    Q_PROPERTY(int WrapWidth READ WrapWidth)
    Q_PROPERTY(int LineHeight READ LineHeight)
    Q_PROPERTY(bool AllowRangeSelect READ AllowRangeSelect WRITE SetAllowRangeSelect)
    Q_PROPERTY(bool AllowExtSelect READ AllowExtSelect WRITE SetAllowExtSelect)
    Q_PROPERTY(QColor FontColor READ FontColor WRITE SetFontColor)

public:
    explicit TOvelListBox(QWidget* parent = nullptr);
    ~TOvelListBox() override;

    bool ShowNumbers() const { return m_showNumbers; }
    void SetShowNumbers(bool on);
    bool DrawLines() const { return m_drawLines; }
    void SetDrawLines(bool on);
    QColor LineColor() const { return m_lineColor; }
    void SetLineColor(const QColor& colour);
    QFont NrFont() const { return m_nrFont; }
    void SetNrFont(const QFont& font);
    QColor NrFontColor() const { return m_nrFontColor; }
    void SetNrFontColor(const QColor& colour);
    int LineNrWidth() const { return m_lineNrWidth; }
    void SetLineNrWidth(int pixels);
    // Characters per wrapped line and pixel height of one text line, for lines without an
    // item (lines with one use their own font and indent).
    int WrapWidth() const { return m_wrapWidth; }
    int LineHeight() const { return m_lineHeight; }
    bool AllowRangeSelect() const { return m_allowRangeSelect; }
    void SetAllowRangeSelect(bool on) { m_allowRangeSelect = on; }
    bool AllowExtSelect() const { return m_allowExtSelect; }
    void SetAllowExtSelect(bool on) { m_allowExtSelect = on; }
    // The box's default font is the widget's font (QWidget::setFont); its colour is this.
    QColor FontColor() const { return m_fontColor; }
    void SetFontColor(const QColor& colour);
    // The current line is framed also while the box has no focus (and so no line selected):
    // the line the next edit acts on stays in sight.
    bool ShowCurrentLine() const { return m_showCurrentLine; }
    void SetShowCurrentLine(bool on);
    // The background of the box where no line is drawn.
    void setBackgroundColor(const QColor& colour);
    QColor backgroundColor() const;

    // The role whose text the lines show (Qt::DisplayRole unless set), so two boxes can show
    // different texts of one model.
    int textRole() const { return m_textRole; }
    void setTextRole(int role);

    // Lowest and highest selected row; (row count, 0) when nothing is selected.
    std::pair<int, int> selectionRange() const;
    // The first visible row, and scrolling so that `row` is the first visible one.
    int topRow() const;
    void setTopRow(int row);

    // Wrap width for a line of the given font and indent, and its average character width
    // and text line height.
    int wrapWidthFor(const QFont& font, int indent) const;
    struct Metrics {
        double averageCharWidth = 1.0;
        int lineHeight = 1;
    };
    Metrics metricsOf(const QFont& font) const;

    QRect visualRect(const QModelIndex& index) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint& point) const override;
    void setModel(QAbstractItemModel* model) override;
    void reset() override;
    void doItemsLayout() override;

    // Drag and drop of lines inside this box: dragging starts when enabled; the drop filter is
    // asked for every row the mouse moves over (the current row has followed the mouse), and
    // an accepted drop is reported by linesDropped.
    void setLineDragEnabled(bool on);
    void setDropFilter(std::function<bool(int row)> filter) { m_dropFilter = std::move(filter); }
    // What a drag of this box carries; a drop is taken only from the box that started it.
    QMimeData* dragMimeData() const;

signals:
    void OnScroll(TOvelListBox* sender);
    // A selection by the user: a click (on release, unless it started a drag; below the last
    // line it is a click on the last line) or a key that moved the current row or changed the
    // selection.
    void lineClicked();
    void lineDoubleClicked(int row, Qt::KeyboardModifiers modifiers);
    // Focus went to another control of the window (not to a pop-up menu or another window).
    void focusLost();
    void linesDropped(int row);
    // A drag of the selected lines begins (the press that started it may have selected a
    // line of its own).
    void dragStarting();

protected:
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override { return 0; }
    int verticalOffset() const override { return 0; }
    bool isIndexHidden(const QModelIndex&) const override { return false; }
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    void paintEvent(QPaintEvent* event) override;
    void rowsInserted(const QModelIndex& parent, int start, int end) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles = QList<int>()) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;

private:
    bool filtered(Qt::KeyboardModifiers modifiers) const;
    // Where a mouse event acts: a point below the last line is moved onto the last line.
    QPoint linePoint(const QPoint& pos) const;
    std::unique_ptr<QMouseEvent> onLine(const QMouseEvent& event) const;
    bool ownDrag(const QMimeData* data) const;
    int dropRow(const QPoint& pos) const;
    void remeasure();
    void relayout();
    int rows() const;
    int top() const;
    // The pixels around the viewport within which rows are placed by their measured heights,
    // and the height assumed for a row beyond them.
    int reach() const;
    int estimate() const;
    int measure(int row) const;
    QModelIndex rowIndex(int row) const;
    void modelRowsRemoved(const QModelIndex& parent, int first, int last);
    void modelRowsMoved(const QModelIndex& parent, int first, int last,
                        const QModelIndex& destination, int row);
    void modelLayoutChanged();
    // The delayed layout, and the scroll bar's update for rows added out of sight.
    void flushLayout();
    void scrollBarAction(int action);
    void scrollBarMoved();

    TOvelListDelegate* m_delegate;
    RowHeights m_heights;
    QList<QMetaObject::Connection> m_modelConnections;
    int m_laidOutWidth = -1;
    // Rows added out of sight reach the scroll bar a few times a second: each change of its
    // range repaints it and what lies behind it.
    QTimer m_scrollBarTimer;
    bool m_showNumbers = true;
    bool m_drawLines = true;
    QColor m_lineColor = Qt::white;
    QFont m_nrFont;
    QColor m_nrFontColor = Qt::cyan;
    int m_lineNrWidth = 30;
    int m_wrapWidth = 0;
    int m_lineHeight = 0;
    bool m_fontChanged = true;
    bool m_allowRangeSelect = false;
    bool m_allowExtSelect = false;
    bool m_showCurrentLine = false;
    QColor m_fontColor = Qt::white;
    int m_textRole = Qt::DisplayRole;
    bool m_pressFiltered = false;
    bool m_dragged = false;
    bool m_userScroll = false;
    bool m_inWheel = false;
    std::function<bool(int)> m_dropFilter;
};

// The look the program's lists share: white, without line numbers or separator lines, a bold
// 8-point number font in cyan (for when numbers are switched on), and `font` in `colour`.
void setUpProgramList(TOvelListBox* box, const QFont& font, const QColor& colour);
