// The line's own behaviour through the real driver and exchange: a display that hears its own
// transmission (echo), a port without the system's RS-485 mode, and COM port servers that do
// not take what the client asks.
#include "serial_line_fixture.h"

#include "packets/exchange_reports.h"
#include "port/telnet_codec.h"

#include <atomic>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace lmx;
using namespace lmx::sim;
using namespace enginetest;

namespace {

using BusLine = serialtest::EngineLine;

// A COM port server of the test's own on a thread of its own (the backend waits for it
// without an event loop): it takes one client, sends `greeting`, and answers every COM port
// command with what `answer` gives (nothing when empty).
class ScriptedComPortServer {
public:
    using Answer = std::function<std::string(uint8_t command, const std::string& value)>;

    ScriptedComPortServer(std::string greeting, Answer answer)
        : m_greeting(std::move(greeting)), m_answer(std::move(answer))
    {
        std::string error;
        openTcpListener("127.0.0.1", 0, m_line, error);
        m_thread = std::thread([this] { run(); });
    }
    ~ScriptedComPortServer()
    {
        m_stop = true;
        m_thread.join();
    }
    std::string url() const { return "rfc2217" + m_line.path.substr(3); }

private:
    void run()
    {
        telnet::Reader reader;
        while (!m_stop) {
            const int fd = m_line.fd.valid() ? m_line.fd.get() : m_line.listener.get();
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0)
                continue;
            if (!m_line.fd.valid()) {
                acceptClient(m_line);
                ::send(m_line.fd.get(), m_greeting.data(), m_greeting.size(), MSG_NOSIGNAL);
                continue;
            }
            char buf[512];
            const ssize_t n = ::read(fd, buf, sizeof buf);
            if (n <= 0)
                break;
            std::string data;
            std::vector<telnet::Event> events;
            reader.feed({buf, size_t(n)}, data, events);
            for (const telnet::Event& e : events) {
                if (e.kind != telnet::Event::Kind::Subnegotiation || e.data.empty())
                    continue;
                const auto command = static_cast<uint8_t>(e.data[0]);
                const std::string value = m_answer(command, e.data.substr(1));
                if (!value.empty()) {
                    const std::string reply = telnet::comPortCommand(command + telnet::kServerOffset, value);
                    ::send(fd, reply.data(), reply.size(), MSG_NOSIGNAL);
                }
            }
        }
    }

    std::string m_greeting;
    Answer m_answer;
    ServedLine m_line;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

const std::string kAgrees = telnet::command(telnet::kDo, telnet::kBinary)
                          + telnet::command(telnet::kWill, telnet::kBinary)
                          + telnet::command(telnet::kDo, telnet::kComPort);

} // namespace

TEST(EchoLine, ACollisionIsToldInTheReceiveBoxAndTheReports)
{
    SimOptions spoiling = serialtest::simOptions();
    spoiling.echo = EchoKind::Spoiled;
    BusLine line(spoiling);
    line.driver.SetEcho(EchoMode::Verify);
    line.engine.TransmitExtended({sot("01"), "x", kEot}, 1);
    // the byte after the start byte comes back changed
    const std::string failure = "Error Bus collision: the echo differs from the packet at byte 2";
    EXPECT_EQ(line.log.lines.at(1), "NetNr: 1 " + kT + " Received Packet Number: 0 " + failure);
    EXPECT_EQ(line.dialogs.texts(), QStringList{QString::fromStdString(failure)});
    const std::string json = jsonLinesReport({line.recorder.records(), line.recorder.plan(), line.recorder.end()});
    EXPECT_NE(json.find("\"state\":\"bus collision\""), std::string::npos) << json;
}

TEST(Rs485Line, APortWithoutTheModeWarnsOnceAndTheTransmissionGoesOn)
{
    BusLine line(serialtest::simOptions());
    line.driver.SetRs485({true, 1, 2});
    const auto outcome = line.engine.TransmitExtended({sot("01"), "a", kEot, sot("01"), "b", kEot}, 1);
    EXPECT_TRUE(outcome.allAnswered());
    ASSERT_EQ(line.dialogs.steps().size(), 1);
    EXPECT_EQ(line.dialogs.steps()[0].icon, UserDialogs::Icon::Warning);
    EXPECT_EQ(line.dialogs.texts()[0].toStdString(),
              "The port " + line.path + " does not take the RS-485 settings (Inappropriate ioctl "
              "for device). The transmission goes on without them: the adapter must switch the "
              "line's direction itself.");
}

TEST(ComPortServer, WhatTheServerDoesNotTakeIsNamed)
{
    const auto same = [](uint8_t, const std::string& v) { return v; };
    struct Case {
        const char* name;
        std::string greeting;
        ScriptedComPortServer::Answer answer;
        const char* error;
    } const cases[] = {
        {"another rate", kAgrees,
         [](uint8_t c, const std::string& v) { return c == telnet::kSetBaudRate ? telnet::bigEndian32(9600) : v; },
         "The server refused baud rate 1200: it set baud rate 9600."},
        {"no answer to the data size", kAgrees,
         [](uint8_t c, const std::string& v) { return c == telnet::kSetDataSize ? std::string() : v; },
         "The server did not confirm 8 data bits (SET-DATASIZE) within 3 seconds."},
        {"no COM port control", kAgrees.substr(0, 6) + telnet::command(telnet::kDont, telnet::kComPort), same,
         "The server refused COM-PORT-OPTION: it does not let a client set the line (RFC 2217)."},
        {"everything taken", kAgrees, same, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedComPortServer server(c.greeting, c.answer);
        TCommPortDriver driver(std::make_unique<QtSerialBackend>());
        driver.SetPortName(server.url());
        driver.SetBaudRateValue(1200);
        EXPECT_EQ(driver.Connect(), *c.error == '\0');
        EXPECT_EQ(driver.LastErrorText(), c.error);
        driver.Disconnect();
    }
}
