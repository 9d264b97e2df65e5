// The driver and the packet exchange over a real pseudo-terminal, against the virtual display.
#include "serial_line_fixture.h"

#include "files/settings.h"
#include "protocol/answer.h"
#include "protocol/framing.h"
#include "serial/serial_settings_apply.h"

#include <QElapsedTimer>
#include <QSignalSpy>

using namespace lmx;
using namespace lmx::sim;
using namespace serialtest;

namespace {

const std::string kFontPacket = "\x01\x05" "01FE0003" "\x1B\xA0" "1" "CD43" "\x04";

std::string normalPacket(std::string_view data)
{
    return *buildNormalPacket(1, data);
}

} // namespace

TEST(SerialLine, AnAnswerInTwoChunksCompletesWithTheChunkThatEnds)
{
    SimOptions options = simOptions(false, FaultKind::Split);
    options.splitPauseMs = 150; // three receive polls
    SerialLine line(options);
    ASSERT_FALSE(line.path.empty()) << line.server.errorText();
    line.exchange.SetDebugView(true);
    std::vector<QByteArray> chunks;
    std::vector<bool> doneAtChunk;
    QObject::connect(&line.exchange, &PacketExchange::receiveViewUpdate,
                     [&](const QByteArray& chunk) {
                         chunks.push_back(chunk);
                         doneAtChunk.push_back(line.exchange.done());
                     });

    ASSERT_TRUE(line.transmit(kFontPacket));
    ASSERT_EQ(chunks.size(), 2u);
    EXPECT_FALSE(chunks[0].contains('\x04'));
    EXPECT_FALSE(doneAtChunk[0]);
    ASSERT_EQ(line.answers.size(), 1u);
    EXPECT_EQ(line.answers[0], (chunks[0] + chunks[1]).toStdString());
    const AnswerParse parse = parseExtendedAnswer(line.answers[0], 1, 0);
    ASSERT_TRUE(parse.ok) << errorText(parse);
    EXPECT_TRUE(parseAnswerData(parse.data).answerOk());
    EXPECT_FALSE(line.driver.Connected());
}

TEST(SerialLine, ANormalAnswerDigitCompletesAtOnce)
{
    SerialLine line(simOptions(true));
    ASSERT_FALSE(line.path.empty());
    line.exchange.SetAnswerTimeout(10000);
    ASSERT_TRUE(line.transmit(normalPacket("Hello"), 5000)); // long before the time-out
    EXPECT_EQ(line.answers, std::vector<std::string>{"0"});
    ASSERT_EQ(line.server.packets().size(), 1u);
    EXPECT_EQ(line.server.packets()[0].data, "Hello");
}

TEST(SerialLine, LowerCaseLettersCompleteOnlyByTheTimeOut)
{
    SerialLine line(simOptions(true, FaultKind::Garbage));
    ASSERT_FALSE(line.path.empty());
    line.exchange.SetAnswerTimeout(400);
    QSignalSpy leds(&line.exchange, &PacketExchange::trafficActivity);
    QElapsedTimer t;
    t.start();
    ASSERT_TRUE(line.transmit(normalPacket("Hello")));
    EXPECT_GE(t.elapsed(), 400);
    EXPECT_EQ(line.answers, std::vector<std::string>{"xyz"});
    int receiveLeds = 0;
    for (const auto& args : leds)
        receiveLeds += args.at(0).toInt() == PacketExchange::kReceiveLed;
    EXPECT_GE(receiveLeds, 1); // the letters came long before the end
}

TEST(SerialLine, APortThatDoesNotExistGivesTheMessageAndNoAnswer)
{
    SerialLine line(simOptions());
    line.driver.SetPortName("/dev/orvanta-no-such-port");
    EXPECT_FALSE(line.transmit(kFontPacket));
    EXPECT_EQ(line.dialogs.texts(), QStringList{"Can not open ComPort :/dev/orvanta-no-such-port"});
    runPending();
    EXPECT_TRUE(line.answers.empty());
    EXPECT_TRUE(line.exchange.done());
}

TEST(SerialLine, ALineThatGoesAwayEndsTheExchangeOnce)
{
    SerialLine line(simOptions(false, FaultKind::NoAnswer));
    ASSERT_FALSE(line.path.empty());
    line.exchange.SetAnswerTimeout(20000);
    line.exchange.SendPacket(kFontPacket);
    ASSERT_TRUE(line.server.waitForPackets(1, 2000));
    line.server.stop(); // the other end of the line is gone, as an unplugged adapter
    ASSERT_TRUE(waitUntil([&] { return line.exchange.done(); }, 10000)); // before the time-out
    runPending();
    EXPECT_EQ(line.answers, std::vector<std::string>{""});
    EXPECT_TRUE(line.dialogs.steps().isEmpty());
    EXPECT_FALSE(line.driver.Connected());
}

TEST(SerialLine, APseudoTerminalHasNoModemLinesAndThatIsNoFailure)
{
    SerialLine line(simOptions());
    ASSERT_FALSE(line.path.empty());
    ASSERT_TRUE(line.driver.Connect());
    EXPECT_TRUE(line.driver.GetLineStatus().empty());
    line.driver.SetCheckLineStatus(true);
    EXPECT_EQ(line.driver.SendData("abc", 3, 50), 0u);
    line.driver.SetCheckLineStatus(false);
    EXPECT_EQ(line.driver.SendData(kFontPacket.data(), uint32_t(kFontPacket.size()), 500),
              kFontPacket.size());
    line.driver.Disconnect();
}

TEST(SerialLine, TheSettingsRecordDecidesPortAndRate)
{
    SerialLine line(simOptions());
    ASSERT_FALSE(line.path.empty());
    TSerialSettings record;
    record.PortName = "  " + line.path + " ";
    record.Baudrate = "230400";
    applySerialSettingsToDriver(record, line.driver);
    EXPECT_EQ(line.driver.PortName(), line.path);
    ASSERT_TRUE(line.transmit(kFontPacket));
    EXPECT_TRUE(parseExtendedAnswer(line.answers.back(), 1, 0).ok);

    // a rate that is not a number: the port does not open
    record.Baudrate = "fast";
    applySerialSettingsToDriver(record, line.driver);
    EXPECT_FALSE(line.transmit(kFontPacket));
    EXPECT_EQ(line.dialogs.lastText(), QString::fromStdString("Can not open ComPort :" + line.path));
}
