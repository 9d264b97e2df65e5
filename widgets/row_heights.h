#pragma once
// The pixel heights of a list box's rows, measured when a row is first needed and kept until
// the row changes (or, for all rows, until the font or the width changes). A list view keeps
// its rows in step with the model's row changes here, so an edit measures only the rows it
// touched, however long the list.
//
// Positions are counted from the first visible row ("top"): rows within `reach` pixels of it
// are placed by their measured heights; rows farther away by an estimated height each, without
// measuring them. rowAt() is the exact inverse of yOf(), so a position taken from a row far
// off screen leads back to that row.

#include <cstdint>
#include <functional>
#include <vector>

class RowHeights {
public:
    // Measures one row: its height in pixels, 1..255.
    using Measure = std::function<int(int row)>;

    explicit RowHeights(Measure measure) : m_measure(std::move(measure)) {}

    int count() const { return static_cast<int>(m_heights.size()); }
    // All rows unmeasured.
    void reset(int rows);
    void insert(int first, int rows);
    void remove(int first, int last);
    // Rows first..last move so that they stand in front of row `destination` (counted before
    // the move), as a model's rowsMoved reports it.
    void move(int first, int last, int destination);
    // These rows (or all) are measured again when next needed.
    void invalidate(int first, int last);
    void invalidateAll();

    // The row's height, measuring it when it is not known.
    int height(int row) const;
    // The row's height if it is known, else `estimate`; never measures.
    int knownHeight(int row, int estimate) const;
    bool known(int row) const;

    // Top of `row` relative to the top of row `top`.
    int yOf(int row, int top, int reach, int estimate) const;
    // The row at position `y` (relative to the top of row `top`), clamped to the list; -1
    // when the list is empty.
    int rowAt(int y, int top, int reach, int estimate) const;
    // The highest first row that still shows the last row whole in `viewHeight` pixels.
    int lastTop(int viewHeight) const;
    // The first row that shows `row` at the bottom of `viewHeight` pixels (the row itself when
    // it is taller).
    int topShowingAtBottom(int row, int viewHeight) const;
    // Number of rows from `top` that fit whole in `viewHeight` pixels (at least 1).
    int rowsFitting(int top, int viewHeight) const;

private:
    Measure m_measure;
    // 0: not measured. A row is never taller than 255 pixels.
    mutable std::vector<uint8_t> m_heights;
};
