// lmx send run as a program against the virtual display: what it prints, how it exits, which
// settings it takes, and Ctrl+C.
#include "files/settings_file.h"
#include "sim/sim_server.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <regex>

using namespace lmx;
using namespace lmx::sim;

namespace {

struct SendRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// A copy of lmx in a folder of its own, so that its settings file and log are the test's.
class Program {
public:
    Program()
    {
        path = dir.filePath("lmx");
        QFile::copy(LMX_BINARY, path);
        QFile::setPermissions(path, QFile::permissions(LMX_BINARY));
    }
    QString file(const char* name, const std::string& text) const
    {
        QFile f(dir.filePath(name));
        f.open(QIODevice::WriteOnly);
        f.write(text.data(), static_cast<qint64>(text.size()));
        return f.fileName();
    }
    void start(QProcess& p, QStringList args) const
    {
        p.start(path, QStringList{"send"} + args);
        p.waitForStarted(5000);
    }
    SendRun run(QStringList args) const
    {
        QProcess p;
        start(p, args);
        p.waitForFinished(20000);
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                p.readAllStandardOutput().toStdString(), p.readAllStandardError().toStdString()};
    }

    QTemporaryDir dir;
    QString path;
};

// Time stamps vary from run to run.
std::string masked(const std::string& text)
{
    return std::regex_replace(text, std::regex("\\d\\d:\\d\\d:\\d\\d:\\d\\d\\d"), "T");
}

SimOptions displays(std::vector<uint8_t> netNrs, bool normal = false, FaultKind fault = FaultKind::None)
{
    SimOptions o;
    o.netNrs = std::move(netNrs);
    o.normalFraming = normal;
    o.fault = fault;
    return o;
}

const std::string kTwoSeries = "SOT '01'\r\n'Hi'\r\nNPACK '00000'\r\n'Ho'\r\nEOT\r\n";

} // namespace

TEST(LmxSend, PrintsEveryReceiveBoxLineAndExitsByTheAnswers)
{
    Program lmx;
    const QString file = lmx.file("two.lmx", kTwoSeries);
    SimServer good(displays({1}));
    const QString goodPort = QString::fromStdString(good.start());
    SendRun run = lmx.run({"--port", goodPort, file});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(masked(run.out), "NetNr: 1 T Transmitted Packet Number: 0\n"
                               "NetNr: 1 T Received Packet Number: 0 Param: $00 (No Data)\n"
                               "NetNr: 1 T Transmitted Packet Number: 0\n"
                               "NetNr: 1 T Received Packet Number: 0 Param: $00 (No Data)\n"
                               "T Transmission finished.\n");
    EXPECT_EQ(run.err, "");

    SimServer bad(displays({1}, false, FaultKind::BadCrc));
    run = lmx.run({"--port", QString::fromStdString(bad.start()), file});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "Error Invalid answer CRC at CRC\n");
    EXPECT_EQ(masked(run.out), "NetNr: 1 T Transmitted Packet Number: 0\n"
                               "NetNr: 1 T Received Packet Number: 0 Error Invalid answer CRC at CRC\n"
                               "T Transmission aborted.\n");

    SimServer normal(displays({1}, true));
    run = lmx.run({"--normal", "--port", QString::fromStdString(normal.start()),
                   lmx.file("block.lmx", "SOT '01'\r\n'Hi'\r\nEOT\r\n")});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(masked(run.out), "NetNr: 1 T Transmit Normal LMX\n"
                               "NetNr: 1 T Answer Normal LMX: OK.\n");
}

TEST(LmxSend, UsageAndFileErrorsExitWithTwo)
{
    Program lmx;
    const QString file = lmx.file("two.lmx", kTwoSeries);
    const QString broken = lmx.file("broken.lmx", "SOT '01'\r\n'x'\r\n");
    const QStringList cases[] = {
        {}, {"--packet-size", "1", file}, {"--packet-size", "241", file}, {"--netnr", "256", file},
        {"--baud", "fast", file}, {"--bogus", file}, {file, file}, {"--port"},
        {lmx.dir.filePath("missing.lmx")}, {broken},
    };
    for (const QStringList& args : cases) {
        const SendRun run = lmx.run(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_NE(run.err, "") << args.join(' ').toStdString();
        EXPECT_EQ(run.out, "");
    }
}

TEST(LmxSend, TakesTheSettingsBesideItUnlessAnOptionOverridesThem)
{
    Program lmx;
    SimServer display(displays({2}));
    TSerialSettings serial;
    serial.PortName = display.start();
    TDisplaySettings netNr;
    netNr.NetNr = 2;
    TGeneralSettings general;
    ASSERT_TRUE(saveSettings(lmx.dir.path().toStdString(), serial, netNr, general).ok);
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

TEST(LmxSend, CtrlCStopsTheTransmissionPromptly)
{
    Program lmx;
    SimServer display(displays({1}));
    const QString port = QString::fromStdString(display.start());
    const QString file = lmx.file("wait.lmx", "'A'\r\nNPACK '10000'\r\n'B'\r\n");
    QProcess p;
    lmx.start(p, {"--port", port, file});
    QByteArray out;
    QElapsedTimer t;
    t.start();
    while (!out.contains("Received") && t.elapsed() < 10000) {
        p.waitForReadyRead(100);
        out += p.readAllStandardOutput();
    }
    ASSERT_TRUE(out.contains("Received")) << out.toStdString();
    t.restart();
    ::kill(static_cast<pid_t>(p.processId()), SIGINT);
    ASSERT_TRUE(p.waitForFinished(5000));
    EXPECT_LT(t.elapsed(), 1000);
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_EQ(p.readAllStandardError().toStdString(), "lmx send: interrupted\n");
    out += p.readAllStandardOutput();
    EXPECT_EQ(out.count('\n'), 2); // nothing after the stop
    EXPECT_EQ(display.packets().size(), 1u);
}
