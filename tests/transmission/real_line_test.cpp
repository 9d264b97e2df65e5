// The line's own behaviour through the real driver and exchange: a display that hears its own
// transmission (echo), a port without the system's RS-485 mode, and COM port servers that do
// not take what the client asks.
#include "serial_line_fixture.h"

#include "packets/exchange_reports.h"
#include "port/rs485.h"
#include "port/telnet_codec.h"

#include <QElapsedTimer>

#include <arpa/inet.h>
#include <atomic>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace lmx;
using namespace lmx::sim;
using namespace enginetest;

namespace {

struct BusLine : serialtest::SerialLine {
    explicit BusLine(SimOptions options)
        : SerialLine(options), engine(exchange, dialogs, log, clock)
    {
        engine.setPacketObserver(&recorder);
        engine.setWaiter(&waiter);
    }
    TestWallClock clock;
    ManualWaiter waiter;
    RecordingLog log;
    TransmissionEngine engine;
    ExchangeRecorder recorder;
};

SimOptions echoing(EchoKind echo, bool normal = false)
{
    SimOptions o = serialtest::simOptions({1}, FaultKind::None, normal);
    o.echo = echo;
    return o;
}

// A COM port server of the test's own on a thread of its own (the backend waits for it
// without an event loop): it takes one client, sends `greeting`, and answers every COM port
// command with what `answer` gives (nothing when empty).
class ScriptedComPortServer {
public:
    using Answer = std::function<std::string(uint8_t command, const std::string& value)>;

    ScriptedComPortServer(std::string greeting, Answer answer)
        : m_greeting(std::move(greeting)), m_answer(std::move(answer))
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof a;
        if (::bind(m_listener, reinterpret_cast<sockaddr*>(&a), size) == 0
            && ::listen(m_listener, 1) == 0
            && ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&a), &size) == 0)
            m_url = "rfc2217://127.0.0.1:" + std::to_string(ntohs(a.sin_port));
        m_thread = std::thread([this] { run(); });
    }
    ~ScriptedComPortServer()
    {
        m_stop = true;
        m_thread.join();
        ::close(m_listener);
    }
    const std::string& url() const { return m_url; }

private:
    void run()
    {
        int client = -1;
        telnet::Reader reader;
        while (!m_stop) {
            pollfd p{client < 0 ? m_listener : client, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0)
                continue;
            if (client < 0) {
                client = ::accept(m_listener, nullptr, nullptr);
                ::send(client, m_greeting.data(), m_greeting.size(), MSG_NOSIGNAL);
                continue;
            }
            char buf[512];
            const ssize_t n = ::read(client, buf, sizeof buf);
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
                    ::send(client, reply.data(), reply.size(), MSG_NOSIGNAL);
                }
            }
        }
        if (client >= 0)
            ::close(client);
    }

    std::string m_greeting;
    Answer m_answer;
    int m_listener = -1;
    std::string m_url;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

const std::string kAgrees = telnet::command(telnet::kDo, telnet::kBinary)
                          + telnet::command(telnet::kWill, telnet::kBinary)
                          + telnet::command(telnet::kDo, telnet::kComPort);

} // namespace

TEST(EchoLine, WhatTheModeMakesOfTheDisplaysEcho)
{
    struct Case {
        const char* name;
        EchoKind heard;
        EchoMode mode;
        bool normal;
        const char* state; // of every exchange
    } const cases[] = {
        {"discard", EchoKind::Faithful, EchoMode::Discard, false, "OK"},
        {"discard, normal framing", EchoKind::Faithful, EchoMode::Discard, true, "OK"},
        {"verify", EchoKind::Faithful, EchoMode::Verify, false, "OK"},
        // as a real 2-wire line would: the echo is taken for the answer
        {"off", EchoKind::Faithful, EchoMode::Off, false, "Invalid answer packet at ACK"},
        {"verify, spoilt", EchoKind::Spoiled, EchoMode::Verify, false, "bus collision"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BusLine line(echoing(c.heard, c.normal));
        line.driver.SetEcho(c.mode);
        line.engine.SetPacketSize(8);
        const Lines list = {sot("01"), "first text", kEot, sot("01"), "second", kEot};
        const auto outcome = c.normal ? line.engine.TransmitNormal(list, 1)
                                      : line.engine.TransmitExtended(list, 1);
        ASSERT_GE(outcome.packetsSent, 2);
        for (const ExchangeRecord& r : line.recorder.records())
            EXPECT_EQ(r.state, c.state) << r.index;
        EXPECT_EQ(outcome.failedAnswers, c.state == std::string("OK") ? 0 : outcome.packetsSent);
    }
}

TEST(EchoLine, ACollisionIsToldInTheReceiveBoxAndTheReports)
{
    BusLine line(echoing(EchoKind::Spoiled));
    line.driver.SetEcho(EchoMode::Verify);
    line.engine.TransmitExtended({sot("01"), "x", kEot}, 1);
    // the byte after the start byte comes back changed
    const std::string failure = "Error Bus collision: the echo differs from the packet at byte 2";
    EXPECT_EQ(line.log.lines.at(1), "NetNr: 1 " + kT + " Received Packet Number: 0 " + failure);
    EXPECT_EQ(line.dialogs.texts(), QStringList{QString::fromStdString(failure)});
    const std::string json = jsonLinesReport({line.recorder.records(), line.recorder.plan(), line.recorder.end()});
    EXPECT_NE(json.find("\"state\":\"bus collision\""), std::string::npos) << json;
    EXPECT_EQ(line.recorder.summary().displays.at(0).lastFailure,
              "bus collision: Bus collision: the echo differs from the packet at byte 2");
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
              rs485WarningText(line.path, "Inappropriate ioctl for device"));
}

TEST(ComPortServer, APlainTcpPortIsToldApartWithinThreeSeconds)
{
    SimServer plain(serialtest::simOptions());
    const std::string url = plain.startOnTcp("127.0.0.1", 0);
    TCommPortDriver driver(std::make_unique<QtSerialBackend>());
    driver.SetPortName("rfc2217" + url.substr(3));
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(driver.Connect());
    EXPECT_LT(t.elapsed(), 3000);
    EXPECT_EQ(driver.LastErrorText(),
              "The server did not negotiate COM port control (RFC 2217) within 2.5 seconds. A "
              "server that passes the line's bytes as they are is named tcp://HOST:PORT.");
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
        {"no purge", kAgrees,
         [](uint8_t c, const std::string& v) { return c == telnet::kPurgeData ? std::string() : v; },
         "The server did not confirm a purge of its buffers (PURGE-DATA) within 3 seconds."},
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
