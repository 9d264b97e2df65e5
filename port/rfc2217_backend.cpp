#include "rfc2217_backend.h"

#include "tcp_backend.h"

#include <QElapsedTimer>

#include <algorithm>

namespace lmx {

namespace {

using namespace telnet;

constexpr std::string_view kScheme = "rfc2217://";

std::string byte(uint8_t value)
{
    return std::string(1, static_cast<char>(value));
}

// What a command's value sets, in words.
std::string described(uint8_t command, const std::string& value)
{
    const uint8_t v = value.empty() ? 0 : static_cast<uint8_t>(value[0]);
    switch (command) {
    case kSetBaudRate: {
        uint32_t rate = 0;
        for (const char c : value.substr(0, 4))
            rate = rate << 8 | static_cast<uint8_t>(c);
        return "baud rate " + std::to_string(rate);
    }
    case kSetDataSize: return std::to_string(v) + " data bits";
    case kSetParity: {
        static const char* const names[] = {"?", "none", "odd", "even", "mark", "space"};
        return std::string("parity ") + (v <= 5 ? names[v] : "?");
    }
    case kSetStopSize:
        return v == 1 ? "1 stop bit" : v == 2 ? "2 stop bits" : v == 3 ? "1.5 stop bits" : "stop size " + std::to_string(v);
    case kSetControl:
        return v == 1 ? "no flow control" : v == 2 ? "XON/XOFF flow control"
             : v == 3 ? "hardware flow control" : "control " + std::to_string(v);
    case kPurgeData: return "a purge of its buffers";
    default: break;
    }
    return comPortCommandName(command);
}

uint8_t parityValue(TParity parity)
{
    switch (parity) {
    case ptODD: return 2;
    case ptEVEN: return 3;
    case ptMARK: return 4;
    case ptSPACE: return 5;
    case ptNONE: break;
    }
    return 1;
}

uint8_t stopSizeValue(TStopBits stopBits)
{
    return stopBits == sb2BITS ? 2 : stopBits == sb1HALFBITS ? 3 : 1;
}

} // namespace

bool isRfc2217PortName(std::string_view name)
{
    return hasScheme(name, kScheme);
}

void Rfc2217Backend::socketReadable()
{
    const size_t before = m_data.size();
    takeIncoming();
    if (m_data.size() > before)
        notifyDataArrived();
}

bool Rfc2217Backend::open(const std::string& name)
{
    close();
    std::string host;
    uint16_t port = 0;
    // The same HOST:PORT as a tcp:// name.
    const std::string asTcp = isRfc2217PortName(name) ? "tcp://" + name.substr(kScheme.size()) : "";
    if (!splitNetworkPortName(asTcp, host, port, m_error)) {
        m_error = "A COM port server is named rfc2217://HOST:PORT, for example "
                  "rfc2217://192.168.1.20:2217.";
        return false;
    }
    QElapsedTimer clock;
    clock.start();
    if (!connectTo(host, port))
        return false;
    m_reader = Reader();
    m_negotiation = Negotiation();
    m_data.clear();
    m_acks.clear();
    m_purged = false;
    // One limit for the whole open: a server that takes the connection and then says
    // nothing (a plain TCP port) is told apart within it.
    const int left = std::max<int>(0, kNegotiationTimeoutMs - static_cast<int>(clock.elapsed()));
    if (!send(m_negotiation.start())
        || !waitFor([this] { return m_negotiation.ready() || m_negotiation.refused(); }, left)
        || m_negotiation.refused()) {
        if (m_negotiation.refused())
            m_error = std::string("The server refused ") + m_negotiation.refused()
                    + ": it does not let a client set the line (RFC 2217).";
        else if (m_error.empty())
            m_error = "The server did not negotiate COM port control (RFC 2217) within 2.5 "
                      "seconds. A server that passes the line's bytes as they are is named "
                      "tcp://HOST:PORT.";
        m_socket.abort();
        return false;
    }
    m_open = true;
    m_error.clear();
    return true;
}

bool Rfc2217Backend::send(const std::string& bytes)
{
    if (bytes.empty())
        return true;
    const qint64 n = m_socket.write(bytes.data(), static_cast<qint64>(bytes.size()));
    m_socket.flush();
    return n == static_cast<qint64>(bytes.size());
}

bool Rfc2217Backend::takeIncoming()
{
    const QByteArray bytes = m_socket.readAll();
    if (bytes.isEmpty())
        return m_socket.state() == QAbstractSocket::ConnectedState;
    std::vector<Event> events;
    m_reader.feed(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), m_data,
                  events);
    std::string answers;
    for (const Event& e : events) {
        if (e.kind != Event::Kind::Subnegotiation) {
            answers += m_negotiation.answer(e);
        } else if (e.option == kComPort && !e.data.empty()
                   && static_cast<uint8_t>(e.data[0]) > kServerOffset) {
            m_acks.emplace_back(static_cast<uint8_t>(e.data[0]) - kServerOffset, e.data.substr(1));
        }
    }
    // As a serial port's queue stops taking bytes when full; the rest is lost as on a line.
    if (m_readBufferSize > 0 && m_data.size() > m_readBufferSize)
        m_data.resize(m_readBufferSize);
    return send(answers);
}

bool Rfc2217Backend::waitFor(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        if (!takeIncoming()) {
            m_error = m_socket.errorString().toStdString();
            return false;
        }
        if (done())
            return true;
        const int left = timeoutMs - static_cast<int>(clock.elapsed());
        if (left <= 0)
            return false;
        if (!m_socket.waitForReadyRead(left) && m_socket.state() != QAbstractSocket::ConnectedState) {
            m_error = m_socket.errorString().toStdString();
            return false;
        }
    }
}

const std::string* Rfc2217Backend::ack(uint8_t command) const
{
    for (const auto& a : m_acks)
        if (a.first == command)
            return &a.second;
    return nullptr;
}

bool Rfc2217Backend::setAndConfirm(const std::vector<std::pair<uint8_t, std::string>>& commands)
{
    m_acks.clear();
    m_error.clear();
    std::string out;
    for (const auto& [command, value] : commands)
        out += comPortCommand(command, value);
    if (!send(out))
        return false;
    const bool acked = waitFor(
            [&] {
                return std::all_of(commands.begin(), commands.end(),
                                   [&](const auto& c) { return ack(c.first) != nullptr; });
            },
            kAckTimeoutMs);
    for (const auto& [command, value] : commands) {
        const std::string* got = ack(command);
        if (!got) {
            if (acked || m_error.empty())
                m_error = "The server did not confirm " + described(command, value) + " ("
                        + comPortCommandName(command) + ") within 3 seconds.";
            return false;
        }
        // A server answers with what it set; the purge's answer needs no compare.
        if (command != kPurgeData && *got != value) {
            m_error = "The server refused " + described(command, value) + ": it set "
                    + described(command, *got) + ".";
            return false;
        }
    }
    return true;
}

bool Rfc2217Backend::applyLineSettings(const LineSettings& s)
{
    if (!m_open)
        return false;
    if (s.baudRate == 0 || s.byteSize < 5 || s.byteSize > 8) {
        m_error = "The line settings are not ones a COM port server can take.";
        return false;
    }
    const bool hardware = s.ctsOutputFlow || s.rtsHandshake;
    const uint8_t flow = hardware ? 3 : (s.xonXoffOutput || s.xonXoffInput) ? 2 : 1;
    if (!setAndConfirm({{kSetBaudRate, bigEndian32(s.baudRate)},
                        {kSetDataSize, byte(static_cast<uint8_t>(s.byteSize))},
                        {kSetParity, byte(parityValue(s.parity))},
                        {kSetStopSize, byte(stopSizeValue(s.stopBits))},
                        {kSetControl, byte(flow)}}))
        return false;
    // DTR and RTS go without waiting: a server's port without modem lines (a
    // pseudo-terminal) does not confirm them, and the line works all the same.
    std::string lines = comPortCommand(kSetControl, byte(s.dtrOn ? 8 : 9));
    if (!hardware)
        lines += comPortCommand(kSetControl, byte(s.rtsOn ? 11 : 12));
    return send(lines);
}

bool Rfc2217Backend::purge(bool in, bool out)
{
    if (!m_open)
        return false;
    // The server's buffers once after the open; afterwards what it sent before belongs to an
    // exchange that is over, and dropping what came is enough.
    if (!m_purged) {
        const uint8_t both = in && out ? 3 : in ? 1 : 2;
        if (!setAndConfirm({{kPurgeData, byte(both)}}))
            return false;
        m_purged = true;
    }
    if (in) {
        takeIncoming();
        m_data.clear();
    }
    return true;
}

size_t Rfc2217Backend::bytesWaiting()
{
    takeIncoming();
    return m_data.size();
}

int64_t Rfc2217Backend::read(char* buffer, uint32_t size)
{
    if (!m_open)
        return -1;
    const size_t n = std::min<size_t>(size, m_data.size());
    std::copy_n(m_data.data(), n, buffer);
    m_data.erase(0, n);
    return static_cast<int64_t>(n);
}

int64_t Rfc2217Backend::write(const char* data, uint32_t size)
{
    if (!m_open)
        return -1;
    return send(escape(std::string_view(data, size))) ? size : -1;
}

void Rfc2217Backend::close()
{
    NetworkBackend::close();
    m_data.clear();
}

} // namespace lmx
