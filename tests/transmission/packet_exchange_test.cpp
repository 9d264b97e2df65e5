#include "tests/port/serial_test_support.h"

#include "tests/support/scripted_dialogs.h"
#include "transmission/packet_exchange.h"
#include "protocol/answer.h"

#include <QSignalSpy>
#include <QTimer>
#include <gtest/gtest.h>

using namespace lmx;
using namespace serialtest;

namespace {

using Strings = std::vector<std::string>;

class Exchange : public ::testing::Test, public FakeDriver {
protected:
    Exchange() : exchange(*driver, dialogs)
    {
        exchange.SetAnswerHandler([this](const std::string& answer) {
            handlerSawDone = exchange.done();
            handlerSawConnected = driver->Connected();
            answers.push_back(answer);
        });
    }
    // The bytes arrive; the driver polls as the event loop lets it.
    void answer(const std::string& bytes)
    {
        fake->arrive(bytes);
        runPending();
    }

    ScriptedDialogs dialogs;
    PacketExchange exchange;
    Strings answers;
    bool handlerSawDone = true;
    bool handlerSawConnected = true;
};

const std::string kPacket = "\x01\x05" "01FE0003" "\x1B\xA0" "1" "CD43" "\x04";

} // namespace

TEST_F(Exchange, AnExtendedAnswerEndsOnlyWithItsEndByte)
{
    QSignalSpy leds(&exchange, &PacketExchange::trafficActivity);
    QSignalSpy cleared(&exchange, &PacketExchange::debugListsCleared);
    QSignalSpy sent(&exchange, &PacketExchange::transmitViewUpdate);
    QSignalSpy received(&exchange, &PacketExchange::receiveViewUpdate);
    exchange.SendPacket(kPacket);
    EXPECT_FALSE(exchange.done());
    EXPECT_EQ(fake->writes, Strings{kPacket}); // the whole packet in one write
    EXPECT_EQ(exchange.bytesSent(), kPacket);
    ASSERT_EQ(leds.count(), int(kPacket.size()));
    EXPECT_EQ(leds.at(0).at(0).toInt(), PacketExchange::kTransmitLed);
    EXPECT_EQ(cleared.count(), 1); // clear per packet is on at first
    EXPECT_EQ(sent.count(), 0);    // and the debug view off
    leds.clear();

    exchange.SetDebugView(true);
    answer("\x01\x06" "01FE00");
    EXPECT_TRUE(answers.empty());
    answer("04" "0000" "B79A" "\x04" "tail");
    // both chunks joined, with what followed the end byte in the same chunk
    EXPECT_EQ(answers, Strings{"\x01\x06" "01FE0004" "0000" "B79A" "\x04" "tail"});
    EXPECT_EQ(exchange.bytesReceived(), answers[0]);
    // stop, close, handler, done: the handler runs with the port closed and done still false
    EXPECT_FALSE(handlerSawConnected);
    EXPECT_FALSE(handlerSawDone);
    EXPECT_TRUE(exchange.done());
    ASSERT_EQ(leds.count(), 2); // one receive LED and one view update per chunk
    EXPECT_EQ(leds.at(1).at(0).toInt(), PacketExchange::kReceiveLed);
    ASSERT_EQ(received.count(), 2);
    EXPECT_EQ(received.at(0).at(0).toByteArray(), QByteArray("\x01\x06" "01FE00"));
}

// In the normal framing, so that no byte ends the answer early.
TEST_F(Exchange, TheTimeOutDeliversWhatCameAndTheNormalFramingEndsOnADigitOrA)
{
    exchange.SetExtendedLmx(false);
    exchange.SetAnswerTimeout(300);
    QSignalSpy finished(&exchange, &PacketExchange::finished);
    exchange.SendPacket("\x01" "01" "x" "\x04");
    // a chunk every 40 ms: a time-out restarted by them would never come
    QTimer drip;
    QObject::connect(&drip, &QTimer::timeout, [this] { fake->arrive("z"); });
    drip.start(40);
    ASSERT_TRUE(finished.wait(3000));
    drip.stop();
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_FALSE(answers[0].empty());
    EXPECT_EQ(answers[0], std::string(answers[0].size(), 'z'));
    EXPECT_FALSE(driver->Connected());

    exchange.SendPacket("\x01" "01" "x" "\x04"); // nothing at all: an empty answer
    ASSERT_TRUE(finished.wait(3000));
    EXPECT_EQ(answers.back(), "");

    answers.clear();
    for (const char* end : {"0", "9", "A"}) {
        exchange.SendPacket("\x01" "01" "x" "\x04");
        answer(end);
    }
    EXPECT_EQ(answers, (Strings{"0", "9", "A"}));
    exchange.SendPacket("\x01" "01" "x" "\x04");
    answer("xyz\x04"); // neither lower-case letters nor 0x04 end it here
    EXPECT_FALSE(exchange.done());
    for (int c = 0; c < 256; ++c) {
        const bool digit = c >= '0' && c <= '9';
        EXPECT_EQ(PacketExchange::completesAnswer(char(c), false), digit || c == 'A') << c;
        EXPECT_EQ(PacketExchange::completesAnswer(char(c), true), c == 0x04) << c;
    }
}

// A line that streams without an end byte: the wait keeps what an answer can be, drops the
// rest (the debug view shows only what was kept), and the answer is judged too long.
TEST_F(Exchange, AnAnswerKeepsNoMoreThanAnAnswerCanBe)
{
    exchange.SetDebugView(true);
    QSignalSpy received(&exchange, &PacketExchange::receiveViewUpdate);
    exchange.SendPacket(kPacket);
    for (int i = 0; i < 256; ++i) // within the driver's buffer: one poll each
        answer(std::string(1024, '\x01'));
    EXPECT_EQ(exchange.bytesReceived().size(), kMaxAnswerBytes);
    EXPECT_EQ(exchange.bytesDropped(), 256 * 1024 - kMaxAnswerBytes);
    answer("\x04"); // the end byte still ends the wait
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_TRUE(answers[0] == std::string(kMaxAnswerBytes, '\x01'));
    int shown = 0;
    for (const QList<QVariant>& update : received)
        shown += static_cast<int>(update.at(0).toByteArray().size());
    EXPECT_EQ(shown, static_cast<int>(kMaxAnswerBytes));
    const AnswerParse parse = parseExtendedAnswer(answers[0], 1, 0);
    EXPECT_EQ(errorText(parse) + " at " + stateName(parse.state), "Answer too long at ACK");
    // A sound answer followed by more in the same chunk is still sound.
    exchange.SendPacket(kPacket);
    answer("\x01\x06" "01FE0004" "0000" "B79A" "\x04" + std::string(1000, 'x'));
    EXPECT_TRUE(parseExtendedAnswer(answers.back(), 1, 0).ok);
}

TEST_F(Exchange, APacketWhileBusyIsIgnoredAndDestroyingTheExchangeMidwayClosesThePort)
{
    exchange.SetDebugView(true);
    exchange.SetClearPerPacket(false);
    QSignalSpy cleared(&exchange, &PacketExchange::debugListsCleared);
    QSignalSpy sent(&exchange, &PacketExchange::transmitViewUpdate);
    exchange.SendPacket("first");
    exchange.SendPacket("second");
    EXPECT_EQ(exchange.bytesSent(), "first");
    answer("\x04");
    exchange.SendPacket("third");
    EXPECT_EQ(fake->written, "firstthird");
    EXPECT_EQ(answers.size(), 1u);
    EXPECT_EQ(cleared.count(), 0);
    ASSERT_EQ(sent.count(), 2); // each packet is shown on its own
    EXPECT_EQ(sent.at(1).at(0).toByteArray(), QByteArray("third"));

    answer("\x04");
    EXPECT_FALSE(driver->Connected());
    {
        PacketExchange second(*driver, dialogs);
        second.SendPacket("ab");
        EXPECT_TRUE(driver->Connected());
    }
    EXPECT_FALSE(driver->Connected());
    EXPECT_FALSE(driver->HasOnReceiveData());
}

// A port that does not open, or that fails in mid-exchange, is one message each and no answer;
// the next packet opens it anew.
TEST_F(Exchange, APortThatDoesNotOpenOrFailsIsOneMessageWithoutAnAnswer)
{
    driver->SetPortName("\\\\.\\COM3");
    fake->refused.insert("open");
    exchange.SendPacket(kPacket);
    EXPECT_TRUE(exchange.done());
    runPending();
    fake->refused.clear();
    exchange.SetAnswerTimeout(60000);
    exchange.KeepPortOpen(true); // a failed port is closed all the same
    exchange.SendPacket(kPacket);
    EXPECT_FALSE(exchange.done());
    answer("\x01\x06");
    fake->failPort();
    fake->failPort();
    ASSERT_TRUE(waitUntil([&] { return exchange.done(); }, 2000));
    runPending();
    EXPECT_TRUE(answers.empty());
    EXPECT_TRUE(exchange.portFailed());
    EXPECT_FALSE(driver->Connected() || fake->isOpen);
    EXPECT_EQ(dialogs.texts(), (QStringList{"Can not open ComPort :\\\\.\\COM3",
                                            "Lost connection to ComPort :\\\\.\\COM3"}));
    exchange.SendPacket(kPacket);
    EXPECT_FALSE(exchange.portFailed() || exchange.done());
    EXPECT_TRUE(fake->isOpen);
}
