#include "widgets/row_heights.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Rows of the heights given, measured on demand and counted.
struct Rows {
    std::vector<int> heights;
    mutable std::vector<int> measured;
    RowHeights layout{[this](int row) {
        measured.push_back(row);
        return heights[static_cast<size_t>(row)];
    }};

    explicit Rows(std::vector<int> h) : heights(std::move(h)) { layout.reset(int(heights.size())); }
};

constexpr int kReach = 40;
constexpr int kEstimate = 7;

} // namespace

// Where a row is and which row is at a place agree everywhere: near the top row by measured
// heights, far from it by the estimate, above and below.
TEST(RowHeights, RowAtFindsTheRowWhosePlaceYOfGives)
{
    Rows r({10, 20, 5, 30, 15, 10, 10, 25, 10, 10, 40, 10, 10, 10, 10, 10, 10, 10, 10, 10});
    for (const int top : {0, 3, 10, 19})
        for (int row = 0; row < 20; ++row) {
            const int y = r.layout.yOf(row, top, kReach, kEstimate);
            EXPECT_EQ(r.layout.rowAt(y, top, kReach, kEstimate), row) << "top " << top << " row " << row;
            EXPECT_EQ(r.layout.rowAt(y + 2, top, kReach, kEstimate), row) << "top " << top << " row " << row;
        }
    EXPECT_EQ(r.layout.yOf(3, 0, kReach, kEstimate), 35);
    EXPECT_EQ(r.layout.yOf(0, 2, kReach, kEstimate), -30);
}

TEST(RowHeights, RowsFarFromTheTopAreNotMeasuredToBePlaced)
{
    Rows r(std::vector<int>(10000, 12));
    r.layout.yOf(9000, 100, kReach, kEstimate);
    r.layout.yOf(10, 5000, kReach, kEstimate);
    EXPECT_LE(r.measured.size(), 20u);
    EXPECT_FALSE(r.layout.known(9000));
}

// A row's height is measured once; inserting, removing and moving rows keeps the heights of the
// others where their rows went.
TEST(RowHeights, KnownHeightsFollowTheirRowsThroughInsertRemoveAndMove)
{
    Rows r({10, 20, 30, 40, 50});
    for (int row = 0; row < 5; ++row)
        r.layout.height(row);
    r.layout.height(2);
    EXPECT_EQ(r.measured.size(), 5u);

    r.layout.insert(1, 2); // 10 ? ? 20 30 40 50
    EXPECT_FALSE(r.layout.known(1));
    EXPECT_EQ(r.layout.knownHeight(3, 0), 20);
    r.layout.remove(1, 2); // 10 20 30 40 50
    r.layout.move(0, 1, 4); // 30 40 10 20 50: rows 0-1 in front of old row 4
    EXPECT_EQ(r.layout.knownHeight(0, 0), 30);
    EXPECT_EQ(r.layout.knownHeight(2, 0), 10);
    EXPECT_EQ(r.layout.knownHeight(4, 0), 50);
    r.layout.move(4, 4, 0); // 50 30 40 10 20
    EXPECT_EQ(r.layout.knownHeight(0, 0), 50);
    EXPECT_EQ(r.layout.knownHeight(4, 0), 20);
    EXPECT_EQ(r.measured.size(), 5u);

    r.layout.invalidate(1, 1);
    EXPECT_FALSE(r.layout.known(1));
    EXPECT_TRUE(r.layout.known(2));
}

// The last top row shows the last rows whole; a row taller than the view is its own top.
TEST(RowHeights, ScrollLimitsShowTheLastRowWhole)
{
    Rows r({10, 10, 10, 10, 30, 10, 10});
    EXPECT_EQ(r.layout.lastTop(50), 4);   // 10 + 10 + 30 fit, the 10 before would not
    EXPECT_EQ(r.layout.lastTop(49), 5);
    EXPECT_EQ(r.layout.lastTop(100), 0);  // everything fits
    EXPECT_EQ(r.layout.topShowingAtBottom(4, 35), 4);
    EXPECT_EQ(r.layout.topShowingAtBottom(3, 35), 1);
    EXPECT_EQ(r.layout.rowsFitting(0, 35), 3);
    EXPECT_EQ(r.layout.rowsFitting(4, 5), 1);
    r.measured.clear();
    r.layout.lastTop(45);
    EXPECT_TRUE(r.measured.empty()); // kept from before
}
