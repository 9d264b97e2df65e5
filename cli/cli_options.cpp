#include "cli_options.h"

#include "bus/netnr_list.h"
#include "port/serial_settings_apply.h"
#include "protocol/hex.h"
#include "transmission/transmission_engine.h"

#include <utility>

namespace {

bool readNumber(const std::string& text, long long low, long long high, int& value)
{
    long long n = 0;
    if (!lmx::decInRange(text, low, high, n))
        return false;
    value = static_cast<int>(n);
    return true;
}

OptionsRead fail(std::string& error, std::string problem)
{
    error = std::move(problem);
    return OptionsRead::Error;
}

} // namespace

lmx::RepeatPlan SendOptions::repeatPlan() const
{
    lmx::RepeatPlan plan;
    plan.runs = repeat.value_or(durationMs ? 0 : 1);
    plan.durationMs = durationMs.value_or(0);
    plan.intervalMs = intervalMs.value_or(0);
    plan.maxFailures = maxFailures.value_or(0);
    return plan;
}

OptionsRead parseCheckOptions(const std::vector<std::string>& args, CheckOptions& out,
                              std::string& error)
{
    CheckOptions o;
    bool fileGiven = false; // an empty name is a file name too: the reader says it fails
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h")
            return OptionsRead::Help;
        if (arg == "--save") {
            if (i + 1 >= args.size() || args[i + 1].empty())
                return fail(error, "--save needs a file name");
            if (o.save)
                return fail(error, "--save given twice");
            o.save = args[++i];
        } else if (arg == "--no-save-keys") {
            o.saveKeys = false;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return fail(error, "unknown option " + arg);
        } else if (fileGiven) {
            return fail(error, "only one command file can be checked");
        } else {
            o.file = arg;
            fileGiven = true;
        }
    }
    if (!fileGiven)
        return fail(error, "no command file given");
    out = std::move(o);
    return OptionsRead::Ok;
}

OptionsRead parseSendOptions(const std::vector<std::string>& args, SendOptions& out,
                             std::string& error)
{
    SendOptions o;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h")
            return OptionsRead::Help;
        if (const LineOptionRead line = readLineOption(args, i, o.line, error);
            line != LineOptionRead::NotMine) {
            if (line == LineOptionRead::Error)
                return OptionsRead::Error;
        } else if (arg == "--normal") {
            o.normal = true;
        } else if (arg == "--debug-log") {
            o.debugLog = true;
        } else if (arg == "--verbose") {
            o.verbose = true;
        } else if (arg == "--repeat" || arg == "--duration" || arg == "--interval"
                   || arg == "--max-failures") {
            if (i + 1 >= args.size())
                return fail(error, arg + " needs a value");
            const std::string& v = args[++i];
            int number = 0;
            if (arg == "--repeat") {
                if (!readNumber(v, 0, lmx::RepeatPlan::kMaxRuns, number))
                    return fail(error, "--repeat takes a number of runs 0..1000000000 (0: until "
                                       "stopped or until --duration is over)");
                o.repeat = number;
            } else if (arg == "--duration") {
                o.durationMs = lmx::parseDuration(v);
                if (!o.durationMs)
                    return fail(error, "--duration takes a time of 1s up to 366d such as 90s, "
                                       "30m, 8h or 1h30m, not '" + v + "'");
            } else if (arg == "--interval") {
                if (!readNumber(v, 0, lmx::RepeatPlan::kMaxIntervalMs, number))
                    return fail(error, "--interval takes milliseconds 0..86400000 from the start "
                                       "of one run to the next");
                o.intervalMs = number;
            } else {
                if (!readNumber(v, 1, lmx::RepeatPlan::kMaxRuns, number))
                    return fail(error, "--max-failures takes a number of failed runs "
                                       "1..1000000000");
                o.maxFailures = number;
            }
        } else if (arg == "--report" || arg == "--junit" || arg == "--capture") {
            if (i + 1 >= args.size() || args[i + 1].empty())
                return fail(error, arg + " needs a file name");
            (arg == "--report" ? o.report : arg == "--junit" ? o.junit : o.capture) = args[++i];
        } else if (arg == "--port" || arg == "--baud" || arg == "--netnr"
                   || arg == "--packet-size") {
            if (i + 1 >= args.size())
                return fail(error, arg + " needs a value");
            const std::string& v = args[++i];
            int number = 0;
            if (arg == "--port") {
                o.port = v;
            } else if (arg == "--baud") {
                if (!readNumber(v, lmx::kMinBaudRateEntry, lmx::kMaxBaudRateEntry, number))
                    return fail(error,
                                lmx::serialEntryErrorText(lmx::SerialEntryError::BaudRate));
                o.baud = v;
            } else if (arg == "--netnr" && v.find_first_of(",-") != std::string::npos) {
                const lmx::NetNrList list = lmx::parseNetNrList(v);
                if (!list.ok())
                    return fail(error, "--netnr " + v + ": " + list.error);
                o.netNrs = list.numbers;
                o.netNr.reset();
            } else if (arg == "--netnr") {
                if (!readNumber(v, 0, 255, number))
                    return fail(error, "--netnr takes a network number 0..255");
                o.netNr = number;
                o.netNrs.clear();
            } else {
                if (!readNumber(v, lmx::TransmissionEngine::kMinPacketSize,
                                lmx::TransmissionEngine::kMaxPacketSize, number))
                    return fail(error, "--packet-size takes a size 2..240");
                o.packetSize = number;
            }
        } else if (arg.size() > 1 && arg[0] == '-') {
            return fail(error, "unknown option " + arg);
        } else if (!o.file.empty()) {
            return fail(error, "only one command file can be sent");
        } else {
            o.file = arg;
        }
    }
    if (o.file.empty())
        return fail(error, "no command file given");
    if (!o.repeating() && (o.intervalMs || o.maxFailures))
        return fail(error, std::string(o.intervalMs ? "--interval" : "--max-failures")
                                   + " applies to repeat runs: give --repeat or --duration too");
    if (o.port && lmx::checkSerialEntry(*o.port, "9600") == lmx::SerialEntryError::PortName)
        return fail(error, lmx::serialEntryErrorText(lmx::SerialEntryError::PortName));
    out = std::move(o);
    return OptionsRead::Ok;
}
