#include "displays_progress.h"

#include "displays_run.h"
#include "platform/latin1.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace lmx {

DisplaysProgress::DisplaysProgress(DisplaysRun& run, QWidget* parent)
    : QDialog(parent),
      m_run(run),
      m_status(new QLabel(this)),
      m_progress(new QProgressBar(this)),
      m_results(new QListWidget(this)),
      m_stop(new QPushButton(QStringLiteral("Stop"), this))
{
    setWindowTitle(QCoreApplication::applicationName() + QStringLiteral("  Transmit to Displays"));
    m_status->setObjectName(QStringLiteral("StatusLabel"));
    m_progress->setObjectName(QStringLiteral("DisplaysProgress"));
    m_results->setObjectName(QStringLiteral("ResultList"));
    m_results->setMinimumSize(360, 120);
    m_results->hide();
    m_stop->setObjectName(QStringLiteral("StopButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_stop);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_status);
    layout->addWidget(m_progress);
    layout->addWidget(m_results, 1);
    layout->addLayout(buttons);
    setMinimumWidth(380);

    connect(m_stop, &QPushButton::clicked, this, &DisplaysProgress::reject);
    connect(&run, &DisplaysRun::displayStarted, this, [this](int index) {
        const int count = static_cast<int>(m_run.displays().size());
        m_progress->setRange(0, count);
        m_progress->setValue(index);
        m_status->setText(QStringLiteral("Display %1 of %2: NetNr %3")
                                  .arg(index + 1)
                                  .arg(count)
                                  .arg(m_run.displays()[static_cast<size_t>(index)].netNr));
    });
    connect(&run, &DisplaysRun::displayEnded, this, [this](int index) { m_progress->setValue(index + 1); });
}

void DisplaysProgress::showResults()
{
    const std::vector<DisplaysRun::Display>& displays = m_run.displays();
    const std::vector<std::string> lines = displaysSummary(displays);
    m_status->setText(latin1(lines.back()));
    m_results->clear();
    for (size_t i = 0; i < displays.size(); ++i) {
        auto* item = new QListWidgetItem(latin1(lines[i]), m_results);
        if (displays[i].result != DisplaysRun::Result::Ok)
            item->setForeground(QColor(150, 0, 0));
    }
    // The list grows the window upwards: its lower edge stays where it was.
    const int bottom = geometry().bottom();
    const int rows = std::clamp(static_cast<int>(displays.size()), 1, 8);
    m_results->setFixedHeight(rows * m_results->sizeHintForRow(0) + 2 * m_results->frameWidth() + 4);
    m_results->show();
    adjustSize();
    if (isVisible())
        move(x(), std::max(0, y() - (geometry().bottom() - bottom)));
    m_stop->setText(QStringLiteral("Close"));
    m_stop->setEnabled(true);
}

void DisplaysProgress::reject()
{
    if (!m_run.running()) {
        QDialog::reject();
        return;
    }
    m_run.requestStop();
    m_stop->setEnabled(false); // until the exchange under way is done
    m_status->setText(m_status->text() + QStringLiteral(" \u00b7 stopping"));
}

} // namespace lmx
