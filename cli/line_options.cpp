#include "line_options.h"

#include "port/echo_filter.h"
#include "protocol/hex.h"

namespace {

bool readDelay(const std::string& text, int& value)
{
    long long n = 0;
    if (!lmx::decInRange(text, 0, lmx::TSerialSettings::kMaxRs485Delay, n))
        return false;
    value = static_cast<int>(n);
    return true;
}

} // namespace

const char kLineOptionsHelp[] =
    "  --echo MODE        what becomes of the echo a 2-wire RS-485 line brings back of every\n"
    "                     packet: off (no echo comes), discard (dropped in front of the\n"
    "                     answer), verify (dropped and compared: a difference is a bus\n"
    "                     collision)\n"
    "  --rs485[=BEFORE,AFTER]\n"
    "                     the system switches the transceiver's direction (Linux), with\n"
    "                     delays in ms (0..100) before and after sending; a port that cannot\n"
    "                     gives one warning and the transmission goes on without it\n"
    "  --reconnect SECONDS\n"
    "                     a port lost during the transmission is tried again every 250 ms\n"
    "                     for up to SECONDS (1..3600; 0: not at all); once back, the\n"
    "                     display block in progress is sent again from its first packet\n";

void LineOptions::applyTo(lmx::TSerialSettings& record) const
{
    if (echo)
        record.Echo = *echo;
    if (rs485) {
        record.RS485 = true;
        record.RS485DelayBefore = rs485->first;
        record.RS485DelayAfter = rs485->second;
    }
    if (reconnect)
        record.Reconnect = *reconnect;
}

LineOptionRead readLineOption(const std::vector<std::string>& args, size_t& i, LineOptions& out,
                              std::string& error)
{
    const std::string& arg = args[i];
    if (arg == "--rs485" || arg.rfind("--rs485=", 0) == 0) {
        std::pair<int, int> delays{0, 0};
        if (arg.size() > 7) {
            const std::string value = arg.substr(8);
            const size_t comma = value.find(',');
            if (comma == std::string::npos || !readDelay(value.substr(0, comma), delays.first)
                || !readDelay(value.substr(comma + 1), delays.second)) {
                error = "--rs485 takes delays BEFORE,AFTER in ms (0..100 each), not '" + value + "'";
                return LineOptionRead::Error;
            }
        }
        out.rs485 = delays;
        return LineOptionRead::Read;
    }
    if (arg != "--echo" && arg != "--reconnect")
        return LineOptionRead::NotMine;
    if (i + 1 >= args.size()) {
        error = arg + " needs a value";
        return LineOptionRead::Error;
    }
    const std::string& value = args[++i];
    if (arg == "--echo") {
        lmx::EchoMode mode = lmx::EchoMode::Off;
        if (!lmx::parseEchoMode(value, mode)) {
            error = "--echo takes off, discard or verify, not '" + value + "'";
            return LineOptionRead::Error;
        }
        out.echo = static_cast<int>(mode);
        return LineOptionRead::Read;
    }
    long long seconds = 0;
    if (!lmx::decInRange(value, 0, lmx::TSerialSettings::kMaxReconnect, seconds)) {
        error = "--reconnect takes seconds 0..3600 (0: not at all), not '" + value + "'";
        return LineOptionRead::Error;
    }
    out.reconnect = static_cast<int>(seconds);
    return LineOptionRead::Read;
}
