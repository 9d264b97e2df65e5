// The soak: the whole client stack (engine, exchange, driver, QtSerialBackend) transmits a
// command list to two virtual displays on a pseudo-terminal again and again, while the
// displays spoil every 7th answer with the next fault of the cycle, until PACKETS packets
// have been exchanged. It prints packets per minute, the faults met by kind, the client's
// messages, and the peak memory after the first CHECKPOINT packets and at the end; it fails
// when a fault kind never came, the client stopped going on after one, the displays refused
// anything they were sent, or the peak memory grew by more than 10 %.
//   soak [PACKETS] [--checkpoint N] [--lmx PATH] [--fault KIND] [--fault-every N]
// bench/soak.sh builds it under AddressSanitizer and runs it.
#include "soak_display.h"
#include "soak_memory.h"
#include "soak_tally.h"

#include "platform/user_dialogs.h"
#include "platform/wall_clock.h"
#include "port/comm_port_driver.h"
#include "port/debug_view_lines.h"
#include "port/qt_serial_backend.h"
#include "protocol/vocabulary.h"
#include "sim/sim_options.h"
#include "transmission/answer_templates.h"
#include "transmission/debug_log.h"
#include "transmission/packet_exchange.h"
#include "transmission/transmission_engine.h"
#include "transmission/transmission_reports.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using namespace lmx;
using namespace lmx::soak;

namespace {

constexpr double kMaxPeakGrowth = 0.10;
// Longer than any answer can take (the 1000 ms time-out), short of an unattended hang.
constexpr int kStallMs = 15000;

struct SoakOptions {
    int packets = 10000;
    int checkpoint = 1000;
    std::string lmx = LMX_PROGRAM;
    std::string fault = "cycle";
    std::string faultEvery = "7";
};

bool readCount(const char* text, int& value)
{
    char* end = nullptr;
    const long n = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || n < 1 || n > 100000000)
        return false;
    value = static_cast<int>(n);
    return true;
}

bool parseOptions(int argc, char** argv, SoakOptions& o)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (arg == "--checkpoint" && value && readCount(value, o.checkpoint)) {
            ++i;
        } else if (arg == "--lmx" && value) {
            o.lmx = value;
            ++i;
        } else if (arg == "--fault" && value) {
            o.fault = value;
            ++i;
        } else if (arg == "--fault-every" && value) {
            o.faultEvery = value;
            ++i;
        } else if (arg[0] != '-' && readCount(arg.c_str(), o.packets)) {
        } else {
            std::fprintf(stderr, "usage: soak [PACKETS] [--checkpoint N] [--lmx PATH] "
                                 "[--fault KIND] [--fault-every N]\n");
            return false;
        }
    }
    o.checkpoint = std::min(o.checkpoint, o.packets);
    return true;
}

// Every message box is counted and answered at once, as if OK was pressed.
class CountingDialogs : public UserDialogs {
  public:
    explicit CountingDialogs(SoakTally& tally) : m_tally(tally) {}
    void message(const QString& text, const QString&, Icon) override
    {
        m_tally.addMessage(text.toLatin1().toStdString());
    }
    Answer askYesNo(const QString&, const QString&, Icon) override { return Answer::No; }
    Answer askYesNoCancel(const QString&, const QString&, Icon) override { return Answer::Cancel; }
    QString openFileName(const FileRequest&) override { return {}; }
    QString saveFileName(const FileRequest&) override { return {}; }
    void beep() override {}

  private:
    SoakTally& m_tally;
};

// The receive box: holds its lines until the next transmission empties it, as the window's
// does, and counts the answers it reports.
class ReceiveBox : public ReceiveLog {
  public:
    void clear() override { m_lines.clear(); }
    void addLine(const std::string& line) override
    {
        m_lines.push_back(line);
        if (line.find(" Received Packet Number: ") != std::string::npos &&
            line.find(" Param: ") != std::string::npos)
            ++answersOk;
        if (line.find(" Transmission finished.") != std::string::npos)
            ++finished;
        if (line.find(" Transmission aborted.") != std::string::npos)
            ++aborted;
    }
    size_t size() const { return m_lines.size(); }

    size_t answersOk = 0;
    size_t finished = 0;
    size_t aborted = 0;

  private:
    std::vector<std::string> m_lines;
};

// The answer box's templates, filled by every data answer.
class AnswerBox : public AnswerDataSink {
  public:
    AnswerBox()
    {
        m_templates.append("Status: @@@@@@@@@@@@@@@@@@@@");
        m_templates.append("Clock: @@@@@@@@@@@@");
    }
    void answerData(const std::string& data) override
    {
        if (m_templates.FillAnswerTemplates(data))
            ++fills;
    }
    size_t fills = 0;

  private:
    AnswerTemplates m_templates;
};

// The serial debug window's four lists, each kept to its last kDebugListMaxLines lines.
class DebugLists {
  public:
    void clear()
    {
        for (auto& list : m_lists)
            list.clear();
    }
    void add(bool received, const QByteArray& bytes)
    {
        for (const DebugViewLine& line :
             debugViewLines({bytes.constData(), static_cast<size_t>(bytes.size())})) {
            push(m_lists[received ? 2 : 0], line.hex);
            push(m_lists[received ? 3 : 1], line.chars);
        }
    }

  private:
    static void push(std::deque<std::string>& list, const std::string& line)
    {
        list.push_back(line);
        if (list.size() > static_cast<size_t>(kDebugListMaxLines))
            list.pop_front();
    }
    std::deque<std::string> m_lists[4];
};

// Two displays, each with messages of several pages and lines, series cut by FPACK and
// NPACK, and the inquiries that bring data back. With a packet size of 40 most series take
// several packets. Every block is sent again each round and replaces what it held, so the
// displays' memory stays as it is.
std::vector<std::string> soakCommandList()
{
    const std::string text = "The quick brown fox jumps over the lazy dog 0123456789";
    std::vector<CommandEntry> e;
    auto block = [&](BlockKind kind, const char* number) {
        e.push_back(blockStartLine(kind, number));
    };
    auto end = [&](BlockKind kind) { e.push_back(blockEndLine(kind)); };
    auto line = [&](const char* number, const std::string& t) {
        block(BlockKind::Line, number);
        e.push_back(textLine(t));
        end(BlockKind::Line);
    };

    block(BlockKind::Display, "01");
    block(BlockKind::Message, "01");
    block(BlockKind::Page, "01");
    line("01", text);
    block(BlockKind::Line, "02");
    e.push_back(escapeLine(esc::Font, "2"));
    e.push_back(escapeLine(esc::Color, "1"));
    e.push_back(textLine("Font 2, colour 1"));
    e.push_back(separatorLine());
    e.push_back(textLine("after the separator"));
    end(BlockKind::Line);
    end(BlockKind::Page);
    e.push_back(breakLine(false, waitDigits(0)));
    block(BlockKind::Page, "02");
    line("01", text + " " + text);
    end(BlockKind::Page);
    end(BlockKind::Message);
    e.push_back(breakLine(true, waitDigits(0)));
    e.push_back(inquiryLine(3));
    e.push_back(breakLine(true, waitDigits(0)));
    block(BlockKind::Message, "02");
    block(BlockKind::Page, "01");
    line("01", "Short");
    end(BlockKind::Page);
    end(BlockKind::Message);
    end(BlockKind::Display);

    block(BlockKind::Display, "02");
    block(BlockKind::Message, "01");
    block(BlockKind::Page, "01");
    line("01", text);
    end(BlockKind::Page);
    end(BlockKind::Message);
    e.push_back(breakLine(true, waitDigits(0)));
    e.push_back(inquiryLine(1));
    e.push_back(breakLine(false, waitDigits(0)));
    e.push_back(inquiryLine(2));
    end(BlockKind::Display);
    e.push_back(endLine());

    std::vector<std::string> lines;
    for (const CommandEntry& entry : e)
        lines.push_back(entry.commandLine);
    return lines;
}

std::string kb(long long value)
{
    return value < 0 ? std::string("?") : std::to_string(value) + " kB";
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    SoakOptions options;
    if (!parseOptions(argc, argv, options))
        return 2;

    SoakTally tally;
    SoakDisplay display(QString::fromStdString(options.lmx),
                        {"sim", "--netnr", "1", "--netnr", "2", "--fault",
                         QString::fromStdString(options.fault), "--fault-every",
                         QString::fromStdString(options.faultEvery)},
                        tally);
    const std::string path = display.start(10000);
    if (path.empty()) {
        std::fprintf(stderr, "soak: %s\n", display.errorText().c_str());
        return 1;
    }

    QTemporaryDir programFolder;
    if (!programFolder.isValid()) {
        std::fprintf(stderr, "soak: no folder for the debug log\n");
        return 1;
    }
    CountingDialogs dialogs(tally);
    ReceiveBox receiveBox;
    AnswerBox answerBox;
    DebugLists debugLists;
    SystemWallClock wallClock;
    DebugLog debugLog(wallClock);
    debugLog.setProgramFolder(programFolder.path().toStdString());
    TCommPortDriver driver(std::make_unique<QtSerialBackend>());
    driver.SetPortName(path);
    PacketExchange exchange(driver, dialogs);
    exchange.SetDebugView(true);
    QObject::connect(&exchange, &PacketExchange::debugListsCleared, [&] { debugLists.clear(); });
    QObject::connect(&exchange, &PacketExchange::transmitViewUpdate,
                     [&](const QByteArray& b) { debugLists.add(false, b); });
    QObject::connect(&exchange, &PacketExchange::receiveViewUpdate,
                     [&](const QByteArray& b) { debugLists.add(true, b); });
    TransmissionEngine engine(exchange, dialogs, receiveBox, wallClock);
    engine.setAnswerDataSink(&answerBox);
    engine.setDebugLog(&debugLog);
    engine.SetDebugFile(true);
    engine.SetPacketSize(40);

    const std::vector<std::string> commandList = soakCommandList();
    QElapsedTimer clock;
    clock.start();
    int packets = 0;
    qint64 lastPacketMs = 0;
    MemorySample atCheckpoint;
    MemorySample atEnd;
    QObject::connect(&exchange, &PacketExchange::finished, [&] {
        ++packets;
        lastPacketMs = clock.elapsed();
        if (packets == options.checkpoint)
            atCheckpoint = sampleMemory();
        if (packets % 1000 == 0 || packets == options.checkpoint) {
            const MemorySample now = sampleMemory();
            std::printf("%7d packets %8.1f s   VmRSS %s   VmHWM %s\n", packets,
                        static_cast<double>(lastPacketMs) / 1000.0, kb(now.rssKb).c_str(),
                        kb(now.peakKb).c_str());
            std::fflush(stdout);
        }
        if (packets == options.packets) {
            atEnd = sampleMemory();
            engine.requestStop();
        }
    });
    bool stalled = false;
    QTimer stallGuard;
    QObject::connect(&stallGuard, &QTimer::timeout, [&] {
        if (clock.elapsed() - lastPacketMs > kStallMs) {
            stalled = true;
            engine.requestStop();
        }
    });
    stallGuard.start(1000);

    int transmissions = 0;
    size_t failedAnswers = 0;
    while (packets < options.packets && !stalled) {
        if (!startDebugLog(debugLog))
            tally.addMessage("Debug: " + debugLog.LastLogErrorText());
        const int before = packets;
        const TransmissionEngine::Outcome outcome = engine.TransmitExtended(commandList, 1);
        ++transmissions;
        failedAnswers += static_cast<size_t>(outcome.failedAnswers);
        if (packets == before) {
            std::fprintf(stderr, "soak: a transmission sent nothing; the line is lost\n");
            break;
        }
    }
    const double seconds = static_cast<double>(clock.elapsed()) / 1000.0;
    stallGuard.stop();

    // The display's last lines may still be on their way.
    display.waitForPackets(static_cast<size_t>(packets), 5000);
    const bool displayClean = display.stop(10000);

    bool ok = packets == options.packets && !stalled;
    std::printf("\nsoak: %d packets in %.1f s, %.0f packets per minute, %d transmissions"
                " (%zu finished, %zu aborted)\n",
                packets, seconds, seconds > 0 ? packets * 60.0 / seconds : 0.0, transmissions,
                receiveBox.finished, receiveBox.aborted);
    if (stalled)
        std::printf("  STALLED: no packet for %d ms\n", kStallMs);
    std::printf("client: %zu answers OK, %zu answers failed, %zu answer box fills,"
                " %zu message boxes\n",
                receiveBox.answersOk, failedAnswers, answerBox.fills, tally.messages());
    for (const auto& [text, count] : tally.messagesByText()) {
        std::string oneLine = text;
        for (char& c : oneLine)
            if (c == '\n')
                c = ' ';
        std::printf("  %6zu  %s\n", count, oneLine.c_str());
    }

    std::printf("display: %zu packets, %zu sound answers, %zu faults, %zu refused,"
                " %zu dropped pieces\n",
                tally.displayPackets(), tally.soundAnswers(), tally.faults(),
                tally.contentRefusals(), tally.dropped());
    const std::map<std::string, size_t> kinds = tally.faultsByKind();
    std::vector<std::string> expected;
    sim::FaultKind kind = sim::FaultKind::None;
    uint8_t code = 0;
    if (sim::parseFault(options.fault, kind, code)) {
        if (kind == sim::FaultKind::Cycle)
            for (sim::FaultKind k : sim::cycleKinds(false))
                expected.push_back(SoakTally::kindOf(sim::faultName(k)));
        else if (kind != sim::FaultKind::None)
            expected.push_back(SoakTally::kindOf(sim::faultName(kind, code)));
    }
    for (const std::string& k : expected) {
        const auto it = kinds.find(k);
        const size_t count = it == kinds.end() ? 0 : it->second;
        const bool wentOn = tally.wentOnAfter(k);
        std::printf("  %-12s %6zu   %s\n", k.c_str(), count,
                    count == 0 ? "NEVER CAME"
                    : wentOn   ? "went on after it"
                               : "DID NOT GO ON");
        ok = ok && count > 0 && wentOn;
    }
    for (const auto& [label, count] : tally.faultsByLabel())
        if (label.rfind("code-", 0) == 0)
            std::printf("    %-10s %6zu\n", label.c_str(), count);
    if (tally.contentRefusals() != 0 || tally.displayPackets() != static_cast<size_t>(packets)) {
        std::printf("  the displays did not take every packet the client sent\n");
        ok = false;
    }
    if (!displayClean) {
        std::printf("  %s\n", display.errorText().c_str());
        ok = false;
    }

    const std::optional<double> growth = peakGrowth(atCheckpoint, atEnd);
    std::printf("memory: at %d packets VmHWM %s (VmRSS %s), at %d packets VmHWM %s (VmRSS %s)",
                options.checkpoint, kb(atCheckpoint.peakKb).c_str(), kb(atCheckpoint.rssKb).c_str(),
                packets, kb(atEnd.peakKb).c_str(), kb(atEnd.rssKb).c_str());
    if (growth) {
        std::printf(": peak %+.1f %% (limit %+.0f %%)\n", *growth * 100.0, kMaxPeakGrowth * 100.0);
        ok = ok && *growth <= kMaxPeakGrowth;
    } else {
        std::printf(": not measured\n");
        ok = false;
    }
    std::printf("soak: %s\n", ok ? "passed" : "FAILED");
    return ok ? 0 : 1;
}
