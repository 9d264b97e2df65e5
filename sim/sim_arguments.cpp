#include "sim_arguments.h"

#include "answer_writer.h"
#include "terminal.h"

#include "protocol/hex.h"

#include <algorithm>

namespace lmx::sim {

namespace {

// [HOST:]PORT; an IPv6 address in brackets.
bool readListenAddress(const std::string& text, SimArguments& a)
{
    const size_t colon = text.rfind(':');
    std::string host = colon == std::string::npos ? a.listenHost : text.substr(0, colon);
    // Brackets enclose an IPv6 address, which has colons of its own; anything else with a
    // colon or a bracket left in it ("[::1" without its port) is no address.
    const bool bracketed = host.size() >= 2 && host.front() == '[' && host.back() == ']';
    if (bracketed)
        host = host.substr(1, host.size() - 2);
    if (host.find_first_of(bracketed ? "[]" : "[]:") != std::string::npos)
        return false;
    long long port = 0;
    if (host.empty()
        || !decInRange(text.substr(colon == std::string::npos ? 0 : colon + 1), 0, 65535, port))
        return false;
    a.listenHost = host;
    a.listenPort = static_cast<uint16_t>(port);
    a.listen = true;
    return true;
}

} // namespace

bool parseSimArguments(const std::vector<std::string>& args, SimArguments& out,
                       std::string& error)
{
    SimArguments a;
    bool netNrGiven = false;
    bool baudGiven = false;
    bool everyGiven = false;
    bool seedGiven = false;
    for (size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::string value;
        bool hasValue = false;
        const size_t eq = name.find('=');
        if (name.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
            hasValue = true;
        }
        auto needValue = [&]() {
            if (hasValue)
                return true;
            if (i + 1 >= args.size()) {
                error = name + " needs a value";
                return false;
            }
            value = args[++i];
            return true;
        };
        long long n = 0;
        if (args[i] == "--") {
            a.command.assign(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
            if (a.command.empty()) {
                error = "-- needs a command to run";
                return false;
            }
            break;
        }
        if (name == "--help" || name == "-h") {
            a.help = true;
        } else if (name == "--normal") {
            a.options.normalFraming = true;
        } else if (name == "--show") {
            a.show = true;
        } else if (name == "--netnr") {
            if (!needValue())
                return false;
            if (!decInRange(value, 1, 255, n)) {
                error = "--netnr takes a network number 1..255 (0 is the broadcast), not '"
                        + value + "'";
                return false;
            }
            if (!netNrGiven)
                a.options.netNrs.clear();
            netNrGiven = true;
            const auto nr = static_cast<uint8_t>(n);
            if (std::find(a.options.netNrs.begin(), a.options.netNrs.end(), nr)
                == a.options.netNrs.end())
                a.options.netNrs.push_back(nr);
        } else if (name == "--fault") {
            if (!needValue())
                return false;
            if (!parseFault(value, a.options.fault, a.options.faultCode)) {
                error = "unknown fault '" + value + "' (see lmx sim --help)";
                return false;
            }
        } else if (name == "--fault-every") {
            if (!needValue())
                return false;
            if (!decInRange(value, 1, 1000000, n)) {
                error = "--fault-every takes a count 1..1000000, not '" + value + "'";
                return false;
            }
            a.options.faultEvery = static_cast<unsigned>(n);
            everyGiven = true;
        } else if (name == "--fault-rate") {
            if (!needValue())
                return false;
            double rate = 0;
            if (!parseFaultRate(value, rate)) {
                error = "--fault-rate takes a probability 0..1 such as 0.05, not '" + value + "'";
                return false;
            }
            a.options.faultRate = rate;
        } else if (name == "--seed") {
            if (!needValue())
                return false;
            if (!decInRange(value, 0, 999999999, n)) {
                error = "--seed takes a number 0..999999999, not '" + value + "'";
                return false;
            }
            a.options.faultSeed = static_cast<uint64_t>(n);
            seedGiven = true;
        } else if (name == "--slow-delay" || name == "--split-pause") {
            if (!needValue())
                return false;
            if (!decInRange(value, 0, 60000, n)) {
                error = name + " takes milliseconds 0..60000, not '" + value + "'";
                return false;
            }
            (name == "--slow-delay" ? a.options.slowDelayMs : a.options.splitPauseMs) =
                static_cast<unsigned>(n);
        } else if (name == "--echo") {
            if (!hasValue || value == "faithful") {
                a.options.echo = EchoKind::Faithful;
            } else if (value == "spoil") {
                a.options.echo = EchoKind::Spoiled;
            } else {
                error = "--echo takes no value, or --echo=spoil, not '" + value + "'";
                return false;
            }
        } else if (name == "--line-rate") {
            if (!needValue())
                return false;
            if (!decInRange(value, 50, 4000000, n)) {
                error = "--line-rate takes bits per second 50..4000000, not '" + value + "'";
                return false;
            }
            a.options.lineRate = static_cast<unsigned>(n);
        } else if (name == "--link") {
            if (!needValue())
                return false;
            if (value.empty()) {
                error = "--link needs a path";
                return false;
            }
            a.link = value;
        } else if (name == "--port") {
            if (!needValue())
                return false;
            if (value.empty()) {
                error = "--port needs a port name";
                return false;
            }
            a.port = value;
        } else if (name == "--listen") {
            if (!needValue())
                return false;
            if (!readListenAddress(value, a)) {
                error = "--listen takes [HOST:]PORT, PORT 0..65535, not '" + value + "'";
                return false;
            }
        } else if (name == "--baud") {
            if (!needValue())
                return false;
            if (!decInRange(value, 1, 10000000, n) || !baudSupported(static_cast<unsigned>(n))) {
                error = "--baud: unsupported baud rate '" + value + "'";
                return false;
            }
            a.baud = static_cast<unsigned>(n);
            baudGiven = true;
        } else {
            error = "unknown argument '" + args[i] + "'";
            return false;
        }
    }
    if (a.options.faultRate && everyGiven) {
        error = "--fault-rate and --fault-every each choose the answers to spoil; give one of them";
        return false;
    }
    if (a.options.faultRate && a.options.fault == FaultKind::None) {
        error = "--fault-rate needs the fault to put in: give --fault KIND too";
        return false;
    }
    if (seedGiven && !a.options.faultRate) {
        error = "--seed applies to --fault-rate";
        return false;
    }
    if (baudGiven && a.port.empty()) {
        error = "--baud applies to --port only";
        return false;
    }
    if (a.listen && !a.port.empty()) {
        error = "--listen and --port name two different lines; give one of them";
        return false;
    }
    if (a.listen && !a.link.empty()) {
        error = "--link applies to a terminal, not to --listen";
        return false;
    }
    if (a.options.normalFraming && !faultFitsNormalFraming(a.options.fault)) {
        error = "--fault " + faultName(a.options.fault)
                + " spoils an answer packet; the normal framing answers with one character";
        return false;
    }
    if (a.options.normalFraming && a.options.fault == FaultKind::Code
        && normalResultChar(a.options.faultCode) == '\0') {
        error = "--fault " + faultName(a.options.fault, a.options.faultCode)
                + ": the normal framing has no result character for this code";
        return false;
    }
    out = std::move(a);
    return true;
}

std::string simHelpText()
{
    return R"(usage: lmx sim [options] [-- COMMAND [ARGS...]]

A virtual Lmx display. It opens a new pseudo-terminal, prints its path on the first line of
stdout and answers every packet a client sends there, as a display on the line would. It ends
on SIGINT or SIGTERM, or when COMMAND ends.

With -- COMMAND the display runs COMMAND once it is ready (the terminal and the --link exist
and the path is printed), so nothing has to wait for it:
  lmx sim --link /tmp/lmx0 --show -- lmx send --port /tmp/lmx0 first-text.lmx

Options:
  --netnr N          answer as the display with network number N (1..255); repeat it for
                     several displays on one bus. Default: 1. Packets to other numbers are
                     read and ignored; network number 0 is a broadcast that every display
                     executes and none answers.
  --normal           the normal framing: 01, network number, data, 04; the answer is one
                     result character: '0' for 00, '1' for 01, '2'..'9' and 'A' for the
                     codes 10..18 below. Inquiries are executed but bring no data back.
                     Default: the extended framing with packet numbers and CRC.
  --link PATH        also make PATH a symbolic link to the terminal (replaced if it is a
                     link already, removed at exit).
  --port NAME        serve the existing serial port NAME (a null-modem pair, a USB adapter)
                     instead of a new pseudo-terminal; its name is the first line then.
  --baud N           the rate of --port: 110 .. 921600 (default 19200), 8N1, no flow
                     control.
  --listen [HOST:]PORT
                     serve a TCP port instead, as a serial device server offers its
                     line: HOST is the address to listen on (default 127.0.0.1, this
                     computer only), PORT 0 takes a free port. The first line is then
                     tcp://ADDRESS:PORT, the port name a client opens. One client at a
                     time: one that connects while another is served is closed at once.
  --fault KIND       spoil the answers, to try a client's answer checks:
                       no-answer    stay silent
                       bad-crc      the CRC characters are wrong
                       wrong-netnr  the answer comes from network number N+1
                       wrong-seq    packet number bits 0..5 are one too high
                       bad-length   data length field 03 (outside 4..200), three data
                                    characters
                       truncated    the answer stops inside its CRC field, no end byte
                       garbage      the start byte, "?GARBAGE?", the end byte: no
                                    acknowledge byte, an invalid answer packet; with
                                    --normal the letters "xyz" instead of a result
                       split        a valid answer in two writes with a pause
                       slow         a valid answer after a delay past the client's
                                    1000 ms answer time-out
                       code=NN      a valid answer with result code NN (hex), no data
                       cycle        each spoilt answer the next kind of this list, in
                                    this order; its code=NN turns go round 01, 10..18
                     With --normal only no-answer, garbage, slow and code=NN apply,
                     NN one of 00, 01, 10..18; cycle then goes round those four.
  --echo             send every byte received straight back before answering, as a 2-wire
                     RS-485 adapter hears its own transmission; --echo=spoil changes the
                     byte after each start byte 01 in the echo, as a collision would.
  --line-rate BAUD   read and answer at the pace of a line at BAUD bits per second, 10 bits
                     a byte: a packet reaches the display, and an answer the client, only
                     when its last byte would have crossed such a line. Default: at once.
  --fault-every N    spoil every Nth answer only (default 1: every answer).
  --fault-rate P     spoil each answer with probability P (0..1, such as 0.05) instead,
                     at random but the same every time for one --seed.
  --seed S           the seed of --fault-rate's choice, 0..999999999 (default 1).
  --slow-delay MS    the delay of the slow fault (default 1500).
  --split-pause MS   the pause inside a split answer (default 100).
  --show             at exit print what every display shows (SHOW and SETTING lines).
  --help             this text.
  -- COMMAND ARGS    run COMMAND once the display is ready; the display ends when it ends
                     (and stops it on SIGINT or SIGTERM).

What the display checks, and the result code it answers with:
  Packet: start 01, type 05, network number and its inverse (upper-case hex; a packet
  whose address cannot be read is not answered), packet number and data length (not hex:
  02), data read by its length (any byte value), CRC (not hex: 02, wrong: 03), end byte 04
  where the length puts it (else 04), at most 240 data bytes (else 04). A packet that stops
  after its header (with --normal: its network number) for 300 ms is answered 01 (time
  out); a shorter piece is dropped. With --normal more than 240 data bytes answer '9'.
  Packet numbers: a series is one packet 00, or a first packet 40+sequence (40 from the
  client), middle packets C0+sequence and a last packet 80+sequence, the sequence going up
  by one and wrapping after 3F. A packet out of this order is answered 05 and gives up its
  series; a new first packet gives up an unfinished one. A packet lost to a framing fault
  leaves its sequence due, so the rest of its series is out of order.
  Content (cut anywhere across the packets of a series):
    10  a control byte that is not SOT/STX/SOP/SOL, their ends, SEP, FPACK or NPACK, or a
        block marker out of place (messages hold pages, pages hold lines, no nesting of
        one kind, an end without its start); SOT and EOT inside the data
    11  a parameter or block number character that is not an upper-case hex digit, or a
        decimal digit where the command takes decimal digits
    12  a message, page or line number above 100 (hex 64)
    13  an escape command byte the display does not know
    14  a text byte 7F..9F
    15  a parameter out of range: Font 0..9, Color 0..3, Hor./Vert.Size 1..F, OutLine
        0..2, Flash 0..1, Enable 0..7, Appear/DisAppear 00..99, BTable levels 0..F,
        WatchDog flag 0..7 and message 00..64, Conf.Display boards 1..8 and lines 0..10,
        LedTest 00..24 h 00..59 min, Time/Date YY MM 01..12 DD 01..31 hh 00..23 mm ss
        00..59; an inquiry other than 1..4
    16  the display's memory is full: 65536 bytes, every text byte counting 1 and
        every block 16
    17  a parameter of the wrong length, or a command still open at the end of a series
  After a content fault the rest of its series gets the same code. Content is applied as
  it arrives. A block sent again replaces what it held; ESC Delete empties the display.
  Inquiries ESC A6 '1'..'4' answer result 00, parameter 01 and: 1 a status text, 2 the
  version, 3 the display clock YYMMDDhhmmss (local time until ESC Time/Date sets it),
  4 the configuration (34 hex digits, as ESC Conf.Display sets it).

Output, one line per event, flushed at once (texts between apostrophes, bytes that are not
printable ASCII, the apostrophe and the backslash as \xHH):
  the terminal's path, or tcp://ADDRESS:PORT (first line only)
  PACKET netnr=<decimal> packet=<hex|--> length=<decimal> result=<hex|--> answer=<what> \
         text='<data>' hex='<data as hex pairs>'          (one line)
      answer: sent, fault-<kind> (fault-code-NN), broadcast (not answered),
      other-netnr (not for these displays; result --). packet is -- with --normal.
  DROPPED reason='<why>' text='<bytes>' hex='<bytes as hex pairs>'
      bytes that made no packet: noise, an unreadable address, a piece cut short.
  SHOW netnr=<decimal> message=<hex|-> page=<hex|-> line=<hex|-> text='<text>'
  SETTING netnr=<decimal> command='<name>' value='<parameter>'
      with --show at exit; SEP shows as \x1E inside a text.

Exit status: 0 after SIGINT/SIGTERM, 1 when the terminal cannot be opened or is lost (or
the TCP port cannot be listened on), 2 for a bad argument; with -- COMMAND the command's exit
status (128 + the signal when a signal ended it, 127 when it cannot be started).
)";
}

} // namespace lmx::sim
