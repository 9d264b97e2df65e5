#include "transmit_actions.h"

#include "bus/displays_progress.h"
#include "bus/displays_run.h"
#include "bus/netnr_list.h"
#include "editor/command_editor.h"
#include "editor/command_file_io.h"
#include "files/settings.h"
#include "files/settings_places.h"
#include "frames/main_status_bar.h"
#include "frames/receive_log_model.h"
#include "frames/send_receive_frame.h"
#include "frames/xmit_form.h"
#include "packets/exchange_recorder.h"
#include "packets/packets_tab.h"
#include "packets/repeat_reports.h"
#include "packets/statistics_view.h"
#include "platform/latin1.h"
#include "platform/user_dialogs.h"
#include "settings/settings_dialogs.h"
#include "transmission/debug_log.h"
#include "transmission/transmission_engine.h"
#include "window_placement.h"

#include <QCheckBox>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>
#include <QWidget>

#include <algorithm>

TransmitActions::TransmitActions(Parts parts, std::function<void()> updateActions,
                                 QWidget* window)
    : QObject(window), m_parts(parts), m_updateActions(std::move(updateActions)), m_window(window)
{
    lmx::TransmissionEngine& engine = m_parts.sendReceive.engine();
    lmx::ExchangeRecorder* recorder = &m_parts.recorder;
    engine.setPacketObserver(recorder);
    connect(recorder, &lmx::ExchangeRecorder::started, this, &TransmitActions::showProgress);
    connect(recorder, &lmx::ExchangeRecorder::packetStarted, this,
            &TransmitActions::showProgress);
    connect(recorder, &lmx::ExchangeRecorder::recordChanged, this,
            &TransmitActions::showProgress);
    // Repeat runs keep their progress in sight from the first run to the last.
    connect(recorder, &lmx::ExchangeRecorder::finished, this, [this] {
        if (!m_repeatRun->running())
            m_parts.statusBar.endProgress();
    });
    connect(recorder, &lmx::ExchangeRecorder::cleared, &m_parts.statusBar,
            &TMainStatusBar::clearFailuresFlag);
    // The flag of failures lists them; those of repeat runs are counted in the statistics.
    connect(&m_parts.statusBar, &TMainStatusBar::failuresClicked, this, [this] {
        if (m_lastWasRepeat) {
            m_parts.tabs.setCurrentWidget(&m_parts.statisticsView);
            return;
        }
        m_parts.packetsTab.failuresOnlyBox()->setChecked(true);
        m_parts.tabs.setCurrentWidget(&m_parts.packetsTab);
    });
    // A row selects the lines its packet carried, as long as the list is the one sent.
    connect(&m_parts.packetsTab, &PacketsTab::linesSelected, this,
            [this](const std::vector<int>& rows) {
                if (transmitLines(m_parts.editor.box()) == m_transmitted)
                    m_parts.editor.selectLines(rows);
            });
    m_displaysRun = new lmx::DisplaysRun(engine, m_parts.exchange, m_parts.recorder, this);
    m_repeatRun = new lmx::RepeatRun(engine, *m_displaysRun, m_parts.recorder,
                                     lmx::SystemSteadyClock::instance(), this);
    m_parts.statisticsView.setStatistics(&m_repeatRun->statistics());
    m_lastRepeat.plan.runs = 100; // what the dialog offers first
    connect(m_repeatRun, &lmx::RepeatRun::runStarted, this, &TransmitActions::showRun);
}

lmx::DisplaysProgress* TransmitActions::displaysProgress() const
{
    return m_displaysProgress;
}

bool TransmitActions::transmitting() const
{
    return m_parts.sendReceive.engine().running() || m_displaysRun->running()
        || m_repeatRun->running();
}

bool TransmitActions::stopping() const
{
    return m_parts.sendReceive.engine().stopping() || m_displaysRun->stopping()
        || m_repeatRun->stopping();
}

void TransmitActions::showSerialDebug()
{
    if (m_parts.general.ShowSerialDebug) {
        m_parts.xmitForm.show();
        m_parts.xmitForm.raise();
    }
}

void TransmitActions::prepare()
{
    showSerialDebug();
    lmx::TransmissionEngine& engine = m_parts.sendReceive.engine();
    // Off, a failed answer does not wait for OK: the receive box, the status bar and the
    // Packets tab tell it.
    engine.SetAnswerErrorBoxes(m_parts.general.ShowAnswerBoxes);
    engine.SetDebugFile(m_parts.general.DebugFile);
    engine.SetCreateDebugFile(m_parts.general.CreateDebugFile);
    if (m_parts.general.DebugFile)
        lmx::prepareLogFolder(m_parts.places); // a failure shows as the log's own
}

void TransmitActions::transmit()
{
    if (transmitting() || m_shutDown)
        return;
    prepare();
    m_lastWasRepeat = false;
    const std::vector<std::string> lines = transmitLines(m_parts.editor.box());
    m_transmitted = lines;
    lmx::TransmissionEngine& engine = m_parts.sendReceive.engine();
    if (m_parts.general.ExtendedLmx)
        engine.TransmitExtended(lines, m_parts.display.NetNr);
    else
        engine.TransmitNormal(lines, m_parts.display.NetNr);
    if (m_shutDown)
        return;
    runAfterStop();
    m_updateActions();
}

void TransmitActions::stop()
{
    // Repeat runs and a run to many displays end as a whole, also between two runs.
    if (m_repeatRun->running())
        m_repeatRun->requestStop();
    else if (m_displaysRun->running())
        m_displaysRun->requestStop();
    else
        m_parts.sendReceive.engine().requestStopAfterExchange();
    m_updateActions();
}

void TransmitActions::stopThen(std::function<void()> job)
{
    if (!transmitting()) {
        if (job)
            job();
        return;
    }
    // The Transmit call lies below on the stack, in the loop this action runs in: the job
    // must wait until it has returned.
    if (job)
        m_afterStop.push_back(std::move(job));
    stop();
}

void TransmitActions::runAfterStop()
{
    std::vector<std::function<void()>> jobs;
    jobs.swap(m_afterStop);
    m_runningAfterStop = !jobs.empty();
    for (const std::function<void()>& job : jobs)
        if (!m_shutDown)
            job();
    m_runningAfterStop = false;
}

void TransmitActions::shutDown()
{
    m_shutDown = true;
    // A transmission ends at once, and a run to many displays with it; its Transmit call
    // returns once the window's close handler is done.
    m_repeatRun->stopNow();
    m_displaysRun->requestStop();
    m_afterStop.clear();
    m_parts.sendReceive.engine().requestStop();
}

void TransmitActions::transmitToDisplays()
{
    if (transmitting() || m_shutDown)
        return;
    if (!m_parts.settingsDialogs.editDisplayList(m_parts.display))
        return;
    const lmx::NetNrList list = lmx::parseNetNrList(m_parts.display.NetNrList);
    if (!list.ok()) {
        m_parts.dialogs.warning(latin1("No displays to transmit to: " + list.error + "."));
        return;
    }
    prepare();
    m_lastWasRepeat = false;
    const std::vector<std::string> lines = transmitLines(m_parts.editor.box());
    m_transmitted = lines;
    if (m_displaysProgress)
        m_displaysProgress->close();
    auto* progress = new lmx::DisplaysProgress(*m_displaysRun, m_window);
    progress->setAttribute(Qt::WA_DeleteOnClose);
    m_displaysProgress = progress;
    // Beside the main window, covering none of it; on a screen without room for that, over
    // the command buttons, which are of no use meanwhile.
    progress->adjustSize();
    const QRect outer = m_window->frameGeometry();
    const QRect screen = m_window->screen() ? m_window->screen()->availableGeometry() : outer;
    const QSize size = progress->frameGeometry().size();
    const lmx::ScreenRect mainRect{outer.x(), outer.y(), outer.width(),
                                   outer.height() - m_parts.statusBar.height()};
    const lmx::ScreenRect at = lmx::besideRect(
            mainRect, size.width(), size.height(),
            {screen.x(), screen.y(), screen.width(), screen.height()}, 8);
    progress->move(at.x, at.y);
    progress->show();
    // One receive box for all displays: each transmission would empty it.
    TSendReceiveFrame& frame = m_parts.sendReceive;
    frame.ClearReceiveBox();
    frame.receiveLog().setKeepLines(true);
    // A display that answers badly must not hold up the others behind a message box; the
    // receive box and the summary tell every failure. One debug log holds the whole run.
    lmx::TransmissionEngine& engine = frame.engine();
    engine.SetAnswerErrorBoxes(false);
    const QMetaObject::Connection oneLog =
            connect(m_displaysRun, &lmx::DisplaysRun::displayStarted, this, [&engine](int i) {
                if (i > 0)
                    engine.SetCreateDebugFile(false);
            });
    m_displaysRun->run(lines, list.numbers, m_parts.general.ExtendedLmx);
    disconnect(oneLog);
    engine.SetAnswerErrorBoxes(m_parts.general.ShowAnswerBoxes);
    frame.receiveLog().setKeepLines(false);
    if (m_shutDown)
        return;
    runAfterStop();
    if (m_displaysProgress)
        m_displaysProgress->showResults();
    m_parts.tabs.setCurrentWidget(&m_parts.packetsTab);
    m_updateActions();
}

void TransmitActions::repeatTransmission()
{
    if (transmitting() || m_shutDown)
        return;
    lmx::RepeatRequest request = m_lastRepeat;
    if (!m_parts.settingsDialogs.editRepeat(request, m_parts.display.NetNrList))
        return;
    m_lastRepeat = request;
    repeat(request);
}

void TransmitActions::repeat(const lmx::RepeatRequest& request)
{
    if (transmitting() || m_shutDown)
        return;
    lmx::RepeatRun::Target target;
    target.commandLines = transmitLines(m_parts.editor.box());
    target.extended = m_parts.general.ExtendedLmx;
    target.netNr = m_parts.display.NetNr;
    if (request.toDisplayList) {
        const lmx::NetNrList list = lmx::parseNetNrList(m_parts.display.NetNrList);
        if (!list.ok() || list.numbers.empty()) {
            m_parts.dialogs.warning(latin1("No displays to transmit to: "
                                           + (list.ok() ? std::string("the display list is empty") : list.error)
                                           + "."));
            return;
        }
        target.netNrs = list.numbers;
    }
    prepare();
    m_lastWasRepeat = true;
    m_transmitted = target.commandLines;
    // Unattended: nothing waits for OK, and the receive box keeps the newest lines of all runs.
    TSendReceiveFrame& frame = m_parts.sendReceive;
    frame.ClearReceiveBox();
    frame.receiveLog().setKeepLines(true);
    frame.receiveLog().setLineLimit(kRepeatReceiveLines);
    lmx::TransmissionEngine& engine = frame.engine();
    engine.SetAnswerErrorBoxes(false);
    m_parts.statusBar.clearFailuresFlag();
    m_parts.tabs.setCurrentWidget(&m_parts.statisticsView);
    m_parts.statisticsView.setRunText(latin1("Starting: " + lmx::repeatPlanText(request.plan)));
    const std::optional<lmx::RepeatEnd> end = m_repeatRun->run(request.plan, target);
    engine.SetAnswerErrorBoxes(m_parts.general.ShowAnswerBoxes);
    frame.receiveLog().setKeepLines(false);
    frame.receiveLog().setLineLimit(ReceiveLogModel::kMaxLines);
    if (m_shutDown)
        return;
    m_parts.statusBar.endProgress(QStringLiteral("Failed answers of the repeat runs: click to see "
                                                 "them counted in the Statistics tab"));
    if (end) {
        const lmx::RunStatistics& s = m_repeatRun->statistics();
        m_parts.statisticsView.setRunText(
                latin1("Ended, " + std::string(lmx::repeatEndText(*end)) + ": "
                       + lmx::failureCountLine(s)));
        m_parts.statusBar.setStatusText(latin1(lmx::failureCountLine(s)));
    }
    m_parts.statisticsView.refresh();
    runAfterStop();
    m_updateActions();
}

void TransmitActions::showRun(int run)
{
    const lmx::RepeatRun& r = *m_repeatRun;
    std::string text = "Run " + std::to_string(run);
    if (r.plannedRuns() > 0)
        text += " of " + std::to_string(r.plannedRuns());
    text += " under way.";
    if (run > 1) // the one before is still the last run
        text += " " + lmx::runLine(run - 1, r.plannedRuns(), r.lastRun());
    m_parts.statisticsView.setRunText(latin1(text));
}

void TransmitActions::showProgress()
{
    const lmx::ExchangeRecorder::Progress p = m_parts.recorder.progress();
    if (m_repeatRun->running()) {
        // Every run's failures count, from the first one on.
        const int failures = static_cast<int>(m_repeatRun->statistics().failedPackets())
                           + (m_parts.recorder.running() ? p.failures : 0);
        QString text = QStringLiteral("Run %1").arg(m_repeatRun->currentRun());
        if (m_repeatRun->plannedRuns() > 0)
            text += QStringLiteral(" of %1").arg(m_repeatRun->plannedRuns());
        const int planned = m_displaysRun->running() ? std::max(p.planned, m_displaysRun->plannedPackets())
                                                     : p.planned;
        text += QStringLiteral(", packet %1 of %2").arg(p.packet).arg(planned);
        // The bar goes by runs where their number is known.
        const int runs = m_repeatRun->plannedRuns();
        if (runs > 0)
            m_parts.statusBar.showProgress(m_repeatRun->currentRun(), runs, failures, text);
        else
            m_parts.statusBar.showProgress(p.packet, planned, failures, text);
        return;
    }
    // A run to many displays counts all of them from the start.
    const int planned = m_displaysRun->running()
            ? std::max(p.planned, m_displaysRun->plannedPackets())
            : p.planned;
    m_parts.statusBar.showProgress(p.packet, planned, p.failures);
}
