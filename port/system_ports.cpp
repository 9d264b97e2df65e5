#include "system_ports.h"

#include <QSerialPortInfo>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace lmx {

namespace {

std::string text(const QString& s)
{
    return s.trimmed().toStdString();
}

} // namespace

std::vector<SystemPort> systemPorts()
{
    std::vector<SystemPort> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        ports.push_back({text(info.systemLocation()), text(info.description()),
                         text(info.manufacturer()), text(info.serialNumber())});
    std::sort(ports.begin(), ports.end(),
              [](const SystemPort& a, const SystemPort& b) { return a.location < b.location; });
    return ports;
}

std::string portAbout(const SystemPort& port)
{
    std::string about;
    auto add = [&about](const std::string& part) {
        if (part.empty() || about.find(part) != std::string::npos)
            return;
        if (!about.empty())
            about += ", ";
        about += part;
    };
    add(port.description);
    add(port.manufacturer);
    if (!port.serialNumber.empty())
        add("serial number " + port.serialNumber);
    return about;
}

std::vector<PortChoice> portChoices(const std::vector<SystemPort>& ports,
                                    const std::string& stableFolder)
{
    namespace fs = std::filesystem;
    // The stable names and the devices they lead to, sorted by name.
    std::vector<std::pair<std::string, fs::path>> stable;
    std::error_code ec;
    for (fs::directory_iterator it(stableFolder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code linkError;
        const fs::path target = fs::canonical(it->path(), linkError);
        if (!linkError)
            stable.emplace_back(it->path().string(), target);
    }
    std::sort(stable.begin(), stable.end());

    std::vector<PortChoice> choices;
    for (const SystemPort& port : ports) {
        const std::string about = portAbout(port);
        choices.push_back({port.location, about});
        std::error_code portError;
        const fs::path device = fs::canonical(port.location, portError);
        if (portError)
            continue;
        for (const auto& [name, target] : stable)
            if (target == device)
                choices.push_back({name, "always the adapter now at " + port.location});
    }
    return choices;
}

} // namespace lmx
