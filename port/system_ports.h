#pragma once
// The serial ports the system has, and what the port box says about each: an adapter's
// description, manufacturer and serial number, and the stable names under /dev/serial/by-id
// that keep leading to the same adapter after a replug, when /dev/ttyUSB0 may have become
// /dev/ttyUSB1.

#include <string>
#include <vector>

namespace lmx {

struct SystemPort {
    std::string location; // /dev/ttyUSB0
    std::string description;
    std::string manufacturer;
    std::string serialNumber;
};

// What the system reports, by location.
std::vector<SystemPort> systemPorts();

struct PortChoice {
    std::string name;
    std::string about; // what the port is; empty when the system says nothing about it
};

constexpr const char* kStablePortFolder = "/dev/serial/by-id";

// Each port, followed by the names in stableFolder that lead to it.
std::vector<PortChoice> portChoices(const std::vector<SystemPort>& ports,
                                    const std::string& stableFolder = kStablePortFolder);

// "FT232R USB UART, FTDI, serial number A10K3XYZ".
std::string portAbout(const SystemPort& port);

} // namespace lmx
