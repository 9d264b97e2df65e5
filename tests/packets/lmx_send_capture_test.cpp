// lmx send --capture: refused where it would land on the command file or a report, a file that
// cannot be created stops the run before anything is sent, and a run killed halfway leaves
// every exchange it ended in the file.
#include "pcapng_reader.h"
#include "sim/sim_server.h"
#include "tests/support/lmx_copy.h"

#include <QDir>
#include <QProcess>

#include <gtest/gtest.h>

#include <csignal>

using namespace lmx;

namespace {

struct Result {
    int exitCode = -1;
    std::string err;
};

Result send(const LmxCopy& lmx, const QStringList& args)
{
    QProcess p;
    p.start(lmx.path, QStringList{"send"} + args);
    p.waitForFinished(20000);
    return {p.exitCode(), p.readAllStandardError().toStdString()};
}

} // namespace

TEST(LmxSendCapture, NeverOnTheCommandFileOrAReport)
{
    LmxCopy lmx;
    const char* text = "'x'\r\n";
    const QString list = lmx.file("list.lmx", text);
    const QString sameList = lmx.dir.path() + "/sub/../list.lmx";
    QDir(lmx.dir.path()).mkdir("sub");
    const QString out = lmx.dir.filePath("out.txt");
    const struct {
        QStringList args;
        std::string problem;
    } cases[] = {
        {{"--capture", list, list}, "--capture " + list.toStdString() + " is the command file"},
        {{"--capture", sameList, list}, "--capture " + sameList.toStdString() + " is the command file"},
        {{"--capture", out, "--report", out, list}, "--capture and --report name the same file " + out.toStdString()},
        {{"--junit", out, "--capture", out, list}, "--capture and --junit name the same file " + out.toStdString()},
        {{list, "--capture"}, "--capture needs a file name"},
    };
    for (const auto& c : cases) {
        const Result r = send(lmx, c.args);
        EXPECT_EQ(r.exitCode, 2) << c.problem;
        EXPECT_EQ(r.err.substr(0, r.err.find('\n')), "lmx send: " + c.problem);
    }
    EXPECT_EQ(readAll(list), text);
    EXPECT_FALSE(QFile::exists(out));
}

TEST(LmxSendCapture, ACaptureThatCannotBeCreatedStopsTheRunBeforeItSends)
{
    LmxCopy lmx;
    sim::SimServer display{sim::SimOptions()};
    const Result r = send(lmx, {"--port", QString::fromStdString(display.start()), "--capture",
                                "/nonexistent-folder/c.pcapng", lmx.file("list.lmx", "'x'\r\n")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, "lmx send: Failed to create capture file /nonexistent-folder/c.pcapng.\n"
                     "No such file or directory\n");
    EXPECT_TRUE(display.packets().empty());
}

TEST(LmxSendCapture, ARunKilledHalfwayKeepsEveryExchangeItEnded)
{
    LmxCopy lmx;
    sim::SimOptions slow;
    // Every answer comes past the time-out: the first packet gets none, the next the late one.
    slow.fault = sim::FaultKind::Slow;
    slow.slowDelayMs = 1100;
    sim::SimServer display(slow);
    std::string list;
    for (int i = 0; i < 10; ++i)
        list += "SOT '01'\r\n'x'\r\nEOT\r\n";
    const QString capture = lmx.dir.filePath("c.pcapng");
    QProcess p;
    p.start(lmx.path, {"send", "--port", QString::fromStdString(display.start()), "--capture",
                       capture, lmx.file("list.lmx", list.c_str())});
    // Two exchanges have ended once the third packet is on its way.
    QByteArray out;
    while (out.count("Transmitted") < 3 && p.waitForReadyRead(5000))
        out += p.readAllStandardOutput();
    ::kill(static_cast<pid_t>(p.processId()), SIGKILL);
    p.waitForFinished(5000);

    const std::string bytes = readAll(capture).toStdString();
    const std::vector<pcapngtest::Block> blocks = pcapngtest::readBlocks(bytes);
    size_t whole = 0;
    for (const pcapngtest::Block& b : blocks)
        whole += b.body.size() + 12;
    EXPECT_EQ(whole, bytes.size()) << "no block cut short";
    const std::vector<pcapngtest::Packet> packets = pcapngtest::readPackets(bytes);
    ASSERT_GE(packets.size(), 2u);
    EXPECT_EQ(packets[0].comment(), "NetNr 1 packet 0 sent, no answer");
    EXPECT_EQ(packets[1].comment(), "NetNr 1 packet 0 sent");
}
