#pragma once
// Undo and redo of the command list, step by step. Each step holds the edits that take back
// the changes of one editing action (recorded by the list as they happen), never a copy of
// the whole list, so a step costs what its action changed.
//
// A step is begun by each editing action; every change from then on belongs to it until the
// next one begins. A step that changes nothing is no step: what could be undone before stays.
// A change made while no step is open (after an undo, say) cannot be undone, and the steps
// before it could no longer be replayed: the history is emptied.

#include "command_list.h"

#include <cstddef>
#include <deque>
#include <vector>

class CommandHistory : public ListRecorder {
public:
    // The oldest steps are forgotten beyond this many.
    static constexpr size_t kMaxSteps = 1000;

    void beginStep();
    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    size_t undoSteps() const { return m_undo.size(); }
    size_t redoSteps() const { return m_redo.size(); }

    // Takes back the last step (it can then be redone), or makes the last undone step again.
    void undo(CommandList& list);
    void redo(CommandList& list);
    void clear();

    void record(ListEdit&& inverse) override;

private:
    using Step = std::vector<ListEdit>;
    // Applies a step's edits, last first; their inverses form the returned step.
    Step replay(CommandList& list, Step step);

    std::deque<Step> m_undo;
    std::vector<Step> m_redo;
    bool m_open = false;    // changes go into the step begun last
    bool m_started = false; // that step has a change: it is m_undo.back()
    Step* m_replaying = nullptr;
};
