#pragma once
// The "Statistics" tab beside "Packets": the figures of repeat runs as they go (runs, failed
// runs, failure rate, packets, the interval kept, the first and last failure), one row per
// display with its round trips, and one per display and answer state or result code. While
// it is shown it looks at the statistics a few times a second, and redraws only when they
// changed. Reset starts them from nothing, also in the middle of a repeat.

#include <QWidget>

#include <cstdint>

class QLabel;
class QPushButton;
class QTableWidget;

namespace lmx {
class RunStatistics;
}

class StatisticsView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kLookMs = 250;

    explicit StatisticsView(QWidget* parent = nullptr);

    // The statistics shown; they must outlive the view, or be replaced before they go.
    void setStatistics(lmx::RunStatistics* statistics);
    // What the runs do now: "Run 12 of 50 under way", "Ended: the runs were done".
    void setRunText(const QString& text);
    // Shows the figures as they are now.
    void refresh();

    QLabel* runLabel() const { return m_run; }
    QPushButton* resetButton() const { return m_reset; }
    QTableWidget* displaysTable() const { return m_displays; }
    QTableWidget* answersTable() const { return m_answers; }
    // The value shown beside a figure's name ("Runs", "Failure rate", ...); empty if none.
    QString figure(const QString& name) const;

    // Small: the window's parts are divided by the other tabs' wishes, and this one scrolls.
    QSize sizeHint() const override { return {160, 120}; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void look();
    void setFigure(int row, const QString& value);

    lmx::RunStatistics* m_statistics = nullptr;
    uint64_t m_shownVersion = ~uint64_t(0);
    QLabel* m_run;
    QPushButton* m_reset;
    QList<QLabel*> m_names;
    QList<QLabel*> m_values;
    QTableWidget* m_displays;
    QTableWidget* m_answers;
};
