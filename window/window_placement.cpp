#include "window_placement.h"

#include <algorithm>

namespace lmx {

namespace {

long long overlap(const ScreenRect& a, const ScreenRect& b)
{
    const long long w = std::min<long long>(a.x + a.width, b.x + b.width) - std::max(a.x, b.x);
    const long long h = std::min<long long>(a.y + a.height, b.y + b.height) - std::max(a.y, b.y);
    return w > 0 && h > 0 ? w * h : 0;
}

// Shrinks the rectangle to the screen and moves it in, as little as it takes.
ScreenRect fitted(ScreenRect r, const ScreenRect& screen)
{
    r.width = std::min(r.width, screen.width);
    r.height = std::min(r.height, screen.height);
    r.x = std::clamp(r.x, screen.x, screen.x + screen.width - r.width);
    r.y = std::clamp(r.y, screen.y, screen.y + screen.height - r.height);
    return r;
}

} // namespace

ScreenRect centredRect(int width, int height, const ScreenRect& screen)
{
    ScreenRect r;
    r.width = std::min(width, screen.width);
    r.height = std::min(height, screen.height);
    r.x = screen.x + (screen.width - r.width) / 2;
    r.y = screen.y + (screen.height - r.height) / 2;
    return r;
}

ScreenRect startRect(const WindowPlacement& saved, int firstWidth, int firstHeight,
                     const std::vector<ScreenRect>& screens)
{
    const bool hasSize = saved.Width > 0 && saved.Height > 0;
    const ScreenRect wanted = hasSize ? ScreenRect{saved.Left, saved.Top, saved.Width, saved.Height}
                                      : ScreenRect{0, 0, firstWidth, firstHeight};
    if (screens.empty())
        return wanted;
    if (!hasSize)
        return centredRect(firstWidth, firstHeight, screens.front());
    const auto most = std::max_element(screens.begin(), screens.end(),
                                       [&](const ScreenRect& a, const ScreenRect& b) {
                                           return overlap(wanted, a) < overlap(wanted, b);
                                       });
    if (overlap(wanted, *most) == 0) // its screen has gone: the size on the first one
        return centredRect(wanted.width, wanted.height, screens.front());
    return fitted(wanted, *most);
}

ScreenRect besideRect(const ScreenRect& main, int width, int height, const ScreenRect& screen,
                      int margin)
{
    const auto inside = [&](const ScreenRect& r) {
        return r.x >= screen.x && r.y >= screen.y && r.x + r.width <= screen.x + screen.width
            && r.y + r.height <= screen.y + screen.height;
    };
    // Level with the main window's bottom beside it, level with its right edge above or below.
    const int level = std::clamp(main.y + main.height - height, screen.y,
                                 std::max(screen.y, screen.y + screen.height - height));
    const int flush = std::clamp(main.x + main.width - width, screen.x,
                                 std::max(screen.x, screen.x + screen.width - width));
    const ScreenRect tries[] = {{main.x + main.width + margin, level, width, height},
                                {main.x - margin - width, level, width, height},
                                {flush, main.y + main.height + margin, width, height},
                                {flush, main.y - margin - height, width, height}};
    for (const ScreenRect& r : tries)
        if (inside(r))
            return r;
    return {main.x + main.width - width - margin, main.y + main.height - height - margin, width,
            height};
}

WindowPlacement placementToKeep(const PlacementNow& now, int firstWidth, int firstHeight,
                                const ScreenRect& screen)
{
    const bool first = !now.maximized && now.normal == centredRect(firstWidth, firstHeight, screen)
            && now.normal.width == firstWidth && now.normal.height == firstHeight
            && now.editorWidth == now.firstEditorWidth && now.topHeight == now.firstTopHeight;
    if (first)
        return {};
    WindowPlacement p;
    p.Left = now.normal.x;
    p.Top = now.normal.y;
    p.Width = std::max(now.normal.width, 1);
    p.Height = std::max(now.normal.height, 1);
    p.Maximized = now.maximized;
    p.EditorWidth = std::max(now.editorWidth, 0);
    p.TopHeight = std::max(now.topHeight, 0);
    return p;
}

} // namespace lmx
