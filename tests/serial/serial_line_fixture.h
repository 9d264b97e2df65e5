#pragma once
// The real driver on the QSerialPort backend, talking to a virtual display on a fresh
// pseudo-terminal, with a packet exchange on top that records every answer.

#include "serial_test_support.h"

#include "serial/packet_exchange.h"
#include "serial/qt_serial_backend.h"
#include "sim/sim_server.h"
#include "tests/support/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace serialtest {

inline lmx::sim::SimOptions simOptions(bool normalFraming = false,
                                       lmx::sim::FaultKind fault = lmx::sim::FaultKind::None)
{
    lmx::sim::SimOptions o;
    o.netNrs = {1};
    o.normalFraming = normalFraming;
    o.fault = fault;
    return o;
}

class SerialLine {
public:
    explicit SerialLine(lmx::sim::SimOptions options)
        : normalFraming(options.normalFraming),
          server(std::move(options)),
          driver(std::make_unique<lmx::QtSerialBackend>()),
          exchange(driver, dialogs)
    {
        path = server.start();
        driver.SetPortName(path);
        exchange.SetExtendedLmx(!normalFraming);
        exchange.SetAnswerHandler([this](const std::string& answer) { answers.push_back(answer); });
    }

    // Sends and waits for the end of the exchange; false when it did not end in time.
    bool transmit(const std::string& packet, int timeoutMs = 5000)
    {
        const size_t before = answers.size();
        exchange.SendPacket(packet);
        if (exchange.done())
            return false; // the port did not open
        return waitUntil([&] { return exchange.done(); }, timeoutMs) && answers.size() == before + 1;
    }

    const bool normalFraming;
    lmx::sim::SimServer server;
    std::string path;
    ScriptedDialogs dialogs;
    lmx::TCommPortDriver driver;
    lmx::PacketExchange exchange;
    std::vector<std::string> answers;
};

} // namespace serialtest
