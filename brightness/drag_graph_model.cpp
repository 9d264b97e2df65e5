#include "drag_graph_model.h"

#include <algorithm>
#include <cstdio>

namespace {

bool inRange(int v, int lo, int hi)
{
    return v >= lo && v <= hi;
}

} // namespace

DragGraphModel::DragGraphModel() : m_values(static_cast<size_t>(m_nrDots), 0) {}

bool DragGraphModel::setNrDots(int n)
{
    if (!inRange(n, 1, 32))
        return false;
    m_nrDots = n;
    m_values.resize(static_cast<size_t>(n), 0);
    return true;
}

bool DragGraphModel::setYResolution(int r)
{
    if (!inRange(r, 2, 64))
        return false;
    m_yResolution = r;
    for (int& v : m_values)
        v = std::min(v, r);
    return true;
}

bool DragGraphModel::setDotSize(int s)
{
    if (!inRange(s, 4, 32))
        return false;
    m_dotSize = s;
    return true;
}

bool DragGraphModel::setMarge(int m)
{
    if (!inRange(m, 4, 16))
        return false;
    m_marge = m;
    return true;
}

bool DragGraphModel::setAxisSpace(int s)
{
    if (!inRange(s, 8, 64))
        return false;
    m_axisSpace = s;
    return true;
}

bool DragGraphModel::setXLabelSpace(int s)
{
    if (!inRange(s, 8, 64))
        return false;
    m_xLabelSpace = s;
    return true;
}

bool DragGraphModel::setYLabelSpace(int s)
{
    if (!inRange(s, 8, 64))
        return false;
    m_yLabelSpace = s;
    return true;
}

int DragGraphModel::value(int dot) const
{
    return (dot >= 0 && dot < m_nrDots) ? m_values[static_cast<size_t>(dot)] : 0;
}

bool DragGraphModel::setValue(int dot, int value)
{
    if (dot < 0 || dot >= m_nrDots)
        return false;
    const int v = std::clamp(value, 0, m_yResolution);
    int& stored = m_values[static_cast<size_t>(dot)];
    if (stored == v)
        return false;
    stored = v;
    return true;
}

void DragGraphModel::setSize(int width, int height)
{
    m_width = width;
    m_height = height;
}

int DragGraphModel::plotWidth() const
{
    return m_width - (2 * m_marge + labelWidth() + m_axisSpace / 2 + m_dotSize / 2);
}

int DragGraphModel::plotHeight() const
{
    return m_height - (2 * m_marge + labelHeight() + m_axisSpace / 2 + m_dotSize / 2);
}

int DragGraphModel::horizontalStep() const
{
    // A single dot has no step (and no division by zero).
    return m_nrDots > 1 ? std::max(0, plotWidth() / (m_nrDots - 1)) : 0;
}

int DragGraphModel::verticalStep() const
{
    // At least one pixel, so a control squeezed below its minimum size still maps levels.
    return std::max(1, plotHeight() / m_yResolution);
}

int DragGraphModel::firstDotLeft() const
{
    return m_marge + labelWidth() + m_axisSpace / 2 - m_dotSize / 2;
}

int DragGraphModel::baseLine() const
{
    return m_height - (m_marge + labelHeight() + m_axisSpace / 2 + m_dotSize / 2);
}

DragGraphModel::Rect DragGraphModel::dotRect(int dot) const
{
    return {firstDotLeft() + dot * horizontalStep(), baseLine() - value(dot) * verticalStep(),
            m_dotSize};
}

int DragGraphModel::minimumWidth() const
{
    const int plot = std::max(96, (m_nrDots - 1) * m_dotSize);
    return plot + 2 * m_marge + labelWidth() + m_axisSpace / 2 + m_dotSize / 2;
}

int DragGraphModel::minimumHeight() const
{
    const int plot = std::max(64, m_yResolution * m_dotSize);
    return plot + 2 * m_marge + labelHeight() + m_axisSpace / 2 + m_dotSize / 2;
}

int DragGraphModel::levelAt(int y) const
{
    const int step = verticalStep();
    return std::clamp((baseLine() - y + step / 2) / step, 0, m_yResolution);
}

int DragGraphModel::dotAt(int x, int y) const
{
    // The topmost drawn dot wins where dots overlap: the later ones are drawn over the earlier.
    for (int i = m_nrDots - 1; i >= 0; --i)
        if (dotRect(i).contains(x, y))
            return i;
    return -1;
}

std::string DragGraphModel::xLabel(int dot) const
{
    return std::to_string(xLabelStart + dot * xLabelInc);
}

std::string DragGraphModel::yLabel(int level) const
{
    if (!percentage)
        return std::to_string(yLabelStart + level * yLabelInc);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%3d %%", level * 100 / m_yResolution);
    return buf;
}
