// The engine on the real driver and exchange over a fake line whose display answers at once:
// the exact receive-box texts, the debug log, waits, and what happens while a transmission
// runs (a second Transmit, a stop, the owner going away).
#include "engine_test_support.h"
#include "serial_test_support.h"

#include "files/debug_log.h"
#include "protocol/hex.h"
#include "serial/answer_templates.h"
#include "serial/packet_exchange.h"
#include "serial/transmission_engine.h"
#include "sim/answer_writer.h"
#include "support/scripted_dialogs.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace lmx;
using namespace enginetest;
using namespace serialtest;
using End = TransmissionEngine::End;

namespace {

// Answers every complete packet the moment its last byte is written: by default OK without
// data, or whatever `respond` returns (empty for silence).
class DisplayBackend : public FakeSerialBackend {
public:
    std::function<std::string(int netNr, const std::string& data)> respond;
    Lines data; // the data of every packet, in order

    int64_t write(const char* bytes, uint32_t size) override
    {
        const int64_t n = FakeSerialBackend::write(bytes, size);
        m_pending.append(bytes, static_cast<size_t>(std::max<int64_t>(n, 0)));
        uint8_t netNr = 0, packetNr = 0, length = 0;
        if (m_pending.size() < 10 || !hexToByte(m_pending.substr(2, 2), netNr)
            || !hexToByte(m_pending.substr(6, 2), packetNr)
            || !hexToByte(m_pending.substr(8, 2), length) || m_pending.size() < 15u + length)
            return n;
        data.push_back(m_pending.substr(10, length));
        m_pending.clear();
        const std::string answer = respond ? respond(netNr, data.back())
                                           : sim::answerPacket(netNr, packetNr, sim::answerData(0, {}));
        if (!answer.empty())
            arrive(answer);
        return n;
    }

private:
    std::string m_pending;
};

class AnswerBox : public AnswerDataSink {
public:
    void answerData(const std::string& data) override { templates.FillAnswerTemplates(data); }
    AnswerTemplates templates;
};

class BusyRecord : public BusyIndicator {
public:
    void setBusy(bool busy) override { calls.push_back(busy); }
    std::vector<bool> calls;
};

// Answer to packet number 0 of the given network number.
std::string answer(int netNr, uint8_t code, const std::string& reply = {})
{
    return sim::answerPacket(static_cast<uint8_t>(netNr), 0, sim::answerData(code, reply));
}

class Engine : public ::testing::Test {
protected:
    Engine()
    {
        auto b = std::make_unique<DisplayBackend>();
        backend = b.get();
        driver = std::make_unique<TCommPortDriver>(std::move(b));
        driver->SetPortName("/dev/fake0");
        exchange = std::make_unique<PacketExchange>(*driver, dialogs);
        engine = std::make_unique<TransmissionEngine>(*exchange, dialogs, log, clock);
    }
    // Runs `action` from the event loop once `ms` have passed.
    void after(int ms, std::function<void()> action) { QTimer::singleShot(ms, engine.get(), action); }

    TestWallClock clock;
    ScriptedDialogs dialogs;
    RecordingLog log;
    DisplayBackend* backend = nullptr;
    std::unique_ptr<TCommPortDriver> driver;
    std::unique_ptr<PacketExchange> exchange;
    std::unique_ptr<TransmissionEngine> engine;
};

const std::string kT = "14:02:07:315";

} // namespace

TEST_F(Engine, ReceiveBoxLinesReadAsDescribed)
{
    const std::string reply(50, 'Q');
    backend->respond = [&](int netNr, const std::string& data) {
        return data == "inq" ? answer(netNr, 0, reply) : answer(netNr, netNr == 2 ? 0x15 : 0);
    };
    AnswerBox box;
    box.templates.append("R=@@");
    engine->setAnswerDataSink(&box);

    const auto outcome = engine->TransmitExtended(
        {sot("01"), "inq", kEot, sot("02"), "x", npack(0), "y", kEot, "z", "<End>"}, 1);
    const std::string hex40 = [] {
        std::string s;
        for (int i = 0; i < 40; ++i)
            s += "51 ";
        return s;
    }();
    const std::string failure = "Answer: Param value out of range Param : $00";
    EXPECT_EQ(log.lines,
              (Lines{"NetNr: 1 " + kT + " Transmitted Packet Number: 0",
                     "NetNr: 1 " + kT + " Received Packet Number: 0 Param: $01 Data: ", hex40,
                     hex40.substr(0, 30),
                     "NetNr: 2 " + kT + " Transmitted Packet Number: 0",
                     "NetNr: 2 " + kT + " Received Packet Number: 0 " + failure,
                     // "y" stays unsent; "z" after the last block goes to the default again
                     "NetNr: 1 " + kT + " Transmitted Packet Number: 0",
                     "NetNr: 1 " + kT + " Received Packet Number: 0 Param: $00 (No Data)",
                     kT + " Transmission finished."}));
    EXPECT_EQ(backend->data, (Lines{"inq", "x", "z"}));
    EXPECT_EQ(dialogs.texts(), QStringList{QString::fromStdString(failure)});
    EXPECT_EQ(dialogs.steps()[0].icon, UserDialogs::Icon::Error);
    EXPECT_EQ(box.templates.lines()[0].shownText, "R=QQ");
    EXPECT_EQ(outcome.packetsSent, 3);
    EXPECT_EQ(outcome.failedAnswers, 1);
    EXPECT_FALSE(outcome.allAnswered());
}

TEST_F(Engine, APortThatDoesNotOpenIsReportedOnceAndEndsTheTransmission)
{
    backend->refused.insert("open");
    for (const bool extended : {true, false}) {
        dialogs.clear();
        const Lines lines = {sot("01"), "A", npack(0), "B", kEot, sot("01"), "C", kEot};
        const auto outcome = extended ? engine->TransmitExtended(lines, 1)
                                      : engine->TransmitNormal(lines, 1);
        EXPECT_EQ(dialogs.texts(), QStringList{"Can not open ComPort :/dev/fake0"});
        ASSERT_EQ(log.lines.size(), 2u);
        EXPECT_EQ(log.lines[1], kT + " Transmission aborted.");
        EXPECT_EQ(outcome.end, End::Aborted);
        EXPECT_EQ(outcome.packetsSent, 0);
    }
}

TEST_F(Engine, BadNetworkDigitsEndTheTransmissionWithAMessage)
{
    const auto outcome = engine->TransmitExtended({"\x10\x01" "G1", "A", kEot}, 1);
    EXPECT_EQ(dialogs.steps().size(), 1);
    EXPECT_EQ(log.lines, Lines{kT + " Transmission aborted."});
    EXPECT_EQ(outcome.end, End::Aborted);
    EXPECT_TRUE(backend->data.empty());
}

TEST_F(Engine, ASinglePacketSeriesWaitsWhatItsOwnFpackAsks)
{
    clock.run();
    BusyRecord busy;
    engine->setBusyIndicator(&busy);
    // Series 1 leaves an answer wait of 300 behind; C must not inherit it, D waits its 200.
    engine->TransmitExtended({"A", fpack(300), "B", fpack(300), npack(0), "C", npack(0), "D",
                              fpack(200)},
                             1);
    ASSERT_EQ(log.lines.size(), 9u) << log.lines.back();
    EXPECT_LT(stampMs(log.lines[6]) - stampMs(log.lines[5]), 250); // C answered -> D sent
    EXPECT_GE(stampMs(log.lines[8]) - stampMs(log.lines[7]), 200); // D answered -> end
    EXPECT_EQ(log.lines[8].substr(12), " Transmission finished.");
    // The cursor is busy through every wait, nested or not, and normal at the end.
    ASSERT_FALSE(busy.calls.empty());
    for (size_t i = 0; i < busy.calls.size(); ++i)
        EXPECT_EQ(busy.calls[i], i % 2 == 0);
}

TEST_F(Engine, ATransmitWhileOneRunsIsRefusedAndThePacketSizeWaitsForTheNext)
{
    QSignalSpy running(engine.get(), &TransmissionEngine::runningChanged);
    EXPECT_FALSE(engine->SetPacketSize(1));
    EXPECT_FALSE(engine->SetPacketSize(241));
    TransmissionEngine::Outcome inner;
    after(50, [&] {
        EXPECT_TRUE(engine->running());
        inner = engine->TransmitExtended({"other"}, 1);
        engine->SetPacketSize(2);
    });
    const auto outcome = engine->TransmitExtended({"abcde", npack(200), "fghij"}, 1);
    EXPECT_EQ(inner.end, End::Refused);
    EXPECT_EQ(outcome.end, End::Completed);
    EXPECT_EQ(backend->data, (Lines{"abcde", "fghij"}));
    EXPECT_EQ(running.count(), 2);
    EXPECT_FALSE(engine->running());

    engine->TransmitExtended({"abcde"}, 1);
    EXPECT_EQ(backend->data.size(), 2u + 3u);
}

TEST_F(Engine, AStopEndsAWaitOrAnExchangeAtOnceAndTouchesNothingAfterwards)
{
    struct Case {
        const char* name;
        Lines lines;
        size_t linesBeforeStop;
    };
    const Case cases[] = {
        {"series wait", {"A", npack(10000), "B"}, 2},
        {"answer wait", {"A", fpack(10000), "B"}, 2},
        {"exchange", {"A"}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        backend->respond = [&](int netNr, const std::string&) {
            return std::string(c.name) == "exchange" ? std::string() : answer(netNr, 0);
        };
        // The owner closes: it asks for the stop and lets everything go once Transmit returned.
        after(100, [&] { engine->requestStop(); });
        QElapsedTimer t;
        t.start();
        const auto outcome = engine->TransmitExtended(c.lines, 1);
        EXPECT_LT(t.elapsed(), 900);
        EXPECT_EQ(outcome.end, End::Stopped);
        EXPECT_EQ(log.lines.size(), c.linesBeforeStop);
        EXPECT_TRUE(dialogs.steps().isEmpty());
        EXPECT_FALSE(driver->Connected());
    }
    engine.reset();
    exchange.reset();
    backend->arrive(answer(1, 0)); // late bytes find nobody listening
    runPending();
    driver.reset();
}

TEST_F(Engine, AStopWhileAnErrorBoxIsUpAddsNoLine)
{
    struct StoppingDialogs : ScriptedDialogs {
        TransmissionEngine* engine = nullptr;
        void message(const QString& text, const QString& title, Icon icon) override
        {
            ScriptedDialogs::message(text, title, icon);
            engine->requestStop(); // the window closed while the box was up
        }
    } stopping;
    engine.reset();
    exchange = std::make_unique<PacketExchange>(*driver, stopping);
    engine = std::make_unique<TransmissionEngine>(*exchange, stopping, log, clock);
    stopping.engine = engine.get();
    backend->respond = [](int netNr, const std::string&) { return answer(netNr, 0x13); };
    const auto outcome = engine->TransmitExtended({"A", npack(0), "B"}, 1);
    EXPECT_EQ(outcome.end, End::Stopped);
    EXPECT_EQ(log.lines.size(), 1u);
    EXPECT_EQ(stopping.steps().size(), 1);
}

TEST_F(Engine, TheDebugLogOfOnePacketReadsLineByLine)
{
    QTemporaryDir program;
    DebugLog debugLog(clock);
    debugLog.setProgramFolder(program.path().toStdString());
    engine->setDebugLog(&debugLog);
    engine->SetDebugFile(true);
    ASSERT_TRUE(startDebugLog(debugLog));
    engine->TransmitExtended({"Hi", "<End>"}, 1);

    std::ifstream in(program.path().toStdString() + "/Log/Debug.log", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(),
              "24:03:31 14:02:07:315 Debug File Created: \r\n"
              "14:02:07:315 Transmitted: \r\n"
              "01 05 30 31 46 45 30 30 30 32 48 69 33 34 34 30 ..01FE0002Hi3440\r\n"
              "04 " + std::string(45, ' ') + ".\r\n"
              " \r\n"
              "14:02:07:315 Recieved: \r\n"
              "01 06 30 31 46 45 30 30 30 34 30 30 30 30 42 37 ..01FE00040000B7\r\n"
              "39 41 04 " + std::string(39, ' ') + "9A.\r\n"
              " \r\n");
    EXPECT_TRUE(dialogs.steps().isEmpty());

    // A log folder that cannot be made: one message per packet, and the packets still go.
    debugLog.setProgramFolder(program.path().toStdString() + "/missing/deeper");
    const auto outcome = engine->TransmitExtended({"A", npack(0), "B"}, 1);
    EXPECT_EQ(dialogs.texts(), QStringList(2, "Debug: Could not create Directory."));
    EXPECT_EQ(outcome.end, End::Completed);
}
