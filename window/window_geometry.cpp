#include "window_geometry.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QTimer>

#include <vector>

namespace {

lmx::ScreenRect screenRect(const QRect& r)
{
    return {r.x(), r.y(), r.width(), r.height()};
}

constexpr Qt::WindowStates kBig = Qt::WindowMaximized | Qt::WindowFullScreen;

// The client area below the menu bar at the first size; the window may grow from there (and
// shrink, on a screen too small for it).
constexpr int kClientWidth = 792;
constexpr int kClientHeight = 554;
// How long after leaving the maximised state a place the window system gives it is taken for
// its answer to that, and corrected to the place kept from before.
constexpr int kRestoreSettleMs = 500;

} // namespace

WindowGeometry::WindowGeometry(QMainWindow& window, QSplitter& editorSplitter,
                               QSplitter& receiveSplitter, const lmx::WindowPlacement& saved,
                               int partSpacing)
    : QObject(&window),
      m_window(window),
      m_editorSplitter(editorSplitter),
      m_receiveSplitter(receiveSplitter),
      m_saved(saved),
      m_partSpacing(partSpacing)
{
    // A handle the user drags divides from then on as the user chose (see resized()).
    connect(&m_editorSplitter, &QSplitter::splitterMoved, this, [this] { m_editorDivisionChosen = true; });
}

QSize WindowGeometry::firstSize() const
{
    return {kClientWidth, kClientHeight + m_window.menuBar()->sizeHint().height()};
}

bool WindowGeometry::normalState() const
{
    return !(m_window.windowState() & (kBig | Qt::WindowMinimized));
}

void WindowGeometry::place()
{
    std::vector<lmx::ScreenRect> screens;
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (primary)
        screens.push_back(screenRect(primary->availableGeometry()));
    for (const QScreen* s : QGuiApplication::screens())
        if (s != primary)
            screens.push_back(screenRect(s->availableGeometry()));
    const QSize first = firstSize();
    const lmx::ScreenRect r = lmx::startRect(m_saved, first.width(), first.height(), screens);
    m_window.setGeometry(r.x, r.y, r.width, r.height);
    m_normalRect = m_window.geometry();
    if (m_saved.Maximized) {
        m_keptNormal = m_normalRect;
        m_window.setWindowState(m_window.windowState() | Qt::WindowMaximized);
        // Where no window manager maximises it, the window covers its screen by itself.
        if (const QScreen* s = QGuiApplication::screenAt(m_normalRect.center()))
            m_window.setGeometry(s->availableGeometry());
    }
}

void WindowGeometry::stateChanged(Qt::WindowStates oldState)
{
    // The states the window passes through while it is first shown are not the user's.
    if (!m_divided)
        return;
    const Qt::WindowStates now = m_window.windowState();
    if (!(oldState & kBig) && (now & kBig))
        m_keptNormal = m_normalRect;
    // Back from maximised: to the place it had before, which a window manager that saw only
    // the maximised window does not know.
    if ((oldState & kBig) && normalState()) {
        m_normalRect = m_keptNormal;
        m_window.setGeometry(m_keptNormal);
        // A window manager may answer with a place of its own a little later.
        m_restorePending = true;
        QTimer::singleShot(kRestoreSettleMs, this, [this] { m_restorePending = false; });
    }
}

void WindowGeometry::divide()
{
    if (m_divided)
        return;
    m_divided = true;
    // The first division: three fifths of the row to the command editor, as the first window
    // had it, and below, the receive box and the command buttons as high as they ask to be.
    // A window left so is kept as having no division of its own.
    const int across = m_editorSplitter.width() - m_editorSplitter.handleWidth();
    shareWidth();
    m_firstDivision = {m_editorSplitter.sizes().value(0), m_receiveSplitter.sizes().value(0)};
    m_editorDivisionChosen = m_saved.EditorWidth > 0;
    if (m_editorDivisionChosen)
        m_editorSplitter.setSizes({m_saved.EditorWidth, across - m_saved.EditorWidth});
    if (m_saved.TopHeight > 0) {
        const int down = m_receiveSplitter.height() - m_receiveSplitter.handleWidth();
        m_receiveSplitter.setSizes({m_saved.TopHeight, down - m_saved.TopHeight});
    }
}

lmx::WindowPlacement WindowGeometry::placementNow() const
{
    lmx::PlacementNow now;
    if (!m_divided) // closed before it was shown: as it was
        return m_saved;
    now.normal = screenRect(m_normalRect);
    now.maximized = m_window.isMaximized();
    // The editor's width only when the user chose it; else the window's share comes again.
    now.editorWidth = m_editorDivisionChosen ? m_editorSplitter.sizes().value(0) : 0;
    now.topHeight = m_receiveSplitter.sizes().value(0);
    now.firstEditorWidth = m_editorDivisionChosen ? m_firstDivision.first : 0;
    now.firstTopHeight = m_firstDivision.second;
    const QScreen* s = m_window.screen();
    const QSize first = firstSize();
    return lmx::placementToKeep(now, first.width(), first.height(),
                                s ? screenRect(s->availableGeometry()) : lmx::ScreenRect{});
}

void WindowGeometry::shown()
{
    if (m_divisionAsked)
        return;
    m_divisionAsked = true;
    // Once the parts have taken their shown fonts and styles, which change what they ask for.
    QTimer::singleShot(0, this, &WindowGeometry::divide);
}

bool WindowGeometry::restoreNormal()
{
    if (!m_restorePending || !normalState() || m_window.geometry() == m_keptNormal)
        return false;
    m_window.setGeometry(m_keptNormal);
    return true;
}

void WindowGeometry::moved()
{
    if (m_divided && !m_restorePending && normalState())
        m_normalRect = m_window.geometry();
}

void WindowGeometry::shareWidth()
{
    // Up to the first width three fifths of it go to the command editor, as at first; of
    // more width the tabs take two thirds: hex lines are three times as long as the command
    // lines they show, and the Packets table wants room for all its columns.
    const int firstAcross = kClientWidth - 2 * 4 - m_partSpacing;
    const int across = m_editorSplitter.width() - m_editorSplitter.handleWidth();
    const int editor = across <= firstAcross ? across * 3 / 5
                                             : firstAcross * 3 / 5 + (across - firstAcross) / 3;
    m_editorSplitter.setSizes({editor, across - editor});
}

void WindowGeometry::resized()
{
    // The splitter has shared the new width by the parts' sizes; until the user has chosen
    // a division, the window's own share stands instead.
    if (m_divided && !m_editorDivisionChosen)
        shareWidth();
    if (restoreNormal())
        return;
    if (m_divided && normalState())
        m_normalRect = m_window.geometry();
}
