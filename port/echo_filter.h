#pragma once
// A 2-wire RS-485 adapter hears its own transmission: every packet comes back, byte for byte,
// in front of the answer. The filter takes exactly that many bytes off the front of what is
// received (never a flush, which could take a fast answer with it) and, when asked to,
// compares them with what was sent: a byte that differs means another station talked at the
// same time, a bus collision.

#include <cstddef>
#include <string>
#include <string_view>

namespace lmx {

enum class EchoMode {
    Off,     // the line brings nothing back: every byte is the answer's
    Discard, // the packet comes back first and is dropped
    Verify,  // as Discard, and a byte that differs from the packet is a bus collision
};

// "off", "discard", "verify"; false for any other text.
bool parseEchoMode(std::string_view text, EchoMode& mode);
const char* echoModeName(EchoMode mode);

struct EchoFault {
    enum class Kind { None, Collision, Missing };
    Kind kind = Kind::None;
    size_t at = 0;       // Collision: the first byte that differs, from 1
    size_t received = 0; // Missing: the bytes of the echo that came
    size_t expected = 0; // Missing: the packet's length

    bool failed() const { return kind != Kind::None; }
    // "bus collision", "no echo" (the state in the Packets tab and the reports); empty for None.
    std::string state() const;
    // "Bus collision: the echo differs from the packet at byte 7" and the like.
    std::string message() const;
};

class EchoFilter {
public:
    // A packet went out: its echo is expected next.
    void start(EchoMode mode, std::string_view sent);
    // Takes what was received; returns how many bytes from the front were the echo. The rest
    // is the answer.
    size_t take(const char* data, size_t size);
    // Every byte of the echo has come (always true with Off).
    bool complete() const { return m_taken >= m_sent.size(); }
    // What went wrong with the echo so far; Missing once the wait is over and it has not come.
    EchoFault fault() const;
    // The echo bytes received.
    const std::string& echo() const { return m_echo; }

private:
    EchoMode m_mode = EchoMode::Off;
    std::string m_sent; // empty with Off
    std::string m_echo;
    size_t m_taken = 0;
    size_t m_firstDifference = 0; // from 1; 0: none
};

} // namespace lmx
