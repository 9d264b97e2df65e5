#pragma once
// The line options of lmx send, each over the serial settings' own: --echo off|discard|verify,
// --rs485[=BEFORE,AFTER] (delays in ms) and --reconnect SECONDS.

#include "files/settings.h"

#include <optional>
#include <string>
#include <vector>

struct LineOptions {
    std::optional<int> echo; // as the settings record keeps it: 0 off, 1 discard, 2 verify
    std::optional<std::pair<int, int>> rs485; // on, with the delays before and after sending
    std::optional<int> reconnect;             // seconds

    // Puts the options given into the record.
    void applyTo(lmx::TSerialSettings& record) const;
    bool operator==(const LineOptions& o) const
    {
        return echo == o.echo && rs485 == o.rs485 && reconnect == o.reconnect;
    }
};

enum class LineOptionRead { NotMine, Read, Error };

// Reads args[i] when it is a line option, with its value (i then stands on the last argument
// read). On Error, error says what is wrong.
LineOptionRead readLineOption(const std::vector<std::string>& args, size_t& i, LineOptions& out,
                              std::string& error);

// The lines of the help text that describe them.
extern const char kLineOptionsHelp[];
