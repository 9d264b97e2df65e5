// Where the main window comes up, and what of its place is kept at closing.
#include "window/window_placement.h"

#include <gtest/gtest.h>

using namespace lmx;

namespace {

constexpr int kW = 792;
constexpr int kH = 573;
const ScreenRect kScreen{0, 0, 1920, 1050};
const ScreenRect kRight{1920, 0, 1280, 1000};

WindowPlacement placed(int left, int top, int width, int height)
{
    WindowPlacement p;
    p.Left = left;
    p.Top = top;
    p.Width = width;
    p.Height = height;
    return p;
}

} // namespace

TEST(WindowPlacement, StartRectFitsTheSavedPlaceToTheScreensThereAre)
{
    const struct {
        const char* what;
        WindowPlacement saved;
        std::vector<ScreenRect> screens;
        ScreenRect expected;
    } cases[] = {
        {"nothing saved: centred", {}, {kScreen}, {564, 238, kW, kH}},
        {"nothing saved, small screen: shrunk to it", {}, {{0, 0, 683, 384}}, {0, 0, 683, 384}},
        {"saved place on the screen", placed(100, 50, 1400, 1000), {kScreen}, {100, 50, 1400, 1000}},
        {"hanging over the edge: moved in", placed(900, 500, 1400, 1000), {kScreen}, {520, 50, 1400, 1000}},
        {"larger than the screen: shrunk", placed(0, 0, 2500, 1400), {kScreen}, {0, 0, 1920, 1050}},
        {"mostly on the second screen", placed(1800, 100, 1000, 700), {kScreen, kRight},
         {1920, 100, 1000, 700}},
        {"its screen has gone: centred on the first", placed(3500, 100, 1000, 700), {kScreen},
         {460, 175, 1000, 700}},
        {"no screen known: as saved", placed(10, 20, 900, 600), {}, {10, 20, 900, 600}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(startRect(c.saved, kW, kH, c.screens), c.expected) << c.what;
}

TEST(WindowPlacement, AWindowAtItsFirstPlaceKeepsNothing)
{
    PlacementNow now;
    now.normal = centredRect(kW, kH, kScreen);
    now.editorWidth = now.firstEditorWidth = 468;
    now.topHeight = now.firstTopHeight = 279;
    EXPECT_TRUE(placementToKeep(now, kW, kH, kScreen).isDefault());
}

TEST(WindowPlacement, AnyChangeKeepsThePlaceTheSizeAndTheDivision)
{
    PlacementNow first;
    first.normal = centredRect(kW, kH, kScreen);
    first.editorWidth = first.firstEditorWidth = 468;
    first.topHeight = first.firstTopHeight = 279;
    const struct {
        const char* what;
        void (*change)(PlacementNow&);
    } cases[] = {
        {"moved", [](PlacementNow& n) { n.normal.x += 1; }},
        {"resized", [](PlacementNow& n) { n.normal.height += 10; }},
        {"maximised", [](PlacementNow& n) { n.maximized = true; }},
        {"editor narrower", [](PlacementNow& n) { n.editorWidth -= 40; }},
        {"receive box taller", [](PlacementNow& n) { n.topHeight -= 40; }},
    };
    for (const auto& c : cases) {
        PlacementNow now = first;
        c.change(now);
        const WindowPlacement kept = placementToKeep(now, kW, kH, kScreen);
        EXPECT_EQ(kept.Left, now.normal.x) << c.what;
        EXPECT_EQ(kept.Top, now.normal.y) << c.what;
        EXPECT_EQ(kept.Width, now.normal.width) << c.what;
        EXPECT_EQ(kept.Height, now.normal.height) << c.what;
        EXPECT_EQ(kept.Maximized, now.maximized) << c.what;
        EXPECT_EQ(kept.EditorWidth, now.editorWidth) << c.what;
        EXPECT_EQ(kept.TopHeight, now.topHeight) << c.what;
    }
}

TEST(WindowPlacement, ASecondWindowGoesBesideTheMainWindowWhereThereIsRoom)
{
    const ScreenRect screen{0, 0, 1920, 1080};
    const struct {
        const char* what;
        ScreenRect main;
        ScreenRect expected;
    } cases[] = {
        {"room on the right", {100, 100, 800, 600}, {908, 400, 300, 300}},
        {"right edge: on the left", {1000, 100, 900, 600}, {692, 400, 300, 300}},
        {"wide: below", {10, 10, 1900, 600}, {1610, 618, 300, 300}},
        {"wide and low: above", {10, 400, 1900, 600}, {1610, 92, 300, 300}},
        {"maximised: inside, bottom right", {0, 0, 1920, 1080}, {1612, 772, 300, 300}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(besideRect(c.main, 300, 300, screen, 8), c.expected) << c.what;
}
