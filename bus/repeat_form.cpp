#include "repeat_form.h"

#include "netnr_list.h"
#include "platform/latin1.h"
#include "widgets/dialog_buttons.h"
#include "widgets/dialog_style.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <cctype>

namespace lmx {

namespace {

QSpinBox* spin(const char* name, int low, int high, int value, QWidget* parent)
{
    QSpinBox* box = newSpinBox(name, low, high, value, parent);
    box->setMinimumWidth(110);
    return box;
}

QLabel* hint(const char* text, QWidget* parent)
{
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setStyleSheet(QStringLiteral("color: #505050"));
    return label;
}

} // namespace

RepeatForm::RepeatForm(RepeatRequest& record, const std::string& displayList, QWidget* parent)
    : QDialog(parent),
      m_record(record),
      m_byRuns(new QRadioButton(QStringLiteral("Runs:"), this)),
      m_byDuration(new QRadioButton(QStringLiteral("Duration:"), this)),
      m_runs(spin("RunsEdit", 0, RepeatPlan::kMaxRuns, record.plan.runs, this)),
      m_duration(new QLineEdit(this)),
      m_interval(spin("IntervalEdit", 0, RepeatPlan::kMaxIntervalMs, record.plan.intervalMs, this)),
      m_stopOn(new QCheckBox(QStringLiteral("Stop after"), this)),
      m_maxFailures(spin("StopEdit", 1, RepeatPlan::kMaxRuns, std::max(1, record.plan.maxFailures), this)),
      m_toList(new QCheckBox(this)),
      m_note(new QLabel(this))
{
    setWindowTitle(QCoreApplication::applicationName() + QStringLiteral("  Repeat Transmission"));
    m_byRuns->setObjectName(QStringLiteral("RunsChoice"));
    m_byDuration->setObjectName(QStringLiteral("DurationChoice"));
    m_duration->setObjectName(QStringLiteral("DurationEdit"));
    m_duration->setMaxLength(20);
    m_duration->setText(latin1(durationText(record.plan.durationMs > 0 ? record.plan.durationMs
                                                                        : 3600 * 1000)));
    m_stopOn->setObjectName(QStringLiteral("StopCheck"));
    m_stopOn->setChecked(record.plan.maxFailures > 0);
    m_toList->setObjectName(QStringLiteral("DisplayListCheck"));
    m_note->setObjectName(QStringLiteral("NoteLabel"));
    m_note->setWordWrap(true);
    m_note->setMinimumWidth(360);
    // A duration alone chooses the time; runs with a duration are a time limit of their own.
    (record.plan.durationMs > 0 && record.plan.runs == 0 ? m_byDuration : m_byRuns)->setChecked(true);

    const NetNrList list = parseNetNrList(displayList);
    const bool listUsable = !displayList.empty() && list.ok();
    m_toList->setText(listUsable ? QStringLiteral("Each run to every display of the display list: ")
                                           + latin1(displayList)
                                 : QStringLiteral("Each run to every display of the display list "
                                                  "(none yet: Transmit to Displays... sets one)"));
    m_toList->setEnabled(listUsable);
    m_toList->setChecked(listUsable && record.toDisplayList);

    auto* grid = new QGridLayout;
    grid->addWidget(m_byRuns, 0, 0);
    grid->addWidget(m_runs, 0, 1);
    grid->addWidget(hint("0: until stopped", this), 0, 2);
    grid->addWidget(m_byDuration, 1, 0);
    grid->addWidget(m_duration, 1, 1);
    grid->addWidget(hint("such as 90s, 30m, 8h or 1h30m", this), 1, 2);
    auto* intervalLabel = new QLabel(QStringLiteral("Interval:"), this);
    intervalLabel->setBuddy(m_interval);
    grid->addWidget(intervalLabel, 2, 0);
    grid->addWidget(m_interval, 2, 1);
    grid->addWidget(hint("ms from one start to the next (0: back to back)", this), 2, 2);
    grid->addWidget(m_stopOn, 3, 0);
    grid->addWidget(m_maxFailures, 3, 1);
    grid->addWidget(hint("failed runs", this), 3, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(m_toList);
    layout->addSpacing(4);
    layout->addWidget(m_note);
    layout->addSpacing(8);
    layout->addWidget(okCancelButtons(this, QStringLiteral("Start"), m_ok, m_cancel));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    for (QRadioButton* choice : {m_byRuns, m_byDuration})
        connect(choice, &QRadioButton::toggled, this, &RepeatForm::entriesChanged);
    for (QSpinBox* box : {m_runs, m_interval, m_maxFailures})
        connect(box, &QSpinBox::valueChanged, this, &RepeatForm::entriesChanged);
    connect(m_duration, &QLineEdit::textChanged, this, &RepeatForm::entriesChanged);
    connect(m_stopOn, &QCheckBox::toggled, this, &RepeatForm::entriesChanged);
    connect(m_ok, &QPushButton::clicked, this, &RepeatForm::OkButtonClick);
    // Row by row, each choice before its entry.
    QWidget* const order[] = {m_byRuns, m_runs, m_byDuration, m_duration, m_interval,
                              m_stopOn, m_maxFailures, m_toList, m_ok, m_cancel};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    entriesChanged();
    QWidget* first = m_byRuns->isChecked() ? static_cast<QWidget*>(m_runs) : m_duration;
    first->setFocus();
    if (m_byRuns->isChecked())
        m_runs->selectAll();
    else
        m_duration->selectAll();
}

std::optional<RepeatPlan> RepeatForm::entered() const
{
    RepeatPlan plan;
    plan.intervalMs = m_interval->value();
    plan.maxFailures = m_stopOn->isChecked() ? m_maxFailures->value() : 0;
    if (m_byRuns->isChecked()) {
        plan.runs = m_runs->value();
        return plan;
    }
    const QByteArray text = m_duration->text().trimmed().toLatin1();
    const std::optional<int64_t> ms = parseDuration(std::string_view(text.constData(), static_cast<size_t>(text.size())));
    if (!ms)
        return std::nullopt;
    plan.runs = 0;
    plan.durationMs = *ms;
    return plan;
}

void RepeatForm::entriesChanged()
{
    m_runs->setEnabled(m_byRuns->isChecked());
    m_duration->setEnabled(m_byDuration->isChecked());
    m_maxFailures->setEnabled(m_stopOn->isChecked());
    const std::optional<RepeatPlan> plan = entered();
    m_ok->setEnabled(plan.has_value());
    if (!plan) {
        m_note->setStyleSheet(QStringLiteral("color: #960000"));
        m_note->setText(QStringLiteral("The duration is a time of 1s up to 366d, such as 90s, "
                                       "30m, 8h or 1h30m."));
        return;
    }
    m_note->setStyleSheet(QString());
    std::string text = repeatPlanText(*plan);
    text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    m_note->setText(latin1(text) + QStringLiteral(". Failed answers are counted in the "
                                                  "Statistics tab; no message box stops the runs."));
}

void RepeatForm::OkButtonClick()
{
    const std::optional<RepeatPlan> plan = entered();
    if (!plan)
        return;
    m_record.plan = *plan;
    m_record.toDisplayList = m_toList->isEnabled() && m_toList->isChecked();
    accept();
}

} // namespace lmx
