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

bool faultFitsNormalFraming(FaultKind kind)
{
    switch (kind) {
    case FaultKind::None:
    case FaultKind::NoAnswer:
    case FaultKind::Garbage:
    case FaultKind::Slow:
    case FaultKind::Code:
        return true;
    default:
        return false;
    }
}

} // namespace lmx::sim
