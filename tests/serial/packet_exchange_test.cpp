#include "serial_test_support.h"

#include "serial/packet_exchange.h"
#include "support/scripted_dialogs.h"

#include <QSignalSpy>
#include <QTimer>
#include <gtest/gtest.h>

using namespace lmx;
using namespace serialtest;

namespace {

class Exchange : public ::testing::Test, public FakeDriver {
protected:
    Exchange() : exchange(*driver, dialogs)
    {
        exchange.SetAnswerHandler([this](const std::string& answer) {
            // what the handler sees of the exchange's state when it runs
            handlerSawDone = exchange.done();
            handlerSawConnected = driver->Connected();
            answers.push_back(answer);
        });
    }
    // The fake's bytes arrive; the driver polls as the event loop lets it.
    void answer(const std::string& bytes)
    {
        fake->arrive(bytes);
        runPending();
    }

    ScriptedDialogs dialogs;
    PacketExchange exchange;
    std::vector<std::string> answers;
    bool handlerSawDone = true;
    bool handlerSawConnected = true;
};

const std::string kPacket = "\x01\x05" "01FE0003" "\x1B\xA0" "1" "CD43" "\x04";

} // namespace

TEST_F(Exchange, SendPacketWritesByteByByteAndWaitsForTheAnswer)
{
    QSignalSpy leds(&exchange, &PacketExchange::trafficActivity);
    QSignalSpy cleared(&exchange, &PacketExchange::debugListsCleared);
    QSignalSpy shown(&exchange, &PacketExchange::transmitViewUpdate);
    exchange.SendPacket(kPacket);

    EXPECT_FALSE(exchange.done());
    EXPECT_TRUE(driver->Connected());
    EXPECT_EQ(fake->written, kPacket);
    EXPECT_EQ(fake->writes.size(), kPacket.size()); // one write per byte
    EXPECT_EQ(exchange.bytesSent(), kPacket);
    ASSERT_EQ(leds.count(), int(kPacket.size()));
    EXPECT_EQ(leds.at(0).at(0).toInt(), PacketExchange::kTransmitLed);
    EXPECT_EQ(cleared.count(), 1);  // clear per packet is on at first
    EXPECT_EQ(shown.count(), 0);    // the debug view is off
    EXPECT_TRUE(answers.empty());
}

TEST_F(Exchange, AnExtendedAnswerEndsOnlyWithItsEndByte)
{
    QSignalSpy leds(&exchange, &PacketExchange::trafficActivity);
    QSignalSpy received(&exchange, &PacketExchange::receiveViewUpdate);
    exchange.SetDebugView(true);
    exchange.SendPacket(kPacket);
    leds.clear();

    answer("\x01\x06" "01FE00");
    EXPECT_TRUE(answers.empty());
    EXPECT_FALSE(exchange.done());
    answer("04" "0000" "B79A" "\x04" "tail");
    ASSERT_EQ(answers.size(), 1u);
    // both chunks joined, with what came after the end byte in the same chunk
    EXPECT_EQ(answers[0], "\x01\x06" "01FE0004" "0000" "B79A" "\x04" "tail");
    EXPECT_EQ(exchange.bytesReceived(), answers[0]);
    // stop, close, handler, done: the handler runs with the port closed and done still false
    EXPECT_FALSE(handlerSawConnected);
    EXPECT_FALSE(handlerSawDone);
    EXPECT_TRUE(exchange.done());
    // one receive LED and one view update per chunk
    ASSERT_EQ(leds.count(), 2);
    EXPECT_EQ(leds.at(1).at(0).toInt(), PacketExchange::kReceiveLed);
    ASSERT_EQ(received.count(), 2);
    EXPECT_EQ(received.at(0).at(0).toByteArray(), QByteArray("\x01\x06" "01FE00"));
}

TEST_F(Exchange, TheNormalFramingEndsOnADigitOrA)
{
    for (const char* end : {"0", "9", "A"}) {
        answers.clear();
        exchange.SetExtendedLmx(false);
        exchange.SendPacket("\x01" "01" "x" "\x04");
        answer(end);
        EXPECT_EQ(answers, std::vector<std::string>{end});
    }
    exchange.SendPacket("\x01" "01" "x" "\x04");
    answer("xyz\x04");
    EXPECT_FALSE(exchange.done()); // lower-case letters and 0x04 complete nothing here
    for (char c = 0; c != char(0xFF); ++c) {
        const bool digit = c >= '0' && c <= '9';
        EXPECT_EQ(PacketExchange::completesAnswer(c, false), digit || c == 'A') << int(c);
        EXPECT_EQ(PacketExchange::completesAnswer(c, true), c == 0x04) << int(c);
    }
}

TEST_F(Exchange, TheTimeOutDeliversWhatCameAndIsNotRestartedByBytes)
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
    EXPECT_TRUE(exchange.done());

    // nothing at all: the handler gets an empty answer
    exchange.SendPacket("\x01" "01" "x" "\x04");
    ASSERT_TRUE(finished.wait(3000));
    EXPECT_EQ(answers.back(), "");
}

TEST_F(Exchange, APacketWhileBusyIsIgnored)
{
    exchange.SendPacket("first");
    exchange.SendPacket("second");
    EXPECT_EQ(fake->written, "first");
    EXPECT_EQ(exchange.bytesSent(), "first");
    answer("\x04");
    EXPECT_EQ(answers.size(), 1u);
    exchange.SendPacket("third");
    EXPECT_EQ(fake->written, "firstthird");
}

TEST_F(Exchange, APortThatDoesNotOpenIsReportedWithoutAnAnswer)
{
    driver->SetPortName("\\\\.\\COM3");
    fake->refused.insert("open");
    exchange.SendPacket(kPacket);
    ASSERT_EQ(dialogs.steps().size(), 1);
    EXPECT_EQ(dialogs.lastText(), "Can not open ComPort :\\\\.\\COM3");
    EXPECT_TRUE(exchange.done());
    EXPECT_TRUE(fake->written.empty());
    runPending();
    EXPECT_TRUE(answers.empty());
    // the next packet tries again
    fake->refused.clear();
    exchange.SendPacket(kPacket);
    EXPECT_FALSE(exchange.done());
}

TEST_F(Exchange, APortThatFailsEndsTheExchangeOnce)
{
    exchange.SetAnswerTimeout(60000);
    exchange.SendPacket(kPacket);
    answer("\x01\x06");
    fake->failPort();
    fake->failPort();
    ASSERT_TRUE(waitUntil([&] { return exchange.done(); }, 2000));
    runPending();
    EXPECT_EQ(answers, std::vector<std::string>{"\x01\x06"});
    EXPECT_FALSE(driver->Connected());
    EXPECT_TRUE(dialogs.steps().isEmpty());
}

TEST_F(Exchange, DebugListsAreClearedPerPacketUnlessSwitchedOff)
{
    QSignalSpy cleared(&exchange, &PacketExchange::debugListsCleared);
    QSignalSpy shown(&exchange, &PacketExchange::transmitViewUpdate);
    exchange.SetDebugView(true);
    exchange.SetClearPerPacket(false);
    exchange.SendPacket("ab");
    answer("\x04");
    exchange.SendPacket("cd");
    EXPECT_EQ(cleared.count(), 0);
    // each packet is shown on its own, not with the one before
    ASSERT_EQ(shown.count(), 2);
    EXPECT_EQ(shown.at(1).at(0).toByteArray(), QByteArray("cd"));
    exchange.ClearDebugLists();
    EXPECT_EQ(cleared.count(), 1);
}

TEST_F(Exchange, DestroyingTheExchangeMidwayClosesThePort)
{
    {
        PacketExchange second(*driver, dialogs);
        second.SendPacket("ab");
        EXPECT_TRUE(driver->Connected());
    }
    EXPECT_FALSE(driver->Connected());
    EXPECT_FALSE(driver->HasOnReceiveData());
}
