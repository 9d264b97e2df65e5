// lmx's option parsing on any argument list (the input split at its 0x00 bytes, the first
// byte choosing check, send or sim): a refused list says why; an accepted one holds values in
// their ranges and reads again to the same options when written out in its plain form.
#include "fuzz_support.h"

#include "cli/cli_options.h"
#include "port/echo_filter.h"
#include "sim/sim_arguments.h"
#include "sim/terminal.h"

#include <algorithm>
#include <string>
#include <vector>

using namespace lmx;
using fuzz::check;
using Args = std::vector<std::string>;

namespace {

template <typename Options, typename Parse>
void readsAgain(const Options& o, const Args& plain, Parse parse)
{
    Options again;
    std::string error;
    check(parse(plain, again, error) == OptionsRead::Ok && again == o);
}

void add(Args& args, const char* name, const std::optional<std::string>& value)
{
    if (value)
        args.insert(args.end(), {name, *value});
}

void checkAndSend(const Args& args, bool send)
{
    CheckOptions c;
    SendOptions s;
    std::string error;
    const OptionsRead read =
        send ? parseSendOptions(args, s, error) : parseCheckOptions(args, c, error);
    check((read == OptionsRead::Error) != error.empty());
    if (read != OptionsRead::Ok)
        return;
    Args plain;
    if (!send) {
        add(plain, "--save", c.save);
        if (!c.saveKeys)
            plain.push_back("--no-save-keys");
        plain.push_back(c.file);
        return readsAgain(c, plain, parseCheckOptions);
    }
    check(!s.file.empty() && s.netNr.value_or(0) >= 0 && s.netNr.value_or(0) <= 255);
    check(s.packetSize.value_or(2) >= 2 && s.packetSize.value_or(2) <= 240);
    const auto text = [](std::optional<int> n) {
        return n ? std::optional(std::to_string(*n)) : std::nullopt;
    };
    add(plain, "--port", s.port);
    add(plain, "--baud", s.baud);
    add(plain, "--netnr", text(s.netNr));
    if (!s.netNrs.empty()) {
        check(!s.netNr && std::all_of(s.netNrs.begin(), s.netNrs.end(), [](int n) { return n >= 0 && n <= 255; }));
        std::string list;
        for (int n : s.netNrs)
            list += (list.empty() ? "" : ",") + std::to_string(n);
        add(plain, "--netnr", s.netNrs.size() == 1 ? list + "-" + list : list);
    }
    add(plain, "--packet-size", text(s.packetSize));
    add(plain, "--echo", s.line.echo ? std::optional(std::string(echoModeName(EchoMode(*s.line.echo))))
                                     : std::nullopt);
    add(plain, "--reconnect", text(s.line.reconnect));
    if (s.line.rs485)
        plain.push_back("--rs485=" + std::to_string(s.line.rs485->first) + ","
                        + std::to_string(s.line.rs485->second));
    add(plain, "--report", s.report);
    add(plain, "--junit", s.junit);
    add(plain, "--capture", s.capture);
    add(plain, "--repeat", text(s.repeat));
    if (s.durationMs) // whole seconds and more: its smallest unit is the second
        add(plain, "--duration", std::to_string(*s.durationMs / 1000) + "s");
    add(plain, "--interval", text(s.intervalMs));
    add(plain, "--max-failures", text(s.maxFailures));
    for (auto [on, name] : {std::pair{s.normal, "--normal"}, {s.debugLog, "--debug-log"}, {s.verbose, "--verbose"}})
        if (on)
            plain.push_back(name);
    plain.push_back(s.file);
    readsAgain(s, plain, parseSendOptions);
}

void simOptions(const Args& args)
{
    sim::SimArguments a;
    std::string error;
    if (!sim::parseSimArguments(args, a, error))
        return check(!error.empty());
    const sim::SimOptions& o = a.options;
    check(!o.netNrs.empty() && o.faultEvery >= 1 && sim::baudSupported(a.baud));
    check(std::count(o.netNrs.begin(), o.netNrs.end(), 0) == 0);
    check(!o.normalFraming || sim::faultFitsNormalFraming(o.fault));
    Args plain = {"--fault", sim::faultName(o.fault, o.faultCode), "--fault-every",
                  std::to_string(o.faultEvery), "--slow-delay", std::to_string(o.slowDelayMs),
                  "--split-pause", std::to_string(o.splitPauseMs)};
    for (uint8_t n : o.netNrs)
        plain.insert(plain.end(), {"--netnr", std::to_string(n)});
    for (auto [on, name] :
         {std::pair{o.normalFraming, "--normal"}, {a.show, "--show"}, {a.help, "--help"}})
        if (on)
            plain.push_back(name);
    if (o.lineRate > 0)
        plain.insert(plain.end(), {"--line-rate", std::to_string(o.lineRate)});
    if (o.echo != sim::EchoKind::Off)
        plain.push_back(o.echo == sim::EchoKind::Spoiled ? "--echo=spoil" : "--echo");
    add(plain, "--link", a.link.empty() ? std::nullopt : std::optional(a.link));
    if (!a.port.empty())
        plain.insert(plain.end(), {"--port", a.port, "--baud", std::to_string(a.baud)});
    sim::SimArguments b;
    check(sim::parseSimArguments(plain, b, error) && b.options.netNrs == o.netNrs
          && b.options.normalFraming == o.normalFraming && b.options.fault == o.fault
          && b.options.faultCode == o.faultCode && b.options.faultEvery == o.faultEvery
          && b.options.slowDelayMs == o.slowDelayMs && b.options.splitPauseMs == o.splitPauseMs
          && b.options.lineRate == o.lineRate && b.options.echo == o.echo
          && b.link == a.link && b.port == a.port && b.baud == a.baud && b.show == a.show
          && b.help == a.help);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Args args;
    for (size_t start = 1; start < size;) {
        const auto* end = static_cast<const uint8_t*>(std::find(data + start, data + size, 0));
        args.emplace_back(reinterpret_cast<const char*>(data + start), end - (data + start));
        start = static_cast<size_t>(end - data) + 1;
    }
    if (size > 0 && data[0] % 3 == 2)
        simOptions(args);
    else if (size > 0)
        checkAndSend(args, data[0] % 3 == 1);
    return 0;
}
