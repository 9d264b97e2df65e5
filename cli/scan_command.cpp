// lmx scan: which displays on the bus answer. Every network number of the range gets ESC
// Inquiry1 in one packet; one line per display that answered, then how many did.
#include "cli_support.h"
#include "commands.h"

#include "bus/bus_scanner.h"
#include "port/comm_port_driver.h"
#include "port/qt_serial_backend.h"
#include "port/serial_settings_apply.h"
#include "protocol/hex.h"
#include "transmission/packet_exchange.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <cstdio>
#include <optional>
#include <string>

namespace {

using cli::writeLine;

const char kUsage[] = "usage: lmx scan [--port NAME] [--baud N] [--from N] [--to M]\n"
                      "                [--timeout MS] [--normal]\n";

const char kHelp[] =
    "Sends every network number from N to M a probe that changes nothing the display shows\n"
    "(ESC Inquiry1 in one packet) and waits MS for its answer. One line per display that\n"
    "answered, as it answers: its network number, the result in words, the round trip in\n"
    "ms (from the last byte sent to the answer's end byte) and the data the answer carried\n"
    "in hex; then how many displays answered. A number counts as a display only when a\n"
    "well-formed answer came from it; anything else that came (garbage, a torn, overlong or\n"
    "late answer) is listed as \"noise:\" and counted apart. Port and baud rate are the\n"
    "window program's settings where no option overrides them (see lmx send --help).\n"
    "  --port NAME        serial port (\\\\.\\COM1, /dev/ttyUSB0, tcp://HOST:PORT, ...)\n"
    "  --baud N           baud rate\n"
    "  --from N           first network number (1..255, default 1)\n"
    "  --to M             last network number (1..255, default 254)\n"
    "  --timeout MS       answer time-out per number (10..10000 ms, default 200): 1..254\n"
    "                     take under a minute; a display slower than this is missed, or\n"
    "                     its late answer shows under the next number as a wrong netnr\n"
    "  --normal           normal framing: the probe is a display block of its own and the\n"
    "                     answer one result character, so it carries no data\n"
    "Ctrl+C ends the scan after the probe under way; a second Ctrl+C ends it at once.\n"
    "Exit code: 0 when at least one display answered, 1 when none did (noise is no\n"
    "display), the scan was interrupted or the port failed, 2 on usage errors or a\n"
    "settings file that cannot be read while no --port is given.\n";

struct ScanOptions {
    std::optional<std::string> port;
    std::optional<std::string> baud;
    lmx::BusScanner::Setup setup;
    bool normal = false;
};

int usageError(const std::string& problem)
{
    std::fprintf(stderr, "lmx scan: %s\n", problem.c_str());
    std::fputs(kUsage, stderr);
    return 2;
}

// Returns -1 when the options are good, else the exit code (0 after --help).
int parseOptions(int argc, char** argv, ScanOptions& o)
{
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            std::fputs(kHelp, stdout);
            return 0;
        }
        if (arg == "--normal") {
            o.normal = true;
            continue;
        }
        int* number = arg == "--from"      ? &o.setup.from
                    : arg == "--to"        ? &o.setup.to
                    : arg == "--timeout"   ? &o.setup.timeoutMs
                                           : nullptr;
        if (!number && arg != "--port" && arg != "--baud")
            return usageError(arg.size() > 1 && arg[0] == '-' ? "unknown option " + arg
                                                              : "unexpected argument " + arg);
        if (i + 1 >= argc)
            return usageError(arg + " needs a value");
        const char* v = argv[++i];
        if (arg == "--port") {
            if (lmx::checkSerialEntry(v, "9600") == lmx::SerialEntryError::PortName)
                return usageError(lmx::serialEntryErrorText(lmx::SerialEntryError::PortName));
            o.port = v;
        } else if (arg == "--baud") {
            long long baud = 0;
            if (!lmx::decInRange(v, lmx::kMinBaudRateEntry, lmx::kMaxBaudRateEntry, baud))
                return usageError(lmx::serialEntryErrorText(lmx::SerialEntryError::BaudRate));
            o.baud = v;
        } else {
            long long value = 0;
            if (!lmx::decInRange(v, 0, 999999, value))
                return usageError(arg + " takes a decimal number");
            *number = static_cast<int>(value);
        }
    }
    if (const std::string error = lmx::BusScanner::setupError(o.setup); !error.empty())
        return usageError(error);
    return -1;
}

} // namespace

int runScan(int argc, char** argv)
{
    ScanOptions options;
    if (const int code = parseOptions(argc, argv, options); code >= 0)
        return code;

    static int appArgc = 1;
    static char appName[] = "lmx";
    static char* appArgv[] = {appName, nullptr};
    QCoreApplication app(appArgc, appArgv);
    cli::InterruptPipe interrupts;
    std::optional<cli::Settings> settings = cli::loadSettings("scan", options.port, options.baud);
    if (!settings)
        return 2;
    options.setup.extended = settings->general.ExtendedLmx && !options.normal;

    cli::ConsoleDialogs dialogs;
    lmx::TCommPortDriver driver(std::make_unique<lmx::QtSerialBackend>());
    lmx::applySerialSettingsToDriver(settings->serial, driver);
    lmx::PacketExchange exchange(driver, dialogs);
    lmx::BusScanner scanner(exchange);
    QEventLoop loop;
    QObject::connect(&scanner, &lmx::BusScanner::answered, [&](int index) {
        writeLine(stdout, lmx::scanLine(scanner.answers()[static_cast<size_t>(index)]));
    });
    QObject::connect(&scanner, &lmx::BusScanner::finished, &loop, &QEventLoop::quit);
    // Ctrl+C ends the scan after the probe under way; a second one at once.
    int signalCount = 0;
    if (QSocketNotifier* notifier = interrupts.notifier())
        QObject::connect(notifier, &QSocketNotifier::activated, &scanner, [&] {
            const bool first = signalCount == 0;
            signalCount += cli::InterruptPipe::drain();
            if (first && signalCount == 1 && scanner.running())
                std::fputs("lmx scan: stopping after the probe under way; Ctrl+C again stops at once\n", stderr);
            scanner.requestStop(signalCount > 1);
        });
    if (!cli::InterruptPipe::interrupted() && scanner.start(options.setup) && scanner.running())
        loop.exec();

    const int answered = scanner.displaysAnswered();
    writeLine(stdout, lmx::scanCountLine(answered));
    if (const int noisy = static_cast<int>(scanner.answers().size()) - answered; noisy > 0)
        writeLine(stdout, lmx::scanNoiseLine(noisy));
    if (cli::InterruptPipe::interrupted()) {
        std::fputs("lmx scan: interrupted\n", stderr);
        return 1;
    }
    if (scanner.end() == lmx::BusScanner::End::PortFailed)
        return 1;
    return answered > 0 ? 0 : 1;
}
