#include "transmit_actions.h"

#include "bus/displays_progress.h"
#include "bus/displays_run.h"
#include "bus/netnr_list.h"
#include "editor/command_editor.h"
#include "editor/command_file_io.h"
#include "files/settings.h"
#include "files/settings_places.h"
#include "main_status_bar.h"
#include "packets/exchange_recorder.h"
#include "packets/packets_tab.h"
#include "platform/latin1.h"
#include "platform/user_dialogs.h"
#include "send_receive_frame.h"
#include "settings/settings_dialogs.h"
#include "transmission/debug_log.h"
#include "transmission/transmission_engine.h"
#include "window_placement.h"
#include "xmit_form.h"

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
    connect(recorder, &lmx::ExchangeRecorder::finished, &m_parts.statusBar,
            &TMainStatusBar::endProgress);
    connect(recorder, &lmx::ExchangeRecorder::cleared, &m_parts.statusBar,
            &TMainStatusBar::clearFailuresFlag);
    // The flag of failures lists them.
    connect(&m_parts.statusBar, &TMainStatusBar::failuresClicked, this, [this] {
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
}

lmx::DisplaysProgress* TransmitActions::displaysProgress() const
{
    return m_displaysProgress;
}

bool TransmitActions::transmitting() const
{
    return m_parts.sendReceive.engine().running() || m_displaysRun->running();
}

bool TransmitActions::stopping() const
{
    return m_parts.sendReceive.engine().stopping() || m_displaysRun->stopping();
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
    // A run to many displays ends as a whole, also between two displays.
    if (m_displaysRun->running())
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

void TransmitActions::showProgress()
{
    const lmx::ExchangeRecorder::Progress p = m_parts.recorder.progress();
    // A run to many displays counts all of them from the start.
    const int planned = m_displaysRun->running()
            ? std::max(p.planned, m_displaysRun->plannedPackets())
            : p.planned;
    m_parts.statusBar.showProgress(p.packet, planned, p.failures);
}
