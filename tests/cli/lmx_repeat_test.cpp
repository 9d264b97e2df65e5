// lmx send --repeat and --duration run as programs against lmx sim: the statistics against
// the faults the display put in, the reports against the statistics, the ends of a repeat.
#include "tests/support/lmx_copy.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

// A virtual display on a terminal of its own, its output read once it has ended.
class Display {
public:
    Display(const LmxCopy& lmx, const QStringList& options) : m_link(lmx.dir.filePath("tty"))
    {
        m_process.start(lmx.path, QStringList{"sim", "--link", m_link} + options);
        m_process.waitForReadyRead(10000);
    }
    const QString& port() const { return m_link; }
    // Ends it; its lines.
    QStringList stop()
    {
        m_process.terminate();
        m_process.waitForFinished(10000);
        return QString::fromLatin1(m_process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    }

private:
    QString m_link;
    QProcess m_process;
};

LmxRun send(const LmxCopy& lmx, const QStringList& args)
{
    return lmx.run(QStringList{"send"} + args);
}

QList<QJsonObject> jsonLines(const QString& path)
{
    QList<QJsonObject> objects;
    for (const QByteArray& line : readAll(path).split('\n'))
        if (!line.isEmpty())
            objects << QJsonDocument::fromJson(line).object();
    return objects;
}

// The value of a "  Label  value" row of the statistics table.
QString tableValue(const QStringList& lines, const QString& label)
{
    for (const QString& line : lines)
        if (line.startsWith("  " + label + "  "))
            return line.mid(label.size() + 2).trimmed();
    return {};
}

int countStarting(const QStringList& lines, const QString& start)
{
    int n = 0;
    for (const QString& line : lines)
        n += line.startsWith(start);
    return n;
}

const char kList[] = "SOT '01'\r\n'Hello'\r\nNPACK '00000'\r\n'World'\r\nEOT\r\nSOT '01'\r\n'Two'\r\nEOT\r\n";

} // namespace

TEST(LmxRepeat, StatisticsCountExactlyTheFailuresTheDisplayProduced)
{
    LmxCopy lmx;
    Display display(lmx, {"--fault", "bad-crc", "--fault-every", "7"});
    const QString report = lmx.dir.filePath("r.jsonl");
    const LmxRun run = send(lmx, {"--port", display.port(), "--repeat", "50", "--report", report,
                                    lmx.file("a.lmx", kList)});
    const QStringList displayLines = display.stop();
    const int faults = countStarting(displayLines, "PACKET ") - displayLines.filter("answer=sent").size();
    const int answered = countStarting(displayLines, "PACKET ");
    ASSERT_GT(faults, 5);

    EXPECT_EQ(run.exitCode, 1) << run.err.toStdString();
    EXPECT_EQ(countStarting(run.lines(), "Run "), 50);
    EXPECT_EQ(run.lines().filter(QRegularExpression("^Run \\d+ of 50: ")).size(), 50);
    const int failedLines = run.lines().filter(": FAILED (").size();
    // The table, the JSON line and the records tell the same.
    EXPECT_EQ(tableValue(run.lines(), "Runs").toInt(), 50);
    EXPECT_EQ(tableValue(run.lines(), "Failed runs").toInt(), failedLines);
    EXPECT_EQ(tableValue(run.lines(), "Packets").toInt(), answered);
    EXPECT_EQ(tableValue(run.lines(), "Failed packets").toInt(), faults);
    EXPECT_EQ(run.lines().last(), QString("%1 failure(s) in 50 run(s)").arg(failedLines));

    const QList<QJsonObject> objects = jsonLines(report);
    ASSERT_FALSE(objects.isEmpty());
    const QJsonObject s = objects.last()["statistics"].toObject();
    EXPECT_EQ(s["runs"].toInt(), 50);
    EXPECT_EQ(s["failed_runs"].toInt(), failedLines);
    EXPECT_EQ(s["packets"].toInt(), answered);
    EXPECT_EQ(s["failed_packets"].toInt(), faults);
    EXPECT_FALSE(s["interrupted"].toBool());
    const QJsonObject d = s["displays"].toArray()[0].toObject();
    EXPECT_EQ(d["states"].toObject()["Invalid answer CRC at CRC"].toInt(), faults);
    EXPECT_EQ(d["results"].toObject()["0x00"].toInt(), answered - faults);

    std::set<int> runs;
    std::set<int> failedRuns;
    int failedRecords = 0;
    for (int i = 0; i + 1 < objects.size(); ++i) {
        const int k = objects[i]["run"].toInt();
        runs.insert(k);
        if (!objects[i]["ok"].toBool()) {
            ++failedRecords;
            failedRuns.insert(k);
        }
    }
    EXPECT_EQ(objects.size() - 1, answered);
    EXPECT_EQ(failedRecords, faults);
    EXPECT_EQ(static_cast<int>(failedRuns.size()), failedLines);
    EXPECT_EQ(*runs.begin(), 1);
    EXPECT_EQ(*runs.rbegin(), 50);
    EXPECT_EQ(d["first_failure_run"].toInt(), *failedRuns.begin());
    EXPECT_EQ(d["last_failure_run"].toInt(), *failedRuns.rbegin());
}

TEST(LmxRepeat, MaxFailuresEndsRightAfterTheThirdFailedRun)
{
    LmxCopy lmx;
    Display display(lmx, {"--fault", "no-answer", "--fault-rate", "0.2", "--seed", "3"});
    const LmxRun run = send(lmx, {"--port", display.port(), "--repeat", "0", "--max-failures", "3",
                                    lmx.file("a.lmx", "'x'\r\n")});
    display.stop();
    EXPECT_EQ(run.exitCode, 1);
    const QStringList runLines = run.lines().filter(QRegularExpression("^Run \\d+: "));
    ASSERT_FALSE(runLines.isEmpty());
    EXPECT_EQ(runLines.filter(": FAILED (").size(), 3);
    EXPECT_TRUE(runLines.last().contains(": FAILED (1 packet, 1 failed: no answer)"))
            << runLines.last().toStdString();
    EXPECT_EQ(run.lines().last(), QString("3 failure(s) in %1 run(s)").arg(runLines.size()));
}

TEST(LmxRepeat, ADurationOfPassingRunsKeepsItsIntervalOnTheClock)
{
    LmxCopy lmx;
    Display display(lmx, {});
    const LmxRun run = send(lmx, {"--port", display.port(), "--duration", "3s", "--interval", "250",
                                    lmx.file("a.lmx", kList)});
    display.stop();
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    // Starts at 0, 250, ... 2750 ms; a run that came late would leave out one at the end.
    const int runs = tableValue(run.lines(), "Runs").toInt();
    EXPECT_GE(runs, 9);
    EXPECT_LE(runs, 12);
    const QRegularExpressionMatch interval =
            QRegularExpression("^requested 250 ms, achieved (\\d+\\.\\d+) ms, (\\d+) late runs?$")
                    .match(tableValue(run.lines(), "Interval"));
    ASSERT_TRUE(interval.hasMatch()) << tableValue(run.lines(), "Interval").toStdString();
    EXPECT_GE(interval.captured(1).toDouble(), 250.0);
    EXPECT_LT(interval.captured(1).toDouble(), 300.0);
    EXPECT_EQ(run.lines().last(), QString("0 failure(s) in %1 run(s)").arg(runs));
}

TEST(LmxRepeat, CtrlCEndsAfterTheExchangeWithTheStatisticsWritten)
{
    LmxCopy lmx;
    Display display(lmx, {"--fault", "slow", "--slow-delay", "300", "--fault-every", "2"});
    const QString report = lmx.dir.filePath("r.jsonl");
    QProcess p;
    p.start(lmx.path, {"send", "--port", display.port(), "--repeat", "0", "--report", report,
                       lmx.file("a.lmx", "'x'\r\n")});
    QByteArray out = interruptAfter(p, "Run 3: ");
    ASSERT_TRUE(p.waitForFinished(20000));
    out += p.readAllStandardOutput();
    display.stop();
    const QStringList lines = QString::fromLatin1(out).split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(p.exitCode(), 1);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines.contains("Statistics (interrupted):")) << out.toStdString();
    const int runs = tableValue(lines, "Runs").toInt();
    EXPECT_GE(runs, 3);
    const QList<QJsonObject> objects = jsonLines(report);
    ASSERT_FALSE(objects.isEmpty());
    EXPECT_TRUE(objects.last()["statistics"].toObject()["interrupted"].toBool());
    EXPECT_EQ(objects.last()["statistics"].toObject()["runs"].toInt(), runs);
    // The exchange under way was answered, not cut off.
    for (int i = 0; i + 1 < objects.size(); ++i)
        EXPECT_NE(objects[i]["state"].toString(), "stopped");
}

TEST(LmxRepeat, ReceiveLinesComeOnlyWithVerbose)
{
    LmxCopy lmx;
    Display display(lmx, {});
    const QString file = lmx.file("a.lmx", "'x'\r\n");
    const LmxRun quiet = send(lmx, {"--port", display.port(), "--repeat", "2", file});
    const LmxRun verbose = send(lmx, {"--port", display.port(), "--repeat", "2", "--verbose", file});
    display.stop();
    EXPECT_EQ(countStarting(quiet.lines(), "NetNr: 1 "), 0);
    EXPECT_EQ(countStarting(verbose.lines(), "NetNr: 1 "), 4);
}

TEST(LmxRepeat, TheCaptureHoldsEveryRun)
{
    LmxCopy lmx;
    Display display(lmx, {});
    const QString capture = lmx.dir.filePath("c.pcapng");
    const LmxRun run = send(lmx, {"--port", display.port(), "--repeat", "5", "--capture", capture,
                                    lmx.file("a.lmx", kList)});
    display.stop();
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    // Block by block: an enhanced packet block for every packet and every answer.
    const QByteArray bytes = readAll(capture);
    int frames = 0;
    for (qsizetype at = 0; at + 8 <= bytes.size();) {
        const auto word = [&](qsizetype i) {
            return quint32(quint8(bytes[i])) | quint32(quint8(bytes[i + 1])) << 8
                 | quint32(quint8(bytes[i + 2])) << 16 | quint32(quint8(bytes[i + 3])) << 24;
        };
        frames += word(at) == 6;
        const quint32 length = word(at + 4);
        if (length == 0)
            break;
        at += length;
    }
    EXPECT_EQ(frames, 5 * 3 * 2);
}
