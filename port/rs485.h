#pragma once
// The system's RS-485 mode of a serial port (Linux: TIOCSRS485): the serial driver raises RTS
// for every transmission and drops it after the last bit, far closer to the bit than a program
// toggling RTS could. Elsewhere, and on ports whose driver has no such mode (pseudo-terminals,
// most USB adapters), it is refused, and the caller goes on without it.

#include "comm_port_types.h"

#include <string>

namespace lmx {

// Sets the mode on the open port `fd` and reads it back. Empty when the port took it as
// asked; otherwise why not, in the system's words ("Inappropriate ioctl for device") or as
// the values the port read back.
std::string applyRs485(int fd, const Rs485Settings& wanted);

// What differs between the mode asked for and the mode read back; empty when nothing does.
std::string rs485ReadBackDifference(const Rs485Settings& wanted, const Rs485Settings& got);

// The one warning for a port that did not take the mode: the transmission goes on without it.
std::string rs485WarningText(const std::string& portName, const std::string& why);

} // namespace lmx
