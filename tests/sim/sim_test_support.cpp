#include "sim_test_support.h"

#include "protocol/answer.h"

namespace lmx::sim::testing {

int resultOf(SimDevice& device, const std::string& bytes, uint8_t netNr, uint8_t packetNr,
             int64_t nowMs)
{
    const std::string answer = joined(device.receive(bytes, nowMs));
    if (answer.empty())
        return -1;
    const AnswerParse p = parseExtendedAnswer(answer, netNr, packetNr);
    if (!p.ok)
        return -2;
    const AnswerParse d = parseAnswerData(p.data);
    return d.ok ? d.errorCode : -2;
}

} // namespace lmx::sim::testing
