#include "serial_test_support.h"

#include <gtest/gtest.h>

using namespace lmx;
using namespace serialtest;

namespace {

class Driver : public ::testing::Test, public FakeDriver {
protected:
    void collect()
    {
        driver->SetOnReceiveData([this](TCommPortDriver* sender, const char* p, uint32_t n) {
            EXPECT_EQ(sender, driver.get());
            chunks.emplace_back(p, n);
        });
        driver->SetOnReceivePacket([this](TCommPortDriver*, const char* p, uint32_t n) {
            packets.emplace_back(p, n);
        });
    }
    void connect()
    {
        ASSERT_TRUE(driver->Connect());
        fake->clearCalls();
    }

    std::vector<std::string> chunks;
    std::vector<std::string> packets;
};

} // namespace

TEST_F(Driver, NewDriverHoldsItsInitialValues)
{
    EXPECT_FALSE(driver->Connected());
    EXPECT_EQ(driver->Port(), pnCOM1);
    EXPECT_EQ(driver->PortName(), "\\\\.\\COM1");
    EXPECT_EQ(driver->BaudRate(), br9600);
    EXPECT_EQ(driver->BaudRateValue(), 9600u);
    EXPECT_EQ(driver->DataBits(), db8BITS);
    EXPECT_EQ(driver->StopBits(), sb1BITS);
    EXPECT_EQ(driver->Parity(), ptNONE);
    EXPECT_EQ(driver->HwFlow(), hfNONERTSON);
    EXPECT_EQ(driver->SwFlow(), sfNONE);
    EXPECT_EQ(driver->InBufSize(), 2048u);
    EXPECT_EQ(driver->OutBufSize(), 2048u);
    EXPECT_EQ(driver->PacketSize(), -1);
    EXPECT_EQ(driver->PacketTimeout(), -1);
    EXPECT_EQ(driver->PacketMode(), pmDiscard);
    EXPECT_EQ(driver->PollingDelay(), 50);
    EXPECT_TRUE(driver->EnableDTROnOpen());
    EXPECT_EQ(driver->OutputTimeout(), 500);
    EXPECT_EQ(driver->InputTimeout(), 200u);
    EXPECT_FALSE(driver->CheckLineStatus());
}

TEST_F(Driver, ConnectOpensConfiguresAndStartsThePollInThatOrder)
{
    ASSERT_TRUE(driver->Connect());
    EXPECT_EQ(fake->calls, (std::vector<std::string>{"open \\\\.\\COM1", "applyLineSettings",
                                                     "purge in out", "setQueueSizes 2048 2048",
                                                     "setTimeouts"}));
    EXPECT_TRUE(driver->Connected());
    EXPECT_TRUE(driver->Polling());
    EXPECT_EQ(driver->PollInterval(), 50);

    fake->clearCalls();
    EXPECT_TRUE(driver->Connect()); // already connected: nothing happens
    EXPECT_TRUE(fake->calls.empty());

    driver->Disconnect();
    EXPECT_EQ(fake->calls, std::vector<std::string>{"close"});
    EXPECT_FALSE(driver->Connected());
    EXPECT_FALSE(driver->Polling());
    driver->Disconnect();
    EXPECT_EQ(fake->calls.size(), 1u);
}

TEST_F(Driver, ARefusedStepLeavesThePortClosed)
{
    for (const std::string step : {"open", "applyLineSettings", "purge", "setQueueSizes"}) {
        FakeDriver d;
        d.fake->refused.insert(step);
        EXPECT_FALSE(d.driver->Connect()) << step;
        EXPECT_FALSE(d.driver->Connected()) << step;
        EXPECT_FALSE(d.driver->Polling()) << step;
        EXPECT_FALSE(d.fake->isOpen) << step;
        const bool opened = step != "open";
        EXPECT_EQ(d.fake->calls.back() == "close", opened) << step;
    }
    // the time-outs are not essential
    FakeDriver d;
    d.fake->refused.insert("setTimeouts");
    EXPECT_TRUE(d.driver->Connect());
}

TEST_F(Driver, LineSettingsFollowTheProperties)
{
    LineSettings s = driver->CurrentLineSettings();
    EXPECT_EQ(s.baudRate, 9600u);
    EXPECT_EQ(s.byteSize, 8);
    EXPECT_EQ(s.parity, ptNONE);
    EXPECT_EQ(s.stopBits, sb1BITS);
    EXPECT_TRUE(s.dtrOn);
    EXPECT_TRUE(s.rtsOn);
    EXPECT_FALSE(s.ctsOutputFlow || s.rtsHandshake || s.xonXoffInput || s.xonXoffOutput);
    EXPECT_EQ(s.xonLimit, 512u);
    EXPECT_EQ(s.xoffLimit, 512u);
    EXPECT_EQ(s.xonChar, 0x11);
    EXPECT_EQ(s.xoffChar, 0x13);

    driver->SetHwFlow(hfRTSCTS);
    driver->SetSwFlow(sfXONXOFF);
    driver->SetDataBits(db7BITS);
    driver->SetParity(ptEVEN);
    driver->SetStopBits(sb2BITS);
    driver->SetEnableDTROnOpen(false);
    driver->SetInBufSize(4096);
    s = driver->CurrentLineSettings();
    EXPECT_FALSE(s.rtsOn);
    EXPECT_TRUE(s.ctsOutputFlow && s.rtsHandshake && s.xonXoffInput && s.xonXoffOutput);
    EXPECT_EQ(s.byteSize, 7);
    EXPECT_EQ(s.parity, ptEVEN);
    EXPECT_EQ(s.stopBits, sb2BITS);
    EXPECT_FALSE(s.dtrOn);
    EXPECT_EQ(s.xonLimit, 1024u);

    driver->SetBaudRateValue(921600);
    EXPECT_EQ(driver->BaudRate(), brCustom);
    driver->Connect();
    EXPECT_EQ(fake->appliedSettings.back().baudRate, 921600u);

    driver->SetBaudRate(br115200);
    EXPECT_EQ(driver->BaudRateValue(), 115200u);
    driver->SetBaudRate(brCustom); // keeps the value it has
    EXPECT_EQ(driver->BaudRateValue(), 115200u);
}

TEST_F(Driver, LineSettingChangesWhileConnectedAreAppliedAtOnce)
{
    driver->SetParity(ptODD); // disconnected: only stored
    EXPECT_TRUE(fake->calls.empty());
    connect();
    driver->SetBaudRate(br19200);
    EXPECT_EQ(fake->calls, (std::vector<std::string>{"applyLineSettings", "purge in out",
                                                     "setQueueSizes 2048 2048"}));
    EXPECT_EQ(fake->appliedSettings.back().baudRate, 19200u);
    EXPECT_EQ(fake->appliedSettings.back().parity, ptODD);

    // a rate the port refuses leaves it connected with what it had
    fake->refused.insert("applyLineSettings");
    driver->SetBaudRateValue(4294967295u);
    EXPECT_TRUE(driver->Connected());
}

TEST_F(Driver, PortAndPortNameCannotChangeWhileConnected)
{
    driver->SetPort(pnCOM12);
    EXPECT_EQ(driver->PortName(), "\\\\.\\COM12");
    driver->SetPort(pnCustom);
    EXPECT_EQ(driver->Port(), pnCustom);
    EXPECT_EQ(driver->PortName(), "\\\\.\\COM12");
    driver->SetPortName("/dev/ttyUSB0");
    EXPECT_EQ(driver->Port(), pnCustom);
    EXPECT_EQ(driver->PortName(), "/dev/ttyUSB0");
    driver->SetPort(pnCOM3);

    ASSERT_TRUE(driver->Connect());
    EXPECT_EQ(fake->openedName, "\\\\.\\COM3");
    driver->SetPortName("/dev/pts/7");
    driver->SetPort(pnCOM5);
    EXPECT_EQ(driver->Port(), pnCOM3);
    EXPECT_EQ(driver->PortName(), "\\\\.\\COM3");
}

TEST_F(Driver, BufferSizesAreClampedAndCannotChangeWhileConnected)
{
    driver->SetInBufSize(9000);
    EXPECT_EQ(driver->InBufSize(), 8192u);
    driver->SetInBufSize(10);
    EXPECT_EQ(driver->InBufSize(), 128u);
    driver->SetOutBufSize(9000);
    EXPECT_EQ(driver->OutBufSize(), 8192u);
    driver->SetOutBufSize(0);
    EXPECT_EQ(driver->OutBufSize(), 128u);
    connect();
    driver->SetInBufSize(1000);
    driver->SetOutBufSize(1000);
    EXPECT_EQ(driver->InBufSize(), 128u);
    EXPECT_EQ(driver->OutBufSize(), 128u);
}

TEST_F(Driver, PacketSizeNeverOutgrowsTheReceiveBuffer)
{
    driver->SetPacketSize(0);
    EXPECT_EQ(driver->PacketSize(), -1);
    driver->SetPacketSize(100);
    EXPECT_EQ(driver->PacketSize(), 100);
    EXPECT_EQ(driver->InBufSize(), 2048u);
    driver->SetPacketSize(3000);
    EXPECT_EQ(driver->InBufSize(), 3000u);
    // beyond the largest buffer: both stop at it (and the setters do not call each other
    // without end)
    driver->SetPacketSize(9000);
    EXPECT_EQ(driver->PacketSize(), 8192);
    EXPECT_EQ(driver->InBufSize(), 8192u);
    // a smaller buffer is grown back to hold the packet
    driver->SetInBufSize(128);
    EXPECT_EQ(driver->InBufSize(), 8192u);
    driver->SetPacketSize(-7);
    EXPECT_EQ(driver->PacketSize(), -1);
    driver->SetInBufSize(256);
    EXPECT_EQ(driver->InBufSize(), 256u);

    // while connected the buffer cannot grow, so the packet stops at its size
    connect();
    driver->SetPacketSize(4000);
    EXPECT_EQ(driver->PacketSize(), 256);
    collect();
    fake->incoming = std::string(600, 'p');
    driver->ReceivePoll();
    ASSERT_EQ(packets.size(), 2u);
    EXPECT_EQ(packets[0].size(), 256u);
}

TEST_F(Driver, PacketTimeoutAndPollingDelayRules)
{
    driver->SetPacketTimeout(10);
    EXPECT_EQ(driver->PacketTimeout(), 70);
    driver->SetPacketTimeout(50);
    EXPECT_EQ(driver->PacketTimeout(), 50);
    driver->SetPacketTimeout(0);
    EXPECT_EQ(driver->PacketTimeout(), -1);

    driver->SetPollingDelay(2);
    EXPECT_EQ(driver->PollingDelay(), 5);
    EXPECT_EQ(driver->PacketTimeout(), -1);
    driver->SetPollingDelay(50);
    driver->SetPacketTimeout(70);
    driver->SetPollingDelay(100); // the time-out passes its rule again
    EXPECT_EQ(driver->PacketTimeout(), 140);

    connect();
    driver->SetPollingDelay(20);
    EXPECT_TRUE(driver->Polling());
    EXPECT_EQ(driver->PollInterval(), 20);
}

TEST_F(Driver, SendDataWritesWhatTheQueueTakes)
{
    EXPECT_EQ(driver->SendData("abc", 3, 500), 0u); // not connected
    EXPECT_TRUE(fake->writes.empty());
    connect();
    EXPECT_EQ(driver->SendData("abc", 0, 500), 0u);
    EXPECT_EQ(driver->SendData("hello", 5, 500), 5u);
    EXPECT_EQ(fake->writes, std::vector<std::string>{"hello"});

    fake->writes.clear();
    fake->writeLimit = 2;
    EXPECT_EQ(driver->SendData("hello", 5, 500), 5u);
    EXPECT_EQ(fake->writes, (std::vector<std::string>{"he", "ll", "o"}));
    EXPECT_TRUE(driver->SendByte('x'));

    // each write asks for no more than the free room
    FakeDriver d;
    d.driver->SetOutBufSize(128);
    ASSERT_TRUE(d.driver->Connect());
    d.fake->holdWritten = true;
    d.clock.setStepPerReading(1);
    const std::string big(200, 'b');
    EXPECT_EQ(d.driver->SendData(big.data(), 200, 100), 128u);
    EXPECT_EQ(d.fake->writes.size(), 1u);
    EXPECT_FALSE(d.driver->SendByte('y'));
}

TEST_F(Driver, SendDataTimesOutOnlyAfterTheLastSuccessfulWrite)
{
    connect();
    // five writes of 300 ms each: 1.5 s in all, but never 500 ms without progress
    fake->writeLimit = 1;
    fake->clock = &clock;
    fake->msPerWrite = 300;
    EXPECT_EQ(driver->SendData("12345", 5, 500), 5u);

    // nothing goes: the call gives up once more than the time-out has passed
    fake->writeLimit = 0;
    clock.setStepPerReading(1);
    const int64_t before = clock.nowMs();
    EXPECT_EQ(driver->SendData("z", 1, 500), 0u);
    const int64_t waited = clock.nowMs() - before;
    EXPECT_GT(waited, 500);
    EXPECT_LT(waited, 520);

    // a failing write is no progress either
    fake->writeLimit = 10;
    fake->refused.insert("write");
    EXPECT_EQ(driver->SendData("z", 1, 50), 0u);
}

TEST_F(Driver, LineStatusCheckStopsWritesWithNoLineOn)
{
    EXPECT_TRUE(driver->GetLineStatus().empty()); // not connected
    connect();
    fake->lines.lsCTS = true;
    fake->lines.lsCD = true;
    const TLineStatusSet lines = driver->GetLineStatus();
    EXPECT_TRUE(lines.lsCTS && lines.lsCD && !lines.lsDSR && !lines.lsRING);

    driver->SetCheckLineStatus(true);
    EXPECT_EQ(driver->SendData("ab", 2, 500), 2u);
    fake->lines = {};
    EXPECT_EQ(driver->SendData("cd", 2, 500), 0u);
    // lines that cannot be read count as none
    fake->lines.lsDSR = true;
    fake->refused.insert("modemLines");
    EXPECT_TRUE(driver->GetLineStatus().empty());
    EXPECT_EQ(driver->SendData("ef", 2, 500), 0u);
    EXPECT_EQ(fake->written, "ab");
}

TEST_F(Driver, OutFreeSpaceAndFlushBuffers)
{
    EXPECT_EQ(driver->OutFreeSpace(), 65535u);
    EXPECT_FALSE(driver->FlushBuffers(true, true));
    connect();
    EXPECT_EQ(driver->OutFreeSpace(), 2048u);
    fake->outQueued = 2000;
    EXPECT_EQ(driver->OutFreeSpace(), 48u);
    fake->outQueued = 5000; // more than the queue size never shows as room
    EXPECT_EQ(driver->OutFreeSpace(), 0u);

    EXPECT_TRUE(driver->FlushBuffers(true, false));
    EXPECT_TRUE(driver->FlushBuffers(false, true));
    EXPECT_EQ(fake->calls, (std::vector<std::string>{"purge in", "purge out"}));
    fake->refused.insert("purge");
    EXPECT_FALSE(driver->FlushBuffers(true, true));
}

TEST_F(Driver, PollHandsEachChunkToOnReceiveData)
{
    collect();
    fake->incoming = "early";
    driver->ReceivePoll(); // not connected
    EXPECT_TRUE(fake->readSizes.empty());
    connect();
    fake->incoming.clear();

    driver->ReceivePoll(); // 0 bytes queued: no read, no event
    EXPECT_TRUE(fake->readSizes.empty());
    EXPECT_TRUE(chunks.empty());

    fake->incoming = std::string("a\0c", 3);
    driver->ReceivePoll();
    EXPECT_EQ(chunks, std::vector<std::string>{std::string("a\0c", 3)});

    // a failed read raises nothing; the bytes wait for the next poll
    fake->incoming = "kept";
    fake->refused.insert("read");
    driver->ReceivePoll();
    EXPECT_EQ(chunks.size(), 1u);
    fake->refused.erase("read");
    driver->ReceivePoll();
    EXPECT_EQ(chunks.back(), "kept");

    // no chunk is larger than the receive buffer
    FakeDriver d;
    d.driver->SetInBufSize(128);
    ASSERT_TRUE(d.driver->Connect());
    std::vector<size_t> sizes;
    d.driver->SetOnReceiveData([&](TCommPortDriver*, const char*, uint32_t n) { sizes.push_back(n); });
    d.fake->incoming = std::string(300, 'x');
    for (int i = 0; i < 4; ++i)
        d.driver->ReceivePoll();
    EXPECT_EQ(sizes, (std::vector<size_t>{128, 128, 44}));
}

TEST_F(Driver, ArrivingBytesArePolledAtOnceAndTheTimerPollsTheRest)
{
    driver->SetPollingDelay(60000);
    collect();
    connect();
    fake->arrive("now");
    EXPECT_TRUE(chunks.empty()); // never from inside the backend's own call
    ASSERT_TRUE(waitUntil([&] { return !chunks.empty(); }, 1000));
    EXPECT_EQ(chunks[0], "now");
    driver->Disconnect();
    fake->arrive("late"); // not connected: no poll
    runPending();
    EXPECT_EQ(chunks.size(), 1u);

    // bytes that come without notice are found by the timer
    driver->SetPollingDelay(5);
    ASSERT_TRUE(driver->Connect());
    fake->incoming = "quiet";
    ASSERT_TRUE(waitUntil([&] { return chunks.size() == 2; }, 2000));
    EXPECT_EQ(chunks[1], "quiet");
}

TEST_F(Driver, AHandlerThatPollsAgainDoesNotOverwriteItsChunk)
{
    connect();
    std::vector<std::string> seen;
    driver->SetOnReceiveData([&](TCommPortDriver*, const char* p, uint32_t n) {
        const std::string chunk(p, n);
        if (seen.empty()) {
            fake->incoming = "second";
            driver->ReceivePoll(); // as a message loop pumped from the handler would
        }
        seen.push_back(chunk + "|" + std::string(p, n));
    });
    fake->incoming = "first";
    driver->ReceivePoll();
    driver->ReceivePoll();
    EXPECT_EQ(seen, (std::vector<std::string>{"first|first", "second|second"}));
}

TEST_F(Driver, PacketModeCutsTheStreamIntoPackets)
{
    collect();
    driver->SetPacketSize(4);
    driver->SetPacketTimeout(100);
    connect();
    fake->incoming = "abcdefghij";
    driver->ReceivePoll();
    EXPECT_EQ(packets, (std::vector<std::string>{"abcd", "efgh"}));
    EXPECT_TRUE(chunks.empty());
    EXPECT_EQ(fake->incoming, "ij");

    // the rest is given up once the time-out has passed since it came
    clock.advance(100);
    driver->ReceivePoll();
    EXPECT_EQ(fake->incoming, "ij");
    clock.advance(1);
    driver->ReceivePoll();
    EXPECT_EQ(packets.size(), 2u); // pmDiscard
    EXPECT_EQ(fake->incoming, "");

    driver->SetPacketMode(pmPass);
    fake->incoming = "kl";
    driver->ReceivePoll(); // starts the clock for this packet
    clock.advance(101);
    driver->ReceivePoll();
    EXPECT_EQ(packets.back(), "kl");

    // a packet that completes in time is delivered whole
    fake->incoming = "mn";
    driver->ReceivePoll();
    clock.advance(60);
    fake->incoming += "op";
    driver->ReceivePoll();
    EXPECT_EQ(packets.back(), "mnop");
}

TEST_F(Driver, PacketStartTimeMovesOnByOnePacketTime)
{
    collect();
    driver->SetPacketSize(4);
    driver->SetPacketTimeout(100);
    connect();
    fake->incoming = "ab";
    driver->ReceivePoll(); // packet begins at t0
    clock.advance(50);
    fake->incoming += "cdefghi"; // two packets and one byte
    driver->ReceivePoll();
    ASSERT_EQ(packets.size(), 2u);
    // the next packet is taken to begin two packet times (4 ms each at 9600) after t0
    clock.advance(58);
    driver->ReceivePoll();
    EXPECT_EQ(fake->incoming, "i");
    clock.advance(1);
    driver->ReceivePoll();
    EXPECT_EQ(fake->incoming, "");
}

TEST_F(Driver, PacketModeWithoutTimeoutWaitsForever)
{
    collect();
    driver->SetPacketSize(4);
    connect();
    fake->incoming = "ab";
    driver->ReceivePoll();
    clock.advance(1000000);
    driver->ReceivePoll();
    EXPECT_EQ(fake->incoming, "ab");
    EXPECT_TRUE(packets.empty());
}

TEST_F(Driver, PacketHandlerThatDisconnectsEndsThePoll)
{
    driver->SetPacketSize(4);
    connect();
    int calls = 0;
    driver->SetOnReceivePacket([&](TCommPortDriver* d, const char*, uint32_t) {
        ++calls;
        d->Disconnect();
    });
    fake->incoming = "abcdefghijkl";
    driver->ReceivePoll();
    EXPECT_EQ(calls, 1);
}

TEST_F(Driver, DelayForRxIsTenBitTimesPerByte)
{
    EXPECT_EQ(driver->DelayForRx(br9600, 10), 10u);
    EXPECT_EQ(driver->DelayForRx(br110, 1), 91u);
    EXPECT_EQ(driver->DelayForRx(br256000, 254), 10u);
    driver->SetBaudRateValue(921600);
    EXPECT_EQ(driver->DelayForRx(brCustom, 1000), 11u);
    driver->SetBaudRateValue(0); // no rate: no time, not a division by zero
    EXPECT_EQ(driver->DelayForRx(brCustom, 1000), 0u);
}

TEST_F(Driver, APortThatFailsIsReportedOnceAndClosed)
{
    int failures = 0;
    driver->SetOnPortFailure([&](TCommPortDriver*) { ++failures; });
    fake->failPort(); // not connected: nothing to report
    runPending();
    EXPECT_EQ(failures, 0);

    connect();
    fake->failPort();
    fake->failPort();
    // a port that failed takes no more bytes, even before the failure is reported
    EXPECT_EQ(driver->SendData("abc", 3, 500), 0u);
    EXPECT_EQ(failures, 0);
    ASSERT_TRUE(waitUntil([&] { return failures > 0; }, 1000));
    runPending();
    EXPECT_EQ(failures, 1);
    EXPECT_FALSE(driver->Connected());
    EXPECT_EQ(fake->calls.back(), "close");

    // a later connection starts clean
    ASSERT_TRUE(driver->Connect());
    EXPECT_EQ(driver->SendData("abc", 3, 500), 3u);
}
