// lmx send run as a program against the virtual display: what it prints, how it exits, which
// settings it takes, and Ctrl+C.
#include "files/settings_file.h"
#include "sim/sim_server.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>

using namespace lmx;

namespace {

struct SendRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// A copy of lmx in a folder of its own, so that its settings file and log are the test's.
struct Program {
    Program() { QFile::copy(LMX_BINARY, path); }
    QString file(const char* name, const char* text) const
    {
        QFile f(dir.filePath(name));
        f.open(QIODevice::WriteOnly);
        f.write(text);
        return f.fileName();
    }
    SendRun run(const QStringList& args) const
    {
        QProcess p;
        p.start(path, QStringList{"send"} + args);
        p.waitForFinished(20000);
        return {p.exitCode(), p.readAllStandardOutput().toStdString(), p.readAllStandardError().toStdString()};
    }
    QTemporaryDir dir;
    QString path = dir.filePath("lmx");
};

// Each "hh:nn:ss:zzz" time stamp becomes T.
std::string masked(const std::string& text)
{
    static const QRegularExpression stamp("\\d\\d:\\d\\d:\\d\\d:\\d\\d\\d");
    return QString::fromLatin1(text.c_str()).replace(stamp, "T").toStdString();
}

QString serve(sim::SimServer& server) { return QString::fromStdString(server.start()); }

sim::SimOptions displays(uint8_t netNr, sim::FaultKind fault = sim::FaultKind::None, bool normal = false)
{
    sim::SimOptions o;
    o.netNrs = {netNr};
    o.fault = fault;
    o.normalFraming = normal;
    return o;
}

} // namespace

TEST(LmxSend, PrintsEveryReceiveBoxLineAndExitsByTheAnswers)
{
    Program lmx;
    const QString file = lmx.file("two.lmx", "SOT '01'\r\n'Hi'\r\nNPACK '00000'\r\n'Ho'\r\nEOT\r\n");
    sim::SimServer good(displays(1));
    SendRun run = lmx.run({"--port", serve(good), file});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(masked(run.out), "NetNr: 1 T Transmitted Packet Number: 0\n"
                               "NetNr: 1 T Received Packet Number: 0 Param: $00 (No Data)\n"
                               "NetNr: 1 T Transmitted Packet Number: 0\n"
                               "NetNr: 1 T Received Packet Number: 0 Param: $00 (No Data)\n"
                               "T Transmission finished.\n");
    EXPECT_EQ(run.err, "");

    sim::SimServer bad(displays(1, sim::FaultKind::BadCrc));
    run = lmx.run({"--port", serve(bad), file});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "Error Invalid answer CRC at CRC\n");
    EXPECT_TRUE(QByteArray::fromStdString(run.out).endsWith(" Transmission aborted.\n")) << run.out;

    sim::SimServer normal(displays(1, sim::FaultKind::None, true));
    run = lmx.run({"--normal", "--port", serve(normal), lmx.file("b.lmx", "SOT '01'\r\n'Hi'\r\nEOT\r\n")});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(masked(run.out), "NetNr: 1 T Transmit Normal LMX\nNetNr: 1 T Answer Normal LMX: OK.\n");

    for (const QStringList& args : {QStringList{}, {"--packet-size", "241", file}, {"--netnr", "256", file},
                                    {"--baud", "fast", file}, {"--bogus", file}, {file, file},
                                    {lmx.dir.filePath("missing.lmx")}, {lmx.file("odd.lmx", "SOT '01'\r\n")}}) {
        run = lmx.run(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_NE(run.err, "");
    }
}

TEST(LmxSend, TakesTheSettingsBesideItUnlessAnOptionOverridesThem)
{
    Program lmx;
    sim::SimServer display(displays(2));
    TSerialSettings serial;
    serial.PortName = serve(display).toStdString();
    TDisplaySettings netNr;
    netNr.NetNr = 2;
    ASSERT_TRUE(saveSettings(lmx.dir.path().toStdString(), serial, netNr, TGeneralSettings()).ok);
    const QString file = lmx.file("one.lmx", "'x'\r\n");
    SendRun run = lmx.run({file});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(masked(run.out).substr(0, 10), "NetNr: 2 T");

    // A port that does not open: its message once, then the end of the transmission.
    run = lmx.run({"--port", "/nonexistent/tty", "--netnr", "1", "--debug-log", file});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "Can not open ComPort :/nonexistent/tty\n");
    EXPECT_EQ(masked(run.out), "NetNr: 1 T Transmitted Packet Number: 0\nT Transmission aborted.\n");
    QFile log(lmx.dir.filePath("Log/Debug.log"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(log.readAll().endsWith(" Debug File Created: \r\n"));
}

TEST(LmxSend, CtrlCStopsTheTransmissionAtOnce)
{
    Program lmx;
    sim::SimServer display(displays(1));
    QProcess p;
    p.start(lmx.path, {"send", "--port", serve(display), lmx.file("w.lmx", "'A'\r\nNPACK '60000'\r\n'B'\r\n")});
    QByteArray out;
    QElapsedTimer t;
    t.start();
    while (!out.contains("Received") && t.elapsed() < 10000 && p.waitForReadyRead(1000))
        out += p.readAllStandardOutput();
    ASSERT_TRUE(out.contains("Received")) << out.toStdString();
    ::kill(static_cast<pid_t>(p.processId()), SIGINT);
    ASSERT_TRUE(p.waitForFinished(10000)); // long before the NPACK's minute is over
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_EQ(p.readAllStandardError().toStdString(), "lmx send: interrupted\n");
    EXPECT_EQ((out + p.readAllStandardOutput()).count('\n'), 2); // nothing after the stop
}
