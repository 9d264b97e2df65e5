#include "serial_test_support.h"

#include <gtest/gtest.h>

using namespace lmx;
using namespace serialtest;

namespace {

using Strings = std::vector<std::string>;

class Driver : public ::testing::Test, public FakeDriver {
protected:
    Driver()
    {
        driver->SetOnReceiveData([this](TCommPortDriver*, const char* p, uint32_t n) { chunks.emplace_back(p, n); });
        driver->SetOnReceivePacket([this](TCommPortDriver*, const char* p, uint32_t n) { packets.emplace_back(p, n); });
    }
    void connect()
    {
        ASSERT_TRUE(driver->Connect());
        fake->calls.clear();
    }
    // `bytes` join the receive queue `afterMs` from now, and the driver polls.
    void poll(const std::string& bytes, int64_t afterMs = 0)
    {
        clock.advance(afterMs);
        fake->incoming += bytes;
        driver->ReceivePoll();
    }
    Strings chunks;
    Strings packets;
};

} // namespace

TEST_F(Driver, ConnectOpensConfiguresAndStartsThePollAndNamesAndSizesStayWhileConnected)
{
    ASSERT_TRUE(driver->Connect());
    EXPECT_EQ(fake->calls, (Strings{"open \\\\.\\COM1", "applyLineSettings", "purge in out",
                                    "setQueueSizes 2048 2048", "setTimeouts"}));
    EXPECT_TRUE(driver->Polling());
    EXPECT_EQ(driver->PollInterval(), 50);
    fake->calls.clear();
    EXPECT_TRUE(driver->Connect()); // already connected: nothing happens
    driver->Disconnect();
    driver->Disconnect();
    EXPECT_EQ(fake->calls, Strings{"close"});
    EXPECT_FALSE(driver->Connected() || driver->Polling());

    // a refused step closes what was opened, except the time-outs, which are not essential
    for (const std::string step :
         {"open", "applyLineSettings", "purge", "setQueueSizes", "setTimeouts"}) {
        FakeDriver d;
        d.fake->refused.insert(step);
        const bool essential = step != "setTimeouts";
        EXPECT_EQ(d.driver->Connect(), !essential) << step;
        const bool up = d.driver->Connected() || d.driver->Polling() || d.fake->isOpen;
        EXPECT_EQ(up, !essential) << step;
        EXPECT_EQ(d.fake->calls.back() == "close", essential && step != "open") << step;
    }

    driver->SetPort(pnCOM12);
    EXPECT_EQ(driver->PortName(), "\\\\.\\COM12");
    driver->SetPort(pnCustom);
    EXPECT_EQ(driver->PortName(), "\\\\.\\COM12");
    driver->SetPortName("/dev/ttyUSB0");
    EXPECT_EQ(driver->Port(), pnCustom);
    driver->SetInBufSize(9000);
    driver->SetOutBufSize(9000);
    EXPECT_TRUE(driver->InBufSize() == 8192 && driver->OutBufSize() == 8192);
    driver->SetInBufSize(10);
    driver->SetOutBufSize(10);
    EXPECT_TRUE(driver->InBufSize() == 128 && driver->OutBufSize() == 128);

    fake->calls.clear();
    ASSERT_TRUE(driver->Connect());
    EXPECT_EQ(fake->calls.front(), "open /dev/ttyUSB0");
    driver->SetPortName("/dev/pts/7");
    driver->SetPort(pnCOM5);
    driver->SetInBufSize(1000);
    driver->SetOutBufSize(1000);
    EXPECT_TRUE(driver->Port() == pnCustom && driver->PortName() == "/dev/ttyUSB0");
    EXPECT_TRUE(driver->InBufSize() == 128 && driver->OutBufSize() == 128);
}

TEST_F(Driver, LineSettingsAndTheReceiveDelayFollowTheProperties)
{
    LineSettings s = driver->CurrentLineSettings();
    EXPECT_TRUE(s.baudRate == 9600 && s.byteSize == 8 && s.parity == ptNONE && s.dtrOn && s.rtsOn);
    EXPECT_FALSE(s.ctsOutputFlow || s.rtsHandshake || s.xonXoffInput || s.xonXoffOutput);
    EXPECT_TRUE(s.xonLimit == 512 && s.xoffLimit == 512);

    driver->SetHwFlow(hfRTSCTS);
    driver->SetSwFlow(sfXONXOFF);
    driver->SetDataBits(db7BITS);
    driver->SetEnableDTROnOpen(false);
    driver->SetInBufSize(4096);
    s = driver->CurrentLineSettings();
    EXPECT_TRUE(s.ctsOutputFlow && s.rtsHandshake && s.xonXoffInput && s.xonXoffOutput);
    EXPECT_FALSE(s.rtsOn || s.dtrOn);
    EXPECT_EQ(s.byteSize, 7);
    EXPECT_EQ(s.xonLimit, 1024u);

    // ten bit times per byte
    EXPECT_EQ(driver->DelayForRx(br9600, 10), 10u);
    EXPECT_EQ(driver->DelayForRx(br110, 1), 91u);
    EXPECT_EQ(driver->DelayForRx(br256000, 254), 10u);
    driver->SetBaudRateValue(0); // no rate: no time, not a division by zero
    EXPECT_EQ(driver->DelayForRx(brCustom, 1000), 0u);
    driver->SetBaudRateValue(921600);
    EXPECT_EQ(driver->BaudRate(), brCustom);
    EXPECT_EQ(driver->DelayForRx(brCustom, 1000), 11u);
    EXPECT_TRUE(fake->appliedSettings.empty()); // disconnected: only stored
    connect();
    EXPECT_EQ(fake->appliedSettings.back().baudRate, 921600u);
    // while connected every change goes to the port at once
    driver->SetBaudRate(br115200);
    EXPECT_EQ(driver->BaudRateValue(), 115200u);
    EXPECT_EQ(fake->calls, (Strings{"applyLineSettings", "purge in out", "setQueueSizes 4096 2048"}));
    EXPECT_EQ(fake->appliedSettings.back().baudRate, 115200u);
    fake->refused.insert("applyLineSettings"); // a refused rate leaves the port connected
    driver->SetBaudRateValue(4294967295u);
    EXPECT_TRUE(driver->Connected());
}

TEST_F(Driver, PacketSizeTimeOutAndPollingDelayKeepTheirRules)
{
    driver->SetPacketSize(0);
    EXPECT_EQ(driver->PacketSize(), -1);
    driver->SetPacketSize(3000);
    EXPECT_EQ(driver->InBufSize(), 3000u);
    // beyond the largest buffer both stop at it, and the two setters do not recurse for ever
    driver->SetPacketSize(9000);
    EXPECT_EQ(driver->PacketSize(), 8192);
    EXPECT_EQ(driver->InBufSize(), 8192u);
    driver->SetInBufSize(128); // grown back to hold the packet
    EXPECT_EQ(driver->InBufSize(), 8192u);
    driver->SetPacketSize(-7);
    driver->SetInBufSize(256);

    for (const auto& [set, stored] : std::vector<std::pair<int, int>>{{10, 70}, {50, 50}, {0, -1}}) {
        driver->SetPacketTimeout(set);
        EXPECT_EQ(driver->PacketTimeout(), stored) << set;
    }
    driver->SetPollingDelay(2);
    EXPECT_EQ(driver->PollingDelay(), 5);
    driver->SetPollingDelay(50);
    driver->SetPacketTimeout(70);
    driver->SetPollingDelay(100); // the time-out passes its rule again
    EXPECT_EQ(driver->PacketTimeout(), 140);

    // while connected the buffer cannot grow, so the packet stops at its size
    connect();
    driver->SetPacketSize(4000);
    EXPECT_EQ(driver->PacketSize(), 256);
    poll(std::string(600, 'p'));
    EXPECT_EQ(packets, (Strings{std::string(256, 'p'), std::string(256, 'p')}));
    driver->SetPollingDelay(20);
    EXPECT_TRUE(driver->Polling());
    EXPECT_EQ(driver->PollInterval(), 20);
}

TEST_F(Driver, SendDataWritesWhatTheLineAndTheQueueTake)
{
    EXPECT_EQ(driver->SendData("abc", 3, 500), 0u); // not connected
    EXPECT_EQ(driver->OutFreeSpace(), 65535u);
    EXPECT_FALSE(driver->FlushBuffers(true, true));
    EXPECT_TRUE(driver->GetLineStatus().empty());
    connect();
    EXPECT_TRUE(driver->FlushBuffers(true, false) && driver->FlushBuffers(false, true));
    EXPECT_EQ(fake->calls, (Strings{"purge in", "purge out"}));
    EXPECT_EQ(driver->SendData("abc", 0, 500), 0u);
    fake->writeLimit = 2;
    EXPECT_EQ(driver->SendData("hello", 5, 500), 5u);
    EXPECT_EQ(fake->writes, (Strings{"he", "ll", "o"}));
    EXPECT_TRUE(driver->SendByte('x'));

    fake->lines.lsCD = true;
    EXPECT_TRUE(driver->GetLineStatus() == fake->lines);
    driver->SetCheckLineStatus(true);
    EXPECT_EQ(driver->SendData("ab", 2, 500), 2u);
    fake->lines = {};
    EXPECT_EQ(driver->SendData("cd", 2, 500), 0u);
    fake->lines.lsDSR = true;
    fake->refused.insert("modemLines"); // lines that cannot be read count as none
    EXPECT_TRUE(driver->GetLineStatus().empty());
    EXPECT_EQ(driver->SendData("ef", 2, 500), 0u);
    EXPECT_EQ(fake->written, "hellox" "ab");
    driver->SetCheckLineStatus(false);

    // five writes of 300 ms each: 1.5 s in all, but never 500 ms without progress
    fake->writeLimit = 1;
    fake->clock = &clock;
    fake->msPerWrite = 300;
    EXPECT_EQ(driver->SendData("12345", 5, 500), 5u);
    fake->writeLimit = 0;
    clock.setStepPerReading(1);
    const int64_t before = clock.nowMs();
    EXPECT_EQ(driver->SendData("z", 1, 500), 0u); // nothing goes: it gives up after 500 ms
    const int64_t waited = clock.nowMs() - before;
    EXPECT_TRUE(waited > 500 && waited < 520) << waited;

    // each write asks for no more than the free room; a full queue ends in a short count
    fake->clock = nullptr;
    fake->holdWritten = true;
    fake->writeLimit = 10000;
    fake->outQueued = 2000;
    EXPECT_EQ(driver->OutFreeSpace(), 48u);
    const std::string big(200, 'b');
    EXPECT_EQ(driver->SendData(big.data(), 200, 100), 48u);
    EXPECT_FALSE(driver->SendByte('y'));
    fake->outQueued = 5000; // more than the queue size never shows as room
    EXPECT_EQ(driver->OutFreeSpace(), 0u);
}

TEST_F(Driver, PollHandsEachChunkToOnReceiveDataAndAHandlerThatPollsAgainKeepsItsChunk)
{
    fake->incoming = "early";
    driver->ReceivePoll(); // not connected
    connect();
    driver->ReceivePoll(); // 0 bytes queued: no read, no event
    EXPECT_TRUE(fake->readSizes.empty());
    EXPECT_TRUE(chunks.empty());

    poll(std::string("a\0c", 3));
    fake->incoming = "kept";
    fake->refused.insert("read"); // a failed read raises nothing; the bytes wait
    driver->ReceivePoll();
    fake->refused.clear();
    driver->ReceivePoll();
    EXPECT_EQ(chunks, (Strings{std::string("a\0c", 3), "kept"}));

    driver->SetOnReceiveData([&](TCommPortDriver*, const char* p, uint32_t n) {
        const std::string before(p, n);
        if (chunks.size() == 2) {
            fake->incoming = "second";
            driver->ReceivePoll(); // as a message loop pumped from the handler would
        }
        chunks.push_back(before + "|" + std::string(p, n));
    });
    poll("first");
    driver->ReceivePoll();
    EXPECT_EQ(chunks, (Strings{std::string("a\0c", 3), "kept", "first|first", "second|second"}));

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

TEST_F(Driver, ArrivingBytesArePolledAtOnceAFailedPortIsReportedOnceAndTheTimerPollsTheRest)
{
    driver->SetPollingDelay(60000);
    connect();
    fake->arrive("now");
    EXPECT_TRUE(chunks.empty()); // never from inside the backend's own call
    ASSERT_TRUE(waitUntil([&] { return !chunks.empty(); }, 1000));
    driver->Disconnect();
    fake->arrive("late"); // not connected: no poll
    runPending();
    EXPECT_EQ(chunks, Strings{"now"});

    int failures = 0;
    driver->SetOnPortFailure([&](TCommPortDriver*) { ++failures; });
    fake->failPort(); // not connected: nothing to report
    runPending();
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
    ASSERT_TRUE(driver->Connect()); // a later connection starts clean
    EXPECT_EQ(driver->SendData("abc", 3, 500), 3u);

    driver->SetPollingDelay(5);
    fake->incoming = "quiet"; // no notice: the timer finds it
    ASSERT_TRUE(waitUntil([&] { return chunks.size() == 2; }, 2000));
    EXPECT_EQ(chunks[1], "quiet");
}

TEST_F(Driver, PacketModeCutsTheStreamIntoPackets)
{
    driver->SetPacketSize(4);
    driver->SetPacketTimeout(100);
    connect();
    poll("abcdefghij");
    EXPECT_EQ(packets, (Strings{"abcd", "efgh"}));
    EXPECT_TRUE(chunks.empty());
    // the rest came whole with them: it is given up 100 ms after this poll
    poll({}, 100);
    EXPECT_EQ(fake->incoming, "ij");
    poll({}, 1);
    EXPECT_EQ(fake->incoming, ""); // pmDiscard
    EXPECT_EQ(packets.size(), 2u);

    driver->SetPacketMode(pmPass);
    poll("kl"); // starts the clock for this packet
    poll({}, 101);
    EXPECT_EQ(packets.back(), "kl");

    // the next packet is taken to begin one packet time (4 ms at 9600) after the last
    poll("mn");
    poll("opqrstu", 50);
    EXPECT_EQ(packets.back(), "qrst");
    poll({}, 58);
    EXPECT_EQ(fake->incoming, "u");
    poll({}, 1);
    EXPECT_EQ(packets.back(), "u");

    driver->SetPacketTimeout(-1); // never given up
    poll("vw");
    poll({}, 1000000);
    EXPECT_EQ(fake->incoming, "vw");

    // a handler that closes the port ends the poll
    driver->SetOnReceivePacket([](TCommPortDriver* d, const char*, uint32_t) { d->Disconnect(); });
    fake->incoming = "abcdefghijkl";
    driver->ReceivePoll();
    EXPECT_EQ(fake->incoming, "efghijkl");
}

TEST_F(Driver, AHeldPortOpensOnceAndIsTakenUpAsAFreshOpenWouldLeaveIt)
{
    const Strings reopened = {"close", "open /dev/ttyUSB1", "applyLineSettings", "purge in out",
                              "setQueueSizes 2048 2048", "setTimeouts"};
    struct Case {
        const char* name;
        std::function<void()> between;
        Strings calls;
    } const cases[] = {
        {"nothing changed", [] {}, {"purge in out"}},
        {"a new rate", [&] { driver->SetBaudRate(br19200); },
         {"applyLineSettings", "purge in out", "setQueueSizes 2048 2048"}},
        {"a new port name", [&] { driver->SetPortName("/dev/ttyUSB1"); }, reopened},
        {"the port failed", [&] { fake->failPort(); runPending(); }, reopened},
    };
    driver->HoldPort(true);
    ASSERT_TRUE(driver->Connect());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        driver->Disconnect();
        EXPECT_TRUE(!driver->Connected() && !driver->Polling() && fake->isOpen);
        fake->calls.clear();
        c.between();
        ASSERT_TRUE(driver->Connect());
        EXPECT_EQ(fake->calls, c.calls);
    }
    driver->Disconnect();
    fake->calls.clear();
    driver->HoldPort(false);
    EXPECT_EQ(fake->calls, Strings{"close"});
}
