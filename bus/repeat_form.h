#pragma once
// Transmit > Repeat Transmission...: asks how often the list goes (a number of runs, or for
// a time), the interval from the start of one run to the next, whether to stop after a number
// of failed runs, and whether each run goes to every display of the display list. What the
// entries stand for, or why they cannot be taken, shows beneath them as they are changed; OK
// takes only entries that make a plan and fills the record.

#include "repeat_run.h"

#include <QDialog>

#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace lmx {

class RepeatForm : public QDialog {
    Q_OBJECT

public:
    // `displayList` is the display settings' list of network numbers ("" when there is none).
    RepeatForm(RepeatRequest& record, const std::string& displayList, QWidget* parent = nullptr);

    QRadioButton* RunsChoice() const { return m_byRuns; }
    QRadioButton* DurationChoice() const { return m_byDuration; }
    QSpinBox* RunsEdit() const { return m_runs; }
    QLineEdit* DurationEdit() const { return m_duration; }
    QSpinBox* IntervalEdit() const { return m_interval; }
    QCheckBox* StopCheck() const { return m_stopOn; }
    QSpinBox* StopEdit() const { return m_maxFailures; }
    QCheckBox* DisplayListCheck() const { return m_toList; }
    QLabel* NoteLabel() const { return m_note; }
    QPushButton* OkButton() const { return m_ok; }

    void OkButtonClick();

private:
    // The plan the entries make; nothing when the duration does not read.
    std::optional<RepeatPlan> entered() const;
    void entriesChanged();

    RepeatRequest& m_record;
    QRadioButton* m_byRuns;
    QRadioButton* m_byDuration;
    QSpinBox* m_runs;
    QLineEdit* m_duration;
    QSpinBox* m_interval;
    QCheckBox* m_stopOn;
    QSpinBox* m_maxFailures;
    QCheckBox* m_toList;
    QLabel* m_note;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace lmx
