#pragma once
// TCommPortDriver owns one serial port: it opens and configures it, writes with a time-out
// and polls the receive queue on a timer (and at once when the port reports arriving
// bytes), handing every chunk to OnReceiveData, or cutting the stream into fixed-size
// packets for OnReceivePacket. Everything runs on the thread that owns the driver.

#include "comm_port_types.h"
#include "echo_filter.h"
#include "platform/steady_clock.h"
#include "serial_backend.h"

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace lmx {

class TCommPortDriver : public QObject {
    Q_OBJECT

public:
    // The data pointer is valid only during the call: it points into the receive buffer,
    // which the next poll overwrites.
    using TReceiveDataEvent =
        std::function<void(TCommPortDriver* Sender, const char* DataPtr, uint32_t DataSize)>;
    using TReceivePacketEvent =
        std::function<void(TCommPortDriver* Sender, const char* Packet, uint32_t DataSize)>;
    // The port failed while connected (an adapter unplugged). Raised once, from the event
    // loop; the driver disconnects afterwards unless the handler has done so.
    using TPortFailureEvent = std::function<void(TCommPortDriver* Sender)>;

    static constexpr uint32_t kMinBufSize = 128;
    static constexpr uint32_t kMaxBufSize = 8192;
    static constexpr uint16_t kMinPollingDelay = 5;
    static constexpr uint32_t kNotConnectedFreeSpace = 65535;

    explicit TCommPortDriver(std::unique_ptr<SerialBackend> backend,
                             const SteadyClock& clock = SystemSteadyClock::instance(),
                             QObject* parent = nullptr);
    ~TCommPortDriver() override;
    TCommPortDriver(const TCommPortDriver&) = delete;
    TCommPortDriver& operator=(const TCommPortDriver&) = delete;

    // Opens and configures the port and starts the poll; true at once when connected.
    bool Connect();
    void Disconnect();
    bool Connected() const { return m_connected; }

    // Holding the port saves a new open for every connection: while held, Disconnect stops
    // the poll and the driver counts as disconnected (setters act as such), but the port
    // stays open, and the next Connect takes it up again as a fresh open would leave it:
    // both queues purged, the line settings applied again where they changed. A held port
    // that fails is closed, and so is one whose name changed by the next Connect. Releasing
    // the hold closes a port that is not connected.
    void HoldPort(bool on);
    bool PortHeld() const { return m_holdPort; }
    // The port is open: connected, or held between two connections.
    bool PortOpen() const { return m_portOpen; }
    // A held port went away between two connections since the last call (the next Connect
    // opened it anew); emptied by the call and by HoldPort.
    bool TakeLostWhileHeld() { return std::exchange(m_lostWhileHeld, false); }
    // Why the port did not open, did not take its line settings or went away, in the
    // system's words; may be empty.
    std::string LastErrorText() const
    {
        return m_connectError.empty() ? m_backend->lastErrorText() : m_connectError;
    }

    // Writes as much as the transmit queue takes; gives up when nothing could be written for
    // more than timeoutMs since the last successful write. Returns the bytes written.
    uint32_t SendData(const char* data, uint32_t count, uint32_t timeoutMs);
    bool SendByte(uint8_t byte);
    bool FlushBuffers(bool in, bool out);
    uint32_t OutFreeSpace();
    TLineStatusSet GetLineStatus();
    // Time in ms that `size` bytes take on the line at `rate`: ten bit times per byte.
    // brCustom takes BaudRateValue.
    uint32_t DelayForRx(TBaudRate rate, uint32_t size) const;

    // One receive poll. Run by the poll timer and when the port reports arriving bytes.
    void ReceivePoll();

    // What the port is given on connect; follows every property.
    LineSettings CurrentLineSettings() const;
    bool Polling() const { return m_pollTimer.isActive(); }
    int PollInterval() const { return m_pollTimer.interval(); }

    TPortNumber Port() const { return m_port; }
    void SetPort(TPortNumber value);
    const std::string& PortName() const { return m_portName; }
    void SetPortName(const std::string& value);
    TBaudRate BaudRate() const { return m_baudRate; }
    void SetBaudRate(TBaudRate value);
    uint32_t BaudRateValue() const { return m_baudRateValue; }
    void SetBaudRateValue(uint32_t value);
    TDataBits DataBits() const { return m_dataBits; }
    void SetDataBits(TDataBits value);
    TStopBits StopBits() const { return m_stopBits; }
    void SetStopBits(TStopBits value);
    TParity Parity() const { return m_parity; }
    void SetParity(TParity value);
    THwFlowControl HwFlow() const { return m_hwFlow; }
    void SetHwFlow(THwFlowControl value);
    TSwFlowControl SwFlow() const { return m_swFlow; }
    void SetSwFlow(TSwFlowControl value);
    uint32_t InBufSize() const { return m_inBufSize; }
    void SetInBufSize(uint32_t value);
    uint32_t OutBufSize() const { return m_outBufSize; }
    void SetOutBufSize(uint32_t value);
    int16_t PacketSize() const { return m_packetSize; }
    void SetPacketSize(int value);
    int32_t PacketTimeout() const { return m_packetTimeout; }
    void SetPacketTimeout(int32_t value);
    TPacketMode PacketMode() const { return m_packetMode; }
    void SetPacketMode(TPacketMode value) { m_packetMode = value; }
    uint16_t PollingDelay() const { return m_pollingDelay; }
    void SetPollingDelay(uint16_t value);
    bool EnableDTROnOpen() const { return m_enableDtrOnOpen; }
    void SetEnableDTROnOpen(bool value);
    uint16_t OutputTimeout() const { return m_outputTimeout; }
    void SetOutputTimeout(uint16_t value) { m_outputTimeout = value; }
    uint32_t InputTimeout() const { return m_inputTimeout; }
    void SetInputTimeout(uint32_t value) { m_inputTimeout = value; }
    bool CheckLineStatus() const { return m_checkLineStatus; }
    void SetCheckLineStatus(bool value) { m_checkLineStatus = value; }
    // The system's RS-485 direction control (rs485.h), given to the port with its line
    // settings. A port that refuses it still opens, with a warning (TakeWarning).
    const Rs485Settings& Rs485() const { return m_rs485; }
    void SetRs485(const Rs485Settings& value);
    // Not the port's own: what the packet exchange makes of the line's echo, and how long
    // the transmission engine tries a lost port again (0: not at all). They go with the port
    // because they describe its line.
    EchoMode Echo() const { return m_echo; }
    void SetEcho(EchoMode value) { m_echo = value; }
    int ReconnectSeconds() const { return m_reconnectSeconds; }
    void SetReconnectSeconds(int value) { m_reconnectSeconds = value < 0 ? 0 : value; }
    // A setting the port did not take at its last open or settings change, although it works
    // without it; emptied by the call.
    std::string TakeWarning() { return m_backend->takeWarning(); }

    void SetOnReceiveData(TReceiveDataEvent handler) { m_onReceiveData = std::move(handler); }
    bool HasOnReceiveData() const { return bool(m_onReceiveData); }
    void SetOnReceivePacket(TReceivePacketEvent handler) { m_onReceivePacket = std::move(handler); }
    void SetOnPortFailure(TPortFailureEvent handler) { m_onPortFailure = std::move(handler); }

private:
    bool ApplyLineSettings();
    bool TakeUpHeldPort();
    void ClosePort();
    void ReapplyWhenConnected();
    void PacketPoll(uint32_t queued);
    void HandleSoon();

    std::unique_ptr<SerialBackend> m_backend;
    const SteadyClock& m_clock;
    QTimer m_pollTimer;
    QTimer m_soonTimer; // zero-time single shot: a poll (or failure) right after the event
    bool m_connected = false;
    bool m_portOpen = false;
    bool m_holdPort = false;
    std::string m_openName; // the name the open port was opened by
    // What the open port was configured with, unless a change was refused since.
    struct Applied {
        LineSettings line;
        uint32_t inBufSize = 0;
        uint32_t outBufSize = 0;
    };
    Applied m_applied;
    bool m_appliedValid = false;
    bool m_failurePending = false;
    bool m_lostWhileHeld = false;
    bool m_inPoll = false;
    std::vector<char> m_buffer;
    int64_t m_packetStart = -1; // ms of the clock, -1 unset

    TPortNumber m_port = pnCOM1;
    std::string m_portName = "\\\\.\\COM1";
    std::string m_connectError;
    TBaudRate m_baudRate = br9600;
    uint32_t m_baudRateValue = 9600;
    TDataBits m_dataBits = db8BITS;
    TStopBits m_stopBits = sb1BITS;
    TParity m_parity = ptNONE;
    THwFlowControl m_hwFlow = hfNONERTSON;
    TSwFlowControl m_swFlow = sfNONE;
    uint32_t m_inBufSize = 2048;
    uint32_t m_outBufSize = 2048;
    int16_t m_packetSize = -1;
    int32_t m_packetTimeout = -1;
    TPacketMode m_packetMode = pmDiscard;
    uint16_t m_pollingDelay = 50;
    bool m_enableDtrOnOpen = true;
    uint16_t m_outputTimeout = 500;
    uint32_t m_inputTimeout = 200;
    bool m_checkLineStatus = false;
    Rs485Settings m_rs485;
    EchoMode m_echo = EchoMode::Off;
    int m_reconnectSeconds = 0;

    TReceiveDataEvent m_onReceiveData;
    TReceivePacketEvent m_onReceivePacket;
    TPortFailureEvent m_onPortFailure;
};

} // namespace lmx
