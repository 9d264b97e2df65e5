#include "comm_port_driver.h"

#include <algorithm>
#include <cmath>

namespace lmx {

TCommPortDriver::TCommPortDriver(std::unique_ptr<SerialBackend> backend, const SteadyClock& clock,
                                 QObject* parent)
    : QObject(parent), m_backend(std::move(backend)), m_clock(clock)
{
    m_buffer.assign(m_inBufSize, 0);
    connect(&m_pollTimer, &QTimer::timeout, this, &TCommPortDriver::ReceivePoll);
    m_soonTimer.setSingleShot(true);
    m_soonTimer.setInterval(0);
    connect(&m_soonTimer, &QTimer::timeout, this, &TCommPortDriver::HandleSoon);

    // The backend may report from inside one of its own calls (a write that finds the
    // port gone); the zero-time timer takes both reports out of there onto the event loop.
    m_backend->setDataArrivedHandler([this] {
        if (m_connected)
            m_soonTimer.start();
    });
    m_backend->setFailureHandler([this] {
        if (m_connected || m_portOpen) {
            m_failurePending = true;
            m_soonTimer.start();
        }
    });
}

TCommPortDriver::~TCommPortDriver()
{
    Disconnect();
    ClosePort();
    m_backend->setDataArrivedHandler({});
    m_backend->setFailureHandler({});
}

bool TCommPortDriver::Connect()
{
    if (m_connected)
        return true;
    m_connectError.clear();
    if (m_portOpen && m_openName != m_portName) {
        ClosePort();
    } else if (m_portOpen && !TakeUpHeldPort()) {
        m_lostWhileHeld = true; // it went away, or no longer takes its settings
        ClosePort();
    }
    if (!m_portOpen) {
        if (!m_backend->open(m_portName))
            return false;
        m_portOpen = true;
        m_openName = m_portName;
        m_connected = true;
        m_failurePending = false;
        if (!ApplyLineSettings()) {
            // A backend that can tell why (a device server that refused a setting) says so.
            const std::string why = m_backend->lastErrorText();
            Disconnect();
            ClosePort();
            const uint32_t rate = CurrentLineSettings().baudRate;
            m_connectError = !why.empty() ? why
                : "The port does not take its line settings (baud rate "
                    + (rate == UINT32_MAX ? std::string("not a number") : std::to_string(rate))
                    + ").";
            return false;
        }
        m_backend->setTimeouts(CommTimeouts{}); // a port without time-outs still works
    }
    m_pollTimer.start(m_pollingDelay);
    return true;
}

bool TCommPortDriver::TakeUpHeldPort()
{
    if (m_failurePending)
        return false; // it went away meanwhile
    m_connected = true;
    const bool unchanged = m_appliedValid && m_applied.line == CurrentLineSettings()
                        && m_applied.inBufSize == m_inBufSize && m_applied.outBufSize == m_outBufSize;
    if (unchanged ? FlushBuffers(true, true) : ApplyLineSettings())
        return true;
    m_connected = false;
    return false;
}

void TCommPortDriver::Disconnect()
{
    if (!m_connected)
        return;
    m_pollTimer.stop();
    m_soonTimer.stop();
    m_connected = false;
    const bool failed = m_failurePending;
    m_failurePending = false;
    if (!m_holdPort || failed)
        ClosePort();
}

void TCommPortDriver::ClosePort()
{
    if (!m_portOpen)
        return;
    m_backend->close();
    m_portOpen = false;
    m_appliedValid = false;
    m_openName.clear();
}

void TCommPortDriver::HoldPort(bool on)
{
    m_holdPort = on;
    m_lostWhileHeld = false;
    if (!on && !m_connected)
        ClosePort();
}

LineSettings TCommPortDriver::CurrentLineSettings() const
{
    LineSettings s;
    s.baudRate = m_baudRateValue;
    s.byteSize = static_cast<int>(m_dataBits) + 5;
    s.parity = m_parity;
    s.stopBits = m_stopBits;
    s.dtrOn = m_enableDtrOnOpen;
    s.rtsOn = m_hwFlow == hfNONERTSON;
    s.ctsOutputFlow = m_hwFlow == hfRTSCTS;
    s.rtsHandshake = m_hwFlow == hfRTSCTS;
    s.xonXoffOutput = m_swFlow == sfXONXOFF;
    s.xonXoffInput = m_swFlow == sfXONXOFF;
    s.xonLimit = m_inBufSize / 4;
    s.xoffLimit = m_inBufSize / 4;
    s.rs485 = m_rs485;
    return s;
}

bool TCommPortDriver::ApplyLineSettings()
{
    if (!m_connected)
        return false;
    m_appliedValid = m_backend->applyLineSettings(CurrentLineSettings()) && FlushBuffers(true, true)
                  && m_backend->setQueueSizes(m_inBufSize, m_outBufSize);
    if (m_appliedValid)
        m_applied = {CurrentLineSettings(), m_inBufSize, m_outBufSize};
    return m_appliedValid;
}

void TCommPortDriver::ReapplyWhenConnected()
{
    if (m_connected)
        ApplyLineSettings(); // a refused change leaves the port as it was
}

uint32_t TCommPortDriver::SendData(const char* data, uint32_t count, uint32_t timeoutMs)
{
    if (!m_connected || count == 0)
        return 0;
    int64_t t0 = m_clock.nowMs();
    uint32_t written = 0;
    for (;;) {
        if (m_failurePending || !m_connected)
            return written;
        const uint32_t free = OutFreeSpace();
        if (free > 0) {
            if (m_checkLineStatus && GetLineStatus().empty())
                return written;
            const int64_t n = m_backend->write(data + written, std::min(free, count - written));
            if (n > 0) {
                written += static_cast<uint32_t>(std::min<int64_t>(n, count - written));
                t0 = m_clock.nowMs();
                if (written == count)
                    return written;
                continue;
            }
        }
        if (m_clock.nowMs() - t0 > static_cast<int64_t>(timeoutMs))
            return written;
    }
}

bool TCommPortDriver::SendByte(uint8_t byte)
{
    const char c = static_cast<char>(byte);
    return SendData(&c, 1, m_outputTimeout) == 1;
}

bool TCommPortDriver::FlushBuffers(bool in, bool out)
{
    if (!m_connected)
        return false;
    if (!m_backend->purge(in, out))
        return false;
    m_packetStart = -1;
    return true;
}

uint32_t TCommPortDriver::OutFreeSpace()
{
    if (!m_connected)
        return kNotConnectedFreeSpace;
    uint32_t in = 0;
    uint32_t out = 0;
    if (!m_backend->queued(in, out))
        out = 0;
    return out >= m_outBufSize ? 0 : m_outBufSize - out;
}

TLineStatusSet TCommPortDriver::GetLineStatus()
{
    TLineStatusSet lines;
    if (!m_connected || !m_backend->modemLines(lines))
        return {};
    return lines;
}

uint32_t TCommPortDriver::DelayForRx(TBaudRate rate, uint32_t size) const
{
    const uint32_t bitsPerSecond = rate == brCustom ? m_baudRateValue : BaudRateOf(rate);
    if (bitsPerSecond == 0)
        return 0; // no rate to divide by
    const double ms = std::round(double(size) * 10000.0 / double(bitsPerSecond));
    return ms >= 4294967295.0 ? 4294967295u : static_cast<uint32_t>(ms);
}

void TCommPortDriver::HandleSoon()
{
    ReceivePoll();
    if (!m_failurePending)
        return;
    m_failurePending = false;
    if (m_connected && m_onPortFailure)
        m_onPortFailure(this);
    else if (!m_connected && m_portOpen)
        m_lostWhileHeld = true;
    Disconnect();
    ClosePort(); // a port that failed is not held
}

void TCommPortDriver::ReceivePoll()
{
    // A handler that pumps the event loop must not start a second poll into the buffer it
    // is still reading.
    if (!m_connected || m_inPoll)
        return;
    m_inPoll = true;
    uint32_t queued = 0;
    uint32_t out = 0;
    if (!m_backend->queued(queued, out))
        queued = 0;
    if (m_packetSize < 1) {
        if (queued > 0) {
            const uint32_t want = std::min<uint32_t>(queued, static_cast<uint32_t>(m_buffer.size()));
            const int64_t n = m_backend->read(m_buffer.data(), want);
            if (n > 0 && m_onReceiveData)
                m_onReceiveData(this, m_buffer.data(), static_cast<uint32_t>(std::min<int64_t>(n, want)));
        }
    } else {
        PacketPoll(queued);
    }
    m_inPoll = false;
}

void TCommPortDriver::PacketPoll(uint32_t queued)
{
    const uint32_t size = static_cast<uint32_t>(m_packetSize); // never above the buffer
    if (queued >= size) {
        // The next packet is expected one packet time after this one began. Packets that
        // came whole within one poll had no start time: what is left is timed from now.
        const bool timed = m_packetStart >= 0;
        while (queued >= size) {
            const int64_t n = m_backend->read(m_buffer.data(), size);
            if (n <= 0)
                return; // the bytes stay queued for the next poll
            if (m_onReceivePacket)
                m_onReceivePacket(this, m_buffer.data(), static_cast<uint32_t>(std::min<int64_t>(n, size)));
            if (!m_connected)
                return; // the handler closed the port
            if (m_packetStart >= 0)
                m_packetStart += DelayForRx(m_baudRate, size);
            queued -= size;
            if (queued == 0)
                m_packetStart = -1;
        }
        if (!timed && queued > 0)
            m_packetStart = m_clock.nowMs();
        return;
    }
    const int64_t now = m_clock.nowMs();
    if (m_packetTimeout >= 1 && m_packetStart >= 0 && now - m_packetStart > m_packetTimeout) {
        const int64_t n = queued > 0 ? m_backend->read(m_buffer.data(), queued) : 0;
        m_packetStart = -1;
        if (m_packetMode == pmPass && n > 0 && m_onReceivePacket)
            m_onReceivePacket(this, m_buffer.data(), static_cast<uint32_t>(std::min<int64_t>(n, queued)));
        return;
    }
    if (queued > 0 && m_packetStart < 0)
        m_packetStart = now;
}

void TCommPortDriver::SetPort(TPortNumber value)
{
    if (m_connected || value < pnCustom || value > pnCOM16)
        return;
    m_port = value;
    if (value != pnCustom)
        m_portName = "\\\\.\\COM" + std::to_string(static_cast<int>(value));
}

void TCommPortDriver::SetPortName(const std::string& value)
{
    if (m_connected)
        return;
    m_port = pnCustom;
    m_portName = value;
}

void TCommPortDriver::SetBaudRate(TBaudRate value)
{
    if (value < brCustom || value > br256000)
        return;
    m_baudRate = value;
    if (value != brCustom)
        m_baudRateValue = BaudRateOf(value);
    ReapplyWhenConnected();
}

void TCommPortDriver::SetBaudRateValue(uint32_t value)
{
    m_baudRate = brCustom;
    m_baudRateValue = value;
    ReapplyWhenConnected();
}

void TCommPortDriver::SetDataBits(TDataBits value)
{
    if (value < db5BITS || value > db8BITS)
        return;
    m_dataBits = value;
    ReapplyWhenConnected();
}

void TCommPortDriver::SetStopBits(TStopBits value)
{
    if (value < sb1BITS || value > sb2BITS)
        return;
    m_stopBits = value;
    ReapplyWhenConnected();
}

void TCommPortDriver::SetParity(TParity value)
{
    if (value < ptNONE || value > ptSPACE)
        return;
    m_parity = value;
    ReapplyWhenConnected();
}

void TCommPortDriver::SetHwFlow(THwFlowControl value)
{
    if (value < hfNONE || value > hfRTSCTS)
        return;
    m_hwFlow = value;
    ReapplyWhenConnected();
}

void TCommPortDriver::SetSwFlow(TSwFlowControl value)
{
    if (value < sfNONE || value > sfXONXOFF)
        return;
    m_swFlow = value;
    ReapplyWhenConnected();
}

void TCommPortDriver::SetEnableDTROnOpen(bool value)
{
    m_enableDtrOnOpen = value;
    ReapplyWhenConnected();
}

void TCommPortDriver::SetRs485(const Rs485Settings& value)
{
    m_rs485 = value;
    ReapplyWhenConnected();
}

void TCommPortDriver::SetInBufSize(uint32_t value)
{
    if (m_connected)
        return;
    m_inBufSize = std::clamp(value, kMinBufSize, kMaxBufSize);
    m_buffer.assign(m_inBufSize, 0);
    SetPacketSize(m_packetSize);
}

void TCommPortDriver::SetOutBufSize(uint32_t value)
{
    if (m_connected)
        return;
    m_outBufSize = std::clamp(value, kMinBufSize, kMaxBufSize);
}

void TCommPortDriver::SetPacketSize(int value)
{
    if (value < 1) {
        m_packetSize = -1;
        return;
    }
    // A packet is read into the receive buffer whole: the buffer grows with it as far as
    // it can, and a packet never gets longer than the buffer.
    value = std::min<int>(value, static_cast<int>(kMaxBufSize));
    if (static_cast<uint32_t>(value) > m_inBufSize)
        SetInBufSize(static_cast<uint32_t>(value));
    m_packetSize = static_cast<int16_t>(std::min<uint32_t>(static_cast<uint32_t>(value), m_inBufSize));
}

void TCommPortDriver::SetPacketTimeout(int32_t value)
{
    if (value < 1)
        m_packetTimeout = -1;
    else if (value < m_pollingDelay)
        m_packetTimeout = m_pollingDelay + m_pollingDelay * 40 / 100;
    else
        m_packetTimeout = value;
}

void TCommPortDriver::SetPollingDelay(uint16_t value)
{
    value = std::max(value, kMinPollingDelay);
    const bool changed = value != m_pollingDelay;
    m_pollingDelay = value;
    if (changed && m_connected)
        m_pollTimer.start(m_pollingDelay);
    SetPacketTimeout(m_packetTimeout);
}

} // namespace lmx
