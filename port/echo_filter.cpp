#include "echo_filter.h"

#include <algorithm>

namespace lmx {

bool parseEchoMode(std::string_view text, EchoMode& mode)
{
    for (const EchoMode m : {EchoMode::Off, EchoMode::Discard, EchoMode::Verify})
        if (text == echoModeName(m)) {
            mode = m;
            return true;
        }
    return false;
}

const char* echoModeName(EchoMode mode)
{
    switch (mode) {
    case EchoMode::Discard: return "discard";
    case EchoMode::Verify: return "verify";
    case EchoMode::Off: break;
    }
    return "off";
}

std::string EchoFault::state() const
{
    switch (kind) {
    case Kind::Collision: return "bus collision";
    case Kind::Missing: return "no echo";
    case Kind::None: break;
    }
    return {};
}

std::string EchoFault::message() const
{
    switch (kind) {
    case Kind::Collision:
        return "Bus collision: the echo differs from the packet at byte " + std::to_string(at);
    case Kind::Missing:
        if (received == 0)
            return "No echo: the packet did not come back within the answer time";
        return "No echo: " + std::to_string(received) + " of " + std::to_string(expected)
             + " bytes of the packet came back within the answer time";
    case Kind::None: break;
    }
    return {};
}

void EchoFilter::start(EchoMode mode, std::string_view sent)
{
    m_mode = mode;
    m_sent.assign(mode == EchoMode::Off ? std::string_view() : sent);
    m_echo.clear();
    m_taken = 0;
    m_firstDifference = 0;
}

size_t EchoFilter::take(const char* data, size_t size)
{
    const size_t n = std::min(size, m_sent.size() - m_taken);
    for (size_t i = 0; i < n; ++i) {
        if (m_firstDifference == 0 && data[i] != m_sent[m_taken + i])
            m_firstDifference = m_taken + i + 1;
    }
    m_echo.append(data, n);
    m_taken += n;
    return n;
}

EchoFault EchoFilter::fault() const
{
    EchoFault f;
    if (m_mode == EchoMode::Verify && m_firstDifference != 0) {
        f.kind = EchoFault::Kind::Collision;
        f.at = m_firstDifference;
    } else if (!complete()) {
        f.kind = EchoFault::Kind::Missing;
        f.received = m_taken;
        f.expected = m_sent.size();
    }
    return f;
}

} // namespace lmx
