#include "transmission_engine.h"

#include "platform/latin1.h"
#include "protocol/answer.h"
#include "protocol/framing.h"
#include "protocol/hex.h"
#include "port_reconnect.h"
#include "transmission_cutter.h"

#include <QEventLoop>

namespace lmx {

namespace {

// Hex lines of a data answer: 40 bytes each.
constexpr size_t kDataLineLength = 120;

constexpr const char* kRs485Text = " No answer received. Transmission done via NetNr 0. (RS485)";

// The first line of a reason as the system words it (a hint may follow on further lines),
// without the full stop and blanks at its end: it goes between parentheses.
std::string trimmedEnd(std::string text)
{
    text = text.substr(0, text.find('\n'));
    while (!text.empty() && (text.back() == '.' || static_cast<unsigned char>(text.back()) <= ' '))
        text.pop_back();
    return text;
}

std::string hexWithBlanks(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() * 3);
    for (const char b : bytes) {
        out += byteToHex(static_cast<uint8_t>(b));
        out += ' ';
    }
    return out;
}

TransmissionEnd observedEnd(TransmissionEngine::End end)
{
    switch (end) {
    case TransmissionEngine::End::Aborted: return TransmissionEnd::Aborted;
    case TransmissionEngine::End::Stopped: return TransmissionEnd::Stopped;
    default: return TransmissionEnd::Completed;
    }
}

} // namespace

// The busy cursor is on while any wait of the engine runs; nested waits keep it on.
class TransmissionEngine::BusyScope {
public:
    explicit BusyScope(TransmissionEngine& engine) : m_engine(engine) { m_engine.setBusy(true); }
    ~BusyScope() { m_engine.setBusy(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    TransmissionEngine& m_engine;
};

// Marks a transmission as running for the duration of a transmit call.
class TransmissionEngine::RunScope {
public:
    explicit RunScope(TransmissionEngine& engine) : m_engine(engine)
    {
        m_engine.m_running = true;
        m_engine.m_stop = false;
        m_engine.m_stopAfterExchange = false;
        m_engine.m_logWritten = false;
        m_engine.m_logGivenUp = false;
        m_engine.m_outcome = Outcome{};
        // Each text once per transmission, the port's messages counted with the engine's.
        m_engine.m_messages.forget();
        m_engine.m_exchange.SetDialogs(&m_engine.m_messages);
        // One open of the port for the whole transmission, not one per packet.
        m_engine.m_exchange.KeepPortOpen(true);
        emit m_engine.runningChanged(true);
    }
    ~RunScope()
    {
        m_engine.m_exchange.KeepPortOpen(false);
        m_engine.m_exchange.SetDialogs(nullptr);
        m_engine.m_exchange.SetDeferPortLoss(false);
        m_engine.m_running = false;
        if (m_engine.m_observer)
            m_engine.m_observer->transmissionEnded(observedEnd(m_engine.m_outcome.end));
        // Last: a slot may take this as the moment to let the engine go.
        emit m_engine.runningChanged(false);
    }
    RunScope(const RunScope&) = delete;
    RunScope& operator=(const RunScope&) = delete;

private:
    TransmissionEngine& m_engine;
};

TransmissionEngine::TransmissionEngine(PacketExchange& exchange, UserDialogs& dialogs,
                                       ReceiveLog& receiveLog, const WallClock& wallClock,
                                       const SteadyClock& steadyClock, QObject* parent)
    : QObject(parent),
      m_exchange(exchange),
      m_messages(dialogs),
      m_receiveLog(receiveLog),
      m_wallClock(wallClock),
      m_steadyClock(steadyClock),
      m_ownWaiter(steadyClock)
{
    connect(&m_exchange, &PacketExchange::answerBegan, this, [this] {
        if (m_running && !m_stop && m_observer)
            m_observer->answerBegan();
    });
}

TransmissionEngine::~TransmissionEngine()
{
    requestStop();
    m_exchange.SetAnswerHandler({});
}

bool TransmissionEngine::SetPacketSize(int size)
{
    if (size < kMinPacketSize || size > kMaxPacketSize)
        return false;
    m_packetSize = size;
    return true;
}

void TransmissionEngine::requestStopAfterExchange()
{
    if (!m_running || stopAsked())
        return;
    m_stopAfterExchange = true;
    // An exchange in progress runs on to its answer; only a wait ends here.
    m_waiter->stop();
}

void TransmissionEngine::requestStop()
{
    if (!m_running || m_stop)
        return;
    m_stop = true;
    m_exchange.Abort();
    for (QEventLoop* loop : m_loops)
        loop->quit();
    m_waiter->stop();
}

// --- extended framing ----------------------------------------------------------------------

TransmissionEngine::Outcome
TransmissionEngine::TransmitExtended(const std::vector<std::string>& commandLines, int defaultNetNr)
{
    if (m_running || defaultNetNr < 0 || defaultNetNr > 255)
        return Outcome{End::Refused};
    RunScope run(*this);
    prepare(true, defaultNetNr);
    if (stopAsked()) { // while the debug log's message was up
        stopped();
        return m_outcome;
    }
    // A packet size changed while this runs must not cut series counted with the old one.
    const size_t packetSize = static_cast<size_t>(m_packetSize);
    if (m_observer)
        m_observer->transmissionStarted({commandLines, true, defaultNetNr, packetSize});

    std::string stream = cut::buildStream(commandLines);
    cut::removeLeadingBreaks(stream);
    cut::collapseBreakRuns(stream);
    while (!stream.empty()) {
        cut::Block block = cut::takeBlock(stream);
        if (block.kind == cut::Block::Kind::Unterminated
            || (block.kind == cut::Block::Kind::Addressed && block.bytes.empty())) {
            logAborted();
            return m_outcome;
        }
        if (beginBlock(block, defaultNetNr) == Step::End)
            return m_outcome;
        // Break lines between two display blocks send nothing; an NPACK among them still
        // keeps the next block waiting, one at the very end does not.
        int npackWait = 0;
        if (block.kind != cut::Block::Kind::Addressed && cut::onlyBreaks(block.bytes, npackWait)) {
            if (!Wait(stream.empty() ? 0 : npackWait)) {
                stopped();
                return m_outcome;
            }
            continue;
        }
        ++m_blockNumber;
        const std::string whole = block.bytes;
        Step step = Step::Go;
        while ((step = sendExtendedBlock(block.bytes, stream, packetSize)) == Step::Resend)
            block.bytes = whole; // from its first packet
        if (step == Step::End)
            return m_outcome;
    }
    if (m_lastAnswerOk)
        logLine(stamp() + " Transmission finished.");
    else
        logAborted();
    return m_outcome;
}

TransmissionEngine::Step TransmissionEngine::sendExtendedBlock(std::string& block,
                                                               const std::string& stream,
                                                               size_t packetSize)
{
    while (!block.empty()) {
        cut::removeLeadingBreaks(block);
        cut::Series series = cut::takeSeries(block, stream.empty());
        const int count = cut::countPackets(series.bytes, packetSize);
        if (count == 0) {
            logLine(stamp() + " No packets transmitted. Transmission aborted.");
            m_outcome.end = End::Aborted;
            return Step::End;
        }
        std::string whole = cut::withoutForcedBreaks(series.bytes);
        if (count == 1 && whole.size() <= packetSize) {
            m_packetNr = 0;
            // The series' own FPACK decides the wait after its answer, not an earlier packet.
            m_answerWait = cut::lastForcedBreakWait(series.bytes);
            if (const Step step = sendExtendedPacket(whole); step != Step::Go)
                return step;
        } else {
            for (int k = 0; k < count; ++k) {
                cut::removeLeadingBreaks(series.bytes);
                if (series.bytes.empty()) {
                    showError("Trying to find an NPACK or FPACK in an empty string !\n"
                              "Transmission aborted.");
                    m_outcome.end = m_stop ? End::Stopped : End::Aborted;
                    return Step::End;
                }
                cut::Chunk chunk = cut::nextChunk(series.bytes, packetSize);
                m_answerWait = chunk.answerWait;
                m_packetNr = packetNumberOf(k, count);
                if (const Step step = sendExtendedPacket(chunk.bytes); step != Step::Go)
                    return step;
            }
        }
        if (!m_lastAnswerOk)
            return Step::Go; // the rest of this block stays unsent
        if (!Wait(series.wait))
            return stopped();
    }
    return Step::Go;
}

TransmissionEngine::Step TransmissionEngine::sendExtendedPacket(const std::string& chunk)
{
    const std::optional<std::string> packet = buildExtendedPacket(m_netNr, m_packetNr, chunk);
    if (!packet) { // network number and chunk are kept in range; never expected
        logAborted();
        return Step::End;
    }
    return exchanged(TransmitAndWait(*packet, netNrPrefix() + " Transmitted Packet Number: "
                                                  + std::to_string(m_packetNr & kSequenceMask)));
}

const EchoFault& TransmissionEngine::observeAnswer(const std::string& answer)
{
    if (m_observer)
        m_observer->answerReceived(answer);
    const EchoFault& echo = m_exchange.echoFault();
    if (echo.failed() && m_observer)
        m_observer->lineFailed(echo.state(), echo.message());
    return echo;
}

void TransmissionEngine::ReceiveExtendedAnswer(const std::string& answer)
{
    if (!m_running || m_stop)
        return;
    const EchoFault& echo = observeAnswer(answer);
    const std::string p = std::to_string(m_packetNr & kSequenceMask);
    if (answer.empty() && m_netNr == 0 && !echo.failed()) {
        logLine(netNrPrefix() + " Packet Number: " + p + kRs485Text);
        m_lastAnswerOk = true;
        return;
    }

    const AnswerParse packet = parseExtendedAnswer(answer, static_cast<uint8_t>(m_netNr), m_packetNr);
    std::string message;
    if (echo.failed()) {
        message = "Error " + echo.message();
    } else if (!packet.ok) {
        message = "Error " + errorText(packet) + " at " + stateName(packet.state);
    } else {
        const AnswerParse data = parseAnswerData(packet.data);
        if (!data.ok) {
            message = "Error " + errorText(data) + " at " + stateName(data.state);
        } else if (data.errorCode != 0) {
            message = "Answer: " + errorText(data) + " Param : " + data.paramText;
        } else {
            const std::string head = netNrPrefix() + " Received Packet Number: " + p
                + " Param: " + data.paramText;
            // A good answer's parameter is 0 or 1; anything else failed the parse.
            if (data.paramText != "$01") {
                logLine(head + " (No Data)");
            } else {
                logLine(head + " Data: ");
                const std::string bytes = packet.data.substr(4);
                const std::string hex = hexWithBlanks(bytes);
                for (size_t i = 0; i < hex.size(); i += kDataLineLength)
                    logLine(hex.substr(i, kDataLineLength));
                if (m_answerSink)
                    m_answerSink->answerData(bytes);
            }
        }
    }

    m_lastAnswerOk = message.empty();
    if (!message.empty()) {
        ++m_outcome.failedAnswers;
        if (m_answerErrorBoxes && !m_stopAfterExchange)
            showError(message);
        if (m_stop)
            return;
        logLine(netNrPrefix() + " Received Packet Number: " + p + " " + message);
    }
    Wait(m_answerWait);
}

// --- normal framing ------------------------------------------------------------------------

TransmissionEngine::Outcome
TransmissionEngine::TransmitNormal(const std::vector<std::string>& commandLines, int defaultNetNr)
{
    if (m_running || defaultNetNr < 0 || defaultNetNr > 255)
        return Outcome{End::Refused};
    RunScope run(*this);
    prepare(false, defaultNetNr);
    if (stopAsked()) {
        stopped();
        return m_outcome;
    }
    if (m_observer)
        m_observer->transmissionStarted({commandLines, false, defaultNetNr, kMaxNormalBlock});

    std::string stream = cut::buildStream(commandLines);
    while (!stream.empty()) {
        cut::Block block = cut::takeBlock(stream);
        if (block.kind == cut::Block::Kind::Unterminated) {
            // Nothing was taken from the stream: the loop would never get past it.
            logAborted();
            return m_outcome;
        }
        if (beginBlock(block, defaultNetNr) == Step::End)
            return m_outcome;
        ++m_blockNumber;
        Step step = Step::Go;
        while ((step = sendNormalBlock(block.bytes)) == Step::Resend) {
        }
        if (step == Step::End)
            return m_outcome;
    }
    return m_outcome;
}

TransmissionEngine::Step TransmissionEngine::sendNormalBlock(const std::string& block)
{
    if (block.empty() || block.size() > kMaxNormalBlock) {
        logLine(stamp() + " No data to be transmitted !!");
        ++m_outcome.unsentBlocks;
        return Step::Go;
    }
    const std::optional<std::string> packet = buildNormalPacket(m_netNr, block);
    if (!packet) {
        logAborted();
        return Step::End;
    }
    return exchanged(TransmitAndWait(*packet, netNrPrefix() + " Transmit Normal LMX"));
}

void TransmissionEngine::ReceiveNormalAnswer(const std::string& answer)
{
    if (!m_running || m_stop)
        return;
    const EchoFault& echo = observeAnswer(answer);
    const NormalAnswer result = parseNormalAnswer(answer, static_cast<uint8_t>(m_netNr));
    if (result.ok && result.answerOk() && !echo.failed()) {
        logLine(netNrPrefix() + " Answer Normal LMX: " + normalResultText(result.resultChar));
        return;
    }
    ++m_outcome.failedAnswers;
    const std::string message =
        "Error: " + (echo.failed() ? echo.message() : normalResultText(result.resultChar));
    if (m_answerErrorBoxes && !m_stopAfterExchange)
        showError(message);
    if (m_stop)
        return;
    logLine(netNrPrefix() + " " + message);
}

// --- shared steps --------------------------------------------------------------------------

void TransmissionEngine::prepare(bool extended, int defaultNetNr)
{
    m_netNr = defaultNetNr;
    m_packetNr = 0;
    m_answerWait = 0;
    m_blockNumber = 0;
    m_exchange.SetDeferPortLoss(m_exchange.driver().ReconnectSeconds() > 0);
    m_lastAnswerOk = true;
    m_portLost = false;
    m_receiveLog.clear();
    m_exchange.SetExtendedLmx(extended);
    if (extended)
        m_exchange.SetAnswerHandler([this](const std::string& a) { ReceiveExtendedAnswer(a); });
    else
        m_exchange.SetAnswerHandler([this](const std::string& a) { ReceiveNormalAnswer(a); });
    m_exchange.ClearDebugLists();
    m_exchange.SetClearPerPacket(false);
    if (m_debugFile && m_createDebugFile)
        startLog();
}

TransmissionEngine::Step TransmissionEngine::beginBlock(cut::Block& block, int defaultNetNr)
{
    switch (block.kind) {
    case cut::Block::Kind::Unaddressed:
        m_netNr = defaultNetNr;
        break;
    case cut::Block::Kind::Addressed:
        // An empty block has no number to read; only the normal framing goes on past it.
        if (!block.bytes.empty() && !cut::takeNetworkNumber(block.bytes, m_netNr)) {
            showError("A display block does not start with a network number of two hex digits.\n"
                      "Transmission aborted.");
            if (m_stop)
                return stopped();
            logAborted();
            return Step::End;
        }
        break;
    case cut::Block::Kind::Before:
    case cut::Block::Kind::Unterminated:
        break;
    }
    return Step::Go;
}

TransmissionEngine::Step TransmissionEngine::exchanged(Exchange result)
{
    switch (result) {
    case Exchange::Answered:
        return stopAsked() ? stopped() : Step::Go;
    case Exchange::NotStarted:
        return portLost();
    case Exchange::Stopped:
        return stopped();
    }
    return Step::End;
}

TransmissionEngine::Step TransmissionEngine::portLost()
{
    // Only a port that was open in this transmission is lost; one that never opened is
    // reported at once. The exchange has said why, or kept it back while a reconnect may
    // still mend it; once is enough.
    const int seconds = m_exchange.driver().ReconnectSeconds();
    if (seconds > 0 && m_outcome.packetsSent > 0) {
        BusyScope busy(*this);
        const ReconnectResult r = reconnectPort([this] { return m_exchange.Reopen(); }, *m_waiter,
                                                m_steadyClock, seconds, [this] { return stopAsked(); });
        if (r.reopened && !stopAsked()) {
            m_portLost = false;
            logLine(stamp() + " " + portReopenedText(r.elapsedMs, m_blockNumber));
            if (m_observer)
                m_observer->blockSentAgain();
            return Step::Resend;
        }
        if (stopAsked())
            return stopped();
    }
    m_exchange.ReportPortLoss();
    // The exchange has said why in its message (the port did not open, or went away); the
    // end line says it too where the port was lost, as a box may be long gone when the
    // receive box is read.
    if (m_portLost) {
        logLine(stamp() + " Transmission aborted: " + lostConnectionText() + ".");
        m_outcome.end = End::Aborted;
    } else {
        logAborted();
    }
    return Step::End;
}

TransmissionEngine::Step TransmissionEngine::stopped()
{
    m_outcome.end = End::Stopped;
    if (!m_stop)
        logLine(stamp() + " Transmission stopped.");
    return Step::End;
}

TransmissionEngine::Exchange TransmissionEngine::TransmitAndWait(const std::string& packet,
                                                                 const std::string& sentLine)
{
    // Once a stop is asked for nothing more goes out, whatever path led here.
    if (stopAsked())
        return Exchange::Stopped;
    BusyScope busy(*this);
    if (!m_exchange.SendPacket(packet)) {
        // The port is held open from the first packet on: once one has gone, a port that
        // does not open again has gone away.
        if (m_outcome.packetsSent > 0)
            portLost(packet);
        return Exchange::NotStarted;
    }
    logLine(sentLine);
    ++m_outcome.packetsSent;
    if (m_observer)
        m_observer->packetWritten(packet, m_netNr, m_packetNr);

    // Read once: the setting may change while the answer is awaited.
    DebugLog* const log = m_debugFile && !m_logGivenUp ? m_debugLog : nullptr;
    if (log) {
        log->PushProgramFolder();
        const std::string error = writeLog(*log, "Transmitted: ", m_exchange.bytesSent());
        if (!error.empty())
            logFailed(error);
    }

    if (!m_exchange.done()) {
        QEventLoop loop;
        connect(&m_exchange, &PacketExchange::finished, &loop, &QEventLoop::quit);
        runLoop(loop);
    }
    if (m_stop) {
        if (log)
            log->PopProgramFolder();
        return Exchange::Stopped;
    }
    if (log) {
        if (!m_logGivenUp)
            writeLog(*log, "Recieved: ", m_exchange.bytesReceived()); // a failure is not shown
        log->PopProgramFolder();
    }
    if (!m_exchange.portFailed())
        return Exchange::Answered;
    portLost({});
    return Exchange::NotStarted;
}

void TransmissionEngine::portLost(const std::string& notSent)
{
    m_portLost = true;
    if (m_observer)
        m_observer->portLost(notSent, m_netNr, m_packetNr, lostConnectionText());
}

std::string TransmissionEngine::lostConnectionText() const
{
    const std::string why = trimmedEnd(m_exchange.portLossReason());
    return "lost connection to " + m_exchange.portName() + (why.empty() ? "" : " (" + why + ")");
}

std::string TransmissionEngine::writeLog(DebugLog& log, const char* head, const std::string& bytes)
{
    bool written = log.WriteLog(kDebugLogFileName, LogMode::Append, kDebugLogFolderName,
                                StampKind::Time, head);
    std::string error = written ? std::string() : log.LastLogErrorText();
    if (!log.WriteHexDump(kDebugLogFileName, LogMode::Append, kDebugLogFolderName,
                          StampKind::None, bytes)
        && written) {
        written = false;
        error = log.LastLogErrorText();
    }
    if (written)
        m_logWritten = true;
    return error;
}

void TransmissionEngine::startLog()
{
    if (!m_debugLog)
        return;
    if (startDebugLog(*m_debugLog))
        m_logWritten = true;
    else
        logFailed(m_debugLog->LastLogErrorText());
}

void TransmissionEngine::logFailed(const std::string& error)
{
    m_messages.message(latin1("Debug: " + error), QString(), UserDialogs::Icon::None);
    // A log that took no write in this transmission cannot be created: trying it with every
    // packet would only fail again. One that failed after it was written (a full disk) is
    // tried again with the next packet; its message is not repeated.
    if (!m_logWritten)
        m_logGivenUp = true;
}

bool TransmissionEngine::Wait(int ms)
{
    if (stopAsked())
        return false;
    if (ms <= 0)
        return true;
    BusyScope busy(*this);
    m_waiter->wait(ms);
    return !stopAsked();
}

void TransmissionEngine::runLoop(QEventLoop& loop)
{
    if (m_stop)
        return;
    m_loops.push_back(&loop);
    loop.exec();
    m_loops.pop_back();
}

void TransmissionEngine::setBusy(bool on)
{
    const int before = m_busyDepth;
    m_busyDepth += on ? 1 : -1;
    if (m_busy && (before == 0) != (m_busyDepth == 0))
        m_busy->setBusy(on);
}

void TransmissionEngine::logLine(const std::string& line)
{
    m_receiveLog.addLine(line);
}

void TransmissionEngine::logAborted()
{
    logLine(stamp() + " Transmission aborted.");
    m_outcome.end = End::Aborted;
}

std::string TransmissionEngine::stamp() const
{
    return timeStampText(m_wallClock.now());
}

std::string TransmissionEngine::netNrPrefix() const
{
    return "NetNr: " + std::to_string(m_netNr) + " " + stamp();
}

void TransmissionEngine::showError(const std::string& text)
{
    m_messages.message(latin1(text), QString(), UserDialogs::Icon::Error);
}

bool startDebugLog(DebugLog& log)
{
    log.PushProgramFolder();
    const bool written = log.WriteLog(kDebugLogFileName, LogMode::New, kDebugLogFolderName,
                                      StampKind::DateTime, "Debug File Created: ");
    log.PopProgramFolder();
    return written;
}

} // namespace lmx
