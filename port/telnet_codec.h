#pragma once
// The Telnet side of a COM port server (RFC 854, RFC 2217): the bytes of the line travel
// between Telnet commands, 0xFF doubled; options are negotiated with WILL/WONT/DO/DONT, and
// the COM port settings travel as subnegotiations of option 44. Plain C++: the backend feeds
// it what the socket brings and sends what it gives.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lmx::telnet {

constexpr uint8_t kIac = 255;
constexpr uint8_t kDont = 254;
constexpr uint8_t kDo = 253;
constexpr uint8_t kWont = 252;
constexpr uint8_t kWill = 251;
constexpr uint8_t kSb = 250;
constexpr uint8_t kSe = 240;

constexpr uint8_t kBinary = 0;
constexpr uint8_t kEcho = 1;
constexpr uint8_t kSuppressGoAhead = 3;
constexpr uint8_t kComPort = 44;

// COM-PORT-OPTION commands from the client; the server answers each with the code + 100.
enum ComPortCommand : uint8_t {
    kSetBaudRate = 1,
    kSetDataSize = 2,
    kSetParity = 3,
    kSetStopSize = 4,
    kSetControl = 5,
    kPurgeData = 12,
};
constexpr uint8_t kServerOffset = 100;

// The line's bytes with every 0xFF doubled.
std::string escape(std::string_view data);
// IAC verb option.
std::string command(uint8_t verb, uint8_t option);
// IAC SB 44 command value IAC SE, 0xFF in the value doubled.
std::string comPortCommand(uint8_t command, std::string_view value);
// A 32-bit value in network byte order, as SET-BAUDRATE carries it.
std::string bigEndian32(uint32_t value);
// "SET-BAUDRATE" and the like, for messages.
const char* comPortCommandName(uint8_t command);

struct Event {
    enum class Kind { Will, Wont, Do, Dont, Subnegotiation };
    Kind kind = Kind::Will;
    uint8_t option = 0;
    std::string data; // Subnegotiation: its bytes after the option, 0xFF undoubled
};

// Splits what the server sends into the line's bytes and Telnet commands; a command cut
// between two reads is completed by the next.
class Reader {
public:
    void feed(std::string_view bytes, std::string& data, std::vector<Event>& events);

private:
    enum class State { Data, Iac, Verb, Sb, SbOption, SbIac };
    State m_state = State::Data;
    uint8_t m_verb = 0;
    Event m_sub;
};

// Which options each side has on, and what to answer to the other side's requests so that
// the answers never loop (RFC 1143 in its simplest form): a request that changes nothing is
// not answered.
class Negotiation {
public:
    // The options asked for at the start: BINARY both ways, COM-PORT-OPTION from this side.
    std::string start();
    // The answer to send for one request (empty: none).
    std::string answer(const Event& event);

    bool localOn(uint8_t option) const { return option < 64 && m_local[option]; }
    bool remoteOn(uint8_t option) const { return option < 64 && m_remote[option]; }
    // BINARY both ways and COM-PORT-OPTION are on.
    bool ready() const { return localOn(kBinary) && remoteOn(kBinary) && localOn(kComPort); }
    // The option the server refused of those needed ("BINARY", "COM-PORT-OPTION"); nullptr
    // while none was refused.
    const char* refused() const { return m_refused; }

private:
    bool m_local[64] = {};
    bool m_remote[64] = {};
    bool m_askedLocal[64] = {};  // WILL sent
    bool m_askedRemote[64] = {}; // DO sent
    const char* m_refused = nullptr;
};

} // namespace lmx::telnet
