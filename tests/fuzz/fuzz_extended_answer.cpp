// Feeds arbitrary received bytes to the answer parsers. The first two bytes choose the
// expected network and packet numbers, so every header path is reachable.
#include "protocol/answer.h"
#include "protocol/framing.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const uint8_t net = data[0];
    const uint8_t packet = data[1];
    const std::string_view received(reinterpret_cast<const char*>(data + 2), size - 2);

    const lmx::AnswerParse p = lmx::parseExtendedAnswer(received, net, packet);
    if (p.ok) {
        // a successful parse always carries 4..200 data characters and a valid state
        if (p.data.size() < 4 || p.data.size() > 200 || p.state != lmx::AnswerState::Ready)
            std::abort();
        const lmx::AnswerParse d = lmx::parseAnswerData(p.data);
        (void)lmx::errorText(d);
        (void)lmx::stateName(d.state);
    } else if (p.errorCode == 0) {
        std::abort();
    }
    (void)lmx::stateName(p.state);
    (void)lmx::parseNormalAnswer(received, net);
    return 0;
}
