#include "row_heights.h"

#include <algorithm>

void RowHeights::reset(int rows)
{
    m_heights.assign(static_cast<size_t>(std::max(rows, 0)), 0);
}

void RowHeights::insert(int first, int rows)
{
    first = std::clamp(first, 0, count());
    if (rows > 0)
        m_heights.insert(m_heights.begin() + first, static_cast<size_t>(rows), 0);
}

void RowHeights::remove(int first, int last)
{
    first = std::max(first, 0);
    last = std::min(last, count() - 1);
    if (first <= last)
        m_heights.erase(m_heights.begin() + first, m_heights.begin() + last + 1);
}

void RowHeights::move(int first, int last, int destination)
{
    first = std::max(first, 0);
    last = std::min(last, count() - 1);
    destination = std::clamp(destination, 0, count());
    if (first > last || (destination >= first && destination <= last + 1))
        return;
    const auto begin = m_heights.begin();
    if (destination < first)
        std::rotate(begin + destination, begin + first, begin + last + 1);
    else
        std::rotate(begin + first, begin + last + 1, begin + destination);
}

void RowHeights::invalidate(int first, int last)
{
    first = std::max(first, 0);
    last = std::min(last, count() - 1);
    if (first <= last)
        std::fill(m_heights.begin() + first, m_heights.begin() + last + 1, 0);
}

void RowHeights::invalidateAll()
{
    std::fill(m_heights.begin(), m_heights.end(), 0);
}

bool RowHeights::known(int row) const
{
    return row >= 0 && row < count() && m_heights[static_cast<size_t>(row)] != 0;
}

int RowHeights::height(int row) const
{
    if (row < 0 || row >= count())
        return 1;
    uint8_t& h = m_heights[static_cast<size_t>(row)];
    if (h == 0)
        h = static_cast<uint8_t>(std::clamp(m_measure(row), 1, 255));
    return h;
}

int RowHeights::knownHeight(int row, int estimate) const
{
    return known(row) ? m_heights[static_cast<size_t>(row)] : estimate;
}

int RowHeights::yOf(int row, int top, int reach, int estimate) const
{
    int y = 0;
    int r = top;
    if (row >= top) {
        while (r < row && y <= reach)
            y += height(r++);
        return y + (row - r) * estimate;
    }
    while (r > row && y >= -reach)
        y -= height(--r);
    return y - (r - row) * estimate;
}

int RowHeights::rowAt(int y, int top, int reach, int estimate) const
{
    if (count() == 0)
        return -1;
    top = std::clamp(top, 0, count() - 1);
    int edge = 0;
    int r = top;
    if (y >= 0) {
        while (r < count() && edge <= reach) {
            const int h = height(r);
            if (y < edge + h)
                return r;
            edge += h;
            ++r;
        }
        return std::min(count() - 1, r + (y - edge) / estimate);
    }
    while (r > 0 && edge >= -reach) {
        edge -= height(--r);
        if (y >= edge)
            return r;
    }
    return std::max(0, r - (edge - y + estimate - 1) / estimate);
}

int RowHeights::lastTop(int viewHeight) const
{
    int used = 0;
    for (int r = count() - 1; r >= 0; --r) {
        used += height(r);
        if (used > viewHeight)
            return std::min(r + 1, count() - 1);
    }
    return 0;
}

int RowHeights::topShowingAtBottom(int row, int viewHeight) const
{
    int used = height(row);
    int r = row;
    while (r > 0 && used + height(r - 1) <= viewHeight)
        used += height(--r);
    return r;
}

int RowHeights::rowsFitting(int top, int viewHeight) const
{
    int used = 0;
    int rows = 0;
    for (int r = std::max(top, 0); r < count(); ++r) {
        used += height(r);
        if (used > viewHeight)
            break;
        ++rows;
    }
    return std::max(rows, 1);
}
