// lmx send: load a command file as the window's Load does and transmit it as Transmit does,
// with the settings file the window program reads. Receive-box lines go to stdout as they come,
// message-box texts to stderr (each answered as if OK was pressed; the engine lets each text
// through once per transmission, as the window shows it).
#include "commands.h"

#include "files/command_file_reader.h"
#include "files/debug_log.h"
#include "files/settings.h"
#include "files/settings_file.h"
#include "files/settings_places.h"
#include "files/wall_clock.h"
#include "protocol/hex.h"
#include "serial/comm_port_driver.h"
#include "serial/exchange_recorder.h"
#include "serial/exchange_reports.h"
#include "serial/packet_exchange.h"
#include "serial/program_folders.h"
#include "serial/qt_serial_backend.h"
#include "serial/serial_settings_apply.h"
#include "serial/transmission_engine.h"
#include "serial/transmission_reports.h"
#include "serial/user_dialogs.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

const char kUsage[] = "usage: lmx send [--port NAME] [--baud N] [--netnr N] [--normal]\n"
                      "                [--packet-size N] [--debug-log] [--report FILE]\n"
                      "                [--junit FILE] FILE.lmx\n";

const char kHelp[] =
    "Loads FILE.lmx and transmits its command list as the window's Transmit does, with the\n"
    "window program's settings where no option overrides them: ORVANTA.SET beside the\n"
    "programs, or for an installed program ~/.config/Orvanta/ORVANTA.SET (read over an\n"
    "ORVANTA.SET beside the programs). A port not given with --port is named on stderr with\n"
    "where it comes from before anything is sent.\n"
    "Every receive-box line goes to stdout, every message-box text to stderr.\n"
    "  --port NAME        serial port (\\\\.\\COM1, /dev/ttyUSB0, /dev/pts/7, ...)\n"
    "  --baud N           baud rate\n"
    "  --netnr N          network number for everything outside display blocks (0..255)\n"
    "  --normal           normal framing: one packet per display block, one-character answers\n"
    "  --packet-size N    data bytes per extended packet (2..240, default 240)\n"
    "  --debug-log        write Log/Debug.log where the window program writes it\n"
    "  --report FILE      write every exchange to FILE as JSON Lines, then a summary\n"
    "  --junit FILE       write a JUnit XML report to FILE, one test case per display block\n"
    "Both reports are written when the transmission ends, also when it was aborted or\n"
    "interrupted; a report that cannot be written makes the exit code 2.\n"
    "Ctrl+C ends the transmission after the exchange in progress with the line\n"
    "\"hh:nn:ss:zzz Transmission stopped.\"; a second Ctrl+C ends it at once.\n"
    "Exit code: 0 when every packet was answered OK (a packet to network number 0 needs no\n"
    "answer), 1 when an answer failed, a block was not sent, the transmission was aborted or\n"
    "interrupted (Ctrl+C), 2 on usage or file errors.\n";

struct SendOptions {
    std::string file;
    std::optional<std::string> port;
    std::optional<std::string> baud;
    std::optional<int> netNr;
    std::optional<int> packetSize;
    bool normal = false;
    bool debugLog = false;
    std::optional<std::string> report;
    std::optional<std::string> junit;
};

int usageError(const std::string& problem)
{
    std::fprintf(stderr, "lmx send: %s\n", problem.c_str());
    std::fputs(kUsage, stderr);
    return 2;
}

// Returns -1 when the options are good, else the exit code (0 after --help).
int parseOptions(int argc, char** argv, SendOptions& o)
{
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            std::fputs(kHelp, stdout);
            return 0;
        }
        if (arg == "--normal") {
            o.normal = true;
        } else if (arg == "--debug-log") {
            o.debugLog = true;
        } else if (arg == "--report" || arg == "--junit") {
            const char* v = value();
            if (!v || !*v)
                return usageError(arg + " needs a file name");
            (arg == "--report" ? o.report : o.junit) = v;
        } else if (arg == "--port" || arg == "--baud" || arg == "--netnr"
                   || arg == "--packet-size") {
            const char* v = value();
            if (!v)
                return usageError(arg + " needs a value");
            long long number = 0;
            if (arg == "--port") {
                o.port = v;
            } else if (arg == "--baud") {
                if (!lmx::decInRange(v, lmx::kMinBaudRateEntry, lmx::kMaxBaudRateEntry, number))
                    return usageError(lmx::serialEntryErrorText(lmx::SerialEntryError::BaudRate));
                o.baud = v;
            } else if (arg == "--netnr") {
                if (!lmx::decInRange(v, 0, 255, number))
                    return usageError("--netnr takes a network number 0..255");
                o.netNr = static_cast<int>(number);
            } else {
                if (!lmx::decInRange(v, lmx::TransmissionEngine::kMinPacketSize,
                                     lmx::TransmissionEngine::kMaxPacketSize, number))
                    return usageError("--packet-size takes a size 2..240");
                o.packetSize = static_cast<int>(number);
            }
        } else if (arg.size() > 1 && arg[0] == '-') {
            return usageError("unknown option " + arg);
        } else if (!o.file.empty()) {
            return usageError("only one command file can be sent");
        } else {
            o.file = arg;
        }
    }
    if (o.file.empty())
        return usageError("no command file given");
    if (o.port && lmx::checkSerialEntry(*o.port, "9600") == lmx::SerialEntryError::PortName)
        return usageError(lmx::serialEntryErrorText(lmx::SerialEntryError::PortName));
    return -1;
}

void writeLine(FILE* out, const std::string& text)
{
    std::fwrite(text.data(), 1, text.size(), out);
    std::fputc('\n', out);
    std::fflush(out);
}

class ConsoleReceiveLog : public lmx::ReceiveLog {
public:
    void clear() override {}
    void addLine(const std::string& line) override { writeLine(stdout, line); }
};

class ConsoleDialogs : public UserDialogs {
public:
    void message(const QString& text, const QString&, Icon) override
    {
        const QByteArray bytes = text.toLatin1();
        writeLine(stderr, std::string(bytes.constData(), static_cast<size_t>(bytes.size())));
    }
    void detailedMessage(const QString& text, const QString& detail, const QString& title,
                         Icon icon) override
    {
        message(text, title, icon);
        if (!detail.isEmpty())
            message(detail, title, icon);
    }
    // lmx send asks no questions; these answer the safe way.
    Answer askYesNo(const QString&, const QString&, Icon) override { return Answer::No; }
    Answer askYesNoCancel(const QString&, const QString&, Icon) override { return Answer::Cancel; }
    QString openFileName(const FileRequest&) override { return {}; }
    QString saveFileName(const FileRequest&) override { return {}; }
    void beep() override {}
};

// Keeps of each line read only what is sent: its command line.
class SentLines : public lmx::CommandLineSink {
public:
    std::vector<std::string> lines;

    void expect(size_t count) override { lines.reserve(count); }
    void add(lmx::CommandListLine&& line) override { lines.push_back(std::move(line.commandLine)); }
};

// SIGINT and SIGTERM reach the event loop through a pipe: the handler only writes a byte.
class InterruptPipe {
public:
    InterruptPipe()
    {
        if (pipe(s_fds) != 0)
            return;
        for (int fd : s_fds)
            fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
        struct sigaction action {};
        action.sa_handler = &InterruptPipe::onSignal;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, nullptr);
        sigaction(SIGTERM, &action, nullptr);
        m_notifier = std::make_unique<QSocketNotifier>(s_fds[0], QSocketNotifier::Read);
    }
    ~InterruptPipe()
    {
        m_notifier.reset();
        std::signal(SIGINT, SIG_DFL);
        std::signal(SIGTERM, SIG_DFL);
        for (int& fd : s_fds) {
            if (fd >= 0)
                ::close(fd);
            fd = -1;
        }
    }
    InterruptPipe(const InterruptPipe&) = delete;
    InterruptPipe& operator=(const InterruptPipe&) = delete;

    QSocketNotifier* notifier() const { return m_notifier.get(); }
    static bool interrupted() { return s_interrupted != 0; }
    // The signals that came since the last call.
    static int drain()
    {
        char buffer[16];
        int count = 0;
        ssize_t n = 0;
        while (s_fds[0] >= 0 && (n = ::read(s_fds[0], buffer, sizeof buffer)) > 0)
            count += static_cast<int>(n);
        return count;
    }

private:
    static void onSignal(int)
    {
        s_interrupted = 1;
        const char byte = 1;
        if (s_fds[1] >= 0) {
            const ssize_t ignored = ::write(s_fds[1], &byte, 1);
            (void)ignored;
        }
    }

    static inline int s_fds[2] = {-1, -1};
    static inline volatile std::sig_atomic_t s_interrupted = 0;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

// The reports of the transmission that just ended; false when one could not be written.
bool writeReports(const SendOptions& options, const lmx::ExchangeRecorder& recorder)
{
    const lmx::ExchangeReport report{recorder.records(), recorder.plan(), recorder.end()};
    bool written = true;
    auto write = [&](const std::optional<std::string>& file, const std::string& text) {
        if (!file)
            return;
        const lmx::WriteResult result = lmx::writeReportFile(*file, text);
        if (!result.ok) {
            writeLine(stderr, "lmx send: " + result.message);
            if (!result.detail.empty())
                writeLine(stderr, result.detail);
            written = false;
        }
    };
    write(options.report, lmx::jsonLinesReport(report));
    if (options.junit)
        write(options.junit, lmx::junitReport(report, std::filesystem::path(options.file)
                                                             .filename()
                                                             .string()));
    return written;
}

// The window program's folder, whose settings lmx takes: lmx lies beside the window program
// once installed, while a build tree makes each program in a folder of its own.
QString windowProgramFolder()
{
    const QString own = QCoreApplication::applicationDirPath();
#ifdef LMX_BUILD_FOLDER
    if (QFileInfo(own).canonicalFilePath() == QFileInfo(QStringLiteral(LMX_BUILD_FOLDER)).canonicalFilePath())
        return QStringLiteral(LMX_WINDOW_BUILD_FOLDER);
#endif
    return own;
}

// Which port is used when --port was not given, and where that came from.
std::string portNotice(const std::string& port, const std::string& fromFile,
                       const std::string& ownFile)
{
    const std::string name = lmx::trimmedBlanks(port);
    const std::string device = lmx::devicePathOf(name);
    std::string text = "lmx send: port " + name;
    if (device != name)
        text += " (" + device + ")";
    if (!fromFile.empty())
        return text + " from " + fromFile;
    return text + ", the default: no --port and no " + ownFile;
}

} // namespace

int runSend(int argc, char** argv)
{
    SendOptions options;
    if (const int code = parseOptions(argc, argv, options); code >= 0)
        return code;

    static int appArgc = 1;
    static char appName[] = "lmx";
    static char* appArgv[] = {appName, nullptr};
    QCoreApplication app(appArgc, appArgv);
    const lmx::SettingsPlaces places = lmx::programSettingsPlaces(windowProgramFolder());

    lmx::TSerialSettings serial;
    lmx::TDisplaySettings display;
    lmx::TGeneralSettings general;
    // Unlike the window, lmx keeps quiet about a missing settings file: the defaults then
    // apply, and the port says so below.
    std::error_code ec;
    const std::string ownFile = lmx::settingsFilePath(places.settingsFolder);
    std::string portFrom;
    if (std::filesystem::exists(ownFile, ec)
        || (!places.besideProgram() && std::filesystem::exists(places.siteDefaultsFile, ec))) {
        // lmx send never writes the settings file, so nothing needs keeping.
        const lmx::SettingsLoad load = lmx::loadSettings(places, serial, display, general, false);
        if (!load.warning.empty())
            writeLine(stderr, load.warning + (load.detail.empty() ? "" : "\n" + load.detail));
        if (!load.files.empty())
            portFrom = load.files.back();
    }
    if (options.port)
        serial.PortName = *options.port;
    else
        writeLine(stderr, portNotice(serial.PortName, portFrom, ownFile));
    if (options.baud)
        serial.Baudrate = *options.baud;
    if (options.debugLog)
        general.DebugFile = true;
    const int netNr = options.netNr.value_or(display.NetNr);
    const bool extended = general.ExtendedLmx && !options.normal;

    lmx::KeySet keys = lmx::makeKeySet();
    SentLines sent;
    const lmx::CommandFileReadResult file = lmx::readCommandFile(options.file, keys, sent);
    if (!file.ok()) {
        writeLine(stderr, file.message);
        return 2;
    }
    const std::vector<std::string>& commandLines = sent.lines;

    InterruptPipe interrupts;
    ConsoleDialogs dialogs;
    ConsoleReceiveLog receiveLog;
    lmx::SystemWallClock wallClock;
    lmx::DebugLog debugLog(wallClock);
    debugLog.setProgramFolder(places.logFolder);
    if (general.DebugFile)
        lmx::prepareLogFolder(places);
    lmx::TCommPortDriver driver(std::make_unique<lmx::QtSerialBackend>());
    lmx::applySerialSettingsToDriver(serial, driver);
    lmx::PacketExchange exchange(driver, dialogs);
    lmx::TransmissionEngine engine(exchange, dialogs, receiveLog, wallClock);
    engine.setDebugLog(&debugLog);
    engine.SetDebugFile(general.DebugFile);
    engine.SetCreateDebugFile(general.CreateDebugFile);
    if (options.packetSize)
        engine.SetPacketSize(*options.packetSize);
    lmx::ExchangeRecorder recorder;
    if (options.report || options.junit)
        engine.setPacketObserver(&recorder);
    // Ctrl+C ends the transmission as the window's Stop does, after the exchange in progress;
    // a second one does not wait for it.
    int signalCount = 0;
    if (QSocketNotifier* notifier = interrupts.notifier())
        QObject::connect(notifier, &QSocketNotifier::activated, &engine, [&engine, &signalCount] {
            signalCount += InterruptPipe::drain();
            if (signalCount > 1)
                engine.requestStop();
            else
                engine.requestStopAfterExchange();
        });

    if (InterruptPipe::interrupted()) {
        // Stopped before the first packet: the reports still say so, every block unreached.
        recorder.begin(lmx::planTransmission({commandLines, extended, netNr,
                                              extended ? static_cast<size_t>(engine.PacketSize())
                                                       : lmx::TransmissionEngine::kMaxNormalBlock}),
                       extended);
        recorder.transmissionEnded(lmx::TransmissionEnd::Stopped);
        writeLine(stdout, lmx::timeStampText(wallClock.now()) + " Transmission stopped.");
        return writeReports(options, recorder) ? 1 : 2;
    }

    const lmx::TransmissionEngine::Outcome outcome = extended
        ? engine.TransmitExtended(commandLines, netNr)
        : engine.TransmitNormal(commandLines, netNr);
    const bool reported = writeReports(options, recorder);
    if (outcome.end == lmx::TransmissionEngine::End::Stopped) {
        if (signalCount > 1) // ended at once, without the engine's line
            std::fputs("lmx send: interrupted\n", stderr);
        return reported ? 1 : 2;
    }
    if (!reported)
        return 2;
    return outcome.allAnswered() ? 0 : 1;
}
