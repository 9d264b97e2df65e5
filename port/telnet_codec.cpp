#include "telnet_codec.h"

#include <utility>

namespace lmx::telnet {

namespace {

// Options this side takes on either side; everything else is refused.
bool wanted(uint8_t option)
{
    return option == kBinary || option == kSuppressGoAhead || option == kComPort;
}

const char* neededName(uint8_t option)
{
    return option == kBinary ? "BINARY" : option == kComPort ? "COM-PORT-OPTION" : nullptr;
}

} // namespace

std::string escape(std::string_view data)
{
    std::string out;
    out.reserve(data.size() + 8);
    for (const char c : data) {
        out += c;
        if (static_cast<uint8_t>(c) == kIac)
            out += c;
    }
    return out;
}

std::string command(uint8_t verb, uint8_t option)
{
    return {static_cast<char>(kIac), static_cast<char>(verb), static_cast<char>(option)};
}

std::string comPortCommand(uint8_t cmd, std::string_view value)
{
    std::string out = {static_cast<char>(kIac), static_cast<char>(kSb), static_cast<char>(kComPort),
                       static_cast<char>(cmd)};
    out += escape(value);
    out += static_cast<char>(kIac);
    out += static_cast<char>(kSe);
    return out;
}

std::string bigEndian32(uint32_t value)
{
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
            static_cast<char>(value >> 8), static_cast<char>(value)};
}

const char* comPortCommandName(uint8_t cmd)
{
    switch (cmd) {
    case kSetBaudRate: return "SET-BAUDRATE";
    case kSetDataSize: return "SET-DATASIZE";
    case kSetParity: return "SET-PARITY";
    case kSetStopSize: return "SET-STOPSIZE";
    case kSetControl: return "SET-CONTROL";
    case kPurgeData: return "PURGE-DATA";
    default: break;
    }
    return "a COM port command";
}

void Reader::feed(std::string_view bytes, std::string& data, std::vector<Event>& events)
{
    for (const char ch : bytes) {
        const auto c = static_cast<uint8_t>(ch);
        switch (m_state) {
        case State::Data:
            if (c == kIac)
                m_state = State::Iac;
            else
                data += ch;
            break;
        case State::Iac:
            if (c == kIac) {
                data += ch; // a doubled 0xFF is one byte of the line
                m_state = State::Data;
            } else if (c >= kWill && c <= kDont) {
                m_verb = c;
                m_state = State::Verb;
            } else if (c == kSb) {
                m_state = State::SbOption;
            } else {
                m_state = State::Data; // NOP, GA and the like carry nothing for the line
            }
            break;
        case State::Verb: {
            Event e;
            e.kind = m_verb == kWill ? Event::Kind::Will
                   : m_verb == kWont ? Event::Kind::Wont
                   : m_verb == kDo   ? Event::Kind::Do
                                     : Event::Kind::Dont;
            e.option = c;
            events.push_back(e);
            m_state = State::Data;
            break;
        }
        case State::SbOption:
            m_sub = Event{Event::Kind::Subnegotiation, c, {}};
            m_state = State::Sb;
            break;
        case State::Sb:
            if (c == kIac)
                m_state = State::SbIac;
            else
                m_sub.data += ch;
            break;
        case State::SbIac:
            if (c == kSe) {
                events.push_back(std::move(m_sub));
                m_sub = Event{};
                m_state = State::Data;
            } else {
                m_sub.data += ch; // IAC IAC inside: one 0xFF
                m_state = State::Sb;
            }
            break;
        }
    }
}

std::string Negotiation::start()
{
    m_askedLocal[kBinary] = m_askedRemote[kBinary] = m_askedLocal[kComPort] = true;
    return command(kWill, kBinary) + command(kDo, kBinary) + command(kWill, kComPort);
}

std::string Negotiation::answer(const Event& e)
{
    const uint8_t o = e.option;
    if (o >= 64)
        return e.kind == Event::Kind::Will ? command(kDont, o)
             : e.kind == Event::Kind::Do   ? command(kWont, o)
                                           : std::string();
    switch (e.kind) {
    case Event::Kind::Will:
        if (!wanted(o))
            return command(kDont, o);
        if (m_remote[o])
            return {};
        m_remote[o] = true;
        return std::exchange(m_askedRemote[o], true) ? std::string() : command(kDo, o);
    case Event::Kind::Do:
        if (!wanted(o))
            return command(kWont, o);
        if (m_local[o])
            return {};
        m_local[o] = true;
        return std::exchange(m_askedLocal[o], true) ? std::string() : command(kWill, o);
    case Event::Kind::Wont:
    case Event::Kind::Dont: {
        const bool local = e.kind == Event::Kind::Dont;
        bool& on = local ? m_local[o] : m_remote[o];
        bool& asked = local ? m_askedLocal[o] : m_askedRemote[o];
        const bool needed = neededName(o) && (local || o == kBinary);
        if (needed && (on || asked) && !m_refused)
            m_refused = neededName(o);
        const bool wasOn = on;
        on = false;
        asked = false;
        // Only a change is acknowledged; a refusal of our own request is not answered.
        return wasOn ? command(local ? kWont : kDont, o) : std::string();
    }
    case Event::Kind::Subnegotiation:
        break;
    }
    return {};
}

} // namespace lmx::telnet
