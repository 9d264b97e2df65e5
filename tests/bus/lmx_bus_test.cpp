// lmx scan and lmx send --netnr LIST run as programs against lmx sim playing a bus of
// displays: what they list, their exit codes and the reports.
#include "tests/support/lmx_copy.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

struct BusRun {
    int exitCode = -1;
    QStringList lines; // stdout without the virtual display's own lines
    QString err;
};

struct Program : LmxCopy {
    // lmx sim serving `netNrs`, running lmx COMMAND on its terminal.
    BusRun onBus(const QStringList& netNrs, const QStringList& command) const
    {
        QStringList args{"sim", "--link", bus};
        for (const QString& n : netNrs)
            args << "--netnr" << n;
        return withoutDisplayLines(run(args + QStringList{"--", path} + command + QStringList{"--port", bus}));
    }
    static BusRun withoutDisplayLines(const LmxRun& run)
    {
        BusRun r{run.exitCode, {}, run.err};
        for (const QString& line : run.lines())
            if (!line.startsWith("PACKET ") && !line.startsWith("/dev/"))
                r.lines << line;
        return r;
    }
    QString bus = dir.filePath("bus");
};

} // namespace

TEST(LmxBus, AScanListsExactlyTheBussDisplaysAndASendToThreeReportsTheSilentOne)
{
    Program lmx;
    QElapsedTimer timer;
    timer.start();
    const BusRun run = lmx.onBus({"3", "17", "200"}, {"scan"});
    EXPECT_LT(timer.elapsed(), 60000);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    QStringList listed;
    for (const QString& line : run.lines)
        listed << line.section(" (", 0, 0);
    EXPECT_EQ(listed, (QStringList{"NetNr 3: OK", "NetNr 17: OK", "NetNr 200: OK", "3 displays answered"}));

    const QString report = lmx.dir.filePath("r.jsonl");
    const QString junit = lmx.dir.filePath("j.xml");
    const QString hello = lmx.file("hello.lmx", "'Hello'\r\n");
    const BusRun sent = lmx.onBus({"1", "3"}, {"send", "--netnr", "1-3", "--report", report,
                                               "--junit", junit, hello});
    EXPECT_EQ(sent.exitCode, 1) << sent.err.toStdString();
    EXPECT_EQ(sent.lines.mid(sent.lines.size() - 4),
              (QStringList{"NetNr 1: OK (1 packet, 0 failed)", "NetNr 2: failed: no answer (1 packet, 1 failed)",
                           "NetNr 3: OK (1 packet, 0 failed)", "2 of 3 displays OK"}));
    EXPECT_EQ(sent.err, "Error Answer packet incomplete at SOT\n");

    const QJsonArray displays = QJsonDocument::fromJson(readAll(report).trimmed().split('\n').last())
                                        .object()["summary"].toObject()["displays"].toArray();
    QStringList failed;
    for (const QJsonValue& d : displays)
        failed << QString("%1:%2:%3").arg(d["netnr"].toInt()).arg(d["failed"].toInt()).arg(d["last_failure"].toString());
    EXPECT_EQ(failed, (QStringList{"1:0:", "2:1:no answer", "3:0:"}));
    const QByteArray xml = readAll(junit);
    EXPECT_TRUE(xml.contains("tests=\"3\" failures=\"1\"")) << xml.toStdString();
    EXPECT_TRUE(QRegularExpression("name=\"NetNr 2 block 1\" time=\"1\\.\\d+\">\n      <failure message=\"1 of 1 answers failed\">")
                        .match(QString::fromUtf8(xml))
                        .hasMatch())
            << xml.toStdString();
}

TEST(LmxBus, UsageErrorsSayWhyASilentRangeExitsWith1AndCtrlCEndsTheScanAfterTheProbe)
{
    Program lmx;
    const QString file = lmx.file("x.lmx", "'x'\r\n");
    const std::pair<QStringList, const char*> cases[] = {
            {{"scan", "--from", "0"}, "lmx scan: the first network number must be one of 1..255"},
            {{"scan", "--from", "9", "--to", "8"}, "lmx scan: the first network number is above the last"},
            {{"scan", "--timeout", "5"}, "lmx scan: the time-out must be 10..10000 ms"},
            {{"scan", "--to", "x"}, "lmx scan: --to takes a decimal number"},
            {{"scan", file}, "lmx scan: unexpected argument "},
            {{"send", "--netnr", "3-1", file}, "lmx send: --netnr 3-1: the range 3-1 runs backwards; write 1-3"},
    };
    for (const auto& [args, error] : cases) {
        const LmxRun run = lmx.run(args);
        EXPECT_EQ(run.exitCode, 2) << error;
        EXPECT_TRUE(run.err.startsWith(error)) << run.err.toStdString();
    }

    QProcess sim;
    sim.start(lmx.path, {"sim", "--netnr", "2", "--link", lmx.bus});
    ASSERT_TRUE(sim.waitForReadyRead(10000));
    const BusRun silent = Program::withoutDisplayLines(
            lmx.run({"scan", "--port", lmx.bus, "--from", "3", "--to", "5", "--timeout", "20"}));
    EXPECT_EQ(silent.exitCode, 1);
    EXPECT_EQ(silent.lines, QStringList{"0 displays answered"});

    QProcess scan;
    scan.start(lmx.path, {"scan", "--port", lmx.bus});
    const QByteArray out = interruptAfter(scan, "NetNr 2:");
    ASSERT_TRUE(out.contains("NetNr 2:")) << out.toStdString();
    ASSERT_TRUE(scan.waitForFinished(5000)); // long before 252 more numbers are probed
    EXPECT_EQ(scan.exitCode(), 1);
    EXPECT_EQ(scan.readAllStandardError().toStdString(),
              "lmx scan: stopping after the probe under way; Ctrl+C again stops at once\nlmx scan: interrupted\n");
    EXPECT_TRUE((out + scan.readAllStandardOutput()).endsWith("\n1 display answered\n")) << out.toStdString();
}
