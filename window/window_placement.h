#pragma once
// Where the main window comes up and what of its place is worth keeping. The window is made
// resizable: it starts at its first size, centred, until the user has given it another size,
// place or division; those come back at the next start, fitted to the screens there are now
// (a screen may have gone, or be smaller, or have another pixel density).

#include "files/settings.h"

#include <vector>

namespace lmx {

struct ScreenRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool operator==(const ScreenRect& o) const
    {
        return x == o.x && y == o.y && width == o.width && height == o.height;
    }
};

// The window's first size centred on the screen area, both shrunk to fit it.
ScreenRect centredRect(int width, int height, const ScreenRect& screen);

// Where the window goes: the saved place on the screen it mostly lies on, moved and shrunk
// so that all of it is there; without a saved size, or when it lies on no screen now, the
// first size centred on the first screen. `screens` are the screens' available areas (less
// task bars), the primary one first; none: the saved place, or the first size at 0, 0.
ScreenRect startRect(const WindowPlacement& saved, int firstWidth, int firstHeight,
                     const std::vector<ScreenRect>& screens);

// What the window keeps of its place at closing: nothing (all defaults) while it stands at
// its first size, centred on its screen, not maximised and divided as at first; otherwise
// all of it. `normal` is its place when not maximised; the two divisions are given as they
// are and as they were at first for the window's size.
struct PlacementNow {
    ScreenRect normal;
    bool maximized = false;
    int editorWidth = 0;
    int topHeight = 0;
    int firstEditorWidth = 0;
    int firstTopHeight = 0;
};
WindowPlacement placementToKeep(const PlacementNow& now, int firstWidth, int firstHeight,
                                const ScreenRect& screen);

// Where a window of this size goes beside the main window so that it covers none of it: to
// its right, else its left, below, above, each within the screen area; where none has room,
// in the main window's bottom right corner, `margin` in from its edges.
ScreenRect besideRect(const ScreenRect& main, int width, int height, const ScreenRect& screen,
                      int margin);

} // namespace lmx
