#include "line_format.h"

#include "sim_device.h"

#include "protocol/hex.h"
#include "protocol/vocabulary.h"

namespace lmx::sim {

namespace {

std::string blockNumber(int n)
{
    return n < 0 ? "-" : byteToHex(static_cast<uint8_t>(n));
}

std::string answerName(const PacketRecord& r)
{
    switch (r.disposition) {
    case Disposition::Answered: return "sent";
    case Disposition::Faulted: return "fault-" + r.fault;
    case Disposition::Broadcast: return "broadcast";
    case Disposition::OtherDisplay: return "other-netnr";
    }
    return "sent";
}

} // namespace

std::string quotedBytes(std::string_view bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out = "'";
    for (char ch : bytes) {
        const auto c = static_cast<uint8_t>(ch);
        if (c >= 0x20 && c < 0x7F && c != '\'' && c != '\\') {
            out += ch;
        } else {
            out += "\\x";
            out += digits[c >> 4];
            out += digits[c & 0x0F];
        }
    }
    out += '\'';
    return out;
}

std::string packetLine(const PacketRecord& r)
{
    std::string line = "PACKET netnr=" + std::to_string(r.netNr);
    line += " packet=";
    line += r.packetNr < 0 ? "--" : byteToHex(static_cast<uint8_t>(r.packetNr));
    line += " length=" + std::to_string(r.data.size());
    line += " result=";
    line += r.disposition == Disposition::OtherDisplay ? "--" : byteToHex(r.result);
    line += " answer=";
    line += answerName(r);
    line += " text=" + quotedBytes(r.data);
    line += " hex='" + normalisedHexText(r.data) + "'";
    return line;
}

std::string droppedLine(std::string_view reason, std::string_view raw)
{
    return "DROPPED reason=" + quotedBytes(reason) + " text=" + quotedBytes(raw) + " hex='"
           + normalisedHexText(raw) + "'";
}

std::vector<std::string> showLines(const DisplayState& display)
{
    std::vector<std::string> lines;
    const std::string net = std::to_string(display.netNr);
    for (auto it = display.texts.begin(); it != display.texts.end(); ++it) {
        const BlockPath& path = it->first;
        if (it->second.empty()) {
            // an empty block is worth a line only when nothing inside it has one
            const auto next = std::next(it);
            if (next != display.texts.end() && path.contains(next->first))
                continue;
        }
        lines.push_back("SHOW netnr=" + net + " message=" + blockNumber(path.message) + " page="
                        + blockNumber(path.page) + " line=" + blockNumber(path.line)
                        + " text=" + quotedBytes(it->second));
    }
    for (const auto& [command, value] : display.settings)
        lines.push_back("SETTING netnr=" + net + " command=" + quotedBytes(escapeName(command))
                        + " value=" + quotedBytes(value));
    return lines;
}

} // namespace lmx::sim
