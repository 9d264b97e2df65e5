#include "qt_serial_backend.h"

#include "port_open_failure.h"
#include "rfc2217_backend.h"
#include "rs485.h"
#include "tcp_backend.h"

#include <QtGlobal>

#include <algorithm>
#include <limits>
#include <utility>

#ifdef Q_OS_UNIX
#include <sys/ioctl.h>
#include <termios.h>
#endif

namespace lmx {

namespace {

QSerialPort::Parity qtParity(TParity parity)
{
    switch (parity) {
    case ptODD: return QSerialPort::OddParity;
    case ptEVEN: return QSerialPort::EvenParity;
    case ptMARK: return QSerialPort::MarkParity;
    case ptSPACE: return QSerialPort::SpaceParity;
    case ptNONE: break;
    }
    return QSerialPort::NoParity;
}

QSerialPort::StopBits qtStopBits(TStopBits stopBits)
{
    switch (stopBits) {
    case sb1HALFBITS: return QSerialPort::OneAndHalfStop;
    case sb2BITS: return QSerialPort::TwoStop;
    case sb1BITS: break;
    }
    return QSerialPort::OneStop;
}

} // namespace

QtSerialBackend::QtSerialBackend()
{
    QObject::connect(&m_port, &QSerialPort::readyRead, &m_port, [this] { notifyDataArrived(); });
    QObject::connect(&m_port, &QSerialPort::errorOccurred, &m_port,
                     [this](QSerialPort::SerialPortError error) {
                         // Only a port that went away ends the connection; refused modem
                         // line calls and the like are answered by the call's own result.
                         if (error == QSerialPort::ResourceError && m_port.isOpen())
                             notifyFailure();
                     });
}

QtSerialBackend::~QtSerialBackend()
{
    QObject::disconnect(&m_port, nullptr, &m_port, nullptr);
    m_port.close();
}

bool QtSerialBackend::open(const std::string& name)
{
    close();
    m_errorText.clear();
    const bool rfc2217 = isRfc2217PortName(name);
    m_onNetwork = rfc2217 || isNetworkPortName(name);
    if (m_onNetwork) {
        if (!m_network || m_networkIsRfc2217 != rfc2217) {
            if (rfc2217)
                m_network = std::make_unique<Rfc2217Backend>();
            else
                m_network = std::make_unique<TcpBackend>();
            m_networkIsRfc2217 = rfc2217;
            m_network->setDataArrivedHandler([this] { notifyDataArrived(); });
            m_network->setFailureHandler([this] { notifyFailure(); });
        }
        return m_network->open(name);
    }
    const std::string device = devicePathOf(name);
    m_device = device;
    m_port.setPortName(QString::fromStdString(device));
    const bool ok = m_port.open(QIODevice::ReadWrite);
    if (!ok) {
        // A lock held by another program is reported as a permission error too.
        PortOpenFailure failure = PortOpenFailure::Other;
        if (m_port.error() == QSerialPort::DeviceNotFoundError)
            failure = PortOpenFailure::NotFound;
        else if (m_port.error() == QSerialPort::PermissionError)
            failure = deviceAccessDenied(device) ? PortOpenFailure::PermissionDenied
                                                 : PortOpenFailure::InUse;
        std::string systemText = m_port.errorString().toStdString();
        failure = checkedFailure(failure, device, systemText);
        m_errorText = portOpenFailureText(failure, systemText, device, deviceGroupName(device));
    }
    m_port.clearError();
    return ok;
}

bool QtSerialBackend::applyLineSettings(const LineSettings& s)
{
    if (m_onNetwork)
        return m_network->applyLineSettings(s);
    if (!m_port.isOpen())
        return false;
    if (s.baudRate == 0 || s.baudRate > uint32_t(std::numeric_limits<qint32>::max()))
        return false;
    if (s.byteSize < 5 || s.byteSize > 8)
        return false;
    bool ok = m_port.setBaudRate(static_cast<qint32>(s.baudRate))
           && m_port.setDataBits(static_cast<QSerialPort::DataBits>(s.byteSize))
           && m_port.setParity(qtParity(s.parity))
           && m_port.setStopBits(qtStopBits(s.stopBits));
    const bool hardware = s.ctsOutputFlow || s.rtsHandshake;
    const QSerialPort::FlowControl flow = hardware              ? QSerialPort::HardwareControl
                                          : s.xonXoffOutput || s.xonXoffInput ? QSerialPort::SoftwareControl
                                                                              : QSerialPort::NoFlowControl;
    ok = ok && m_port.setFlowControl(flow);
    if (ok) {
        // A pseudo-terminal has no modem lines: refusing these is not a failure.
        m_port.setDataTerminalReady(s.dtrOn);
        if (!hardware)
            m_port.setRequestToSend(s.rtsOn);
        if (s.rs485.enabled)
            applyRs485Mode(s.rs485);
    }
    m_port.clearError();
    return ok;
}

void QtSerialBackend::applyRs485Mode(const Rs485Settings& rs485)
{
#ifdef Q_OS_UNIX
    const int fd = m_port.handle();
#else
    const int fd = -1; // applyRs485 only says why not
#endif
    // A port without the mode works all the same; the user hears of it once.
    const std::string why = applyRs485(fd, rs485);
    if (!why.empty())
        m_warning = rs485WarningText(m_device, why);
}

std::string QtSerialBackend::takeWarning()
{
    if (m_onNetwork)
        return m_network->takeWarning();
    return std::exchange(m_warning, std::string());
}

bool QtSerialBackend::purge(bool in, bool out)
{
    if (m_onNetwork)
        return m_network->purge(in, out);
    if (!m_port.isOpen())
        return false;
    QSerialPort::Directions directions;
    if (in)
        directions |= QSerialPort::Input;
    if (out)
        directions |= QSerialPort::Output;
    if (!directions)
        return true;
    const bool ok = m_port.clear(directions);
    m_port.clearError();
    return ok;
}

bool QtSerialBackend::setQueueSizes(uint32_t in, uint32_t out)
{
    if (m_onNetwork)
        return m_network->setQueueSizes(in, out);
    if (!m_port.isOpen())
        return false;
    // The port's own buffer is the receive queue; it stops taking bytes when full, as a
    // driver queue does. The transmit queue is bounded by the driver's free-space check.
    m_port.setReadBufferSize(in);
    return true;
}

bool QtSerialBackend::setTimeouts(const CommTimeouts& timeouts)
{
    if (m_onNetwork)
        return m_network->setTimeouts(timeouts);
    // Reads and writes never block here; nothing to set.
    return m_port.isOpen();
}

bool QtSerialBackend::queued(uint32_t& in, uint32_t& out)
{
    if (m_onNetwork)
        return m_network->queued(in, out);
    if (!m_port.isOpen())
        return false;
    m_port.flush(); // hand what is waiting to the system without blocking
    qint64 pending = m_port.bytesToWrite();
#ifdef Q_OS_UNIX
    int system = 0;
    if (::ioctl(m_port.handle(), TIOCOUTQ, &system) == 0 && system > 0)
        pending += system;
#endif
    in = static_cast<uint32_t>(std::min<qint64>(m_port.bytesAvailable(), std::numeric_limits<uint32_t>::max()));
    out = static_cast<uint32_t>(std::min<qint64>(pending, std::numeric_limits<uint32_t>::max()));
    return true;
}

int64_t QtSerialBackend::read(char* buffer, uint32_t size)
{
    if (m_onNetwork)
        return m_network->read(buffer, size);
    if (!m_port.isOpen())
        return -1;
    return m_port.read(buffer, size);
}

int64_t QtSerialBackend::write(const char* data, uint32_t size)
{
    if (m_onNetwork)
        return m_network->write(data, size);
    if (!m_port.isOpen())
        return -1;
    const qint64 n = m_port.write(data, size);
    if (n > 0)
        m_port.flush();
    return n;
}

bool QtSerialBackend::modemLines(TLineStatusSet& lines)
{
    if (m_onNetwork)
        return m_network->modemLines(lines);
    if (!m_port.isOpen())
        return false;
    m_port.clearError();
    const QSerialPort::PinoutSignals pins = m_port.pinoutSignals();
    if (m_port.error() != QSerialPort::NoError) {
        m_port.clearError();
        return false;
    }
    lines.lsCTS = pins.testFlag(QSerialPort::ClearToSendSignal);
    lines.lsDSR = pins.testFlag(QSerialPort::DataSetReadySignal);
    lines.lsRING = pins.testFlag(QSerialPort::RingIndicatorSignal);
    lines.lsCD = pins.testFlag(QSerialPort::DataCarrierDetectSignal);
    return true;
}

void QtSerialBackend::close()
{
    if (m_network)
        m_network->close();
    m_onNetwork = false;
    m_port.close();
    m_port.clearError();
}

std::string QtSerialBackend::lastErrorText() const
{
    return m_onNetwork ? m_network->lastErrorText() : m_errorText;
}

} // namespace lmx
