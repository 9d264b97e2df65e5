// Whole transmissions through the real driver and exchange over a pseudo-terminal, against
// the virtual display. The waits between packets take no time, except in the one test that
// measures a wait.
#include "serial_line_fixture.h"

#include <QElapsedTimer>

using namespace lmx;
using namespace lmx::sim;
using namespace enginetest;
using Line = serialtest::EngineLine;

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
    for (const Case& c : cases) for (const bool overTcp : {false, true}) {
        SCOPED_TRACE(std::string(c.name) + (overTcp ? " over TCP" : ""));
        Line line({1}, FaultKind::None, false, overTcp);
        line.engine.SetPacketSize(c.packetSize);
        EXPECT_TRUE(line.engine.TransmitExtended(c.lines, 1).allAnswered());
        EXPECT_TRUE(line.waiter.waits.empty());
        const auto packetNr = [](const auto& p) { return int(p.packetNr); };
        EXPECT_EQ(collect(line.sent(c.numbers.size()), packetNr), c.numbers);
        // Counted before the first packet went, as the engine then sent them.
        EXPECT_EQ(collect(line.recorder.plan().packets, packetNr), c.numbers);
        for (size_t i = 0; i < line.progress.size(); ++i)
            EXPECT_TRUE(line.progress[i].packet == int(i + 1) && line.progress[i].planned == int(c.numbers.size()));
        ASSERT_EQ(line.log.lines.size(), 2 * c.numbers.size() + 1);
        EXPECT_EQ(line.log.lines.back(), kT + " Transmission finished.");
        // one connection for the whole transmission, none without a packet
        EXPECT_EQ(line.server.clientsServed(), overTcp && !c.numbers.empty() ? 1u : 0u);
    }
}

// Its message when it went away mid-exchange is SerialLine's; here a transmission finds nobody
// listening, and the next one connects to the server that is back.
TEST(TransmissionLine, ADeviceServerThatIsGoneIsOneMessageAndTheNextTransmitConnectsAgain)
{
    Line line({1}, FaultKind::None, false, true);
    const std::string url = line.driver.PortName();
    const Lines lines = {"A", npack(0), "B"};
    line.server.stop();
    EXPECT_EQ(line.engine.TransmitExtended(lines, 1).end, TransmissionEngine::End::Aborted);
    SimServer back(serialtest::simOptions());
    // the same port of tcp://HOST:PORT
    const auto port = static_cast<uint16_t>(std::stoi(url.substr(url.rfind(':') + 1)));
    ASSERT_EQ(back.startOnTcp("127.0.0.1", port), url) << back.errorText();
    EXPECT_TRUE(line.engine.TransmitExtended(lines, 1).allAnswered());
    EXPECT_EQ(back.clientsServed(), 1u);
    EXPECT_EQ(line.dialogs.texts(),
              QStringList{"Can not open ComPort :" + QString::fromStdString(url)});
    EXPECT_FALSE(line.dialogs.steps().value(0).detail.isEmpty()); // the system's reason
}

TEST(TransmissionLine, BlocksGoToTheNetworkNumberAfterSotAndTheRestToTheDefault)
{
    Line line({1, 5, 26});
    line.engine.TransmitExtended({"pre", sot("1A"), "x", kEot, sot("05"), kEot, sot("05"), "y", kEot, "post"}, 1);
    EXPECT_EQ(collect(line.sent(4), [](const PacketRecord& p) { return int(p.netNr); }),
              (std::vector<int>{1, 26, 5, 1}));
    // The block with only SOT and EOT sends nothing and logs nothing.
    EXPECT_EQ(line.log.lines.size(), 9u);

    // Each packet knows its block and the lines it came from; the summary goes per display.
    std::vector<std::string> blocks;
    for (const ExchangeRecord& r : line.recorder.records()) {
        const PlannedBlock& b = line.recorder.plan().blocks.at(size_t(r.block));
        blocks.push_back(std::to_string(b.netNr) + "/" + std::to_string(b.number) + " line "
                         + std::to_string(r.lines.at(0)) + (r.rttMs ? "" : " untimed"));
    }
    EXPECT_EQ(blocks, (Lines{"1/1 line 0", "26/1 line 2", "5/1 line 7", "1/2 line 9"}));
    const ExchangeSummary summary = line.recorder.summary();
    ASSERT_EQ(summary.displays.size(), 3u);
    EXPECT_EQ(summary.displays[0].netNr, 1);
    EXPECT_EQ(summary.displays[0].ok, 2);
    EXPECT_EQ(summary.displays[2].netNr, 5);
    EXPECT_EQ(summary.ok, 4);
}

TEST(TransmissionLine, ABroadcastWithoutAnswerCountsAsDoneAndAnNpackDelaysTheNextSeries)
{
    Line line({1});
    line.exchange.SetAnswerTimeout(200);
    EXPECT_TRUE(line.engine.TransmitExtended({"A", npack(0), "B"}, 0).allAnswered());
    const std::string sent = "NetNr: 0 " + kT + " Transmitted Packet Number: 0";
    const std::string rs485 = "NetNr: 0 " + kT
        + " Packet Number: 0 No answer received. Transmission done via NetNr 0. (RS485)";
    EXPECT_EQ(line.log.lines, (Lines{sent, rs485, sent, rs485, kT + " Transmission finished."}));
    EXPECT_EQ(line.sentData(2), (Lines{"A", "B"}));

    line.engine.setWaiter(nullptr); // the one wait here that takes its time
    QElapsedTimer t;
    t.start();
    EXPECT_TRUE(line.engine.TransmitExtended({"C", npack(300), "D"}, 1).allAnswered());
    EXPECT_GE(t.elapsed(), 300);
    EXPECT_EQ(line.sentData(4), (Lines{"A", "B", "C", "D"}));
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
    // Unsent blocks count for the report; a normal packet carries its SOT and EOT lines.
    EXPECT_EQ(collect(line.recorder.plan().blocks, [](const PlannedBlock& b) { return b.packets; }),
              (std::vector<int>{1, 0, 0, 1}));
    EXPECT_EQ(line.recorder.records().at(1).lines, (std::vector<int>{6, 7, 8}));
    EXPECT_EQ(line.recorder.records().at(1).resultChar, '0');
}

TEST(TransmissionLine, EveryFaultIsReportedAndTheRestOfItsBlockIsSkipped)
{
    // The receive box's message and the packet table's answer state.
    const std::tuple<FaultKind, std::string, std::string> cases[] = {
        {FaultKind::NoAnswer, "Error Answer packet incomplete at SOT", "no answer"},
        {FaultKind::Slow, "Error Answer packet incomplete at SOT", "no answer"},
        {FaultKind::BadCrc, "Error Invalid answer CRC at CRC", ""},
        {FaultKind::WrongSeq, "Error Invalid answer sequence at Packet Nr", ""},
        {FaultKind::Truncated, "Error Answer packet incomplete at CRC", ""},
        {FaultKind::Garbage, "Error Invalid answer packet at ACK", ""},
        {FaultKind::Code, "Answer: Param value out of range Param : $00", "OK"},
    };
    for (const auto& [fault, message, state] : cases) {
        SCOPED_TRACE(faultName(fault));
        Line line({1}, fault);
        line.exchange.SetAnswerTimeout(300);
        const auto outcome = line.engine.TransmitExtended({sot("01"), "A1", fpack(0), "A2", npack(0), "B", kEot, "C"}, 1);
        // Both packets of the failed series go; "B" after it does not; "C" is the next block.
        EXPECT_EQ(line.sentData(3), (Lines{"A1", "A2", "C"}));
        ASSERT_EQ(line.log.lines.size(), 7u);
        EXPECT_EQ(line.log.lines[1], "NetNr: 1 " + kT + " Received Packet Number: 0 " + message);
        EXPECT_EQ(line.log.lines.back(), kT + " Transmission aborted.");
        EXPECT_EQ(outcome.failedAnswers, 3);

        // "B" was counted but skipped: "C" is the fourth packet.
        const std::vector<ExchangeRecord>& records = line.recorder.records();
        ASSERT_EQ(records.size(), 3u);
        EXPECT_EQ(records[0].state, state.empty() ? message.substr(6) : state);
        EXPECT_EQ(line.recorder.progress().packet, 4);
        EXPECT_EQ(line.recorder.progress().planned, 4);
        EXPECT_EQ(line.recorder.progress().failures, 3);
        const ExchangeSummary summary = line.recorder.summary();
        ASSERT_EQ(summary.displays.size(), 1u);
        EXPECT_EQ(summary.displays[0].failed, 3);
        EXPECT_EQ(summary.displays[0].lastFailure, fault == FaultKind::Code ? "Param value out of range" : records[0].state);
        // Timed only up to an end byte.
        EXPECT_EQ(records[0].rttMs.has_value(), state != "no answer" && fault != FaultKind::Truncated);
    }
}

namespace {

// The device server goes away once the first packet is answered; the second finds it gone.
struct LostServer {
    Line line{{1}, FaultKind::None, false, true};

    LostServer()
    {
        QObject::connect(&line.recorder, &lmx::ExchangeRecorder::recordChanged, [this](int index) {
            if (index == 0)
                line.server.stop();
        });
        line.engine.TransmitExtended({"A", npack(0), "B"}, 1);
    }
};

} // namespace

TEST(TransmissionLine, ALostPortIsNamedWithItsReasonInTheEndLine)
{
    LostServer lost;
    const std::string& last = lost.line.log.lines.back();
    EXPECT_EQ(last.rfind(kT + " Transmission aborted: lost connection to " + lost.line.driver.PortName() + " (", 0), 0u) << last;
    EXPECT_EQ(last.substr(last.size() - 2), ").");
}

TEST(TransmissionLine, ALostPortCountsAsAFailedExchange)
{
    LostServer lost;
    const std::vector<ExchangeRecord>& records = lost.line.recorder.records();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1].state, "port lost");
    EXPECT_EQ(records[1].failure.rfind("lost connection to " + lost.line.driver.PortName(), 0), 0u);
    EXPECT_EQ(lost.line.recorder.summary().failed, 1);
}
