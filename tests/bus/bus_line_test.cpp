// The scan and the run to many displays through the real driver and exchange, against the
// virtual display on a pseudo-terminal.
#include "bus/bus_scanner.h"
#include "bus/displays_run.h"
#include "tests/transmission/serial_line_fixture.h"

#include <QElapsedTimer>

using namespace lmx;
using serialtest::SerialLine;
using serialtest::simOptions;

namespace {

std::vector<int> found(const BusScanner& scanner)
{
    return enginetest::collect(scanner.answers(), [](const ScanAnswer& a) { return a.netNr; });
}

// Runs a scan to its end, asking it to stop while `stopAt` is probed.
void scan(BusScanner& scanner, const BusScanner::Setup& setup, int stopAt = -1)
{
    QObject::connect(&scanner, &BusScanner::probing, [&scanner, stopAt](int netNr, int) {
        if (netNr == stopAt)
            scanner.requestStop();
    });
    ASSERT_TRUE(scanner.start(setup));
    ASSERT_TRUE(serialtest::waitUntil([&] { return !scanner.running(); }, 10000));
}

} // namespace

TEST(BusScanLine, ListsTheDisplaysOfTheRangeInOrderWithinTheScansOwnTimeOut)
{
    struct Case {
        bool normal;
        sim::FaultKind fault;
        std::vector<int> found;
        const char* result;
        bool data;
        int displays; // answers that were well-formed
    };
    const Case cases[] = {
            {false, sim::FaultKind::None, {3, 17}, "OK", true, 2},
            {true, sim::FaultKind::None, {3, 17}, "OK.", false, 2},
            // An answer that does not check is listed, but as noise: no display counted.
            {false, sim::FaultKind::BadCrc, {3, 17}, "noise: Invalid answer CRC at CRC", false, 0},
            {false, sim::FaultKind::NoAnswer, {}, "", false, 0},
    };
    for (const Case& c : cases) {
        SerialLine line(simOptions({3, 17, 30}, c.fault, c.normal));
        BusScanner scanner(line.exchange);
        QElapsedTimer timer;
        timer.start();
        scan(scanner, {1, 20, 80, !c.normal});
        // 18 silent numbers at 80 ms, not at the transmission's 1000 ms.
        EXPECT_LT(timer.elapsed(), 5000);
        EXPECT_EQ(found(scanner), c.found);
        EXPECT_EQ(scanner.displaysAnswered(), c.displays);
        EXPECT_EQ(scanner.end(), BusScanner::End::Completed);
        EXPECT_EQ(scanner.probed(), 20);
        if (!c.found.empty()) {
            EXPECT_EQ(scanner.answers()[0].result, c.result);
            EXPECT_EQ(!scanner.answers()[0].data.empty(), c.data);
        }
        // The exchange's own settings are back for the next transmission.
        EXPECT_EQ(line.exchange.AnswerTimeout(), PacketExchange::kAnswerTimeoutMs);
        EXPECT_EQ(line.exchange.ExtendedLmx(), !c.normal);
        EXPECT_EQ(line.dialogs.steps().size(), 0);
    }
}

// A port that does not open ends a scan at once, and a run to many displays too, whose reports
// still count every display.
TEST(BusScanLine, AStopEndsItAfterTheProbeUnderWayAndAPortThatDoesNotOpenEndsAScanOrARunAtOnce)
{
    serialtest::EngineLine line({3});
    BusScanner scanner(line.exchange);
    scan(scanner, {1, 254, 50, true}, 3);
    EXPECT_EQ(scanner.end(), BusScanner::End::Stopped);
    EXPECT_EQ(scanner.probed(), 3);
    EXPECT_EQ(found(scanner), std::vector<int>{3});
    EXPECT_EQ(scanner.recorder().records().size(), 3u);

    line.driver.SetPortName("/nonexistent/tty");
    EXPECT_TRUE(scanner.start({1, 5, 50, true}));
    EXPECT_FALSE(scanner.running());
    EXPECT_EQ(scanner.end(), BusScanner::End::PortFailed);
    EXPECT_EQ(scanner.probed(), 0);
    EXPECT_EQ(line.dialogs.texts(), QStringList{"Can not open ComPort :/nonexistent/tty"});
    EXPECT_FALSE(scanner.start({5, 4, 50, true}));

    DisplaysRun run(line.engine, line.exchange, line.recorder);
    ASSERT_TRUE(run.run({"Hi"}, {1, 2, 3}, true));
    EXPECT_EQ(displaysSummary(run.displays()),
              (std::vector<std::string>{"NetNr 1: failed: the transmission aborted (0 packets, 0 failed)",
                                        "NetNr 2: not reached", "NetNr 3: not reached",
                                        "0 of 3 displays OK"}));
    EXPECT_EQ(run.end(), TransmissionEnd::Aborted);
    EXPECT_EQ(line.recorder.plan().blocks.size(), 3u);
    EXPECT_EQ(line.dialogs.steps().size(), 2); // one for the scan, one for the run
}
