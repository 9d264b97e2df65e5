#pragma once
// The serial settings record and the driver: what the record's entries mean for the port,
// and the checks of the serial settings dialog.

#include "comm_port_driver.h"
#include "files/settings.h"

#include <string>
#include <vector>

namespace lmx {

// Copies the record into the driver: port name without blanks around it, the baud rate as a
// custom rate (a text that is not a number gives a rate no port takes, so the next connect
// fails), and the fixed frame format, which is also written back into the record.
// Port name changes are ignored while the driver is connected.
// Also copies the line settings (below).
void applySerialSettingsToDriver(TSerialSettings& record, TCommPortDriver& driver);
// The record's echo, RS-485 and reconnect settings, as they are.
void applyLineSettingsToDriver(const TSerialSettings& record, TCommPortDriver& driver);

// The dialog's OK checks, in order.
enum class SerialEntryError { None, PortName, BaudRate };
SerialEntryError checkSerialEntry(const std::string& portText, const std::string& baudText);
// "Please, enter a valid port name." and "Please, enter a valid baud rate."; empty for None.
std::string serialEntryErrorText(SerialEntryError error);

// What the dialog's port box offers: \\.\COM1 .. \\.\COM16, then the ports the system
// reports that are not among them.
std::vector<std::string> portBoxItems(const std::vector<std::string>& systemPorts);
// What the dialog's baud rate box offers.
const std::vector<std::string>& baudRateBoxItems();

// The note under the serial settings for what the port named does not take from them: a
// device server (tcp://) keeps its own line settings, a COM port server (rfc2217://) its own
// RS-485 direction, and off Linux the system does not switch the direction. Empty when the
// port takes everything.
std::string portKindNote(const std::string& portName, bool rs485);

} // namespace lmx
