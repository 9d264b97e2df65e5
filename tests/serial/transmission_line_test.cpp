// Whole transmissions through the real driver and exchange over a pseudo-terminal, against
// the virtual display. The waits between packets take no time, except in the one test that
// measures a wait.
#include "engine_test_support.h"

#include "protocol/hex.h"
#include "serial/answer_templates.h"
#include "serial/packet_exchange.h"
#include "serial/qt_serial_backend.h"
#include "serial/transmission_engine.h"
#include "sim/content_parser.h"
#include "sim/sim_server.h"
#include "tests/support/scripted_dialogs.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

using namespace lmx;
using namespace lmx::sim;
using namespace enginetest;

namespace {

struct Line : AnswerDataSink {
    explicit Line(std::vector<uint8_t> netNrs, FaultKind fault = FaultKind::None, bool normal = false)
        : server([&] {
              SimOptions o;
              o.netNrs = std::move(netNrs);
              o.fault = fault;
              o.faultCode = 0x15;
              o.slowDelayMs = 500;
              o.normalFraming = normal;
              return o;
          }()),
          driver(std::make_unique<QtSerialBackend>()),
          exchange(driver, dialogs),
          engine(exchange, dialogs, log, clock)
    {
        driver.SetPortName(server.start());
        engine.setAnswerDataSink(this);
        engine.setWaiter(&waiter);
    }
    void answerData(const std::string& data) override { templates.FillAnswerTemplates(data); }
    std::vector<PacketRecord> sent(size_t count)
    {
        EXPECT_TRUE(server.waitForPackets(count, 3000));
        return server.packets();
    }
    Lines sentData(size_t count)
    {
        Lines out;
        for (const PacketRecord& p : sent(count))
            out.push_back(p.data);
        return out;
    }

    SimServer server;
    TestWallClock clock;
    ManualWaiter waiter;
    ScriptedDialogs dialogs;
    RecordingLog log;
    AnswerTemplates templates;
    TCommPortDriver driver;
    PacketExchange exchange;
    TransmissionEngine engine;
};

} // namespace

TEST(TransmissionLine, SeriesArePacketsNumberedByTheirPlace)
{
    std::vector<int> wrapped = {0x40};
    for (int k = 1; k < 64; ++k)
        wrapped.push_back(0xC0 + k);
    wrapped.push_back(0x80); // the 65th packet: sequence 0 again
    struct Case {
        const char* name;
        Lines lines;
        int packetSize;
        std::vector<int> numbers;
    } const cases[] = {
        {"241 bytes", {std::string(241, 'a')}, 240, {0x40, 0x81}},
        {"three chunks", {"aa", fpack(0), "bb", fpack(0), "cc"}, 240, {0x40, 0xC1, 0x82}},
        {"one chunk", {"abc", fpack(0)}, 240, {0x00}},
        {"65 chunks", {std::string(130, 'a')}, 2, wrapped},
        // the second FPACK's wait is lost, and an NPACK with nothing after it waits nothing
        {"adjacent fpacks", {"aa", fpack(0), fpack(3000), "bb"}, 240, {0x40, 0x81}},
        {"npack at the end", {"aa", npack(3000), "<End>"}, 240, {0x00}},
        {"only the end line", {"<End>"}, 240, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Line line({1});
        line.engine.SetPacketSize(c.packetSize);
        EXPECT_TRUE(line.engine.TransmitExtended(c.lines, 1).allAnswered());
        EXPECT_TRUE(line.waiter.waits.empty());
        std::vector<int> numbers;
        for (const PacketRecord& p : line.sent(c.numbers.size()))
            numbers.push_back(p.packetNr);
        EXPECT_EQ(numbers, c.numbers);
        ASSERT_EQ(line.log.lines.size(), 2 * c.numbers.size() + 1);
        EXPECT_EQ(line.log.lines.back(), kT + " Transmission finished.");
    }
}

TEST(TransmissionLine, BlocksGoToTheNetworkNumberAfterSotAndTheRestToTheDefault)
{
    Line line({1, 5, 26});
    line.engine.TransmitExtended({"pre", sot("1A"), "x", kEot, sot("05"), kEot, sot("05"), "y", kEot, "post"}, 1);
    std::vector<int> netNrs;
    for (const PacketRecord& p : line.sent(4))
        netNrs.push_back(p.netNr);
    EXPECT_EQ(netNrs, (std::vector<int>{1, 26, 5, 1}));
    // The block with only SOT and EOT sends nothing and logs nothing.
    ASSERT_EQ(line.log.lines.size(), 9u);
    EXPECT_EQ(line.log.lines[2], "NetNr: 26 " + kT + " Transmitted Packet Number: 0");
    EXPECT_EQ(line.log.lines[5], "NetNr: 5 " + kT + " Received Packet Number: 0 Param: $00 (No Data)");
}

TEST(TransmissionLine, ADataAnswerIsLoggedInHexAndFillsTheTemplates)
{
    Line line({1});
    line.templates.append("V=" + std::string(27, '@'));
    line.engine.TransmitExtended({inquiryLine(2).commandLine, inquiryLine(4).commandLine}, 1);
    const std::string reply = std::string(kVersionText) + kDefaultConfiguration; // 61 bytes
    ASSERT_EQ(line.log.lines.size(), 5u);
    EXPECT_EQ(line.log.lines[1], "NetNr: 1 " + kT + " Received Packet Number: 0 Param: $01 Data: ");
    EXPECT_EQ(line.log.lines[2].size(), 120u);
    EXPECT_EQ(line.log.lines[2] + line.log.lines[3], normalisedHexText(reply) + " ");
    EXPECT_EQ(line.templates.lines()[0].shownText, "V=Orvanta virtual display 1.0");
}

TEST(TransmissionLine, ABroadcastWithoutAnswerCountsAsDone)
{
    Line line({1});
    line.exchange.SetAnswerTimeout(200);
    EXPECT_TRUE(line.engine.TransmitExtended({"A", npack(0), "B"}, 0).allAnswered());
    const std::string sent = "NetNr: 0 " + kT + " Transmitted Packet Number: 0";
    const std::string rs485 = "NetNr: 0 " + kT
        + " Packet Number: 0 No answer received. Transmission done via NetNr 0. (RS485)";
    EXPECT_EQ(line.log.lines, (Lines{sent, rs485, sent, rs485, kT + " Transmission finished."}));
    EXPECT_EQ(line.sentData(2), (Lines{"A", "B"}));
}

TEST(TransmissionLine, TheNormalFramingSendsEachBlockWhole)
{
    Line line({1}, FaultKind::None, true);
    line.engine.TransmitNormal({"x", sot("01"), std::string(241, 'y'), kEot, sot("01"), kEot,
                                sot("01"), "ok", kEot, sot("01"), "open"},
                               1);
    const std::string sent = "NetNr: 1 " + kT + " Transmit Normal LMX";
    const std::string ok = "NetNr: 1 " + kT + " Answer Normal LMX: OK.";
    const std::string noData = kT + " No data to be transmitted !!";
    // A block without EOT ends the transmission instead of looping on it for ever.
    EXPECT_EQ(line.log.lines, (Lines{sent, ok, noData, noData, sent, ok, kT + " Transmission aborted."}));
    EXPECT_EQ(line.sentData(2), (Lines{"x", "ok"}));
}

TEST(TransmissionLine, EveryFaultIsReportedAndTheRestOfItsBlockIsSkipped)
{
    const std::pair<FaultKind, std::string> cases[] = {
        {FaultKind::NoAnswer, "Error Answer packet incomplete at SOT"},
        {FaultKind::Slow, "Error Answer packet incomplete at SOT"},
        {FaultKind::BadCrc, "Error Invalid answer CRC at CRC"},
        {FaultKind::WrongNetNr, "Error Answer has wrong netnr at Network Nr"},
        {FaultKind::WrongSeq, "Error Invalid answer sequence at Packet Nr"},
        {FaultKind::BadLength, "Error Invalid answer packet size at Data Length"},
        {FaultKind::Truncated, "Error Answer packet incomplete at CRC"},
        {FaultKind::Garbage, "Error Invalid answer packet at ACK"},
        {FaultKind::Code, "Answer: Param value out of range Param : $00"},
    };
    for (const auto& [fault, message] : cases) {
        SCOPED_TRACE(faultName(fault));
        Line line({1}, fault);
        line.exchange.SetAnswerTimeout(300);
        const auto outcome = line.engine.TransmitExtended({sot("01"), "A1", fpack(0), "A2", npack(0), "B", kEot, "C"}, 1);
        // Both packets of the failed series go; "B" after it does not; "C" is the next block.
        EXPECT_EQ(line.sentData(3), (Lines{"A1", "A2", "C"}));
        ASSERT_EQ(line.log.lines.size(), 7u);
        EXPECT_EQ(line.log.lines[1], "NetNr: 1 " + kT + " Received Packet Number: 0 " + message);
        EXPECT_EQ(line.dialogs.texts().value(0).toStdString(), message);
        EXPECT_EQ(line.log.lines.back(), kT + " Transmission aborted.");
        EXPECT_EQ(outcome.failedAnswers, 3);
    }
}

TEST(TransmissionLine, AnNpackDelaysTheNextSeriesByItsWait)
{
    Line line({1});
    line.engine.setWaiter(nullptr);
    QElapsedTimer t;
    t.start();
    EXPECT_TRUE(line.engine.TransmitExtended({"A", npack(300), "B"}, 1).allAnswered());
    EXPECT_GE(t.elapsed(), 300);
    EXPECT_EQ(line.sentData(2), (Lines{"A", "B"}));
}
