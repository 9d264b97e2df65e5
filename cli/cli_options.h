#pragma once
// The command lines of lmx check and lmx send, read without printing anything: the caller
// prints the usage after an error, or the help.

#include "line_options.h"
#include "transmission/repeat_schedule.h"

#include <optional>
#include <string>
#include <vector>

enum class OptionsRead { Ok, Help, Error };

struct CheckOptions {
    std::string file;
    std::optional<std::string> save;
    bool saveKeys = true;

    bool operator==(const CheckOptions& o) const
    {
        return file == o.file && save == o.save && saveKeys == o.saveKeys;
    }
};

struct SendOptions {
    std::string file;
    std::optional<std::string> port;
    std::optional<std::string> baud; // decimal digits, kMinBaudRateEntry..kMaxBaudRateEntry
    std::optional<int> netNr;        // 0..255
    std::vector<int> netNrs;         // --netnr LIST (1-12,18): the displays in turn
    std::optional<int> packetSize;   // the engine's packet size range
    bool normal = false;
    bool debugLog = false;
    std::optional<std::string> report; // JSON Lines report file
    std::optional<std::string> junit;  // JUnit XML report file
    std::optional<std::string> capture; // pcapng capture file, written as the exchanges go
    LineOptions line;                  // echo, RS-485 and reconnect over the settings'
    // Repeat runs: --repeat N (0: until stopped or until the duration is over), --duration T,
    // --interval MS, --max-failures K; --verbose prints the receive-box lines of every run.
    std::optional<int> repeat;
    std::optional<int64_t> durationMs;
    std::optional<int> intervalMs;
    std::optional<int> maxFailures;
    bool verbose = false;

    // --repeat or --duration was given: the list goes as runs, each with a line, and the
    // statistics end the output.
    bool repeating() const { return repeat || durationMs; }
    lmx::RepeatPlan repeatPlan() const;
    // The receive-box lines go to stdout: asked for, or a single run as ever.
    bool receiveLines() const { return verbose || !repeating() || (repeat == 1 && !durationMs); }

    bool operator==(const SendOptions& o) const
    {
        return file == o.file && port == o.port && baud == o.baud && netNr == o.netNr
            && netNrs == o.netNrs
            && packetSize == o.packetSize && normal == o.normal && debugLog == o.debugLog
            && report == o.report && junit == o.junit && capture == o.capture && line == o.line
            && repeat == o.repeat && durationMs == o.durationMs && intervalMs == o.intervalMs
            && maxFailures == o.maxFailures && verbose == o.verbose;
    }
};

// The arguments after the command's name. On Error, error says what is wrong.
OptionsRead parseCheckOptions(const std::vector<std::string>& args, CheckOptions& out,
                              std::string& error);
OptionsRead parseSendOptions(const std::vector<std::string>& args, SendOptions& out,
                             std::string& error);
