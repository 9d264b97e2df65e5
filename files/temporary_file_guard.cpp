#include "temporary_file_guard.h"

#include <climits>
#include <cstring>

#include <pthread.h>
#include <unistd.h>

namespace lmx {

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM};
constexpr size_t kSignalCount = sizeof kSignals / sizeof kSignals[0];

char s_path[PATH_MAX];
volatile std::sig_atomic_t s_armed = 0;
struct sigaction s_previous[kSignalCount];
bool s_installed[kSignalCount] = {};

void onSignal(int signal)
{
    if (s_armed) {
        s_armed = 0;
        ::unlink(s_path);
    }
    // Ends the program as the signal would have: its default action, raised again.
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    ::sigaction(signal, &fallback, nullptr);
    ::raise(signal);
}

} // namespace

TemporaryFileGuard::TemporaryFileGuard()
{
    sigemptyset(&m_blocked);
    for (int s : kSignals)
        sigaddset(&m_blocked, s);
    m_blocking = ::pthread_sigmask(SIG_BLOCK, &m_blocked, &m_before) == 0;
}

TemporaryFileGuard::~TemporaryFileGuard()
{
    release();
    unblock();
}

void TemporaryFileGuard::unblock()
{
    if (m_blocking)
        ::pthread_sigmask(SIG_SETMASK, &m_before, nullptr);
    m_blocking = false;
}

void TemporaryFileGuard::arm(const std::string& path)
{
    if (!path.empty() && path.size() < sizeof s_path && !s_armed && !m_armed) {
        std::memcpy(s_path, path.c_str(), path.size() + 1);
        m_armed = true;
        s_armed = 1;
        for (size_t i = 0; i < kSignalCount; ++i) {
            struct sigaction current {};
            ::sigaction(kSignals[i], nullptr, &current);
            // Only where the signal would end the program: a handler of the program's own,
            // or an ignored signal, stays as it is.
            s_installed[i] = current.sa_handler == SIG_DFL && !(current.sa_flags & SA_SIGINFO);
            if (!s_installed[i])
                continue;
            struct sigaction action {};
            action.sa_handler = &onSignal;
            action.sa_mask = m_blocked;
            ::sigaction(kSignals[i], &action, &s_previous[i]);
        }
    }
    unblock(); // a signal that came meanwhile arrives now
}

void TemporaryFileGuard::release()
{
    if (!m_armed)
        return;
    m_armed = false;
    s_armed = 0;
    for (size_t i = 0; i < kSignalCount; ++i)
        if (s_installed[i]) {
            ::sigaction(kSignals[i], &s_previous[i], nullptr);
            s_installed[i] = false;
        }
}

} // namespace lmx
