#include "command_history.h"

#include <utility>

void CommandHistory::beginStep()
{
    m_open = true;
    m_started = false;
}

void CommandHistory::record(ListEdit&& inverse)
{
    if (m_replaying) {
        m_replaying->push_back(std::move(inverse));
        return;
    }
    if (!m_open) {
        clear();
        return;
    }
    if (!m_started) {
        // A new change: what was undone before can no longer be redone.
        m_undo.emplace_back();
        m_redo.clear();
        m_started = true;
        if (m_undo.size() > kMaxSteps)
            m_undo.pop_front();
    }
    m_undo.back().push_back(std::move(inverse));
}

CommandHistory::Step CommandHistory::replay(CommandList& list, Step step)
{
    Step inverses;
    m_replaying = &inverses;
    CommandList::Batch batch(list);
    for (auto it = step.rbegin(); it != step.rend(); ++it)
        list.apply(std::move(*it));
    m_replaying = nullptr;
    m_open = false;
    m_started = false;
    return inverses;
}

void CommandHistory::undo(CommandList& list)
{
    if (m_undo.empty())
        return;
    Step step = std::move(m_undo.back());
    m_undo.pop_back();
    m_redo.push_back(replay(list, std::move(step)));
}

void CommandHistory::redo(CommandList& list)
{
    if (m_redo.empty())
        return;
    Step step = std::move(m_redo.back());
    m_redo.pop_back();
    m_undo.push_back(replay(list, std::move(step)));
}

void CommandHistory::clear()
{
    m_undo.clear();
    m_redo.clear();
    m_open = false;
    m_started = false;
}
