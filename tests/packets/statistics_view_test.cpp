// The Statistics tab offscreen: the figures and rows it shows, that it follows the
// statistics while shown, and Reset.
#include "packets/run_statistics.h"
#include "packets/statistics_view.h"
#include "tests/support/qt_wait.h"

#include <QPushButton>
#include <QTableWidget>

#include <gtest/gtest.h>

using namespace lmx;

namespace {

ExchangeRecord exchange(int netNr, bool ok, double rtt)
{
    ExchangeRecord r;
    r.netNr = netNr;
    r.evaluated = true;
    r.ok = ok;
    r.state = ok ? "OK" : "no answer";
    r.failure = ok ? "" : "no answer";
    if (ok) {
        r.result = 0;
        r.rttMs = rtt;
    }
    return r;
}

void addRun(RunStatistics& s, int run, std::vector<ExchangeRecord> records)
{
    for (const ExchangeRecord& r : records)
        s.addExchange(r, run);
    s.addRun(summarizeRun(records, false, false, "", 10));
}

QStringList row(QTableWidget* t, int r)
{
    QStringList cells;
    for (int c = 0; c < t->columnCount(); ++c)
        cells << (t->item(r, c) ? t->item(r, c)->text() : QString());
    return cells;
}

} // namespace

TEST(StatisticsView, ShowsTheFiguresAndARowPerDisplayAndAnswer)
{
    RunStatistics s;
    addRun(s, 1, {exchange(1, true, 4.0), exchange(2, true, 6.0)});
    addRun(s, 2, {exchange(1, false, 0), exchange(2, true, 8.0)});
    StatisticsView view;
    view.setStatistics(&s);
    EXPECT_EQ(view.figure("Runs"), "2");
    EXPECT_EQ(view.figure("Failed runs"), "1");
    EXPECT_EQ(view.figure("Failure rate"), "50.00 % of runs, 25.00 % of packets");
    EXPECT_EQ(view.figure("First failure"), "run 2, NetNr 1: no answer");
    ASSERT_EQ(view.displaysTable()->rowCount(), 2);
    EXPECT_EQ(row(view.displaysTable(), 0),
              (QStringList{"1", "2", "1", "50.00 %", "4.000", "4.000", "4.000", "4.000", "2", "2"}));
    EXPECT_EQ(row(view.displaysTable(), 1),
              (QStringList{"2", "2", "0", "0.00 %", "6.000", "7.000", "8.000", "8.000", "-", "-"}));
    EXPECT_EQ(view.answersTable()->rowCount(), 5);
    EXPECT_EQ(row(view.answersTable(), 1), (QStringList{"1", "no answer", "1"}));
    EXPECT_EQ(row(view.answersTable(), 2), (QStringList{"1", "result 0x00 OK", "1"}));
}

TEST(StatisticsView, FollowsTheStatisticsWhileShown)
{
    RunStatistics s;
    StatisticsView view;
    view.setStatistics(&s);
    view.show();
    addRun(s, 1, {exchange(3, true, 1.0)});
    EXPECT_TRUE(testsupport::waitUntil([&] { return view.figure("Runs") == "1"; }, 3000));
    EXPECT_EQ(view.displaysTable()->rowCount(), 1);
}

TEST(StatisticsView, ResetCountsFromNothing)
{
    RunStatistics s;
    addRun(s, 1, {exchange(1, false, 0)});
    StatisticsView view;
    view.setStatistics(&s);
    view.resetButton()->click();
    EXPECT_EQ(s.runs(), 0);
    EXPECT_EQ(view.figure("Runs"), "0");
    EXPECT_EQ(view.figure("First failure"), "none");
    EXPECT_EQ(view.displaysTable()->rowCount(), 0);
}
