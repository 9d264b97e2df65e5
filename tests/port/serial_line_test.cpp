// The driver and the packet exchange over a real pseudo-terminal, against the virtual display.
#include "tests/transmission/serial_line_fixture.h"

#include "files/settings.h"
#include "port/port_open_failure.h"
#include "port/serial_settings_apply.h"
#include "protocol/answer.h"

#include <QElapsedTimer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace lmx;
using namespace lmx::sim;
using namespace serialtest;

const std::string kFontPacket = "\x01\x05" "01FE0003" "\x1B\xA0" "1" "CD43" "\x04";

// The other end goes away, as an unplugged adapter or a device server that stops.
TEST(SerialLine, ALineThatGoesAwayEndsTheExchangeOnceWithTheReason)
{
    for (const bool overTcp : {false, true}) {
        SCOPED_TRACE(overTcp ? "device server" : "pseudo-terminal");
        SerialLine line(simOptions({1}, FaultKind::NoAnswer), overTcp);
        ASSERT_FALSE(line.path.empty());
        line.exchange.SetAnswerTimeout(20000);
        line.exchange.SendPacket(kFontPacket);
        ASSERT_TRUE(line.server.waitForPackets(1, 2000));
        line.server.stop();
        ASSERT_TRUE(waitUntil([&] { return line.exchange.done(); }, 10000)); // before the time-out
        runPending();
        EXPECT_TRUE(line.answers.empty());
        EXPECT_EQ(line.dialogs.texts(),
                  QStringList{QString::fromStdString("Lost connection to ComPort :" + line.path)});
        // a closed connection comes with the system's reason
        EXPECT_TRUE(!overTcp || !line.dialogs.steps().value(0).detail.isEmpty());
        EXPECT_FALSE(line.driver.Connected());
    }
}

TEST(SerialLine, ADeviceServerThatDoesNotAcceptIsGivenUpAfterTwoSeconds)
{
    // A listener that accepts nobody, its queue full: a further connection is not answered.
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof a;
    ASSERT_TRUE(::bind(listener, reinterpret_cast<sockaddr*>(&a), size) == 0 && ::listen(listener, 0) == 0
                && ::getsockname(listener, reinterpret_cast<sockaddr*>(&a), &size) == 0);
    std::vector<int> queued;
    for (int i = 0; i < 3; ++i) {
        queued.push_back(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0));
        ::connect(queued.back(), reinterpret_cast<sockaddr*>(&a), size);
    }
    TCommPortDriver driver(std::make_unique<QtSerialBackend>());
    driver.SetPortName("tcp://127.0.0.1:" + std::to_string(ntohs(a.sin_port)));
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(driver.Connect());
    EXPECT_GE(t.elapsed(), 1900);
    EXPECT_LT(t.elapsed(), 5000);
    EXPECT_EQ(driver.LastErrorText(), "The server did not accept a connection within 2 seconds.");
    for (const int fd : queued)
        ::close(fd);
    ::close(listener);
}

// The settings record decides port and rate. A pseudo-terminal has no modem lines and that is
// no failure. A port that does not open gives the message with the reason and no answer.
TEST(SerialLine, TheSettingsRecordDecidesPortAndRateAndAPortThatDoesNotOpenSaysWhy)
{
    SerialLine line(simOptions());
    ASSERT_FALSE(line.path.empty());
    TSerialSettings record;
    record.PortName = "  " + line.path + " ";
    record.Baudrate = "230400";
    applySerialSettingsToDriver(record, line.driver);
    ASSERT_TRUE(line.transmit(kFontPacket));
    EXPECT_TRUE(parseExtendedAnswer(line.answers.back(), 1, 0).ok);
    ASSERT_TRUE(line.driver.Connect());
    EXPECT_TRUE(line.driver.GetLineStatus().empty());
    line.driver.Disconnect();

    // a rate that is not a number: the port does not open
    record.Baudrate = "fast";
    applySerialSettingsToDriver(record, line.driver);
    EXPECT_FALSE(line.transmit(kFontPacket));
    EXPECT_EQ(line.dialogs.lastText(), QString::fromStdString("Can not open ComPort :" + line.path));
    EXPECT_EQ(line.dialogs.steps().last().detail,
              "The port does not take its line settings (baud rate not a number).");

    line.driver.SetPortName("/dev/orvanta-no-such-port");
    EXPECT_FALSE(line.transmit(kFontPacket));
    EXPECT_EQ(line.dialogs.lastText(), "Can not open ComPort :/dev/orvanta-no-such-port");
    EXPECT_TRUE(line.dialogs.steps().last().detail.startsWith(
            "No such file or directory.\n/dev/orvanta-no-such-port does not exist."))
            << line.dialogs.steps().last().detail.toStdString();
    runPending();
    EXPECT_EQ(line.answers.size(), 1u);
    EXPECT_TRUE(line.exchange.done());
    EXPECT_EQ(line.dialogs.steps().size(), 2); // one message for each port that did not open

    // the reasons of the other failures, and what to do
    const std::string device = "/dev/ttyUSB0";
    EXPECT_EQ(portOpenFailureText(PortOpenFailure::PermissionDenied, "Permission denied", device, "uucp"),
              "Permission denied.\nOnly members of the group uucp may use /dev/ttyUSB0. To become one:\n"
              "    sudo usermod -aG uucp $USER\nthen log out and log in again.");
    EXPECT_NE(portOpenFailureText(PortOpenFailure::PermissionDenied, "", device, "").find("-aG dialout"),
              std::string::npos);
    EXPECT_EQ(portOpenFailureText(PortOpenFailure::InUse, "Device or resource busy", device, "dialout"),
              "Device or resource busy.\nAnother program has /dev/ttyUSB0 open. Close it and try again.");
    EXPECT_EQ(portOpenFailureText(PortOpenFailure::Other, "Input/output error", device, ""),
              "Input/output error");
    EXPECT_EQ(deviceGroupName("/nonexistent"), "");
    EXPECT_FALSE(deviceAccessDenied("/dev/null"));
}
