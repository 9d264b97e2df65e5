// lmx send: load a command file as the window's Load does and transmit it as Transmit does,
// with the settings file the window program reads. Receive-box lines go to stdout as they come,
// message-box texts to stderr (each answered as if OK was pressed; the engine lets each text
// through once per transmission, as the window shows it).
//
// With a list of network numbers (--netnr 1-12,18) the list goes to each display in turn,
// and a summary per display ends the output.
#include "cli_options.h"
#include "cli_support.h"
#include "commands.h"
#include "send_repeat.h"

#include "bus/displays_run.h"
#include "bus/netnr_list.h"
#include "files/command_file_reader.h"
#include "files/output_paths.h"
#include "files/settings_file.h"
#include "packets/capture_file.h"
#include "packets/exchange_recorder.h"
#include "packets/exchange_reports.h"
#include "platform/program_folders.h"
#include "platform/wall_clock.h"
#include "port/comm_port_driver.h"
#include "port/qt_serial_backend.h"
#include "port/serial_settings_apply.h"
#include "protocol/hex.h"
#include "protocol/vocabulary.h"
#include "transmission/answer_templates.h"
#include "transmission/debug_log.h"
#include "transmission/packet_exchange.h"
#include "transmission/transmission_engine.h"
#include "transmission/transmission_reports.h"

#include <QCoreApplication>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using cli::writeLine;

const char kUsage[] = "usage: lmx send [--port NAME] [--baud N] [--netnr N|LIST] [--normal]\n"
                      "                [--packet-size N] [--debug-log] [--report FILE]\n"
                      "                [--junit FILE] [--capture FILE] [--echo MODE]\n"
                      "                [--rs485[=BEFORE,AFTER]] [--reconnect SECONDS]\n"
                      "                [--repeat N] [--duration T] [--interval MS]\n"
                      "                [--max-failures K] [--verbose] FILE.lmx\n";

const char kHelp[] =
    "Loads FILE.lmx and transmits its command list as the window's Transmit does, with the\n"
    "window program's settings where no option overrides them: ORVANTA.SET beside the\n"
    "programs, or for an installed program ~/.config/Orvanta/ORVANTA.SET (read over an\n"
    "ORVANTA.SET beside the programs). A port not given with --port is named on stderr with\n"
    "where it comes from before anything is sent.\n"
    "Every receive-box line goes to stdout, every message-box text to stderr. A data answer\n"
    "fills the file's answer templates (the lines after ANSWER:) as the window's Answer Data\n"
    "tab does; each filled line follows as \"Answer Data: ...\".\n"
    "  --port NAME        serial port (\\\\.\\COM1, /dev/ttyUSB0, /dev/pts/7, ...), a serial\n"
    "                     device server tcp://HOST:PORT (its own line settings) or one that\n"
    "                     takes the line settings, rfc2217://HOST:PORT\n"
    "  --baud N           baud rate; the answer wait begins when the packet has left a line\n"
    "                     at this rate (10 bits a byte), for tcp:// too\n"
    "  --netnr N          network number for everything outside display blocks (0..255)\n"
    "  --netnr LIST       numbers and ranges, 1-12,18: the list goes to each display in\n"
    "                     turn, with its number as the network number above (display\n"
    "                     blocks that name their own keep it); a display that fails does\n"
    "                     not stop the others, and a summary per display ends the output\n"
    "  --normal           normal framing: one packet per display block, one-character answers\n"
    "  --packet-size N    data bytes per extended packet (2..240, default 240)\n"
    "  --debug-log        write Log/Debug.log where the window program writes it\n"
    "  --report FILE      write every exchange to FILE as JSON Lines, then a summary\n"
    "  --junit FILE       write a JUnit XML report to FILE, one test case per display block\n"
    "  --capture FILE     write every packet and answer to FILE as a pcapng capture for\n"
    "                     Wireshark (with wireshark/lmx.lua), each exchange as it ends\n"
    "%s"
    "  --repeat N         send the list N times, as N runs (0: until Ctrl+C or until\n"
    "                     --duration is over); a run is one transmission, to every display\n"
    "                     of a --netnr LIST in turn. Each run prints one line,\n"
    "                     \"Run 12 of 200: OK (34 packets, 412 ms)\" or \"Run 13 of 200: FAILED\n"
    "                     (34 packets, 2 failed: ...)\", and a table of statistics ends the\n"
    "                     output: runs, packets, failures per display, answer state and\n"
    "                     result code, round trips, the first and last failure, the\n"
    "                     interval kept; its last line \"N failure(s) in M run(s)\".\n"
    "  --duration T       runs until T has passed (90s, 30m, 8h, 1h30m); no run starts after\n"
    "                     it, the one under way ends as usual. With --repeat N: whichever\n"
    "                     comes first\n"
    "  --interval MS      from the start of one run to the start of the next (default 0:\n"
    "                     back to back); a run that takes longer is followed at once by the\n"
    "                     next and counted as late\n"
    "  --max-failures K   end after the K-th failed run (1: at the first failure)\n"
    "  --verbose          the receive-box lines of every run as well (on for a single run)\n"
    "A run fails when an answer failed, a block was not sent or the transmission aborted.\n"
    "In repeat runs failed answers are told by the run's line, not on stderr (with\n"
    "--verbose on stderr too); --report adds \"run\": k to every exchange and writes each\n"
    "run as it ends, the file ending with one line {\"statistics\": {...}}; --junit fails a\n"
    "block that failed in any run, giving in how many and the first failure.\n"
    "Both reports are written when the transmission ends, also when it was aborted or\n"
    "interrupted; a report that cannot be written makes the exit code 2. A report named as\n"
    "the command file or the settings file, or two outputs (reports, the debug log) named\n"
    "as one file, are refused before anything is sent.\n"
    "An answer is kept up to 512 bytes; what comes beyond is dropped, and the answer fails\n"
    "as \"Answer too long\".\n"
    "Ctrl+C ends the transmission after the exchange in progress with the line\n"
    "\"hh:nn:ss:zzz Transmission stopped.\" (while the file loads: before the first\n"
    "packet); a second Ctrl+C ends it at once.\n"
    "Exit code: 0 when every packet was answered OK (a packet to network number 0 needs no\n"
    "answer; with a LIST: every display OK; repeated: every run), 1 when an answer failed, a block was not sent,\n"
    "the transmission was aborted or interrupted (Ctrl+C), 2 on usage or file errors: a\n"
    "command file that does not read, a report that cannot be written or is refused, a\n"
    "settings file that does not read while no --port is given.\n";

int usageError(const std::string& problem)
{
    std::fprintf(stderr, "lmx send: %s\n", problem.c_str());
    std::fputs(kUsage, stderr);
    return 2;
}

class ConsoleReceiveLog : public lmx::ReceiveLog {
public:
    explicit ConsoleReceiveLog(bool shown) : m_shown(shown) {}
    void clear() override {}
    void addLine(const std::string& line) override
    {
        if (m_shown)
            writeLine(stdout, line);
    }

private:
    bool m_shown;
};

// The command file's answer templates, filled by each data answer as the window's Answer Data
// tab fills them; the filled lines follow the answer's receive-box lines.
class ConsoleAnswerData : public lmx::AnswerDataSink {
public:
    explicit ConsoleAnswerData(const std::vector<std::string>& templates)
    {
        for (const std::string& t : templates)
            if (t != lmx::kEndMarker)
                m_templates.append(t);
    }
    void answerData(const std::string& data) override
    {
        if (!m_templates.FillAnswerTemplates(data))
            return;
        for (const lmx::AnswerTemplates::Line& line : m_templates.lines())
            writeLine(stdout, "Answer Data: " + line.shownText);
    }
    size_t size() const { return m_templates.size(); }

private:
    lmx::AnswerTemplates m_templates;
};

// Keeps of each line read only what is sent: its command line.
class SentLines : public lmx::CommandLineSink {
public:
    std::vector<std::string> lines;

    void expect(size_t count) override { lines.reserve(count); }
    void add(lmx::CommandListLine&& line) override { lines.push_back(std::move(line.commandLine)); }
};

// The reports of the transmission (or the run to many displays) that just ended, and the
// capture closed; false when one could not be written.
bool writeReports(const SendOptions& options, const lmx::ExchangeRecorder& recorder,
                  std::optional<lmx::TransmissionEnd> end, lmx::CaptureFile& capture)
{
    const lmx::ExchangeReport report{recorder.records(), recorder.plan(), end};
    bool written = true;
    auto tell = [&](const lmx::WriteResult& result) {
        if (!result.ok) {
            writeLine(stderr, "lmx send: " + result.message);
            if (!result.detail.empty())
                writeLine(stderr, result.detail);
            written = false;
        }
    };
    auto write = [&](const std::optional<std::string>& file, const std::string& text) {
        if (file)
            tell(lmx::writeReportFile(*file, text));
    };
    tell(capture.close()); // told once, whenever it failed
    write(options.report, lmx::jsonLinesReport(report));
    if (options.junit)
        write(options.junit, lmx::junitReport(report, std::filesystem::path(options.file)
                                                             .filename()
                                                             .string()));
    return written;
}

// Why the reports, the capture and the debug log cannot be written where they are named: over
// the command file or the settings, or two of them over one file. Checked before anything is sent.
std::string outputClash(const SendOptions& options, const cli::Settings& settings, bool debugLog)
{
    std::vector<lmx::NamedPath> inputs{{"the command file", options.file},
                                       {"the settings file", lmx::settingsFilePath(settings.places.settingsFolder)}};
    if (!settings.places.besideProgram())
        inputs.push_back({"the site's settings file", settings.places.siteDefaultsFile});
    std::vector<lmx::NamedPath> outputs;
    if (options.report)
        outputs.push_back({"--report", *options.report});
    if (options.junit)
        outputs.push_back({"--junit", *options.junit});
    if (options.capture)
        outputs.push_back({"--capture", *options.capture});
    if (debugLog)
        outputs.push_back({"the debug log", (std::filesystem::path(settings.places.logFolder)
                                             / lmx::kDebugLogFolderName / lmx::kDebugLogFileName)
                                                    .string()});
    return lmx::outputClash(inputs, outputs);
}

// The exit code of a send that has ended: 2 when a report could not be written (unless it was
// stopped), 1 when it was stopped or an answer failed.
int sendExit(bool stopped, int signalCount, bool reported, bool allOk)
{
    if (stopped) {
        if (signalCount > 1) // ended at once, without the engine's line
            std::fputs("lmx send: interrupted\n", stderr);
        return reported ? 1 : 2;
    }
    if (!reported)
        return 2;
    return allOk ? 0 : 1;
}

} // namespace

int runSend(int argc, char** argv)
{
    SendOptions options;
    std::string error;
    switch (parseSendOptions({argv, argv + argc}, options, error)) {
    case OptionsRead::Help:
        std::fputs(kUsage, stdout);
        std::printf(kHelp, kLineOptionsHelp);
        return 0;
    case OptionsRead::Error:
        return usageError(error);
    case OptionsRead::Ok:
        break;
    }

    static int appArgc = 1;
    static char appName[] = "lmx";
    static char* appArgv[] = {appName, nullptr};
    QCoreApplication app(appArgc, appArgv);
    // From here on Ctrl+C stops the transmission, also while the file is still loading: it
    // then ends before the first packet, and the reports say so.
    cli::InterruptPipe interrupts;
    std::optional<cli::Settings> loaded = cli::loadSettings("send", options.port, options.baud);
    if (!loaded)
        return 2;
    cli::Settings& settings = *loaded;
    options.line.applyTo(settings.serial);
    lmx::TGeneralSettings& general = settings.general;
    if (options.debugLog)
        general.DebugFile = true;
    const int netNr = options.netNr.value_or(settings.display.NetNr);
    const bool extended = general.ExtendedLmx && !options.normal;
    if (const std::string clash = outputClash(options, settings, general.DebugFile); !clash.empty()) {
        writeLine(stderr, "lmx send: " + clash);
        return 2;
    }

    lmx::KeySet keys = lmx::makeKeySet();
    SentLines sent;
    const lmx::CommandFileReadResult file = lmx::readCommandFile(options.file, keys, sent);
    if (!file.ok()) {
        writeLine(stderr, file.message);
        return 2;
    }
    const std::vector<std::string>& commandLines = sent.lines;

    cli::ConsoleDialogs dialogs;
    ConsoleReceiveLog receiveLog(options.receiveLines());
    lmx::SystemWallClock wallClock;
    lmx::DebugLog debugLog(wallClock);
    debugLog.setProgramFolder(settings.places.logFolder);
    if (general.DebugFile)
        lmx::prepareLogFolder(settings.places);
    lmx::TCommPortDriver driver(std::make_unique<lmx::QtSerialBackend>());
    lmx::applySerialSettingsToDriver(settings.serial, driver);
    lmx::PacketExchange exchange(driver, dialogs);
    lmx::TransmissionEngine engine(exchange, dialogs, receiveLog, wallClock);
    engine.setDebugLog(&debugLog);
    engine.SetDebugFile(general.DebugFile);
    engine.SetCreateDebugFile(general.CreateDebugFile);
    ConsoleAnswerData answerData(file.content.answers);
    if (options.receiveLines() && answerData.size() > 0)
        engine.setAnswerDataSink(&answerData);
    if (options.packetSize)
        engine.SetPacketSize(*options.packetSize);
    lmx::ExchangeRecorder recorder;
    const bool many = !options.netNrs.empty();
    if (options.report || options.junit || options.capture || many || options.repeating())
        engine.setPacketObserver(&recorder);
    // Repeat runs tell a failed answer in the run's line.
    if (!options.receiveLines())
        engine.SetAnswerErrorBoxes(false);
    lmx::CaptureFile capture(recorder);
    if (options.capture) {
        const lmx::WriteResult opened = capture.open(*options.capture, lmx::captureApplication("lmx"),
                                                     lmx::capturePortOf(settings.serial));
        if (!opened.ok) {
            writeLine(stderr, "lmx send: " + opened.message);
            writeLine(stderr, opened.detail);
            return 2;
        }
    }
    lmx::DisplaysRun displays(engine, exchange, recorder);
    lmx::RepeatRun repeat(engine, displays, recorder);
    // Ctrl+C ends the transmission (or the run to many displays, or the repeat runs) as the
    // window's Stop does, after the exchange in progress; a second one does not wait for it.
    int signalCount = 0;
    if (QSocketNotifier* notifier = interrupts.notifier())
        QObject::connect(notifier, &QSocketNotifier::activated, &engine, [&] {
            signalCount += cli::InterruptPipe::drain();
            if (repeat.running()) {
                if (signalCount > 1)
                    repeat.stopNow();
                else
                    repeat.requestStop();
            } else if (signalCount > 1) {
                displays.requestStop();
                engine.requestStop();
            } else if (displays.running()) {
                displays.requestStop();
            } else {
                engine.requestStopAfterExchange();
            }
        });

    if (options.repeating())
        return sendRepeatedly({options, repeat, recorder, capture,
                               {commandLines, extended, netNr, options.netNrs},
                               extended ? static_cast<size_t>(engine.PacketSize())
                                        : lmx::TransmissionEngine::kMaxNormalBlock},
                              signalCount);

    if (cli::InterruptPipe::interrupted()) {
        // Stopped before the first packet: the reports still say so, every block unreached.
        for (const int n : many ? options.netNrs : std::vector<int>{netNr}) {
            recorder.begin(lmx::planTransmission({commandLines, extended, n,
                                                  extended ? static_cast<size_t>(engine.PacketSize())
                                                           : lmx::TransmissionEngine::kMaxNormalBlock}),
                           extended, true);
            recorder.transmissionEnded(lmx::TransmissionEnd::Stopped);
        }
        writeLine(stdout, lmx::timeStampText(wallClock.now()) + " Transmission stopped.");
        return writeReports(options, recorder, recorder.end(), capture) ? 1 : 2;
    }

    if (many) {
        displays.run(commandLines, options.netNrs, extended);
        for (const std::string& line : lmx::displaysSummary(displays.displays()))
            writeLine(stdout, line);
        const bool reported = writeReports(options, recorder, displays.end(), capture);
        return sendExit(displays.end() == lmx::TransmissionEnd::Stopped, signalCount, reported,
                        displays.allOk());
    }

    const lmx::TransmissionEngine::Outcome outcome = extended
        ? engine.TransmitExtended(commandLines, netNr)
        : engine.TransmitNormal(commandLines, netNr);
    const bool reported = writeReports(options, recorder, recorder.end(), capture);
    return sendExit(outcome.end == lmx::TransmissionEngine::End::Stopped, signalCount, reported,
                    outcome.allAnswered());
}
