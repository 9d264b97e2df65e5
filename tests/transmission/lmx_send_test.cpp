// lmx send run as a program against the virtual display: what it prints, how it exits, which
// settings it takes, and Ctrl+C.
#include "files/settings_file.h"
#include "protocol/framing.h"
#include "serial_line_fixture.h"
#include "tests/support/lmx_copy.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

using namespace lmx;
using serialtest::simOptions;

namespace {

struct SendRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

struct Program : LmxCopy {
    SendRun run(const QStringList& args) const
    {
        QProcess p;
        p.start(path, QStringList{"send"} + args);
        p.waitForFinished(20000);
        return {p.exitCode(), p.readAllStandardOutput().toStdString(), p.readAllStandardError().toStdString()};
    }
};

// Each "hh:nn:ss:zzz" time stamp becomes T.
std::string masked(const std::string& text)
{
    static const QRegularExpression stamp("\\d\\d:\\d\\d:\\d\\d:\\d\\d\\d");
    return QString::fromLatin1(text.c_str()).replace(stamp, "T").toStdString();
}

// Each JUnit test case as "name" or "name: failure message" or "name: skipped".
QStringList junitCases(const QString& name)
{
    QStringList cases;
    QXmlStreamReader xml(readAll(name));
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"testcase")
            cases << xml.attributes().value("name").toString();
        else if (xml.name() == u"failure")
            cases.last() += ": " + xml.attributes().value("message").toString();
        else if (xml.name() == u"skipped")
            cases.last() += ": skipped";
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return cases;
}

QString serve(sim::SimServer& server) { return QString::fromStdString(server.start()); }

} // namespace

TEST(LmxSend, ExitCodeFollowsTheAnswersWithEveryReceiveBoxLinePrinted)
{
    Program lmx;
    const QString file = lmx.file("two.lmx", "SOT '01'\r\n'Hi'\r\nNPACK '00000'\r\n'Ho'\r\nEOT\r\n");
    sim::SimServer good(simOptions());
    SendRun run = lmx.run({"--port", serve(good), file});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(masked(run.out), "NetNr: 1 T Transmitted Packet Number: 0\n"
                               "NetNr: 1 T Received Packet Number: 0 Param: $00 (No Data)\n"
                               "NetNr: 1 T Transmitted Packet Number: 0\n"
                               "NetNr: 1 T Received Packet Number: 0 Param: $00 (No Data)\n"
                               "T Transmission finished.\n");
    EXPECT_EQ(run.err, "");

    sim::SimServer bad(simOptions({1}, sim::FaultKind::BadCrc));
    run = lmx.run({"--port", serve(bad), lmx.file("three.lmx", "SOT '01'\r\n'A'\r\nEOT\r\nSOT '01'\r\n'B'\r\nEOT\r\n"
                                                                "SOT '01'\r\n'C'\r\nEOT\r\n")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "Error Invalid answer CRC at CRC\n");
    EXPECT_EQ(QString::fromStdString(run.out).count("Invalid answer CRC"), 3) << run.out;

    for (const QStringList& args : {QStringList{}, {"--packet-size", "241", file}, {"--netnr", "256", file},
                                    {"--baud", "fast", file}, {"--bogus", file}, {file, file},
                                    {lmx.dir.filePath("missing.lmx")}, {lmx.file("odd.lmx", "SOT '01'\r\n")}}) {
        run = lmx.run(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_NE(run.err, "");
    }
}

TEST(LmxSend, TakesTheSettingsBesideItUnlessOverriddenAndReportsAsJsonLinesAndJUnit)
{
    Program lmx;
    sim::SimServer display(simOptions({2}));
    TSerialSettings serial;
    serial.PortName = serve(display).toStdString();
    TDisplaySettings netNr;
    netNr.NetNr = 2;
    ASSERT_TRUE(saveSettings(lmx.dir.path().toStdString(), serial, netNr, TGeneralSettings()).ok);
    const QString file = lmx.file("one.lmx", "'x'\r\n");
    SendRun run = lmx.run({file});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(masked(run.out).substr(0, 10), "NetNr: 2 T");
    // A port it was not given is named, with where it came from.
    EXPECT_EQ(run.err, "lmx send: port " + serial.PortName + " from " + lmx.dir.filePath("ORVANTA.SET").toStdString() + "\n");
    QFile::remove(lmx.dir.filePath("ORVANTA.SET"));
    run = lmx.run({"--netnr", "0", lmx.dir.filePath("missing.lmx")});
    EXPECT_EQ(run.err.rfind("lmx send: port \\\\.\\COM1 (/dev/ttyS0), the default: no --port and no ", 0), 0u) << run.err;

    // A port that does not open: its message once, then the end of the transmission.
    run = lmx.run({"--port", "/nonexistent/tty", "--netnr", "1", "--debug-log", "--junit", lmx.dir.filePath("j.xml"), file});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "Can not open ComPort :/nonexistent/tty\nNo such file or directory.\n"
                       "/nonexistent/tty does not exist. Is the adapter plugged in? The port list "
                       "in Settings > Serial shows the ports the system has.\n");
    EXPECT_EQ(masked(run.out), "T Transmission aborted.\n"); // nothing was transmitted
    EXPECT_TRUE(readAll(lmx.dir.filePath("Log/Debug.log")).endsWith(" Debug File Created: \r\n"));
    EXPECT_EQ(junitCases(lmx.dir.filePath("j.xml")), QStringList{"NetNr 1 block 1: 0 of 1 packets sent: the transmission aborted"});

    sim::SimOptions o = simOptions({1, 2}, sim::FaultKind::BadCrc);
    o.faultEvery = 2;
    sim::SimServer faulty(o);
    const QString report = lmx.dir.filePath("r.jsonl");
    const QString junit = lmx.dir.filePath("j.xml");
    const QString two = lmx.file("two.lmx", "SOT '01'\r\n'Hi'\r\nEOT\r\nSOT '02'\r\n'Ho'\r\nEOT\r\n");
    const QString port = serve(faulty);
    run = lmx.run({"--port", port, "--report", report, "--junit", junit, two});
    EXPECT_EQ(run.exitCode, 1) << run.err;

    const QList<QByteArray> lines = readAll(report).trimmed().split('\n');
    ASSERT_EQ(lines.size(), 3);
    const QJsonObject good = QJsonDocument::fromJson(lines[0]).object();
    const QJsonObject bad = QJsonDocument::fromJson(lines[1]).object();
    EXPECT_TRUE(good["netnr"].toInt() == 1 && good["packet"].toInt(-1) == 0 && good["ok"].toBool()
                && good["result"].toInt(-1) == 0 && good["rtt_ms"].toDouble(-1) >= 0.0);
    EXPECT_EQ(good["sent"].toString(), QByteArray::fromStdString(*buildExtendedPacket(1, 0, "Hi")).toHex().toUpper());
    EXPECT_TRUE(good["answer"].toString().startsWith("0106"));
    EXPECT_TRUE(bad["netnr"].toInt() == 2 && !bad["ok"].toBool(true) && bad["result"].isNull());
    EXPECT_EQ(bad["state"].toString(), "Invalid answer CRC at CRC");
    const QJsonObject summary = QJsonDocument::fromJson(lines[2]).object()["summary"].toObject();
    EXPECT_EQ(summary["packets"].toInt(), 2);
    EXPECT_EQ(summary["failed"].toInt(), 1);
    EXPECT_EQ(summary["displays"].toArray().at(1).toObject()["netnr"].toInt(), 2);
    EXPECT_EQ(junitCases(junit), (QStringList{"NetNr 1 block 1", "NetNr 2 block 1: 1 of 1 answers failed"}));

    // A report that cannot be written is a file error; the one before stays as it was.
    run = lmx.run({"--port", port, "--report", lmx.dir.filePath("no/r.jsonl"), two});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("Failed to write to file "), std::string::npos) << run.err;
}

TEST(LmxSend, CtrlCStopsTheTransmissionAfterTheExchangeWithItsLine)
{
    Program lmx;
    sim::SimServer display(simOptions());
    QProcess p;
    const QString junit = lmx.dir.filePath("j.xml");
    p.start(lmx.path, {"send", "--port", serve(display), "--junit", junit,
                       lmx.file("w.lmx", "'A'\r\nNPACK '60000'\r\n'B'\r\nSOT '02'\r\n'C'\r\nEOT\r\n")});
    const QByteArray out = interruptAfter(p, "Received");
    ASSERT_TRUE(out.contains("Received")) << out.toStdString();
    ASSERT_TRUE(p.waitForFinished(10000)); // long before the NPACK's minute is over
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_EQ(p.readAllStandardError().toStdString(), "");
    EXPECT_EQ(masked((out + p.readAllStandardOutput()).toStdString()),
              "NetNr: 1 T Transmitted Packet Number: 0\nNetNr: 1 T Received Packet Number: 0 Param: $00 (No Data)\n"
              "T Transmission stopped.\n");
    EXPECT_EQ(junitCases(junit), (QStringList{"NetNr 1 block 1: 1 of 2 packets sent: the transmission stopped",
                                             "NetNr 2 block 1: skipped"}));
}

// A report over the command file or the settings, or two outputs on one file, would destroy
// a file: refused before the port is even opened.
TEST(LmxSend, RefusesOutputsThatWouldDestroyAFile)
{
    Program lmx;
    const QString file = lmx.file("x.lmx", "'x'\r\n");
    QFile::link(file, lmx.dir.filePath("link.lmx"));
    const QString settings = lmx.dir.filePath("ORVANTA.SET");
    const QString report = lmx.dir.filePath("r.json");
    const std::pair<QStringList, QString> cases[] = {
            {{"--report", file}, "--report " + file + " is the command file"},
            {{"--junit", lmx.dir.filePath("link.lmx")}, "--junit " + lmx.dir.filePath("link.lmx") + " is the command file"},
            {{"--report", settings}, "--report " + settings + " is the settings file"},
            {{"--report", report, "--junit", report}, "--report and --junit name one file, " + report},
    };
    for (const auto& [outputs, error] : cases) {
        const SendRun run = lmx.run(outputs + QStringList{"--port", "/nonexistent/tty", file});
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.err.rfind("lmx send: " + error.toStdString(), 0), 0u) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(readAll(file), "'x'\r\n");
        EXPECT_FALSE(QFile::exists(settings) || QFile::exists(report));
    }
}

// A settings file that is there but does not read names no port: without --port lmx stops
// rather than take the default; with one it warns, in lines without stray CRs, and goes on.
TEST(LmxSend, ASettingsFileThatDoesNotReadStopsItWithoutAPort)
{
    Program lmx;
    const QString file = lmx.file("x.lmx", "'x'\r\n");
    QDir(lmx.dir.path()).mkdir("ORVANTA.SET");
    const std::string settings = lmx.dir.filePath("ORVANTA.SET").toStdString();
    SendRun run = lmx.run({file});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, "Failed to open settings file.\n" + settings + " cannot be read: It is a folder, not a file.\n"
                       "lmx send: no --port was given and " + settings + " does not read: stopped rather than use "
                       "the default port. Give --port NAME or repair the file.\n");
    EXPECT_EQ(run.out, "");

    run = lmx.run({"--port", "/nonexistent/tty", file});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err.rfind("Failed to open settings file.\nUsing Default Settings.\n" + settings + " cannot be read", 0), 0u)
            << run.err;
    EXPECT_EQ(run.err.find('\r'), std::string::npos);
}

// Ctrl+C while a file of 1 MB still loads: nothing is sent, the stop is said as after a packet,
// and the reports show every block as not reached.
TEST(LmxSend, CtrlCWhileTheFileLoadsStopsBeforeTheFirstPacket)
{
    Program lmx;
    TSerialSettings serial;
    serial.PortName = "/nonexistent/tty";
    ASSERT_TRUE(saveSettings(lmx.dir.path().toStdString(), serial, TDisplaySettings(), TGeneralSettings()).ok);
    const QString junit = lmx.dir.filePath("j.xml");
    const QString file = lmx.file("large.lmx", ("SOT '01'\r\n" + QByteArray("'ab'").repeated(256 * 1024)
                                                + "\r\nEOT\r\n").constData());
    QProcess p;
    p.setReadChannel(QProcess::StandardError);
    p.start(lmx.path, {"send", "--junit", junit, file});
    // The port is named before the file is loaded.
    ASSERT_TRUE(p.waitForReadyRead(10000));
    ::kill(static_cast<pid_t>(p.processId()), SIGINT);
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_EQ(masked(p.readAllStandardOutput().toStdString()), "T Transmission stopped.\n");
    EXPECT_EQ(junitCases(junit), QStringList{"NetNr 1 block 1: skipped"});
}

// The answer data fills the file's templates as the window's Answer Data tab shows them.
TEST(LmxSend, PrintsTheAnswerTemplatesFilledByTheAnswerData)
{
    Program lmx;
    sim::SimServer display(simOptions());
    const SendRun run = lmx.run({"--port", serve(display),
                                 lmx.file("clock.lmx", "SOT '01'\r\n ESC $E6 '240331140207' EOC\r\n ESC $A6 '3'\r\n"
                                                       "EOT\r\nANSWER:\r\nDate 20@@-@@-@@\r\nTime @@:@@:@@\r\n")});
    EXPECT_TRUE(QRegularExpression("\nAnswer Data: Date 2024-03-31\nAnswer Data: Time 14:02:0\\d\nT Transmission finished.\n$")
                        .match(QString::fromStdString(masked(run.out)))
                        .hasMatch())
            << run.out << run.err;
}
