// lmx send on the lines a real bus has: a display that hears its own transmission, a slow
// line, a terminal that goes away and comes back, a COM port server (Debian's ser2net) and a
// plain TCP port given as one.
#include "serial_line_fixture.h"
#include "tests/support/lmx_copy.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <gtest/gtest.h>

using namespace lmx;
using namespace lmx::sim;

namespace {

struct Program : LmxCopy {
    LmxRun send(const QStringList& args) const { return run(QStringList{"send"} + args, 30000); }
};

SimOptions lineOptions(EchoKind echo, unsigned lineRate = 0)
{
    SimOptions o = serialtest::simOptions();
    o.echo = echo;
    o.lineRate = lineRate;
    return o;
}

const char kTwoBlocks[] = "SOT '01'\r\n'first'\r\nEOT\r\nSOT '01'\r\n'second'\r\nEOT\r\n";

} // namespace

// The echo rules are the echo filter's; here: --echo reaches the line, with either framing.
TEST(LmxSendLine, EchoOptionAgainstADisplayThatHearsItself)
{
    Program lmx;
    const QString file = lmx.file("two.lmx", kTwoBlocks);
    struct Case {
        const char* mode;
        EchoKind heard;
        bool normal;
        int exitCode;
        const char* answer; // in the receive-box lines of the packets
        int packets;        // how many packets surely get it
    } const cases[] = {
        {"discard", EchoKind::Faithful, false, 0, "Param: $00 (No Data)", 2},
        {"discard", EchoKind::Faithful, true, 0, "Answer Normal LMX: OK.", 2},
        // The echo is taken for the answer. What the second packet reads depends on when the
        // first one's real answer came: it may take that answer for its own.
        {"off", EchoKind::Faithful, false, 1, "Error Invalid answer packet at ACK", 1},
        {"verify", EchoKind::Spoiled, false, 1, "Error Bus collision: the echo differs from the packet at byte 2", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        SimOptions o = lineOptions(c.heard);
        o.normalFraming = c.normal;
        SimServer display(o);
        const QStringList framing = c.normal ? QStringList{"--normal"} : QStringList{};
        const LmxRun run = lmx.send(QStringList{"--echo", c.mode} + framing
                                    + QStringList{"--port", QString::fromStdString(display.start()), file});
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        EXPECT_GE(run.out.count(c.answer), c.packets) << run.out.toStdString();
        EXPECT_TRUE(run.out.section('\n', 1, 1).contains(c.answer)) << run.out.toStdString(); // the first
    }
}

TEST(LmxSendLine, LongPacketsOnASlowLineAreAnsweredWithinTheirLineTime)
{
    Program lmx;
    // two packets of 240 data bytes: 255 bytes, 2.1 s each at 1200 Bd
    const QString file = lmx.file("long.lmx", ("'" + std::string(480, 'x') + "'\r\n").c_str());
    SimServer display(lineOptions(EchoKind::Off, 1200));
    const QString port = QString::fromStdString(display.start());
    LmxRun run = lmx.send({"--baud", "1200", "--port", port, file});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.endsWith(" Transmission finished.\n")) << run.out.toStdString();
    EXPECT_EQ(run.out.count("Param: $00 (No Data)"), 2);
    // a rate that does not fit the line: the answer comes after its wait is over
    run = lmx.send({"--baud", "115200", "--port", port, file});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.contains("Received Packet Number: 0 Error")) << run.out.toStdString();
}

TEST(LmxSendLine, ATerminalRecreatedAtItsLinkIsReopenedAndTheBlockSentAgain)
{
    Program lmx;
    const QString link = lmx.dir.filePath("display");
    SimServer first(serialtest::simOptions());
    ASSERT_TRUE(QFile::link(QString::fromStdString(first.start()), link));
    QProcess send;
    // the second block pauses 2 s between its two series: the terminal goes meanwhile
    send.start(lmx.path, {"send", "--reconnect", "5", "--port", link,
                          lmx.file("w.lmx", "SOT '01'\r\n'A'\r\nEOT\r\nSOT '01'\r\n'B'\r\nNPACK '02000'\r\n"
                                            "'C'\r\nEOT\r\n")});
    ASSERT_TRUE(first.waitForPackets(2, 10000));
    first.stop();
    QFile::remove(link);
    QTest::qWait(1000); // the adapter is away for a second
    SimServer second(serialtest::simOptions());
    ASSERT_TRUE(QFile::link(QString::fromStdString(second.start()), link));
    ASSERT_TRUE(send.waitForFinished(20000));
    const QString out = QString::fromLatin1(send.readAllStandardOutput());
    EXPECT_EQ(send.exitCode(), 0) << send.readAllStandardError().toStdString();
    EXPECT_TRUE(out.contains(QRegularExpression("\\d\\d:\\d\\d:\\d\\d:\\d\\d\\d Port lost; reopened after "
                                                "\\d+\\.\\d s; block 2 sent again.\n")))
            << out.toStdString();
    EXPECT_TRUE(out.endsWith(" Transmission finished.\n")) << out.toStdString();
    // the block in progress from its first packet
    ASSERT_TRUE(second.waitForPackets(2, 1000));
    EXPECT_EQ(enginetest::collect(second.packets(), [](const PacketRecord& p) { return p.data; }),
              (enginetest::Lines{"B", "C"}));
}

TEST(LmxSendLine, ThroughSer2netTheBytesFFArriveExact)
{
    const QString ser2net = QStandardPaths::findExecutable("ser2net", {"/usr/sbin", "/usr/bin", "/sbin"});
    if (ser2net.isEmpty())
        GTEST_SKIP() << "ser2net is not installed (scripts/common.sh lists it for apt-get)";
    Program lmx;
    SimServer display(serialtest::simOptions());
    const QString pty = QString::fromStdString(display.start());
    QTcpServer probe; // a free port for ser2net
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    const QString port = QString::number(probe.serverPort());
    probe.close();
    const QString config = lmx.file("ser2net.yaml", "");
    QFile f(config);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(("connection: &display\n  accepter: telnet(rfc2217),tcp,127.0.0.1," + port + "\n"
             "  connector: serialdev," + pty + ",19200n81,local\n").toLatin1());
    f.close();
    QProcess server;
    server.start(ser2net, {"-n", "-d", "-c", config});
    ASSERT_TRUE(server.waitForStarted());
    ASSERT_TRUE(QTest::qWaitFor([&] {
        QTcpSocket s;
        s.connectToHost(QHostAddress::LocalHost, port.toUShort());
        return s.waitForConnected(100);
    }, 5000)) << server.readAll().toStdString();

    const LmxRun run = lmx.send({"--port", "rfc2217://127.0.0.1:" + port,
                                 lmx.file("ff.lmx", "SOT '01'\r\nHEX 'FF 41 FF FF'\r\n'z'\r\nEOT\r\n")});
    server.terminate();
    server.waitForFinished();
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString() << run.out.toStdString();
    ASSERT_TRUE(display.waitForPackets(1, 1000));
    EXPECT_EQ(display.packets().back().data, "\xFF" "A" "\xFF\xFF" "z");
}

TEST(LmxSendLine, APlainTcpPortNamedAsAComPortServerIsAClearErrorWithinThreeSeconds)
{
    Program lmx;
    SimServer plain(serialtest::simOptions());
    const QString url = QString::fromStdString(plain.startOnTcp("127.0.0.1", 0)).replace("tcp://", "rfc2217://");
    QElapsedTimer t;
    t.start();
    const LmxRun run = lmx.send({"--port", url, lmx.file("a.lmx", "'a'\r\n")});
    EXPECT_LT(t.elapsed(), 3500); // the program's own start included
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "Can not open ComPort :" + url + "\nThe server did not negotiate COM port "
                       "control (RFC 2217) within 2.5 seconds. A server that passes the line's "
                       "bytes as they are is named tcp://HOST:PORT.\n");
}

TEST(LmxSendLine, LineOptionsOutsideTheirValuesAreUsageErrors)
{
    Program lmx;
    const QString file = lmx.file("a.lmx", "'a'\r\n");
    for (const QStringList& args : {QStringList{"--echo", "loud", file}, {"--echo"}, {"--rs485=5", file},
                                    {"--rs485=101,0", file}, {"--reconnect", "3601", file}, {"--reconnect", "-1", file}}) {
        const LmxRun run = lmx.send(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(run.err.startsWith("lmx send: ")) << run.err.toStdString();
    }
}

TEST(LmxSendLine, LmxSimEchoingAtItsLineRateIsServedWithTheMatchingOptions)
{
    Program lmx;
    const QString link = lmx.dir.filePath("bus");
    QProcess sim;
    sim.start(lmx.path, {"sim", "--echo", "--line-rate", "9600", "--link", link, "--", lmx.path, "send",
                         "--echo", "verify", "--baud", "9600", "--port", link, lmx.file("two.lmx", kTwoBlocks)});
    ASSERT_TRUE(sim.waitForFinished(20000));
    const QString out = QString::fromLatin1(sim.readAllStandardOutput());
    EXPECT_EQ(sim.exitCode(), 0) << sim.readAllStandardError().toStdString() << out.toStdString();
    EXPECT_EQ(out.count("Param: $00 (No Data)"), 2) << out.toStdString();
}
