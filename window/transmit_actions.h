#pragma once
// Transmit, Transmit to Displays, Repeat Transmission and Stop: the window's transmissions,
// the progress they show in the status bar, the Packets tab and the Statistics tab, and the
// actions that wait for a running one to stop.
//
// Repeat runs go on unattended: a failed answer opens no message box (it is counted in the
// Statistics tab, told in the receive box, and the status bar flags failures from the first
// one on). Each run starts the Packets tab afresh, so it holds the run under way (and, once
// they have ended, the last run); the receive box keeps the last kRepeatReceiveLines lines of
// all runs. So a repeat of hours needs the memory of one run.
//
// A transmission runs inside the Transmit call (the engine waits in nested event loops), so an
// action that must not run under it (New, Load, a changed setting) is handed to stopThen: the
// transmission stops after the current exchange and the job runs once the Transmit call has
// returned. After shutDown (the window closes) nothing starts and queued jobs are dropped.

#include "bus/repeat_run.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <string>
#include <vector>

class CommandEditor;
class PacketsTab;
class QTabWidget;
class StatisticsView;
class QWidget;
class SettingsDialogs;
class TMainStatusBar;
class TSendReceiveFrame;
class UserDialogs;

namespace lmx {
class DisplaysProgress;
class DisplaysRun;
class ExchangeRecorder;
class PacketExchange;
class TXmitForm;
struct SettingsPlaces;
struct TDisplaySettings;
struct TGeneralSettings;
} // namespace lmx

class TransmitActions : public QObject {
    Q_OBJECT
public:
    // The window's parts a transmission uses; all outlive this object.
    struct Parts {
        UserDialogs& dialogs;
        CommandEditor& editor;
        TSendReceiveFrame& sendReceive;
        lmx::PacketExchange& exchange;
        lmx::ExchangeRecorder& recorder;
        PacketsTab& packetsTab;
        StatisticsView& statisticsView;
        QTabWidget& tabs;
        TMainStatusBar& statusBar;
        lmx::TXmitForm& xmitForm;
        SettingsDialogs& settingsDialogs;
        const lmx::TGeneralSettings& general;
        lmx::TDisplaySettings& display; // Transmit to Displays keeps the list it was given
        const lmx::SettingsPlaces& places;
    };

    // `updateActions` recomputes the window's action enabling; it runs whenever a
    // transmission starts or ends. `window` is the main window, the parent.
    TransmitActions(Parts parts, std::function<void()> updateActions, QWidget* window);

    static constexpr size_t kRepeatReceiveLines = 5000;

    lmx::DisplaysRun& displaysRun() { return *m_displaysRun; }
    lmx::RepeatRun& repeatRun() { return *m_repeatRun; }
    // The window of the last Transmit to Displays run while it is open.
    lmx::DisplaysProgress* displaysProgress() const;

    // A transmission, a run of them to many displays, or repeat runs are under way.
    bool transmitting() const;
    // It has been asked to stop and has not ended yet.
    bool stopping() const;
    // The jobs queued by stopThen are running (the transmission they waited for has ended).
    bool runningAfterStop() const { return m_runningAfterStop; }

    void transmit();
    // The list once per network number of the display list the user confirms.
    void transmitToDisplays();
    // Transmit > Repeat Transmission...: the runs the user asks for (the dialog starts from the
    // last request), then repeat().
    void repeatTransmission();
    // The runs, without asking.
    void repeat(const lmx::RepeatRequest& request);
    // Esc: the transmission ends after the current exchange; a run to many displays as a whole.
    void stop();
    // Runs the job now, or, while a transmission runs, asks it to stop after the current
    // exchange and runs the job once the Transmit call has returned.
    void stopThen(std::function<void()> job);
    // The window closes: a running transmission ends at once, queued jobs are dropped and
    // nothing starts any more.
    void shutDown();
    // The close was refused after all (the list could not be saved): transmissions may start
    // again.
    void cancelShutDown() { m_shutDown = false; }
    // Shows the serial debug window when the general settings ask for it.
    void showSerialDebug();

private:
    void prepare();
    void runAfterStop();
    void showProgress();
    void showRun(int run);

    Parts m_parts;
    std::function<void()> m_updateActions;
    QWidget* m_window;
    lmx::DisplaysRun* m_displaysRun = nullptr;
    lmx::RepeatRun* m_repeatRun = nullptr;
    lmx::RepeatRequest m_lastRepeat;
    bool m_lastWasRepeat = false; // the failures flag leads to the Statistics tab
    QPointer<lmx::DisplaysProgress> m_displaysProgress;
    std::vector<std::string> m_transmitted; // the lines the Packets tab's rows came from
    std::vector<std::function<void()>> m_afterStop; // the actions waiting for the stop
    bool m_runningAfterStop = false;
    bool m_shutDown = false;
};
