#include "brightness/brightness_rules.h"
#include "brightness/drag_graph_model.h"

#include <gtest/gtest.h>

namespace {

const char kHeader[] = "BrightNess Table (in percentages)";

BrightnessTable loaded(const std::string& data, TVersion version)
{
    BrightnessTable t;
    t.load({kHeader, data, version});
    return t;
}

} // namespace

TEST(BrightnessTable, LevelsClampedPresetsInEitherFormAndUnreadableTablesFallBack)
{
    BrightnessTable t = loaded("1F0E" + std::string(28, '0'), TVersion::V200);
    EXPECT_EQ(t.level(0), 15);
    EXPECT_EQ(t.level(1), 14);
    EXPECT_EQ(t.text().substr(0, 4), "0F0E");

    t.setLevels(BrightnessTable::fullLevels());
    TBrightData out{kHeader, "", TVersion::V200};
    t.store(out);
    EXPECT_EQ(out.Data, "0F0F0F0F0F0F0F0F0F0F0F0F0F0F0F0F");
    EXPECT_EQ(out.Version, TVersion::V200);
    BrightnessTable low = loaded("3456789ABCDEFFFF", TVersion::V300);
    low.setLevels(BrightnessTable::lowLevels());
    EXPECT_EQ(low.text(), "0000000000000000");
    low.setLevel(3, 99);
    low.setLevel(4, -2);
    low.setLevel(16, 5); // outside the table: ignored
    EXPECT_EQ(low.text(), "000F000000000000");
    EXPECT_EQ(low.level(-1), 0);

    // the default tables round trip; unreadable ones fall back without losing the form
    EXPECT_TRUE(t.load({kHeader, "3456789ABCDEFFFF", TVersion::V300}));
    EXPECT_EQ(t.title(), "BrightNess Table (in percentages) V3.xx");
    EXPECT_EQ(t.levels(), BrightnessTable::defaultLevels());
    EXPECT_EQ(t.text(), "3456789ABCDEFFFF");
    EXPECT_TRUE(t.load({kHeader, "030405060708090A0B0C0D0E0F0F0F0F", TVersion::V200}));
    EXPECT_EQ(t.title(), "BrightNess Table (in percentages) V2.xx");
    EXPECT_EQ(t.levels(), BrightnessTable::defaultLevels());
    // 20 characters: the default levels in the one-digit form, whatever the record said.
    EXPECT_FALSE(t.load({kHeader, std::string(20, '1'), TVersion::V200}));
    EXPECT_EQ(t.version(), TVersion::V300);
    EXPECT_EQ(t.title(), "BrightNess Table (in percentages) V3.xx");
    EXPECT_EQ(t.text(), "3456789ABCDEFFFF");
    // The length decides the form, so a 16-digit table is never read two digits a level.
    EXPECT_TRUE(t.load({kHeader, "FFFFFFFFFFFFFFFF", TVersion::V200}));
    EXPECT_EQ(t.version(), TVersion::V300);
    EXPECT_EQ(t.levels(), BrightnessTable::fullLevels());
    // A level that is not hex reads as 0; the others are kept.
    EXPECT_FALSE(t.load({kHeader, "3Z56789ABCDEFFFF", TVersion::V300}));
    EXPECT_EQ(t.text(), "3056789ABCDEFFFF");
}

TEST(DragGraph, GeometryPointerHeightsLabelsAndValuesWithinTheResolution)
{
    DragGraphModel m;
    m.setSize(318, 224);
    // 318 - (16 + 30 + 8 + 4) = 260 wide, 224 - (16 + 16 + 8 + 4) = 180 high.
    EXPECT_EQ(m.plotWidth(), 260);
    EXPECT_EQ(m.plotHeight(), 180);
    EXPECT_EQ(m.horizontalStep(), 17);
    EXPECT_EQ(m.verticalStep(), 12);
    EXPECT_EQ(m.firstDotLeft(), 8 + 30 + 8 - 4);
    EXPECT_EQ(m.baseLine(), 224 - (8 + 16 + 8 + 4));
    m.setValue(2, 5);
    const DragGraphModel::Rect r = m.dotRect(2);
    EXPECT_EQ(r.left, 42 + 2 * 17);
    EXPECT_EQ(r.top, 188 - 5 * 12);
    EXPECT_EQ(m.dotAt(r.centreX(), r.centreY()), 2);
    EXPECT_EQ(m.dotAt(r.left - 1, r.centreY()), -1);
    EXPECT_EQ(m.minimumWidth(), 120 + 16 + 30 + 8 + 4);
    EXPECT_EQ(m.minimumHeight(), 120 + 16 + 16 + 8 + 4);
    // The nearest level to a pointer height (base line 188, step 12).
    const std::pair<int, int> cases[] = {{188, 0}, {188 - 5, 0}, {188 - 6, 1}, {188 - 7 * 12, 7},
                                         {188 - 7 * 12 - 5, 7}, {-500, 15}, {1000, 0}};
    for (const auto& [y, level] : cases)
        EXPECT_EQ(m.levelAt(y), level) << y;
    m.showLabels = false;
    EXPECT_EQ(m.plotWidth(), 290);

    // labels, and values within the resolution, of a graph as it starts
    m = DragGraphModel();
    std::string all;
    for (int j = 0; j <= 15; ++j)
        all += m.yLabel(j) + "|";
    EXPECT_EQ(all, "  0 %|  6 %| 13 %| 20 %| 26 %| 33 %| 40 %| 46 %| 53 %| 60 %| 66 %| 73 %| 80 %| "
                   "86 %| 93 %|100 %|");
    m.percentage = false;
    m.yLabelStart = 1;
    m.yLabelInc = 2;
    EXPECT_EQ(m.yLabel(3), "7");
    m.xLabelStart = 0;
    EXPECT_EQ(m.xLabel(15), "15");

    EXPECT_FALSE(m.setYResolution(1));
    EXPECT_TRUE(m.setValue(0, 20));
    EXPECT_EQ(m.value(0), 15);
    EXPECT_FALSE(m.setValue(1, -3)); // stored as 0, which it already was
    EXPECT_FALSE(m.setValue(16, 3));
    EXPECT_EQ(m.value(16), 0);
    EXPECT_TRUE(m.setYResolution(10));
    EXPECT_EQ(m.value(0), 10);
    // One dot has no horizontal step, and a squeezed control still maps levels: nothing
    // divides by zero.
    EXPECT_TRUE(m.setNrDots(1));
    m.setSize(10, 10);
    EXPECT_EQ(m.horizontalStep(), 0);
    EXPECT_EQ(m.levelAt(-1000), 10);
}
