#include "plain_terminal_client.h"
#include "sim_test_support.h"

#include "sim/answer_writer.h"
#include "sim/sim_server.h"

#include "protocol/answer.h"
#include "protocol/framing.h"

#include <arpa/inet.h>
#include <chrono>
#include <gtest/gtest.h>
#include <mutex>
#include <netinet/in.h>
#include <sys/socket.h>

using namespace lmx;
using namespace lmx::sim;
using namespace lmx::sim::testing;

namespace {

// The two worked examples of the framing, byte for byte as a client frames them.
const std::string kFontExample = "\x01\x05" "01FE0003" "\x1B\xA0" "1" "CD43" "\x04";
const std::string kHelloExample = "\x01\x05" "12ED4105" "Hello" "22A1" "\x04";

// A client of a TCP port on the loopback; -1 when it cannot connect.
int tcpClient(uint16_t port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0)
        return fd;
    ::close(fd);
    return -1;
}

} // namespace

TEST(SimServer, AnswersTheWorkedExamplesAndAClientThatConnectsPerPacket)
{
    std::mutex mutex;
    std::vector<std::string> lines;
    SimServer server(optionsFor({1, 0x12}), [&](const std::string& line) {
        std::lock_guard<std::mutex> lock(mutex);
        lines.push_back(line);
    });
    const std::string path = server.start();
    ASSERT_FALSE(path.empty()) << server.errorText();
    EXPECT_TRUE(server.running());

    const std::string first = PlainTerminalClient::exchange(path, kFontExample);
    const AnswerParse a = parseExtendedAnswer(first, 1, 0x00);
    ASSERT_TRUE(a.ok) << errorText(a) << " at " << stateName(a.state);
    EXPECT_TRUE(parseAnswerData(a.data).answerOk());
    EXPECT_EQ(first, "\x01\x06" "01FE0004" "0000" "B79A" "\x04");

    const std::string second = PlainTerminalClient::exchange(path, kHelloExample);
    const AnswerParse b = parseExtendedAnswer(second, 0x12, 0x41);
    ASSERT_TRUE(b.ok) << errorText(b) << " at " << stateName(b.state);
    EXPECT_TRUE(parseAnswerData(b.data).answerOk());

    // one exchange whose client leaves before the answer is read: the next client purges
    {
        PlainTerminalClient early(path);
        ASSERT_TRUE(early.send(*buildExtendedPacket(1, 0, "gone")));
        ASSERT_TRUE(server.waitForPackets(3, 2000));
    }
    for (int i = 0; i < 30; ++i) {
        const int packetNr = i == 0 ? 0x40 : i == 29 ? 0x80 + i : 0xC0 + i;
        const std::string answer =
            PlainTerminalClient::exchange(path, *buildExtendedPacket(1, packetNr, "x"));
        const AnswerParse p = parseExtendedAnswer(answer, 1, static_cast<uint8_t>(packetNr));
        ASSERT_TRUE(p.ok) << "packet " << i << ": " << errorText(p);
        EXPECT_TRUE(parseAnswerData(p.data).answerOk()) << "packet " << i;
    }
    ASSERT_TRUE(server.waitForPackets(33, 2000));

    server.stop();
    EXPECT_FALSE(server.running());
    const auto packets = server.packets();
    ASSERT_EQ(packets.size(), 33u);
    EXPECT_EQ(packets[0].data, "\x1B\xA0" "1");
    EXPECT_EQ(packets[1].netNr, 0x12);
    EXPECT_EQ(packets[1].packetNr, 0x41);
    EXPECT_EQ(server.displays().at(1).texts.at({-1, -1, -1}), "Hello");
    std::lock_guard<std::mutex> lock(mutex);
    ASSERT_EQ(lines.size(), 33u);
    EXPECT_EQ(lines[3], "PACKET netnr=1 packet=40 length=1 result=00 answer=sent text='x' hex='78'");
}

TEST(SimServer, ServesOneTcpClientAtATimeAndAnswersAPacketCutShortAfterSilence)
{
    SimServer server(optionsFor({1}));
    const std::string url = server.startOnTcp("127.0.0.1", 0);
    ASSERT_EQ(url.rfind("tcp://127.0.0.1:", 0), 0u) << server.errorText();
    const auto port = static_cast<uint16_t>(std::stoi(url.substr(16)));
    {
        PlainTerminalClient first(tcpClient(port));
        ASSERT_TRUE(first.isOpen());
        // one that comes while the first is served is closed unanswered
        const int second = tcpClient(port);
        pollfd p{second, POLLIN, 0};
        char byte = 0;
        EXPECT_TRUE(::poll(&p, 1, 2000) == 1 && ::read(second, &byte, 1) == 0);
        ::close(second);
        ASSERT_TRUE(first.send(kFontExample));
        EXPECT_TRUE(parseExtendedAnswer(first.receive(2000), 1, 0).ok);
    }
    PlainTerminalClient third(tcpClient(port)); // the first left: room for the next
    // a packet cut short is answered "Time out" after the silence; the next is not swallowed
    const std::string full = *buildExtendedPacket(1, 0, "Hello");
    ASSERT_TRUE(third.send(full.substr(0, 13)));
    EXPECT_EQ(parseExtendedAnswer(third.receive(2000), 1, 0).data, "0100");
    ASSERT_TRUE(third.send(full));
    EXPECT_TRUE(parseAnswerData(parseExtendedAnswer(third.receive(1000), 1, 0).data).answerOk());
    EXPECT_EQ(server.clientsServed(), 2u);
}

TEST(SimServer, StampsWhenTheEndOfEachAnswerLeft)
{
    SimOptions split = optionsFor({1});
    split.fault = FaultKind::Split;
    split.splitPauseMs = 150;
    SimServer server(split);
    const std::string path = server.start();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(server.lastWrite().count, 0u);
    PlainTerminalClient client(path);
    const auto sent = std::chrono::steady_clock::now();
    ASSERT_TRUE(client.send(kFontExample));
    ASSERT_TRUE(parseExtendedAnswer(client.receive(2000), 1, 0).ok);
    const auto received = std::chrono::steady_clock::now();
    ASSERT_TRUE(server.waitForWrites(2, 2000));
    // the stamp belongs to the second part, the one with the end byte
    const SimServer::WriteStamp stamp = server.lastWrite();
    EXPECT_EQ(stamp.count, 2u);
    EXPECT_GE(stamp.lastStart - sent, std::chrono::milliseconds(140));
    EXPECT_LE(stamp.lastStart, received);
}

TEST(SimServer, StartsOnceStopsPromptlyReportsBadPortsAndServesAPortUntilItIsLost)
{
    SimServer server(optionsFor({1}));
    ASSERT_FALSE(server.start().empty());
    EXPECT_TRUE(server.start().empty());
    EXPECT_FALSE(server.errorText().empty());
    const auto t0 = std::chrono::steady_clock::now();
    server.stop();
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(1));
    server.stop(); // twice is harmless

    SimServer noPort(optionsFor({1}));
    EXPECT_TRUE(noPort.startOnPort("/nonexistent/ttyS99", 19200).empty());
    EXPECT_NE(noPort.errorText().find("/nonexistent/ttyS99"), std::string::npos);
    EXPECT_FALSE(noPort.running());
    SimServer notTty(optionsFor({1}));
    EXPECT_TRUE(notTty.startOnPort("/dev/null", 19200).empty());

    // a pseudo-terminal pair stands in for a null-modem cable: the display takes one end as
    // its port, the test talks on the other
    const int cable = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(cable, 0);
    ASSERT_EQ(grantpt(cable), 0);
    ASSERT_EQ(unlockpt(cable), 0);
    const std::string portName = ptsname(cable);

    SimServer onPort(optionsFor({1}));
    ASSERT_EQ(onPort.startOnPort(portName, 9600), portName) << onPort.errorText();
    {
        PlainTerminalClient talk(cable); // closed at the end of the block: the cable is pulled
        ASSERT_TRUE(talk.send(kFontExample));
        EXPECT_TRUE(parseExtendedAnswer(talk.receive(2000), 1, 0).ok);
    }
    EXPECT_FALSE(onPort.waitForPackets(2, 2000)); // returns as the server ends
    EXPECT_FALSE(onPort.running());
    EXPECT_NE(onPort.errorText().find(portName), std::string::npos);
}
