#include "sim_options.h"

#include "protocol/hex.h"

namespace lmx::sim {

namespace {

struct FaultNameEntry {
    FaultKind kind;
    const char* name;
};

constexpr FaultNameEntry kFaultNames[] = {
    {FaultKind::None, "none"},           {FaultKind::NoAnswer, "no-answer"},
    {FaultKind::BadCrc, "bad-crc"},      {FaultKind::WrongNetNr, "wrong-netnr"},
    {FaultKind::WrongSeq, "wrong-seq"},  {FaultKind::BadLength, "bad-length"},
    {FaultKind::Truncated, "truncated"}, {FaultKind::Garbage, "garbage"},
    {FaultKind::Split, "split"},         {FaultKind::Slow, "slow"},
    {FaultKind::Cycle, "cycle"},
};

} // namespace

std::string faultName(FaultKind kind, uint8_t code)
{
    if (kind == FaultKind::Code)
        return "code=" + byteToHex(code);
    for (const auto& e : kFaultNames)
        if (e.kind == kind)
            return e.name;
    return "none";
}

bool parseFault(std::string_view text, FaultKind& kind, uint8_t& code)
{
    constexpr std::string_view codePrefix = "code=";
    if (text.substr(0, codePrefix.size()) == codePrefix) {
        const std::string_view digits = text.substr(codePrefix.size());
        long long value = 0;
        if (digits.empty() || digits.size() > 2 || !hexToInt(digits, value))
            return false;
        kind = FaultKind::Code;
        code = static_cast<uint8_t>(value);
        return true;
    }
    for (const auto& e : kFaultNames) {
        if (text == e.name) {
            kind = e.kind;
            code = 0;
            return true;
        }
    }
    return false;
}

bool parseFaultRate(std::string_view text, double& rate)
{
    const size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction =
            point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    if ((whole.empty() && fraction.empty()) || whole.size() > 1 || fraction.size() > 9
        || (point != std::string_view::npos && fraction.empty()))
        return false;
    double value = 0;
    for (const char c : whole) {
        if (c < '0' || c > '9')
            return false;
        value = c - '0';
    }
    double place = 0.1;
    for (const char c : fraction) {
        if (c < '0' || c > '9')
            return false;
        value += (c - '0') * place;
        place /= 10;
    }
    if (value > 1.0)
        return false;
    rate = value;
    return true;
}

bool faultFitsNormalFraming(FaultKind kind)
{
    switch (kind) {
    case FaultKind::None:
    case FaultKind::NoAnswer:
    case FaultKind::Garbage:
    case FaultKind::Slow:
    case FaultKind::Code:
    case FaultKind::Cycle:
        return true;
    default:
        return false;
    }
}

const std::vector<FaultKind>& cycleKinds(bool normalFraming)
{
    static const std::vector<FaultKind> extended = {
        FaultKind::NoAnswer,  FaultKind::BadCrc,    FaultKind::WrongNetNr, FaultKind::WrongSeq,
        FaultKind::BadLength, FaultKind::Truncated, FaultKind::Garbage,    FaultKind::Split,
        FaultKind::Slow,      FaultKind::Code,
    };
    static const std::vector<FaultKind> normal = [] {
        std::vector<FaultKind> kinds;
        for (FaultKind k : extended)
            if (faultFitsNormalFraming(k))
                kinds.push_back(k);
        return kinds;
    }();
    return normalFraming ? normal : extended;
}

const std::vector<uint8_t>& cycleCodes()
{
    // time out, then the content faults; each has a normal result character as well
    static const std::vector<uint8_t> codes = {0x01, 0x10, 0x11, 0x12, 0x13,
                                               0x14, 0x15, 0x16, 0x17, 0x18};
    return codes;
}

} // namespace lmx::sim
