// Where the main window comes up, and what of its place is kept at closing.
#include "window/window_placement.h"

#include <gtest/gtest.h>

using namespace lmx;

namespace {

constexpr int kW = 792;
constexpr int kH = 573;
const ScreenRect kScreen{0, 0, 1920, 1050};
const ScreenRect kRight{1920, 0, 1280, 1000};

PlacementNow atFirstPlace()
{
    PlacementNow now;
    now.normal = centredRect(kW, kH, kScreen);
    now.editorWidth = now.firstEditorWidth = 468;
    now.topHeight = now.firstTopHeight = 279;
    return now;
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
        {"hanging over the edge: moved in", WindowPlacement{900, 500, 1400, 1000, false, 0, 0}, {kScreen}, {520, 50, 1400, 1000}},
        {"larger than the screen: shrunk", WindowPlacement{0, 0, 2500, 1400, false, 0, 0}, {kScreen}, {0, 0, 1920, 1050}},
        {"mostly on the second screen", WindowPlacement{1800, 100, 1000, 700, false, 0, 0}, {kScreen, kRight}, {1920, 100, 1000, 700}},
        {"its screen has gone: centred on the first", WindowPlacement{3500, 100, 1000, 700, false, 0, 0}, {kScreen}, {460, 175, 1000, 700}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(startRect(c.saved, kW, kH, c.screens), c.expected) << c.what;
}

TEST(WindowPlacement, AnyChangeKeepsThePlaceTheSizeAndTheDivision)
{
    const struct {
        const char* what;
        void (*change)(PlacementNow&);
        WindowPlacement expected;
    } cases[] = {
        {"moved", [](PlacementNow& n) { n.normal.x += 1; }, {565, 238, kW, kH, false, 468, 279}},
        {"resized", [](PlacementNow& n) { n.normal.height += 10; }, {564, 238, kW, kH + 10, false, 468, 279}},
        {"maximised", [](PlacementNow& n) { n.maximized = true; }, {564, 238, kW, kH, true, 468, 279}},
        {"editor narrower", [](PlacementNow& n) { n.editorWidth -= 40; }, {564, 238, kW, kH, false, 428, 279}},
        {"receive box taller", [](PlacementNow& n) { n.topHeight -= 40; }, {564, 238, kW, kH, false, 468, 239}},
    };
    for (const auto& c : cases) {
        PlacementNow now = atFirstPlace();
        c.change(now);
        EXPECT_EQ(placementToKeep(now, kW, kH, kScreen), c.expected) << c.what;
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
