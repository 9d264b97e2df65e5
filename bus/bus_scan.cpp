#include "bus_scan.h"

#include "protocol/answer.h"
#include "protocol/framing.h"
#include "protocol/hex.h"
#include "protocol/vocabulary.h"

#include <cmath>

namespace lmx {

std::string probeData()
{
    return std::string{static_cast<char>(code::ESC), static_cast<char>(esc::Inquiry), '1'};
}

std::string probePacket(int netNr, bool extended)
{
    // The range is kept within 1..255, which both builders take.
    return (extended ? buildExtendedPacket(netNr, 0, probeData())
                     : buildNormalPacket(netNr, probeData()))
            .value_or(std::string());
}

TransmissionPlan scanPlan(int from, int to, bool extended)
{
    TransmissionPlan plan;
    for (int n = from; n <= to; ++n) {
        PlannedPacket p;
        p.packet = probePacket(n, extended);
        p.netNr = n;
        p.dataLength = probeData().size();
        p.block = plan.blocks.size();
        plan.packets.push_back(std::move(p));
        plan.blocks.push_back(PlannedBlock{n, 1, 1});
    }
    return plan;
}

std::optional<ScanAnswer> scanAnswerOf(const ExchangeRecord& rec)
{
    if (!rec.evaluated || rec.answer.empty())
        return std::nullopt;
    ScanAnswer a;
    a.netNr = rec.netNr;
    a.ok = rec.ok;
    a.result = rec.ok ? rec.resultText : rec.failure;
    a.rttMs = rec.rttMs;
    if (rec.extended) {
        // Framed, with this number and a CRC that checks: whatever result it carries.
        const AnswerParse packet = parseExtendedAnswer(rec.answer, static_cast<uint8_t>(rec.netNr),
                                                       rec.packetNr);
        a.display = packet.ok;
        if (rec.ok && rec.param == "$01" && packet.ok && packet.data.size() > 4)
            a.data = packet.data.substr(4);
    } else {
        // One result character and nothing else.
        const char c = rec.answer.empty() ? '\0' : rec.answer[0];
        a.display = rec.answer.size() == 1 && ((c >= '0' && c <= '9') || c == 'A');
    }
    if (!a.display)
        a.result = "noise: " + a.result;
    return a;
}

std::string scanLine(const ScanAnswer& answer)
{
    std::string line = "NetNr " + std::to_string(answer.netNr) + ": " + answer.result;
    if (answer.rttMs) {
        // Tenths of a millisecond, with a point whatever the locale.
        const long long tenths = std::llround(*answer.rttMs * 10);
        line += " (" + std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " ms)";
    } else {
        line += " (no end byte)";
    }
    if (!answer.data.empty()) {
        line += " data";
        for (const char c : answer.data)
            line += " " + byteToHex(static_cast<uint8_t>(c));
    }
    return line;
}

std::string scanCountLine(int answered)
{
    return std::to_string(answered) + (answered == 1 ? " display answered" : " displays answered");
}

std::string scanNoiseLine(int noisy)
{
    return std::to_string(noisy) + (noisy == 1 ? " number gave noise, not counted as a display"
                                               : " numbers gave noise, not counted as displays");
}

} // namespace lmx
