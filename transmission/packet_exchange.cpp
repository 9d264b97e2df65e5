#include "packet_exchange.h"

#include "protocol/answer.h"

#include <algorithm>
#include <utility>

namespace lmx {

namespace {

QByteArray bytesOf(const std::string& s)
{
    return QByteArray(s.data(), static_cast<qsizetype>(s.size()));
}

QString latin1(const std::string& s)
{
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace

PacketExchange::PacketExchange(TCommPortDriver& driver, UserDialogs& dialogs, QObject* parent)
    : QObject(parent), m_driver(driver), m_ownDialogs(dialogs), m_dialogs(&dialogs)
{
    m_timoTimer.setSingleShot(true);
    m_timoTimer.setTimerType(Qt::PreciseTimer); // the answer never gets less than its time
    connect(&m_timoTimer, &QTimer::timeout, this, &PacketExchange::Finish);
}

PacketExchange::~PacketExchange()
{
    m_timoTimer.stop();
    if (m_active)
        m_driver.Disconnect();
    m_driver.SetOnReceiveData({});
    m_driver.SetOnPortFailure({});
}

bool PacketExchange::completesAnswer(char byte, bool extended)
{
    if (extended)
        return byte == kEndByte;
    return (byte >= '0' && byte <= '9') || byte == 'A';
}

void PacketExchange::ClearDebugLists()
{
    emit debugListsCleared();
}

bool PacketExchange::SendPacket(const std::string& packet)
{
    if (!m_done)
        return false;
    if (m_clearPerPacket)
        ClearDebugLists();
    m_bytesSent.clear();
    m_sentNotShown.clear();
    m_receivedNotShown.clear();
    m_bytesReceived.clear();
    m_bytesDropped = 0;

    m_portFailed = false;
    m_echoFault = EchoFault{};
    const bool connected = m_driver.Connect();
    const bool lostMeanwhile = m_driver.TakeLostWhileHeld();
    if (!connected) {
        reportPort("Can not open ComPort :", m_driver.LastErrorText());
        return false;
    }
    // A held port that went away between two packets was opened anew: while a reconnect may
    // mend it, that is a loss too, so the display block in progress goes out again.
    if (lostMeanwhile && m_deferPortLoss) {
        m_driver.Disconnect();
        m_portLoss = {"Lost connection to ComPort :", m_driver.LastErrorText()};
        return false;
    }
    if (const std::string warning = m_driver.TakeWarning(); !warning.empty())
        m_dialogs->message(latin1(warning), QString(), UserDialogs::Icon::Warning);
    m_echo.start(m_driver.Echo(), packet);
    m_active = true;
    m_driver.SetOnReceiveData(
        [this](TCommPortDriver*, const char* data, uint32_t size) { ReceiveStep(data, size); });
    m_driver.SetOnPortFailure([this](TCommPortDriver*) { PortFailed(); });

    // The whole packet in one write; a short write shows in the answer.
    m_driver.SendData(packet.data(), static_cast<uint32_t>(packet.size()), m_driver.OutputTimeout());
    for (size_t i = 0; i < packet.size(); ++i)
        emit trafficActivity(kTransmitLed);
    m_sentNotShown = packet;
    m_bytesSent = packet;

    m_done = false;
    m_timoTimer.start(m_answerTimeoutMs + lineTimeMs(packet.size()));
    if (m_debugView)
        emit transmitViewUpdate(bytesOf(m_sentNotShown));
    return true;
}

void PacketExchange::Abort()
{
    if (!m_active)
        return;
    m_active = false;
    m_timoTimer.stop();
    m_driver.Disconnect();
    m_done = true;
    emit finished();
}

void PacketExchange::ReceiveStep(const char* data, uint32_t size)
{
    if (!m_active)
        return;
    emit trafficActivity(kReceiveLed);
    // The echo of the packet (when the line gives one back) comes first: the debug view shows
    // it, the answer starts behind it, and its own end byte does not end the answer.
    const uint32_t echoed = static_cast<uint32_t>(m_echo.take(data, size));
    m_receivedNotShown.append(data, echoed);
    data += echoed;
    size -= echoed;
    if (m_bytesReceived.empty() && size > 0)
        emit answerBegan();
    bool complete = false;
    for (uint32_t i = 0; i < size; ++i) {
        if (completesAnswer(data[i], m_extended))
            complete = true;
    }
    // What the answer can be, and no more: a line that streams without an end byte is
    // dropped until the end byte or the time-out, and judged too long.
    const size_t room = kMaxAnswerBytes - std::min(kMaxAnswerBytes, m_bytesReceived.size());
    const size_t kept = std::min<size_t>(room, size);
    m_bytesReceived.append(data, kept);
    m_receivedNotShown.append(data, kept);
    m_bytesDropped += size - kept;
    if (m_debugView && !m_receivedNotShown.empty()) {
        emit receiveViewUpdate(bytesOf(m_receivedNotShown));
        m_receivedNotShown.clear();
    }
    if (complete)
        Finish();
}

void PacketExchange::PortFailed()
{
    // Once, here: the answer handler is not called, as when the port does not open, so the
    // failure does not come back as a missing answer as well.
    if (!m_active)
        return;
    m_active = false;
    m_timoTimer.stop();
    m_portFailed = true;
    const std::string reason = m_driver.LastErrorText(); // the port's close forgets it
    m_driver.Disconnect();
    reportPort("Lost connection to ComPort :", reason);
    m_done = true;
    emit finished();
}

int PacketExchange::lineTimeMs(size_t bytes) const
{
    const uint32_t ms = m_driver.DelayForRx(m_driver.BaudRate(), static_cast<uint32_t>(bytes));
    return static_cast<int>(std::min<uint32_t>(ms, 24u * 3600 * 1000));
}

bool PacketExchange::Reopen()
{
    if (!m_done)
        return false;
    const bool connected = m_driver.Connect();
    m_driver.TakeLostWhileHeld(); // this is the open anew
    if (!connected)
        return false;
    m_driver.Disconnect();
    m_portLoss.text = nullptr; // mended: nothing left to report
    return true;
}

void PacketExchange::ReportPortLoss()
{
    if (!m_portLoss.text)
        return;
    const char* text = std::exchange(m_portLoss.text, nullptr);
    m_dialogs->detailedMessage(QString::fromLatin1(text) + latin1(m_driver.PortName()),
                               latin1(m_portLoss.reason), QString(), UserDialogs::Icon::Error);
}

void PacketExchange::reportPort(const char* text, const std::string& reason)
{
    m_portLoss = {text, reason};
    if (m_deferPortLoss)
        return;
    m_portLoss.text = nullptr;
    m_dialogs->detailedMessage(QString::fromLatin1(text) + latin1(m_driver.PortName()),
                              latin1(reason), QString(), UserDialogs::Icon::Error);
}

void PacketExchange::Finish()
{
    // Completion and time-out end here, once per exchange (a failed port in PortFailed).
    if (!m_active)
        return;
    m_active = false;
    m_timoTimer.stop();
    m_driver.Disconnect();
    m_echoFault = m_echo.fault();
    if (m_answerHandler)
        m_answerHandler(m_bytesReceived);
    m_done = true;
    emit finished();
}

} // namespace lmx
