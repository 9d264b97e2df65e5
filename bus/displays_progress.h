#pragma once
// The window of a Transmit to Displays run: which display is under way, a bar over all of
// them and Stop (also Esc), which ends the run after the exchange under way. When the run
// has ended it shows the result of every display and Stop becomes Close.

#include <QDialog>

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace lmx {

class DisplaysRun;

class DisplaysProgress : public QDialog {
    Q_OBJECT

public:
    explicit DisplaysProgress(DisplaysRun& run, QWidget* parent = nullptr);

    QLabel* StatusLabel() const { return m_status; }
    QProgressBar* Progress() const { return m_progress; }
    QListWidget* ResultList() const { return m_results; }
    QPushButton* StopButton() const { return m_stop; }

    // The run has ended: every display's result.
    void showResults();
    void reject() override;

private:
    DisplaysRun& m_run;
    QLabel* m_status;
    QProgressBar* m_progress;
    QListWidget* m_results;
    QPushButton* m_stop;
};

} // namespace lmx
