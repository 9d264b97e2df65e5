// lmx send --capture against the virtual display: tshark with the Lmx dissector
// (wireshark/lmx.lua) reads the capture, and every frame's direction, network number, packet
// number, result and CRC verdict must be what the JSON report of the same run (the Packets
// tab's records) says; the capture path's refusals; a killed run keeps what it ended.
#include "sim/sim_server.h"
#include "tests/support/lmx_copy.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#include <gtest/gtest.h>

using namespace lmx;

namespace {

struct SendRun : LmxCopy {
    QString capture = dir.filePath("run.pcapng");
    QString report = dir.filePath("run.jsonl");

    // Starts lmx send; with `wait` runs it to its end and gives its exit code.
    int send(const std::string& port, const QStringList& args, const std::string& list, bool wait = true)
    {
        process.start(path, QStringList{"send", "--port", QString::fromStdString(port), "--capture",
                                        capture, "--report", report}
                                    + args + QStringList{file("list.lmx", list.c_str())});
        return wait && process.waitForFinished(30000) ? process.exitCode() : -1;
    }
    // Every frame as tshark -2 with the dissector gives it (two passes: a missing answer is
    // known once the whole capture is read): direction|CRC error flag|kind|netnr|packet|result|
    // CRC status|verdict|no answer|Info|seconds since the packet was written.
    QStringList dissect() const
    {
        QStringList args{"-2", "-X", "lua_script:" LMX_LUA, "-r", capture, "-T", "fields", "-E", "separator=|"};
        for (const char* f : {"frame.packet_flags_direction", "frame.packet_flags_crc_error", "lmx.kind",
                              "lmx.netnr", "lmx.packet", "lmx.result", "lmx.crc.status", "lmx.verdict",
                              "lmx.no_answer", "_ws.col.Info", "lmx.time"})
            args << "-e" << f;
        QProcess p;
        p.start(QStandardPaths::findExecutable("tshark"), args);
        p.waitForFinished(60000);
        EXPECT_EQ(p.readAllStandardError().indexOf("Lua"), -1);
        return QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    }
    // The frames the report's exchanges must have given: each packet, then its answer.
    void compare() const
    {
        QStringList expected;
        QStringList got;
        for (const QString& frame : dissect())
            got << frame.section('|', 0, 8);
        for (const QByteArray& line : readAll(report).split('\n')) {
            const QJsonObject x = QJsonDocument::fromJson(line).object();
            if (!x.contains("index"))
                continue;
            const QString address = QString("%1|0x%2|").arg(x["netnr"].toInt()).arg(x["packet"].toInt(), 2, 16, QChar('0'));
            expected << "0x00000002|0|1|" + address + "|1||" + (x["answer"].isNull() ? "1" : "");
            if (x["answer"].isNull())
                continue;
            const QString state = x["state"].toString();
            const bool bad = state == "Invalid answer CRC at CRC";
            const int result = x["result"].toInt();
            const QString verdict = state != "OK" ? "Error " + state
                    : result ? "Answer: " + x["result_text"].toString() + " Param : " + x["param"].toString() : "OK";
            QString resultField = QString("0x%1").arg(result, 2, 16, QChar('0'));
            // An answer that failed its checks has no result in the report to compare with.
            if (x["result"].isNull() && expected.size() < got.size()) {
                QString& frame = got[expected.size()];
                frame = frame.section('|', 0, 4) + "||" + frame.section('|', 6);
                resultField.clear();
            }
            expected << QString("0x00000001|%1|2|").arg(bad) + address + resultField + "|"
                            + (bad ? "0|" : "1|") + verdict + "|";
        }
        EXPECT_EQ(got.join('\n').toStdString(), expected.join('\n').toStdString());
    }
    QProcess process;
};

bool tsharkMissing()
{
    return QStandardPaths::findExecutable("tshark").isEmpty();
}

} // namespace

TEST(CaptureTshark, EveryFrameOfABadCrcRunAgreesWithTheReport)
{
    if (tsharkMissing())
        GTEST_SKIP() << "tshark is not installed (scripts/common.sh installs it) and could not be here";
    sim::SimOptions options;
    options.fault = sim::FaultKind::BadCrc;
    options.faultEvery = 3;
    sim::SimServer display(options);
    SendRun run;
    // A series of two packets, then single packets: the third and the sixth answer are spoilt.
    std::string list = "SOT '01'\r\n'Hello, world'\r\nEOT\r\n";
    for (const char* text : {"b", "c", "d", "e", "f", "g"})
        list += "SOT '01'\r\n'" + std::string(text) + "'\r\nEOT\r\n";
    EXPECT_EQ(run.send(display.start(), {"--packet-size", "8"}, list), 1);
    run.compare();
    EXPECT_EQ(run.dissect().at(1).section('|', 9, 9), "NetNr: 1 Received Packet Number: 0 Param: $00 (No Data)");
}

TEST(CaptureTshark, ASilentDisplayOfAListShowsItsMissingAnswer)
{
    if (tsharkMissing())
        GTEST_SKIP() << "tshark is not installed (scripts/common.sh installs it) and could not be here";
    sim::SimOptions options;
    options.netNrs = {1, 3};
    sim::SimServer displays(options);
    SendRun run;
    EXPECT_EQ(run.send(displays.start(), {"--netnr", "1-3"}, "'Hi'\r\n"), 1);
    run.compare();
    EXPECT_EQ(run.dissect().at(2).section('|', 9, 9), "NetNr: 2 Transmitted Packet Number: 0 [no answer]");
}

TEST(CaptureTshark, AnAnswerIsDatedByItsFirstByte)
{
    if (tsharkMissing())
        GTEST_SKIP() << "tshark is not installed (scripts/common.sh installs it) and could not be here";
    sim::SimOptions split; // the answer's second half 400 ms after its first
    split.fault = sim::FaultKind::Split;
    split.splitPauseMs = 400;
    sim::SimServer display(split);
    SendRun run;
    run.send(display.start(), {}, "'x'\r\n");
    // The report's round trip runs to the answer's end byte.
    const double rttMs = QJsonDocument::fromJson(readAll(run.report).split('\n')[0])["rtt_ms"].toDouble();
    EXPECT_LT(run.dissect().at(1).section('|', 10).toDouble() * 1000, rttMs - 300);
}

TEST(LmxSendCapture, AnUnusableCapturePathStopsTheRunBeforeItSends)
{
    SendRun run;
    const QString list = run.file("list.lmx", "'x'\r\n");
    QDir(run.dir.path()).mkdir("sub");
    for (const auto& [args, problem] :
         {std::pair{QStringList{"--capture", run.dir.path() + "/sub/../list.lmx", list}, "is the command file"},
          {QStringList{"--capture", run.report, "--report", run.report, list}, "--report and --capture name one file"},
          {QStringList{"--junit", run.report, "--capture", run.report, list}, "--junit and --capture name one file"},
          {QStringList{"--capture", "/nonexistent-folder/c.pcapng", list}, "Failed to create capture file"}}) {
        QProcess p;
        p.start(run.path, QStringList{"send", "--port", "/dev/null"} + args);
        p.waitForFinished(10000);
        EXPECT_EQ(p.exitCode(), 2) << problem;
        EXPECT_TRUE(p.readAllStandardError().contains(problem)) << problem;
    }
    EXPECT_EQ(readAll(list), "'x'\r\n");
}

TEST(LmxSendCapture, ARunKilledHalfwayKeepsEveryExchangeItEnded)
{
    sim::SimOptions slow; // the first answer comes too late, the next packet gets it
    slow.fault = sim::FaultKind::Slow;
    slow.slowDelayMs = 1100;
    sim::SimServer display(slow);
    SendRun run;
    run.send(display.start(), {}, "SOT '01'\r\n'x'\r\nEOT\r\nSOT '01'\r\n'y'\r\nEOT\r\nSOT '01'\r\n'z'\r\nEOT\r\n", false);
    QByteArray out;
    while (out.count("Transmitted") < 3 && run.process.waitForReadyRead(5000))
        out += run.process.readAllStandardOutput();
    ::kill(static_cast<pid_t>(run.process.processId()), SIGKILL);
    run.process.waitForFinished(5000);
    const QByteArray capture = readAll(run.capture);
    EXPECT_TRUE(capture.contains("NetNr 1 packet 0 sent, no answer")) << "the first exchange";
    EXPECT_TRUE(capture.contains("NetNr 1 packet 0: OK")) << "the second, answered late";
}
