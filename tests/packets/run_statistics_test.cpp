// The statistics of repeat runs and what they write: counts per display, state and result,
// the round-trip percentile from its histogram, each run's line, the closing JSON line, the
// JUnit cases over all runs and the report written as the runs go.
#include "packets/repeat_reports.h"
#include "packets/run_statistics.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

using namespace lmx;

namespace {

ExchangeRecord answered(int netNr, const std::string& state, std::optional<int> result,
                        std::optional<double> rtt = 5.0, int block = 0)
{
    ExchangeRecord r;
    r.netNr = netNr;
    r.evaluated = true;
    r.state = state;
    r.result = result;
    r.ok = state == "OK" && result == 0;
    r.failure = r.ok ? "" : state == "OK" ? "Param value out of range" : state;
    r.rttMs = rtt;
    r.block = block;
    r.sent = "p";
    return r;
}

ExchangeRecord normalAnswer(char resultChar, bool ok)
{
    ExchangeRecord r = answered(2, ok ? "OK" : "Error", std::nullopt);
    r.extended = false;
    r.resultChar = resultChar;
    r.ok = ok;
    r.failure = ok ? "" : "Error";
    return r;
}

QJsonObject parsedStatistics(const RunStatistics& s)
{
    const std::string line = statisticsJson(s);
    EXPECT_EQ(line.back(), '\n');
    EXPECT_EQ(std::count(line.begin(), line.end(), '\n'), 1);
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(line), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << line;
    return doc.object()["statistics"].toObject();
}

std::string fileText(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
}

} // namespace

TEST(RttHistogram, KnowsThePercentileWithinItsBucketWidth)
{
    struct Case {
        const char* name;
        std::vector<double> ms;
    };
    std::mt19937 random(7);
    std::vector<double> uniform;
    std::vector<double> skewed;
    for (int i = 0; i < 20000; ++i) {
        uniform.push_back(1.0 + (random() % 100000) / 1000.0); // 1 .. 101 ms
        skewed.push_back(i % 50 == 0 ? 1000.0 + i % 7 : 3.0 + (i % 13) / 10.0);
    }
    const Case cases[] = {{"uniform", uniform}, {"a few slow answers", skewed},
                          {"one value", {12.5}}, {"two values", {1.0, 900.0}},
                          {"beyond the last bucket", {250000.0, 300000.0}},
                          {"below the first bucket", {0.001, 0.002, 0.005}}};
    for (const Case& c : cases) {
        RttHistogram h;
        for (const double ms : c.ms)
            h.add(ms);
        std::vector<double> sorted = c.ms;
        std::sort(sorted.begin(), sorted.end());
        const double exact = sorted[static_cast<size_t>(std::ceil(0.95 * sorted.size())) - 1];
        ASSERT_TRUE(h.percentileMs(0.95)) << c.name;
        EXPECT_GE(*h.percentileMs(0.95), exact) << c.name;
        EXPECT_LE(*h.percentileMs(0.95), std::max(exact * RttHistogram::kRatio, exact + 0.01))
                << c.name;
        EXPECT_EQ(*h.minMs(), sorted.front()) << c.name;
        EXPECT_EQ(*h.maxMs(), sorted.back()) << c.name;
        EXPECT_EQ(h.count(), static_cast<int64_t>(c.ms.size())) << c.name;
    }
}

TEST(RttHistogram, HasNoFiguresBeforeItsFirstTime)
{
    RttHistogram h;
    h.add(std::nan(""));
    h.add(-1.0);
    EXPECT_EQ(h.count(), 0);
    EXPECT_FALSE(h.percentileMs(0.95));
    EXPECT_FALSE(h.meanMs());
}

TEST(RunStatistics, CountsEveryDisplayStateAndResult)
{
    RunStatistics s;
    const std::vector<std::pair<int, ExchangeRecord>> exchanges = {
        {1, answered(1, "OK", 0, 4.0)},
        {1, answered(3, "OK", 0, 6.0)},
        {2, answered(1, "Invalid answer CRC at CRC", std::nullopt, 2.0)},
        {2, answered(1, "no answer", std::nullopt, std::nullopt)},
        {3, answered(1, "OK", 0x15, 8.0)},
        {3, normalAnswer('7', false)},
        {3, normalAnswer('0', true)},
    };
    for (const auto& [run, rec] : exchanges)
        s.addExchange(rec, run);
    EXPECT_EQ(s.packets(), 7);
    EXPECT_EQ(s.failedPackets(), 4);
    ASSERT_EQ(s.displays().size(), 3u); // in the order first addressed
    const DisplayStatistics& one = s.displays()[0];
    EXPECT_EQ(one.netNr, 1);
    EXPECT_EQ(one.packets, 4);
    EXPECT_EQ(one.failed, 3);
    EXPECT_EQ(one.states, (std::map<std::string, int64_t>{
                                  {"OK", 2}, {"Invalid answer CRC at CRC", 1}, {"no answer", 1}}));
    EXPECT_EQ(one.results, (std::map<std::string, int64_t>{{"0x00", 1}, {"0x15", 1}}));
    EXPECT_EQ(one.rtt.count(), 3);
    EXPECT_EQ(one.firstFailureRun, 2);
    EXPECT_EQ(one.lastFailureRun, 3);
    EXPECT_EQ(s.displays()[1].netNr, 3);
    EXPECT_EQ(s.displays()[1].firstFailureRun, 0);
    EXPECT_EQ(s.displays()[2].results, (std::map<std::string, int64_t>{{"0", 1}, {"7", 1}}));
    ASSERT_TRUE(s.firstFailure() && s.lastFailure());
    EXPECT_EQ(s.firstFailure()->failure, "Invalid answer CRC at CRC");
    EXPECT_EQ(s.lastFailure()->netNr, 2);
    EXPECT_EQ(s.lastFailure()->run, 3);
}

TEST(RunStatistics, ResetStartsFromNothingAndIsSeenAsAChange)
{
    RunStatistics s;
    s.addExchange(answered(1, "no answer", std::nullopt), 1);
    s.addRun(summarizeRun({answered(1, "no answer", std::nullopt)}, false, false, "", 10));
    const uint64_t before = s.version();
    s.reset();
    EXPECT_GT(s.version(), before);
    EXPECT_EQ(s.runs(), 0);
    EXPECT_EQ(s.packets(), 0);
    EXPECT_TRUE(s.displays().empty());
    EXPECT_FALSE(s.firstFailure());
}

TEST(RunLine, SaysHowEachRunWent)
{
    const std::vector<ExchangeRecord> good = {answered(1, "OK", 0), answered(1, "OK", 0)};
    const std::vector<ExchangeRecord> bad = {answered(1, "OK", 0), answered(1, "Invalid answer CRC at CRC", {}),
                                             answered(1, "no answer", {})};
    const std::vector<ExchangeRecord> many = {answered(1, "OK", 0), answered(4, "no answer", {})};
    struct Case {
        int run;
        int runs;
        RunSummary summary;
        const char* line;
    };
    const Case cases[] = {
        {12, 200, summarizeRun(good, false, false, "", 412), "Run 12 of 200: OK (2 packets, 412 ms)"},
        {13, 200, summarizeRun(bad, false, false, "", 9),
         "Run 13 of 200: FAILED (3 packets, 2 failed: Invalid answer CRC at CRC)"},
        {7, 0, summarizeRun(good, false, false, "", 30), "Run 7: OK (2 packets, 30 ms)"},
        {2, 5, summarizeRun(many, false, false, "", 30), "Run 2 of 5: FAILED (2 packets, 1 failed: NetNr 4: no answer)"},
        {3, 5, summarizeRun({good[0]}, true, false, "a display block was not sent", 3),
         "Run 3 of 5: FAILED (1 packet: a display block was not sent)"},
        {4, 5, summarizeRun(good, false, true, "", 20), "Run 4 of 5: STOPPED (2 packets, 20 ms)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(runLine(c.run, c.runs, c.summary), c.line);
}

TEST(StatisticsReport, JsonLineCarriesTheNamedFieldsAndAgreesWithTheTable)
{
    RunStatistics s;
    s.addExchange(answered(1, "OK", 0, 4.0), 1);
    s.addExchange(answered(1, "Invalid answer CRC at CRC", std::nullopt, 2.0), 2);
    s.addRun(summarizeRun({answered(1, "OK", 0)}, false, false, "", 5));
    s.addRun(summarizeRun({answered(1, "no answer", {})}, false, false, "", 5));
    s.setInterrupted(true);
    const QJsonObject o = parsedStatistics(s);
    EXPECT_EQ(o.keys(), (QStringList{"displays", "failed_packets", "failed_runs", "interrupted",
                                     "packets", "runs"}));
    EXPECT_EQ(o["runs"].toInt(), 2);
    EXPECT_EQ(o["failed_runs"].toInt(), 1);
    EXPECT_TRUE(o["interrupted"].toBool());
    const QJsonObject d = o["displays"].toArray()[0].toObject();
    EXPECT_EQ(d.keys(), (QStringList{"failed", "first_failure_run", "last_failure_run", "netnr",
                                     "packets", "results", "rtt_max_ms", "rtt_mean_ms", "rtt_min_ms",
                                     "rtt_p95_ms", "states"}));
    EXPECT_EQ(d["states"].toObject()["Invalid answer CRC at CRC"].toInt(), 1);
    EXPECT_EQ(d["results"].toObject()["0x00"].toInt(), 1);
    EXPECT_EQ(d["rtt_min_ms"].toDouble(), 2.0);
    EXPECT_EQ(d["rtt_max_ms"].toDouble(), 4.0);
    EXPECT_EQ(d["first_failure_run"].toInt(), 2);

    const std::vector<std::string> table = statisticsTable(s);
    EXPECT_EQ(table.front(), "Statistics (interrupted):");
    EXPECT_EQ(table.back(), "1 failure(s) in 2 run(s)");
    EXPECT_NE(std::find(table.begin(), table.end(), "  Failed packets  1"), table.end());

    RunStatistics none;
    const QJsonObject empty = parsedStatistics(none);
    EXPECT_TRUE(empty["displays"].toArray().isEmpty());
    EXPECT_EQ(statisticsTable(none).back(), "0 failure(s) in 0 run(s)");
}

TEST(BlockTally, FailsABlockThatFailedInAnyRunAndSkipsOneNeverReached)
{
    TransmissionPlan plan;
    plan.blocks = {{1, 1, 1}, {1, 2, 1}, {1, 3, 1}};
    BlockTally tally;
    // Run 1 passes blocks 1 and 2 and is stopped before block 3; so is run 2, which fails
    // block 2.
    tally.addRun({{answered(1, "OK", 0, 1.0, 0), answered(1, "OK", 0, 1.0, 1)}, plan,
                  TransmissionEnd::Stopped},
                 1);
    tally.addRun({{answered(1, "OK", 0, 1.0, 0), answered(1, "no answer", {}, {}, 1)}, plan,
                  TransmissionEnd::Stopped},
                 2);
    const std::string xml = tally.junit("list.lmx", "stopped");
    EXPECT_NE(xml.find("tests=\"3\" failures=\"1\" errors=\"0\" skipped=\"1\""), std::string::npos) << xml;
    EXPECT_NE(xml.find("<testcase classname=\"list.lmx\" name=\"NetNr 1 block 1\" time=\"0.002\"/>"),
              std::string::npos) << xml;
    EXPECT_NE(xml.find("<failure message=\"failed in 1 of 2 runs; first in run 2: 1 of 1 answers "
                       "failed\">packet 0x00"),
              std::string::npos) << xml;
    EXPECT_NE(xml.find("<skipped message=\"not reached: the transmission stopped before this block\"/>"),
              std::string::npos) << xml;
}

TEST(ReportStream, EveryAppendIsInTheFileAtOnce)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("r.jsonl");
    ReportStream stream;
    ASSERT_TRUE(stream.open(path.toStdString()).ok);
    ASSERT_TRUE(stream.append("{\"run\":1}\n"));
    EXPECT_EQ(fileText(path), "{\"run\":1}\n"); // before it is closed
    ASSERT_TRUE(stream.append("{\"run\":2}\n"));
    EXPECT_TRUE(stream.close().ok);
    EXPECT_EQ(fileText(path), "{\"run\":1}\n{\"run\":2}\n");
}

TEST(ReportStream, RefusesWhatIsNoRegularFile)
{
    QTemporaryDir dir;
    ReportStream stream;
    const WriteResult folder = stream.open(dir.path().toStdString());
    EXPECT_FALSE(folder.ok);
    EXPECT_EQ(folder.detail, dir.path().toStdString() + " is a folder, not a regular file.");
    EXPECT_FALSE(stream.append("x"));
    const WriteResult device = stream.open("/dev/null");
    EXPECT_EQ(device.detail, "/dev/null is a device, not a regular file.");
    const WriteResult missing = stream.open(dir.filePath("no/such/folder/r.jsonl").toStdString());
    EXPECT_FALSE(missing.ok);
    EXPECT_FALSE(missing.detail.empty());
}

TEST(JsonRecords, NumberTheRunOnlyWhenGivenOne)
{
    const std::vector<ExchangeRecord> records = {answered(1, "OK", 0)};
    const TransmissionPlan plan;
    const ExchangeReport report{records, plan, TransmissionEnd::Completed};
    EXPECT_EQ(jsonRecords(report, 7).rfind("{\"run\":7,\"index\":0,", 0), 0u);
    EXPECT_EQ(jsonRecords(report).rfind("{\"index\":0,", 0), 0u);
}
