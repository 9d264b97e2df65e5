// The engine on the real driver and exchange over a fake line whose display answers at once,
// with waits that take no time: exact receive-box texts, the debug log, the waits asked, and
// calls while a transmission runs.
#include "engine_test_support.h"
#include "tests/port/serial_test_support.h"

#include "sim/answer_writer.h"
#include "sim/packet_reader.h"
#include "tests/support/scripted_dialogs.h"
#include "transmission/answer_templates.h"
#include "transmission/debug_log.h"
#include "transmission/packet_exchange.h"
#include "transmission/transmission_engine.h"

#include <algorithm>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

using namespace lmx;
using namespace enginetest;
using End = TransmissionEngine::End;

namespace {

std::string answer(int netNr, uint8_t code, const std::string& reply = {}, uint8_t packetNr = 0)
{
    return sim::answerPacket(static_cast<uint8_t>(netNr), packetNr, sim::answerData(code, reply));
}

// Answers every packet the moment its last byte is written: OK, or what `respond` returns.
struct DisplayBackend : serialtest::FakeSerialBackend {
    std::function<std::string(int netNr, const std::string& data)> respond;
    Lines data; // of every packet, in order
    sim::PacketReader reader{false};

    int64_t write(const char* bytes, uint32_t size) override
    {
        const int64_t n = FakeSerialBackend::write(bytes, size);
        for (const sim::Frame& f : reader.feed({bytes, size_t(std::max<int64_t>(n, 0))}, 0)) {
            data.push_back(f.data);
            const std::string a = respond ? respond(f.netNr, f.data)
                                          : answer(f.netNr, 0, {}, uint8_t(f.packetNr));
            if (!a.empty())
                arrive(a);
        }
        return n;
    }
};

struct Sink : AnswerDataSink, BusyIndicator {
    void answerData(const std::string& data) override { templates.FillAnswerTemplates(data); }
    void setBusy(bool busy) override { busyCalls.push_back(busy); }
    AnswerTemplates templates;
    std::vector<bool> busyCalls;
};

class Engine : public ::testing::Test, public serialtest::FakeDriverOn<DisplayBackend> {
protected:
    Engine()
    {
        driver->SetPortName("/dev/fake0");
        engine.setAnswerDataSink(&sink);
        engine.setBusyIndicator(&sink);
        engine.setWaiter(&waiter);
    }

    TestWallClock wallClock;
    ScriptedDialogs dialogs; // onStep stands for a window closing while a box is up
    RecordingLog log;
    Sink sink;
    ManualWaiter waiter;
    PacketExchange exchange{*driver, dialogs};
    TransmissionEngine engine{exchange, dialogs, log, wallClock};
};

} // namespace

TEST_F(Engine, ReceiveBoxLinesReadAsDescribed)
{
    fake->respond = [](int netNr, const std::string& data) {
        return data == "inq" ? answer(netNr, 0, std::string(50, 'Q')) : answer(netNr, netNr == 2 ? 0x15 : 0);
    };
    sink.templates.append("R=@@");
    const auto outcome = engine.TransmitExtended(
        {sot("01"), "inq", kEot, sot("02"), "x", npack(0), "y", kEot, "z", "<End>"}, 1);
    const std::string hex40 = QByteArray(40, 'Q').toHex(' ').toStdString() + " "; // "51 51 ... 51 "
    const std::string failure = "Answer: Param value out of range Param : $00";
    EXPECT_EQ(log.lines, (Lines{"NetNr: 1 " + kT + " Transmitted Packet Number: 0",
                                "NetNr: 1 " + kT + " Received Packet Number: 0 Param: $01 Data: ",
                                hex40, hex40.substr(0, 30),
                                "NetNr: 2 " + kT + " Transmitted Packet Number: 0",
                                "NetNr: 2 " + kT + " Received Packet Number: 0 " + failure,
                                // "y" stays unsent; "z" after the last block goes to the default
                                "NetNr: 1 " + kT + " Transmitted Packet Number: 0",
                                "NetNr: 1 " + kT + " Received Packet Number: 0 Param: $00 (No Data)",
                                kT + " Transmission finished."}));
    EXPECT_EQ(fake->data, (Lines{"inq", "x", "z"}));
    EXPECT_EQ(dialogs.texts(), QStringList{QString::fromStdString(failure)});
    EXPECT_EQ(sink.templates.lines()[0].shownText, "R=QQ");
    EXPECT_EQ(outcome.failedAnswers, 1);
}

TEST_F(Engine, APortThatDoesNotOpenIsReportedOnceAndEndsTheTransmission)
{
    fake->refused.insert("open");
    for (const bool extended : {true, false}) {
        dialogs.clear();
        const Lines lines = {sot("01"), "A", npack(0), "B", kEot, sot("01"), "C", kEot};
        const auto outcome = extended ? engine.TransmitExtended(lines, 1) : engine.TransmitNormal(lines, 1);
        EXPECT_EQ(dialogs.texts(), QStringList{"Can not open ComPort :/dev/fake0"});
        // Nothing was transmitted, and the receive box does not say otherwise.
        EXPECT_EQ(log.lines, Lines{kT + " Transmission aborted."});
        EXPECT_EQ(outcome.end, End::Aborted);
    }
    // Network digits that are not hex (raw bytes of a HEX line) end it too, with a message.
    fake->refused.clear();
    EXPECT_EQ(engine.TransmitExtended({"\x10\x01" "G1", "A", kEot}, 1).end, End::Aborted);
    EXPECT_EQ(log.lines, Lines{kT + " Transmission aborted."});
    EXPECT_TRUE(fake->data.empty());
}

TEST_F(Engine, OneOpenServesATransmissionAndALostPortEndsItWithOneMessage)
{
    const Lines lines = {"A", npack(0), "B", npack(0), "C"};
    EXPECT_TRUE(engine.TransmitExtended(lines, 1).allAnswered());
    EXPECT_EQ(std::count(fake->calls.begin(), fake->calls.end(), "open /dev/fake0"), 1);
    EXPECT_EQ(fake->calls.back(), "close");

    // The line goes away while B awaits its answer: C is not sent.
    fake->respond = [this](int netNr, const std::string& data) {
        if (data == "B")
            fake->failPort();
        return data == "B" ? std::string() : answer(netNr, 0);
    };
    fake->data.clear();
    EXPECT_EQ(engine.TransmitExtended(lines, 1).end, End::Aborted);
    EXPECT_EQ(fake->data, (Lines{"A", "B"}));
    EXPECT_EQ(dialogs.texts(), QStringList{"Lost connection to ComPort :/dev/fake0"});
    ASSERT_EQ(log.lines.size(), 4u);
    EXPECT_EQ(log.lines[3], kT + " Transmission aborted: lost connection to /dev/fake0.");
    EXPECT_FALSE(fake->isOpen);
}

TEST_F(Engine, ASinglePacketSeriesWaitsWhatItsOwnFpackAsks)
{
    // Series 1 leaves an answer wait of 300 behind; C must not inherit it, D waits its 200.
    engine.TransmitExtended({"A", fpack(300), "B", fpack(300), npack(0), "C", npack(0), "D", fpack(200)}, 1);
    ASSERT_EQ(log.lines.size(), 9u) << log.lines.back();
    EXPECT_EQ(waiter.waits, (std::vector<int>{300, 300, 200}));
    // The cursor is busy through every wait, nested or not, and normal at the end.
    for (size_t i = 0; i < sink.busyCalls.size(); ++i)
        EXPECT_EQ(sink.busyCalls[i], i % 2 == 0);
    EXPECT_EQ(sink.busyCalls.size() % 2, 0u);
}

TEST_F(Engine, ATransmitWhileOneRunsIsRefusedAndThePacketSizeWaitsForTheNext)
{
    QSignalSpy running(&engine, &TransmissionEngine::runningChanged);
    EXPECT_FALSE(engine.SetPacketSize(1));
    EXPECT_FALSE(engine.SetPacketSize(241));
    TransmissionEngine::Outcome inner;
    waiter.after(50, [&] {
        inner = engine.TransmitExtended({"other"}, 1);
        engine.SetPacketSize(2);
    });
    EXPECT_EQ(engine.TransmitExtended({"abcde", npack(200), "fghij"}, 1).end, End::Completed);
    EXPECT_EQ(inner.end, End::Refused);
    EXPECT_EQ(fake->data, (Lines{"abcde", "fghij"}));
    EXPECT_EQ(running.count(), 2);
    engine.TransmitExtended({"abcde"}, 1);
    EXPECT_EQ(fake->data.size(), 2u + 3u);
}

// The owner's stop (a window closing) ends everything at once and touches nothing afterwards.
// The user's Stop lets the packet on the line get its answer or its time-out, judged and
// logged without a box, sends nothing more and says so in the receive box.
TEST_F(Engine, AStopEndsTheTransmissionAtOnceOrAfterTheExchangeNeverInsideAPacket)
{
    struct Case {
        const char* name;
        Lines lines;
        uint8_t code; // 0xFF: no answer at all
        size_t linesBeforeStop; // at once; after the exchange always the two of packet A
    };
    const Case cases[] = {
        {"series wait", {"A", npack(10000), "B"}, 0, 2},
        {"answer wait", {"A", fpack(10000), "B"}, 0, 2},
        {"between blocks", {sot("01"), "A", kEot, npack(10000), sot("01"), "B", kEot}, 0, 2},
        {"exchange", {sot("01"), "A", kEot, sot("01"), "B", kEot}, 0xFF, 1},
        {"error box", {sot("01"), "A", kEot, sot("01"), "B", kEot}, 0x13, 1},
    };
    exchange.SetAnswerTimeout(20);
    for (const bool afterExchange : {false, true})
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (afterExchange ? " after the exchange" : " at once"));
            dialogs.clear();
            fake->data.clear();
            const auto stop = [&] { afterExchange ? engine.requestStopAfterExchange() : engine.requestStop(); };
            fake->respond = [&](int netNr, const std::string&) {
                if (c.code != 0xFF)
                    return answer(netNr, c.code);
                QTimer::singleShot(0, &engine, stop); // while the answer is awaited
                return std::string();
            };
            dialogs.onStep = c.code == 0x13 ? stop : std::function<void()>();
            if (c.code == 0)
                waiter.after(100, stop);
            EXPECT_EQ(engine.TransmitExtended(c.lines, 1).end, End::Stopped);
            EXPECT_EQ(fake->data, Lines{"A"});
            ASSERT_EQ(log.lines.size(), afterExchange ? 3u : c.linesBeforeStop);
            EXPECT_TRUE(!afterExchange || log.lines.back() == kT + " Transmission stopped.") << log.lines.back();
            EXPECT_EQ(dialogs.steps().size(), c.code == 0x13 ? 1 : 0);
            EXPECT_FALSE(driver->Connected());
        }
}

TEST_F(Engine, TheDebugLogOfOnePacketReadsLineByLine)
{
    QTemporaryDir program;
    DebugLog debugLog(wallClock);
    debugLog.setProgramFolder(program.path().toStdString());
    engine.setDebugLog(&debugLog);
    engine.SetDebugFile(true);
    ASSERT_TRUE(startDebugLog(debugLog));
    engine.TransmitExtended({"Hi", "<End>"}, 1);
    QFile file(program.filePath("Log/Debug.log"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().toStdString(),
              "24:03:31 14:02:07:315 Debug File Created: \r\n"
              "14:02:07:315 Transmitted: \r\n"
              "01 05 30 31 46 45 30 30 30 32 48 69 33 34 34 30 ..01FE0002Hi3440\r\n"
              "04 " + std::string(45, ' ') + ".\r\n"
              " \r\n"
              "14:02:07:315 Recieved: \r\n"
              "01 06 30 31 46 45 30 30 30 34 30 30 30 30 42 37 ..01FE00040000B7\r\n"
              "39 41 04 " + std::string(39, ' ') + "9A.\r\n"
              " \r\n");
    // A log folder that cannot be made: one message a transmission, and the packets still go.
    debugLog.setProgramFolder(program.filePath("missing/deeper").toStdString());
    for (const bool create : {false, true}) {
        dialogs.clear();
        engine.SetCreateDebugFile(create);
        EXPECT_EQ(engine.TransmitExtended({"A", npack(0), "B"}, 1).end, End::Completed);
        EXPECT_EQ(dialogs.texts(), QStringList{"Debug: Could not create Directory. " + program.filePath("missing/deeper/Log")
                                               + ": No such file or directory."});
    }
}

// A display that fails every packet gives one box per distinct text in a transmission; the
// receive box still has a line for each failure, and the next transmission shows them again.
TEST_F(Engine, EachDistinctFailureIsShownOnceInATransmissionAndEveryOneIsLogged)
{
    const Lines blocks = {sot("01"), "A", kEot, sot("01"), "B", kEot, sot("01"), "C", kEot};
    const std::tuple<bool, uint8_t, QStringList> cases[] = { // normal framing, code (0xFF: silent), boxes
        {false, 0xFF, {"Error Answer packet incomplete at SOT"}},
        {false, 0x13, {"Answer: Invalid command Param : $00", "Answer: Param value out of range Param : $00"}},
        {true, 0xFF, {"Error: No Answer received. NetNr ?"}},
    };
    exchange.SetAnswerTimeout(5);
    for (const auto& [normal, code, boxes] : cases)
        for (int run = 0; run < 2; ++run) {
            fake->respond = [c = code](int n, const std::string& d) {
                return c == 0xFF ? std::string() : answer(n, d == "B" ? 0x15 : c);
            };
            dialogs.clear();
            EXPECT_EQ((normal ? engine.TransmitNormal(blocks, 1) : engine.TransmitExtended(blocks, 1)).failedAnswers, 3);
            EXPECT_EQ(dialogs.texts(), boxes) << int(code);
            EXPECT_EQ(log.lines.size(), normal ? 6u : 7u);
        }
}

TEST_F(Engine, AnNpackBetweenDisplayBlocksKeepsTheNextWaitingAndTheRestIsStillSent)
{
    const Lines lines = {sot("01"), "A", kEot, npack(300), fpack(50), sot("02"), "B", kEot, npack(5000),
                         "<End>"};
    EXPECT_EQ(engine.TransmitExtended(lines, 1).end, End::Completed);
    EXPECT_EQ(waiter.waits, std::vector<int>{300}); // the NPACK at the very end does not wait
    EXPECT_EQ(fake->data, (Lines{"A", "B"}));
    ASSERT_EQ(log.lines.size(), 5u) << log.lines.back();
    EXPECT_EQ(log.lines[2].substr(0, 9), "NetNr: 2 ");
    EXPECT_EQ(log.lines[4].substr(12), " Transmission finished.");

    // A failed block before the NPACK does not keep the next one from going.
    fake->data.clear();
    fake->respond = [](int netNr, const std::string&) { return answer(netNr, netNr == 1 ? 0x13 : 0); };
    EXPECT_EQ(engine.TransmitExtended({sot("01"), "A", npack(0), "x", kEot, npack(0), sot("02"), "B", kEot},
                                       1).end,
              End::Completed);
    EXPECT_EQ(fake->data, (Lines{"A", "B"}));
    EXPECT_EQ(dialogs.steps().size(), 1u);
}
