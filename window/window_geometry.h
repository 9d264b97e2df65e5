#pragma once
// The main window's place, size and division on the screen: where it comes up (the place
// kept from the last run, or the first size centred), the two handles' first division, the
// editor's share of a wider window, the place it had before it was maximised, and what of all
// this is kept at closing (window_placement.h holds the rules; this applies them to the
// widgets). The window tells it of its show, state, move and resize events.

#include "window_placement.h"

#include <QObject>
#include <QRect>
#include <QSize>

#include <utility>

class QMainWindow;
class QSplitter;

class WindowGeometry : public QObject {
    Q_OBJECT

public:
    // `saved` is read when the window is placed, divided and closed: the settings may have
    // been loaded in between. `partSpacing` is the space between the parts.
    WindowGeometry(QMainWindow& window, QSplitter& editorSplitter, QSplitter& receiveSplitter,
                   const lmx::WindowPlacement& saved, int partSpacing);

    // The window's size with the menu bar at the first size.
    QSize firstSize() const;
    // The saved place, or the first size centred; the division comes once it is shown.
    void place();
    // The place to keep in the settings file (the saved one while the window was never shown).
    lmx::WindowPlacement placementNow() const;

    // The window's events, each after the window's own handling.
    void shown();
    void stateChanged(Qt::WindowStates oldState);
    void moved();
    void resized();

private:
    void divide();
    void shareWidth();
    // Puts a window just back from maximised at its kept place; false when there is nothing
    // to do.
    bool restoreNormal();
    bool normalState() const;

    QMainWindow& m_window;
    QSplitter& m_editorSplitter;
    QSplitter& m_receiveSplitter;
    const lmx::WindowPlacement& m_saved;
    int m_partSpacing;
    QRect m_normalRect; // where the window stands when it is not maximised
    QRect m_keptNormal; // where it stood before it was maximised
    bool m_restorePending = false; // just back from maximised: kept at m_keptNormal
    bool m_divisionAsked = false;
    bool m_divided = false;
    bool m_editorDivisionChosen = false; // dragged, or kept from an earlier run
    std::pair<int, int> m_firstDivision; // the editor's width and the top's height at first
};
