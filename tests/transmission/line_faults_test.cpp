// What the line does to a transmission, on the real driver, exchange and engine over a fake
// line: the answer wait that starts when the packet has left the line, and a port lost and
// reopened, with the display block in progress sent again.
#include "engine_test_support.h"
#include "tests/port/serial_test_support.h"

#include "packets/exchange_recorder.h"
#include "packets/exchange_reports.h"
#include "sim/answer_writer.h"
#include "sim/packet_reader.h"
#include "tests/support/scripted_dialogs.h"
#include "transmission/packet_exchange.h"
#include "transmission/port_reconnect.h"
#include "transmission/transmission_engine.h"

#include <gtest/gtest.h>

#include <utility>

using namespace lmx;
using namespace enginetest;
using End = TransmissionEngine::End;

namespace {

// Answers every packet OK the moment its last byte is written, unless `lose` takes the port
// away instead (and the test says when it may open again).
struct BusBackend : serialtest::FakeSerialBackend {
    Lines data; // of every packet, in order
    std::function<bool(const std::string& data)> lose;
    sim::PacketReader reader{false};

    int64_t write(const char* bytes, uint32_t size) override
    {
        const int64_t n = FakeSerialBackend::write(bytes, size);
        for (const sim::Frame& f : reader.feed({bytes, size_t(std::max<int64_t>(n, 0))}, 0)) {
            data.push_back(f.data);
            if (lose && lose(f.data)) {
                refused.insert("open");
                failPort();
            } else {
                arrive(sim::answerPacket(f.netNr, uint8_t(f.packetNr), sim::answerData(0, {})));
            }
        }
        return n;
    }
    void openAgain() { refused.erase("open"); }
};

// A waiter that takes no time but moves the steady clock on by what it waited.
struct ClockedWaiter : ManualWaiter {
    explicit ClockedWaiter(serialtest::ManualClock& clock) : clock(clock) {}
    void wait(int ms) override
    {
        const long long before = now;
        ManualWaiter::wait(ms);
        clock.advance(now - before);
    }
    serialtest::ManualClock& clock;
};

class Reconnect : public ::testing::Test, public serialtest::FakeDriverOn<BusBackend> {
protected:
    Reconnect()
    {
        driver->SetPortName("/dev/fake0");
        engine.setWaiter(&waiter);
        engine.setPacketObserver(&recorder);
    }
    std::string line(const std::string& text) const { return "NetNr: 1 " + kT + " " + text; }
    // The port goes when the packet "C" is written the first time, and may be opened again
    // backAfterMs later on the waiter's clock.
    void loseC(long long backAfterMs)
    {
        fake->lose = [this, backAfterMs, lost = false](const std::string& d) mutable {
            if (d != "C" || std::exchange(lost, true))
                return false;
            waiter.after(backAfterMs, [this] { fake->openAgain(); });
            return true;
        };
    }

    TestWallClock wallClock;
    ScriptedDialogs dialogs;
    RecordingLog log;
    ClockedWaiter waiter{clock};
    PacketExchange exchange{*driver, dialogs};
    TransmissionEngine engine{exchange, dialogs, log, wallClock, clock};
    ExchangeRecorder recorder;
};

const Lines kTwoBlocks = {sot("01"), "A", kEot, sot("01"), "B", npack(100), "C", kEot};

} // namespace

TEST_F(Reconnect, APortBackInTimeSendsTheBlockInProgressAgainFromItsFirstPacket)
{
    driver->SetReconnectSeconds(5);
    loseC(700); // the third try finds it
    const auto outcome = engine.TransmitExtended(kTwoBlocks, 1);
    EXPECT_TRUE(outcome.allAnswered());
    EXPECT_EQ(fake->data, (Lines{"A", "B", "C", "B", "C"}));
    EXPECT_EQ(log.lines, (Lines{line("Transmitted Packet Number: 0"),
                                line("Received Packet Number: 0 Param: $00 (No Data)"),
                                line("Transmitted Packet Number: 0"),
                                line("Received Packet Number: 0 Param: $00 (No Data)"),
                                line("Transmitted Packet Number: 0"),
                                kT + " Port lost; reopened after 0.8 s; block 2 sent again.",
                                line("Transmitted Packet Number: 0"),
                                line("Received Packet Number: 0 Param: $00 (No Data)"),
                                line("Transmitted Packet Number: 0"),
                                line("Received Packet Number: 0 Param: $00 (No Data)"),
                                kT + " Transmission finished."}));
    EXPECT_TRUE(dialogs.steps().isEmpty()); // mended: nothing to tell in a box
    EXPECT_EQ(waiter.waits, (std::vector<int>{100, 250, 250, 250, 100}));
}

TEST_F(Reconnect, TheRecordsShowTheLostExchangeAndTheRetry)
{
    driver->SetReconnectSeconds(5);
    loseC(200);
    engine.TransmitExtended(kTwoBlocks, 1);
    const auto& records = recorder.records();
    const auto state = [](const ExchangeRecord& r) { return r.state; };
    EXPECT_EQ(collect(records, state), (Lines{"OK", "OK", "port lost", "OK", "OK"}));
    EXPECT_EQ(collect(records, [](const ExchangeRecord& r) { return r.retry; }),
              (std::vector<int>{0, 0, 0, 1, 1}));
    // the packets sent again are the plan's: the same block, the same command lines
    EXPECT_EQ(records[3].block, records[1].block);
    EXPECT_EQ(records[3].lines, records[1].lines);
    EXPECT_EQ(cellText(records[4], ExchangeColumn::Answer), "OK (block sent again)");
    EXPECT_EQ(summarize(records).failed, 1);
    // the block is judged by its last sending
    const std::string junit = junitReport({records, recorder.plan(), recorder.end()}, "t");
    EXPECT_EQ(junit.find("<failure"), std::string::npos) << junit;
    const std::string json = jsonLinesReport({records, recorder.plan(), recorder.end()});
    EXPECT_NE(json.find("\"state\":\"port lost\""), std::string::npos);
    EXPECT_NE(json.find("\"retry\":1}"), std::string::npos);
}

TEST_F(Reconnect, APortLostBetweenPacketsIsReopenedToo)
{
    driver->SetReconnectSeconds(5);
    // while the NPACK of block 2 waits, the adapter goes
    fake->lose = [this](const std::string& d) {
        if (d == "B" && fake->data.size() == 2)
            waiter.after(50, [this] {
                fake->refused.insert("open");
                fake->failPort();
                waiter.after(300, [this] { fake->openAgain(); });
            });
        return false;
    };
    EXPECT_TRUE(engine.TransmitExtended(kTwoBlocks, 1).allAnswered());
    EXPECT_EQ(fake->data, (Lines{"A", "B", "B", "C"}));
    // the packet that found the port gone has no line of its own; the first try finds it back
    ASSERT_EQ(log.lines.size(), 10u) << ::testing::PrintToString(log.lines);
    EXPECT_EQ(log.lines[4], kT + " Port lost; reopened after 0.3 s; block 2 sent again.");
    EXPECT_TRUE(dialogs.steps().isEmpty());
}

TEST_F(Reconnect, APortThatStaysAwayEndsTheTransmissionAsWithoutReconnect)
{
    fake->lose = [](const std::string& d) { return d == "C"; };
    for (const int seconds : {0, 1}) {
        SCOPED_TRACE(seconds);
        driver->SetReconnectSeconds(seconds);
        fake->openAgain();
        fake->data.clear();
        dialogs.clear();
        waiter.waits.clear();
        EXPECT_EQ(engine.TransmitExtended(kTwoBlocks, 1).end, End::Aborted);
        EXPECT_EQ(log.lines.back(), kT + " Transmission aborted: lost connection to /dev/fake0.");
        // the loss once, with its reason, whether or not it was tried again
        EXPECT_EQ(dialogs.texts(), QStringList{"Lost connection to ComPort :/dev/fake0"});
        // a try every 250 ms for the seconds given, after the NPACK's wait
        std::vector<int> waits = {100};
        waits.insert(waits.end(), size_t(4 * seconds), 250);
        EXPECT_EQ(waiter.waits, waits);
    }
}

TEST_F(Reconnect, APortThatNeverOpenedIsNotTriedAgain)
{
    driver->SetReconnectSeconds(5);
    fake->refused.insert("open");
    EXPECT_EQ(engine.TransmitExtended(kTwoBlocks, 1).end, End::Aborted);
    EXPECT_EQ(dialogs.texts(), QStringList{"Can not open ComPort :/dev/fake0"});
    EXPECT_TRUE(waiter.waits.empty());
}

TEST_F(Reconnect, AStopWhileTryingEndsTheTransmissionAsStopped)
{
    driver->SetReconnectSeconds(5);
    fake->lose = [this](const std::string& d) {
        if (d == "C")
            waiter.after(600, [this] { engine.requestStopAfterExchange(); });
        return d == "C";
    };
    EXPECT_EQ(engine.TransmitExtended(kTwoBlocks, 1).end, End::Stopped);
    EXPECT_EQ(log.lines.back(), kT + " Transmission stopped.");
    EXPECT_TRUE(dialogs.steps().isEmpty());
    EXPECT_EQ(waiter.waits, (std::vector<int>{100, 250, 250, 250}));
}

