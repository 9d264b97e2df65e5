#include "statistics_view.h"

#include "exchange_reports.h"
#include "packet_models.h"
#include "protocol/answer.h"
#include "run_statistics.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const char* const kFigures[] = {"Runs",         "Packets",  "Failed runs",   "Failed packets",
                                "Failure rate", "Interval", "First failure", "Last failure"};
enum Figure { Runs, Packets, FailedRuns, FailedPackets, FailureRate, Interval, FirstFailure, LastFailure };

QString latin1(const std::string& s)
{
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

QString ms(const std::optional<double>& value)
{
    return value ? latin1(lmx::millisecondsText(*value)) : QStringLiteral("-");
}

QString percent(int64_t part, int64_t whole)
{
    return whole > 0 ? QString::number(100.0 * static_cast<double>(part) / static_cast<double>(whole), 'f', 2)
                               + QStringLiteral(" %")
                     : QStringLiteral("-");
}

QString failureText(const std::optional<lmx::FailureNote>& note)
{
    if (!note)
        return QStringLiteral("none");
    return QStringLiteral("run %1, NetNr %2: %3").arg(note->run).arg(note->netNr).arg(latin1(note->failure));
}

QString resultWords(const std::string& key)
{
    if (key.size() == 4 && key.compare(0, 2, "0x") == 0)
        return latin1("result " + key + " " + lmx::resultText(static_cast<unsigned>(std::stoul(key.substr(2), nullptr, 16))));
    return latin1("result " + key + " " + lmx::normalResultText(key.empty() ? '\0' : key[0]));
}

QTableWidget* table(const char* name, const QStringList& titles, QWidget* parent)
{
    auto* t = new QTableWidget(0, static_cast<int>(titles.size()), parent);
    t->setObjectName(QString::fromLatin1(name));
    t->setHorizontalHeaderLabels(titles);
    t->verticalHeader()->hide();
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionMode(QAbstractItemView::NoSelection);
    t->setAlternatingRowColors(true);
    t->setWordWrap(false);
    t->verticalHeader()->setDefaultSectionSize(t->fontMetrics().height() + 4);
    t->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    t->horizontalHeader()->setStretchLastSection(true);
    return t;
}

void setRow(QTableWidget* t, int row, const QStringList& cells, bool failed)
{
    for (int c = 0; c < cells.size(); ++c) {
        QTableWidgetItem* item = t->item(row, c);
        if (!item) {
            item = new QTableWidgetItem;
            t->setItem(row, c, item);
        }
        item->setText(cells[c]);
        item->setTextAlignment(c == 1 && t->columnCount() == 3 ? Qt::AlignLeft | Qt::AlignVCenter
                                                               : Qt::AlignRight | Qt::AlignVCenter);
        item->setBackground(failed ? QBrush(failedBackground()) : QBrush());
        item->setForeground(failed ? QBrush(failedText()) : QBrush());
    }
}

} // namespace

StatisticsView::StatisticsView(QWidget* parent)
    : QWidget(parent),
      m_run(new QLabel(this)),
      m_reset(new QPushButton(QStringLiteral("Reset"), this)),
      m_displays(table("StatisticsDisplays",
                       {"NetNr", "Packets", "Failed", "Failed %", "RTT min", "RTT mean", "RTT p95",
                        "RTT max", "First failed run", "Last failed run"},
                       this)),
      m_answers(table("StatisticsAnswers", {"NetNr", "Answer", "Count"}, this))
{
    setObjectName(QStringLiteral("StatisticsView"));
    QFont small = font();
    small.setPointSize(8);
    setFont(small);
    m_run->setObjectName(QStringLiteral("RunText"));
    m_run->setText(QStringLiteral("No repeat runs yet: Transmit > Repeat Transmission..."));
    m_reset->setObjectName(QStringLiteral("ResetStatistics"));
    m_reset->setAutoDefault(false);
    m_reset->setToolTip(QStringLiteral("Count from nothing again, also while runs go on"));

    auto* top = new QHBoxLayout;
    top->setContentsMargins(0, 0, 0, 0);
    top->addWidget(m_run, 1);
    top->addWidget(m_reset);
    auto* figures = new QGridLayout;
    figures->setHorizontalSpacing(12);
    figures->setVerticalSpacing(1);
    for (int i = 0; i < static_cast<int>(std::size(kFigures)); ++i) {
        auto* name = new QLabel(QString::fromLatin1(kFigures[i]) + QLatin1Char(':'), this);
        auto* value = new QLabel(QStringLiteral("-"), this);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        // The counts in two columns, the longer figures across both.
        const bool wide = i >= FailureRate;
        const int row = wide ? 2 + (i - FailureRate) : i / 2;
        const int column = wide ? 0 : (i % 2) * 2;
        figures->addWidget(name, row, column);
        figures->addWidget(value, row, column + 1, 1, wide ? 4 : 1);
        m_names << name;
        m_values << value;
    }
    figures->setColumnStretch(4, 1);
    // In a scroll area: the tab asks for no more room than the other tabs, and a small window
    // scrolls through the figures.
    auto* inner = new QWidget;
    auto* column = new QVBoxLayout(inner);
    column->setContentsMargins(2, 2, 2, 2);
    column->setSpacing(4);
    column->addLayout(top);
    column->addLayout(figures);
    column->addWidget(m_displays, 1);
    column->addWidget(m_answers, 1);
    for (QTableWidget* t : {m_displays, m_answers})
        t->setMinimumHeight(t->verticalHeader()->defaultSectionSize() * 4);
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("StatisticsScroll"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(inner);
    scroll->setMinimumSize(1, 1);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);

    connect(m_reset, &QPushButton::clicked, this, [this] {
        if (m_statistics)
            m_statistics->reset();
        refresh();
    });
    auto* timer = new QTimer(this);
    timer->setInterval(kLookMs);
    connect(timer, &QTimer::timeout, this, &StatisticsView::look);
    timer->start();
    refresh();
}

void StatisticsView::setStatistics(lmx::RunStatistics* statistics)
{
    m_statistics = statistics;
    refresh();
}

void StatisticsView::setRunText(const QString& text)
{
    m_run->setText(text);
}

QString StatisticsView::figure(const QString& name) const
{
    for (int i = 0; i < m_names.size(); ++i)
        if (m_names[i]->text() == name + QLatin1Char(':'))
            return m_values[i]->text();
    return {};
}

void StatisticsView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    look();
}

void StatisticsView::look()
{
    if (isVisible() && m_statistics && m_statistics->version() != m_shownVersion)
        refresh();
}

void StatisticsView::setFigure(int row, const QString& value)
{
    if (m_values[row]->text() != value)
        m_values[row]->setText(value);
}

void StatisticsView::refresh()
{
    static const lmx::RunStatistics kNone;
    const lmx::RunStatistics& s = m_statistics ? *m_statistics : kNone;
    m_shownVersion = s.version();
    m_reset->setEnabled(m_statistics != nullptr);
    setFigure(Runs, QString::number(s.runs()));
    setFigure(FailedRuns, QString::number(s.failedRuns()));
    setFigure(FailureRate, percent(s.failedRuns(), s.runs()) + QStringLiteral(" of runs, ")
                                   + percent(s.failedPackets(), s.packets())
                                   + QStringLiteral(" of packets"));
    setFigure(Packets, QString::number(s.packets()));
    setFigure(FailedPackets, QString::number(s.failedPackets()));
    setFigure(Interval, QStringLiteral("%1 ms asked, %2 ms kept, %3 late")
                                .arg(s.requestedIntervalMs())
                                .arg(ms(s.achievedIntervalMs()))
                                .arg(s.lateRuns()));
    setFigure(FirstFailure, failureText(s.firstFailure()));
    setFigure(LastFailure, failureText(s.lastFailure()));

    const auto& displays = s.displays();
    m_displays->setRowCount(static_cast<int>(displays.size()));
    int answers = 0;
    for (const lmx::DisplayStatistics& d : displays)
        answers += static_cast<int>(d.states.size() + d.results.size());
    m_answers->setRowCount(answers);
    int row = 0;
    int answerRow = 0;
    for (const lmx::DisplayStatistics& d : displays) {
        const auto run = [](int r) { return r > 0 ? QString::number(r) : QStringLiteral("-"); };
        setRow(m_displays, row++,
               {QString::number(d.netNr), QString::number(d.packets), QString::number(d.failed),
                percent(d.failed, d.packets), ms(d.rtt.minMs()), ms(d.rtt.meanMs()),
                ms(d.rtt.percentileMs(0.95)), ms(d.rtt.maxMs()), run(d.firstFailureRun),
                run(d.lastFailureRun)},
               d.failed > 0);
        for (const auto& [state, count] : d.states)
            setRow(m_answers, answerRow++, {QString::number(d.netNr), latin1(state), QString::number(count)},
                   state != "OK");
        for (const auto& [key, count] : d.results)
            setRow(m_answers, answerRow++, {QString::number(d.netNr), resultWords(key), QString::number(count)},
                   key != "0x00" && key != "0" && key != "/");
    }
    for (QTableWidget* t : {m_displays, m_answers})
        t->resizeColumnsToContents();
}
