#pragma once
// The real driver on the QSerialPort backend, talking to a virtual display on a fresh
// pseudo-terminal (or on a TCP port, as behind a device server), with a packet exchange on top
// that records every answer, and a transmission engine on that for whole command lists.

#include "engine_test_support.h"
#include "tests/port/serial_test_support.h"

#include "packets/exchange_recorder.h"
#include "port/qt_serial_backend.h"
#include "sim/sim_server.h"
#include "tests/support/scripted_dialogs.h"
#include "transmission/packet_exchange.h"
#include "transmission/transmission_engine.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace serialtest {

// Displays answering as `netNrs`; a faulty result code is 0x15 (a parameter out of range), and
// a slow answer comes after 500 ms.
inline lmx::sim::SimOptions simOptions(std::vector<uint8_t> netNrs = {1},
                                       lmx::sim::FaultKind fault = lmx::sim::FaultKind::None,
                                       bool normalFraming = false)
{
    lmx::sim::SimOptions o;
    o.netNrs = std::move(netNrs);
    o.fault = fault;
    o.faultCode = 0x15;
    o.slowDelayMs = 500;
    o.normalFraming = normalFraming;
    return o;
}

class SerialLine {
public:
    explicit SerialLine(lmx::sim::SimOptions options, bool overTcp = false)
        : server(options),
          driver(std::make_unique<lmx::QtSerialBackend>()),
          exchange(driver, dialogs)
    {
        path = overTcp ? server.startOnTcp("127.0.0.1", 0) : server.start();
        driver.SetPortName(path);
        exchange.SetExtendedLmx(!options.normalFraming);
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

    lmx::sim::SimServer server;
    std::string path;
    ScriptedDialogs dialogs;
    lmx::TCommPortDriver driver;
    lmx::PacketExchange exchange;
    std::vector<std::string> answers;
};

// A line with the engine on its exchange; the waits between packets take no time.
struct EngineLine : SerialLine {
    explicit EngineLine(std::vector<uint8_t> netNrs,
                        lmx::sim::FaultKind fault = lmx::sim::FaultKind::None, bool normal = false,
                        bool overTcp = false)
        : EngineLine(simOptions(std::move(netNrs), fault, normal), overTcp)
    {
    }
    explicit EngineLine(lmx::sim::SimOptions options, bool overTcp = false)
        : SerialLine(options, overTcp), engine(exchange, dialogs, log, clock)
    {
        engine.setPacketObserver(&recorder);
        QObject::connect(&recorder, &lmx::ExchangeRecorder::packetStarted,
                         [this](int) { progress.push_back(recorder.progress()); });
        engine.setWaiter(&waiter);
    }
    // The packets the display has taken, once there are `count` of them.
    std::vector<lmx::sim::PacketRecord> sent(size_t count)
    {
        EXPECT_TRUE(server.waitForPackets(count, 3000));
        return server.packets();
    }
    enginetest::Lines sentData(size_t count)
    {
        return enginetest::collect(sent(count), [](const auto& p) { return p.data; });
    }

    enginetest::TestWallClock clock;
    enginetest::ManualWaiter waiter;
    enginetest::RecordingLog log;
    lmx::TransmissionEngine engine;
    lmx::ExchangeRecorder recorder;
    std::vector<lmx::ExchangeRecorder::Progress> progress; // as each packet went out
};

} // namespace serialtest
