#pragma once
// A temporary file that must not outlive an interrupted program: once armed, SIGINT or
// SIGTERM first deletes the file and then ends the program as the signal would have. A
// program that handles these signals itself (lmx send ends its transmission on them) keeps
// its handler: it goes on, and the save that made the file finishes or cleans up itself.
//
// From its making until it is armed the guard holds both signals back in this thread, so
// that none can end the program between the file's creation and the arming. One guard at a
// time (saves do not nest); the file's name is copied where the handler can reach it
// without allocating.

#include <csignal>
#include <string>

namespace lmx {

class TemporaryFileGuard {
public:
    TemporaryFileGuard();
    ~TemporaryFileGuard();
    TemporaryFileGuard(const TemporaryFileGuard&) = delete;
    TemporaryFileGuard& operator=(const TemporaryFileGuard&) = delete;

    // Guards `path` from now on and lets the signals through again; with an empty path only
    // the latter (no file was made).
    void arm(const std::string& path);
    // The file is gone or has its final name: a signal no longer deletes anything.
    void release();

private:
    void unblock();

    sigset_t m_blocked;
    sigset_t m_before;
    bool m_blocking = false;
    bool m_armed = false;
};

} // namespace lmx
