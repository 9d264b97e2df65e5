// Captures of lmx send runs against the virtual display, read by Wireshark's tshark with the
// Lmx dissector (wireshark/lmx.lua): every frame's direction, network number, packet number,
// result and CRC verdict against the JSON report of the same run, which the Packets tab's
// records make, and the bytes of every frame against the report's bytes.
#include "pcapng_reader.h"
#include "sim/sim_server.h"
#include "tests/support/lmx_copy.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <optional>

using namespace lmx;

namespace {

// One frame as the dissector took it apart.
struct Dissected {
    int direction = 0; // 2 outbound, 1 inbound (the capture's flags)
    bool crcErrorFlag = false;
    int kind = 0;      // 1 packet, 2 answer, 3 bytes that made no answer
    std::optional<int> netNr;
    std::optional<int> packet;
    std::optional<int> result;
    std::optional<int> crcStatus; // 0 bad, 1 good
    std::string verdict;
    bool noAnswer = false;
    std::string info;
};

std::optional<int> number(const QString& field)
{
    bool ok = false;
    const int v = field.toInt(&ok, 0);
    return ok ? std::optional<int>(v) : std::nullopt;
}

QString tsharkPath()
{
    return QStandardPaths::findExecutable("tshark");
}

// tshark -2 (two passes: a packet's missing answer is known once the whole capture is read).
std::vector<Dissected> dissect(const QString& capture)
{
    const QStringList fields{"frame.packet_flags_direction", "frame.packet_flags_crc_error",
                             "lmx.kind", "lmx.netnr", "lmx.packet", "lmx.result",
                             "lmx.crc.status", "lmx.verdict", "lmx.no_answer", "_ws.col.Info"};
    QStringList args{"-2", "-X", "lua_script:" LMX_LUA, "-r", capture, "-T", "fields",
                     "-E", "separator=/t", "-E", "occurrence=f"};
    for (const QString& f : fields)
        args << "-e" << f;
    QProcess p;
    p.start(tsharkPath(), args);
    EXPECT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0);
    const QString err = QString::fromUtf8(p.readAllStandardError());
    EXPECT_FALSE(err.contains("Lua") || err.contains("damaged") || err.contains("corrupt"))
            << err.toStdString();
    std::vector<Dissected> frames;
    for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts)) {
        const QStringList v = line.split('\t');
        if (v.size() != fields.size()) {
            ADD_FAILURE() << "not a line of fields: " << line.toStdString();
            continue;
        }
        Dissected d;
        d.direction = number(v[0]).value_or(0);
        d.crcErrorFlag = v[1] == "1" || v[1] == "True";
        d.kind = number(v[2]).value_or(0);
        d.netNr = number(v[3]);
        d.packet = number(v[4]);
        d.result = number(v[5]);
        d.crcStatus = number(v[6]);
        d.verdict = v[7].toStdString();
        d.noAnswer = v[8] == "1" || v[8] == "True";
        d.info = v[9].toStdString();
        frames.push_back(d);
    }
    return frames;
}

std::vector<QJsonObject> exchanges(const QString& report)
{
    std::vector<QJsonObject> out;
    for (const QByteArray& line : readAll(report).split('\n')) {
        const QJsonObject o = QJsonDocument::fromJson(line).object();
        if (o.contains("index"))
            out.push_back(o);
    }
    return out;
}

// The receive box's words for an exchange of the report.
std::string expectedVerdict(const QJsonObject& x)
{
    const std::string state = x["state"].toString().toStdString();
    if (state != "OK")
        return "Error " + state;
    if (x["result"].toInt() != 0)
        return "Answer: " + x["result_text"].toString().toStdString() + " Param : "
             + x["param"].toString().toStdString();
    return "OK";
}

struct SendRun : LmxCopy {
    QString capture = dir.filePath("run.pcapng");
    QString report = dir.filePath("run.jsonl");

    int send(const std::string& port, const QStringList& args, const char* list)
    {
        QProcess p;
        p.start(path, QStringList{"send", "--port", QString::fromStdString(port), "--capture",
                                  capture, "--report", report}
                              + args + QStringList{file("list.lmx", list)});
        EXPECT_TRUE(p.waitForFinished(30000));
        return p.exitCode();
    }

    // Walks the report's exchanges and the capture's frames side by side.
    void compare(int expectedExchanges)
    {
        const std::vector<QJsonObject> report = exchanges(this->report);
        const std::vector<Dissected> frames = dissect(capture);
        const std::vector<pcapngtest::Packet> written = pcapngtest::readPackets(readAll(capture).toStdString());
        ASSERT_EQ(static_cast<int>(report.size()), expectedExchanges);
        ASSERT_EQ(frames.size(), written.size());
        size_t f = 0;
        for (const QJsonObject& x : report) {
            const std::string at = "exchange " + std::to_string(x["index"].toInt());
            ASSERT_LT(f, frames.size()) << at;
            const Dissected& packet = frames[f];
            EXPECT_EQ(packet.direction, 2) << at;
            EXPECT_EQ(packet.kind, 1) << at;
            EXPECT_EQ(packet.netNr, x["netnr"].toInt()) << at;
            EXPECT_EQ(packet.packet, x["packet"].toInt()) << at;
            EXPECT_EQ(packet.crcStatus, 1) << at;
            EXPECT_EQ(QByteArray::fromStdString(written[f].data).toHex(),
                      x["sent"].toString().toLatin1().toLower()) << at;
            EXPECT_EQ(packet.noAnswer, x["answer"].isNull()) << at;
            std::string came;
            bool answered = false;
            for (++f; f < frames.size() && frames[f].direction == 1; ++f) {
                const Dissected& in = frames[f];
                came += written[f].data;
                if (in.kind != 2)
                    continue;
                answered = true;
                EXPECT_EQ(in.verdict, expectedVerdict(x)) << at;
                EXPECT_EQ(in.netNr, x["netnr"].toInt()) << at;
                EXPECT_EQ(in.packet.value_or(-1) & 0x3F, x["packet"].toInt() & 0x3F) << at;
                if (!x["result"].isNull()) {
                    EXPECT_EQ(in.result, x["result"].toInt()) << at;
                }
                const bool badCrc = x["state"].toString() == "Invalid answer CRC at CRC";
                EXPECT_EQ(in.crcStatus, badCrc ? 0 : 1) << at;
                EXPECT_EQ(in.crcErrorFlag, badCrc) << at;
            }
            EXPECT_EQ(answered, !x["answer"].isNull()) << at;
            EXPECT_EQ(QByteArray::fromStdString(came).toHex(),
                      x["answer"].toString().toLatin1().toLower()) << at;
        }
        EXPECT_EQ(f, frames.size()) << "frames after the last exchange";
    }
};

} // namespace

class CaptureTshark : public ::testing::Test {
protected:
    void SetUp() override
    {
        // scripts/common.sh installs tshark with the other packages.
        if (tsharkPath().isEmpty())
            GTEST_SKIP() << "tshark is not installed and could not be installed here";
    }
};

TEST_F(CaptureTshark, EveryFrameOfABadCrcRunAgreesWithTheReport)
{
    sim::SimOptions options;
    options.fault = sim::FaultKind::BadCrc;
    options.faultEvery = 3;
    sim::SimServer display(options);
    SendRun run;
    // A series of two packets, then single packets: the third and the sixth answer are spoilt.
    const int exit = run.send(display.start(), {"--packet-size", "8"},
                              "SOT '01'\r\n'Hello, world'\r\nEOT\r\n"
                              "SOT '01'\r\n'b'\r\nEOT\r\nSOT '01'\r\n'c'\r\nEOT\r\n"
                              "SOT '01'\r\n'd'\r\nEOT\r\nSOT '01'\r\n'e'\r\nEOT\r\n"
                              "SOT '01'\r\n'f'\r\nEOT\r\nSOT '01'\r\n'g'\r\nEOT\r\n");
    EXPECT_EQ(exit, 1);
    run.compare(8);
    const std::vector<Dissected> frames = dissect(run.capture);
    int bad = 0;
    for (const Dissected& d : frames)
        bad += d.crcErrorFlag ? 1 : 0;
    EXPECT_EQ(bad, 2);
    ASSERT_GE(frames.size(), 2u);
    EXPECT_EQ(frames[0].info, "NetNr: 1 Transmitted Packet Number: 0");
    EXPECT_EQ(frames[1].info, "NetNr: 1 Received Packet Number: 0 Param: $00 (No Data)");
}

TEST_F(CaptureTshark, ASilentDisplayOfAListShowsItsMissingAnswer)
{
    sim::SimOptions options;
    options.netNrs = {1, 3};
    sim::SimServer displays(options);
    SendRun run;
    EXPECT_EQ(run.send(displays.start(), {"--netnr", "1-3"}, "'Hi'\r\n"), 1);
    run.compare(3);
    const std::vector<Dissected> frames = dissect(run.capture);
    ASSERT_EQ(frames.size(), 5u);
    EXPECT_TRUE(frames[2].noAnswer);
    EXPECT_EQ(frames[2].info, "NetNr: 2 Transmitted Packet Number: 0 [no answer]");
}
