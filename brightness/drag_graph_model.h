#pragma once
// What the dot graph knows without a window: its dots and their values, the options that
// shape it, and the geometry (where each dot lies, which level a pointer height means).
// TDragGraph draws it and turns mouse drags into setValue calls.

#include <string>
#include <vector>

class DragGraphModel {
public:
    struct Rect {
        int left = 0;
        int top = 0;
        int size = 0; // dots are squares
        int centreX() const { return left + size / 2; }
        int centreY() const { return top + size / 2; }
        bool contains(int x, int y) const
        {
            return x >= left && x < left + size && y >= top && y < top + size;
        }
    };

    DragGraphModel();

    // Range-checked options: a value outside the range is ignored. Returns true when taken.
    int nrDots() const { return m_nrDots; }
    bool setNrDots(int n); // 1..32; dots beyond the old count start at 0
    int yResolution() const { return m_yResolution; }
    bool setYResolution(int r); // 2..64; values above it are lowered to it
    int dotSize() const { return m_dotSize; }
    bool setDotSize(int s); // 4..32
    int marge() const { return m_marge; }
    bool setMarge(int m); // 4..16
    int axisSpace() const { return m_axisSpace; }
    bool setAxisSpace(int s); // 8..64
    int xLabelSpace() const { return m_xLabelSpace; }
    bool setXLabelSpace(int s); // 8..64
    int yLabelSpace() const { return m_yLabelSpace; }
    bool setYLabelSpace(int s); // 8..64

    bool showLabels = true;
    bool showLine = true;
    bool showAxis = true;
    bool showGrid = false;
    bool percentage = true;
    int xLabelStart = 0;
    int xLabelInc = 1;
    int yLabelStart = 0;
    int yLabelInc = 1;

    // A dot's value; 0 for an index outside the dots.
    int value(int dot) const;
    // Stores the value clamped to 0..YResolution; an index outside the dots is ignored.
    // Returns true when the stored value changed.
    bool setValue(int dot, int value);

    // Geometry for a control of the given size.
    void setSize(int width, int height);
    int width() const { return m_width; }
    int height() const { return m_height; }
    int plotWidth() const;
    int plotHeight() const;
    int horizontalStep() const;
    int verticalStep() const;
    int firstDotLeft() const;
    int baseLine() const;
    Rect dotRect(int dot) const;
    // The smallest control that keeps the plot at least 96 x 64 and one dot per step.
    int minimumWidth() const;
    int minimumHeight() const;

    // The level nearest a pointer height, clamped to 0..YResolution.
    int levelAt(int y) const;
    // The dot under a point, or -1.
    int dotAt(int x, int y) const;

    // Left of the axes: the reserved label widths (0 without labels).
    int labelWidth() const { return showLabels ? m_xLabelSpace : 0; }
    int labelHeight() const { return showLabels ? m_yLabelSpace : 0; }

    std::string xLabel(int dot) const;
    // With percentage: level x 100 / YResolution as "%3d %"; else YLabelStart + level x inc.
    std::string yLabel(int level) const;

private:
    int m_nrDots = 16;
    int m_yResolution = 15;
    int m_dotSize = 8;
    int m_marge = 8;
    int m_axisSpace = 16;
    int m_xLabelSpace = 30;
    int m_yLabelSpace = 16;
    int m_width = 0;
    int m_height = 0;
    std::vector<int> m_values;
};
