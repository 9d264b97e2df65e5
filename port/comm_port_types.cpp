#include "comm_port_types.h"

namespace lmx {

uint32_t BaudRateOf(TBaudRate rate)
{
    static constexpr uint32_t kRates[] = {0,     110,   300,   600,    1200,   2400,
                                          4800,  9600,  14400, 19200,  38400,  56000,
                                          57600, 115200, 128000, 256000};
    const int i = static_cast<int>(rate);
    return i >= 0 && i < int(sizeof kRates / sizeof kRates[0]) ? kRates[i] : 0;
}

bool LineSettings::operator==(const LineSettings& o) const
{
    return baudRate == o.baudRate && byteSize == o.byteSize && parity == o.parity
        && stopBits == o.stopBits && dtrOn == o.dtrOn && rtsOn == o.rtsOn
        && ctsOutputFlow == o.ctsOutputFlow && rtsHandshake == o.rtsHandshake
        && xonXoffOutput == o.xonXoffOutput && xonXoffInput == o.xonXoffInput
        && xonLimit == o.xonLimit && xoffLimit == o.xoffLimit && xonChar == o.xonChar
        && xoffChar == o.xoffChar && rs485 == o.rs485;
}

} // namespace lmx
