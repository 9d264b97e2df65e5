#include "serial_settings_apply.h"

#include "rfc2217_backend.h"

#include <algorithm>

namespace lmx {

void applySerialSettingsToDriver(TSerialSettings& record, TCommPortDriver& driver)
{
    const SerialLineSetup setup = applySerialSettings(record);
    driver.SetPortName(setup.portName);
    // -1 becomes 4294967295, as an unsigned rate: no port opens with it.
    driver.SetBaudRateValue(static_cast<uint32_t>(setup.baudRate));
    driver.SetDataBits(static_cast<TDataBits>(setup.dataBits));
    driver.SetParity(static_cast<TParity>(setup.parity));
    driver.SetStopBits(static_cast<TStopBits>(setup.stopBits));
    driver.SetHwFlow(static_cast<THwFlowControl>(setup.hwFlow));
    driver.SetSwFlow(static_cast<TSwFlowControl>(setup.swFlow));
    driver.SetEnableDTROnOpen(setup.enableDtrOnOpen);
    applyLineSettingsToDriver(record, driver);
}

void applyLineSettingsToDriver(const TSerialSettings& record, TCommPortDriver& driver)
{
    Rs485Settings rs485;
    rs485.enabled = record.RS485;
    rs485.delayBeforeMs = static_cast<uint32_t>(std::max(record.RS485DelayBefore, 0));
    rs485.delayAfterMs = static_cast<uint32_t>(std::max(record.RS485DelayAfter, 0));
    driver.SetRs485(rs485);
    driver.SetEcho(record.Echo == 1 ? EchoMode::Discard
                   : record.Echo == 2 ? EchoMode::Verify
                                      : EchoMode::Off);
    driver.SetReconnectSeconds(record.Reconnect);
}

SerialEntryError checkSerialEntry(const std::string& portText, const std::string& baudText)
{
    if (trimmedBlanks(portText).empty())
        return SerialEntryError::PortName;
    if (!isAcceptedBaudRate(baudText))
        return SerialEntryError::BaudRate;
    return SerialEntryError::None;
}

std::string serialEntryErrorText(SerialEntryError error)
{
    switch (error) {
    case SerialEntryError::PortName: return "Please, enter a valid port name.";
    case SerialEntryError::BaudRate: return "Please, enter a valid baud rate.";
    case SerialEntryError::None: break;
    }
    return {};
}

std::vector<std::string> portBoxItems(const std::vector<std::string>& systemPorts)
{
    std::vector<std::string> items;
    for (int n = 1; n <= 16; ++n)
        items.push_back("\\\\.\\COM" + std::to_string(n));
    for (const std::string& port : systemPorts)
        if (!port.empty() && std::find(items.begin(), items.end(), port) == items.end())
            items.push_back(port);
    return items;
}

const std::vector<std::string>& baudRateBoxItems()
{
    static const std::vector<std::string> items = {
        "110",   "300",   "600",    "1200",   "2400",   "4800",   "9600",   "14400",  "19200",
        "38400", "56000", "57600",  "115200", "128000", "230400", "256000", "460800", "921600"};
    return items;
}

std::string portKindNote(const std::string& portName, bool rs485)
{
    const std::string name = trimmedBlanks(portName);
    if (isNetworkPortName(name))
        return "This port is a serial device server on the network: it sets baud rate, data bits, "
               "parity, stop bits, flow control and the RS-485 direction itself. The baud rate "
               "here only times the answer wait; the other values are kept for a local port.";
    if (isRfc2217PortName(name))
        return "This port is a COM port server on the network: it takes baud rate, data bits, "
               "parity, stop bits, DTR and RTS from here, but switches the RS-485 direction "
               "itself; that setting is kept for a local port.";
#ifndef __linux__
    if (rs485)
        return "This system does not switch an RS-485 line's direction: the adapter must do "
               "it. The setting is kept for Linux.";
#else
    (void)rs485;
#endif
    return {};
}

} // namespace lmx
