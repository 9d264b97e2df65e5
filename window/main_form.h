#pragma once
// The main window: a frame of frames. It creates the serial link, the settings records, the
// command editor with the command buttons and the keys, the answer data tab, the transmit /
// receive frame, the menus, the tool bar and the status bar; wires them together; and runs
// its own actions: New, Load, Save, Export, Transmit, the settings dialogs, Help, About and
// the close query.
//
// Closing is never refused. A close during a transmission stops it at once; the window must
// not be destroyed before the Transmit call has returned (the program's event loop returns
// only after it has).
//
// While a transmission runs, the command box can be edited (the transmission sends the list
// as it was at Transmit) and the receive box and the Packets tab keep what it writes. An
// action that would throw the list away or change what the transmission uses (New, Load
// once a file is chosen, a settings dialog confirmed with changes) stops it after the current
// exchange and does its work when the Transmit call has returned; Clear window, once
// confirmed, empties the box at once and stops it the same way. Load Keys and Clear Keys are
// unavailable until it has ended.
//
// The window may be resized and maximised. At its first size (792 x 554 below the menu bar,
// centred) the parts stand as they always did; a larger window gives the room to the command
// and hex boxes, the tabs and the receive box, divided by two handles. Its place, size and
// division are kept in the settings file at closing, and only when they differ from the first
// (WindowGeometry).
//
// Every part is owned by its Qt parent. The central widget with the frames is the window's
// first child, so the frames and the engine in them go before the serial link they use.

#include "files/settings.h"
#include "files/settings_places.h"
#include "frames/busy_cursor.h"
#include "main_form_services.h"
#include "transmission/debug_log.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class ActionButton;
class CaptureActions;
class CommandEditor;
class EditRouting;
class FileActions;
class GeneralSettingsApply;
class IdleUpdate;
class KeyActions;
class KeyRepeatFilter;
class MainActions;
class PacketsTab;
class ParameterDialogs;
class QGroupBox;
class QLabel;
class QSplitter;
class QTabWidget;
class QToolBar;
class SettingsDialogs;
class StatisticsView;
class TAnswerFrame;
class TCommandsFrame;
class TMainStatusBar;
class TSendReceiveFrame;
class TransmitActions;
class WindowGeometry;

namespace lmx {
class DisplaysProgress;
class DisplaysRun;
class ExchangeRecorder;
class PacketExchange;
class TCommPortDriver;
class TXmitForm;
} // namespace lmx

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    // The space between the parts, which is also the width of the handles that divide them.
    static constexpr int kPartSpacing = 4;
    static constexpr const char* kNewFileName = "NEWFILE.LMX";
    // The background of selected lines in the list boxes.
    static constexpr unsigned kSelectionColour = 0xD5E3F5;
    static constexpr const char* kLineLimitText =
            "The line is as long as a line can be (1333 characters): anything beyond was left out.";
    static constexpr const char* kHelpPage = "doc/lmxdoc.htm";

    explicit TMainForm(MainFormServices services, QWidget* parent = nullptr);
    ~TMainForm() override;

    // The parts, for the program and for tests.
    CommandEditor& editor() { return *m_editor; }
    TCommandsFrame& commandsFrame() { return *m_commands; }
    KeyActions& keyActions() { return *m_keys; }
    TAnswerFrame& answerFrame() { return *m_answers; }
    TSendReceiveFrame& sendReceiveFrame() { return *m_sendReceive; }
    MainActions& actions() { return *m_actions; }
    TMainStatusBar& mainStatusBar() { return *m_statusBar; }
    lmx::TCommPortDriver& driver() { return *m_driver; }
    lmx::PacketExchange& exchange() { return *m_exchange; }
    lmx::TXmitForm& xmitForm() { return *m_xmitForm; }
    lmx::ExchangeRecorder& recorder() { return *m_recorder; }
    lmx::DisplaysRun& displaysRun();
    // The window of the last Transmit to Displays run while it is open.
    lmx::DisplaysProgress* displaysProgress() const;
    TransmitActions& transmitActions() { return *m_transmit; }
    PacketsTab& packetsTab() { return *m_packetsTab; }
    StatisticsView& statisticsView() { return *m_statisticsView; }
    ParameterDialogs& parameterDialogs() { return *m_parameters; }
    const lmx::TSerialSettings& serialSettings() const { return m_serial; }
    const lmx::TDisplaySettings& displaySettings() const { return m_display; }
    const lmx::TGeneralSettings& generalSettings() const { return m_general; }
    const QString& programFolder() const { return m_services.programFolder; }
    const lmx::SettingsPlaces& settingsPlaces() const { return m_places; }

    QToolBar* MainToolBar() const { return m_toolBar; }
    QTabWidget* PageControl() const { return m_tabs; }
    QWidget* HexDataTab() const { return m_hexTab; }
    QWidget* AnswerDataTab() const { return m_answerTab; }
    QWidget* PacketsDataTab() const;
    QGroupBox* CommandEditorGroup() const { return m_editorGroup; }
    // The handle between the command editor and the tabs, and the one above the receive box.
    QSplitter* EditorSplitter() const { return m_editorSplitter; }
    QSplitter* ReceiveSplitter() const { return m_receiveSplitter; }
    // The window's size with the menu bar at the first size.
    QSize firstSize() const;
    ActionButton* FPACK_Button() const { return m_fpack; }
    ActionButton* NPACK_Button() const { return m_npack; }
    QString statusText() const;
    bool keyHeld() const;

    // The window's own actions.
    void DoNewFileExecute();
    // Both false when cancelled or failed.
    bool DoImportLmxExecute();
    // Load without the dialog, for a file named on the command line.
    bool loadCommandFile(const QString& path);
    bool DoExportLmxExecute();
    void DoExportTxtExecute();
    // File > Export Packets...: the Packets tab as CSV.
    void DoExportPacketsExecute();
    void DoTransmitExecute();
    // Transmit to Displays...: the list once per network number asked for.
    void DoTransmitToDisplaysExecute();
    // Transmit > Repeat Transmission...: the list as repeat runs, counted in the Statistics tab.
    void DoRepeatTransmissionExecute();
    // Esc, the tool button beside Transmit: the transmission ends after the current exchange.
    void DoStopTransmissionExecute();
    void DoGeneralSettingsExecute();
    void DoDisplaySettingsExecute();
    void DoSerialSettingsExecute();
    void DoScanBusExecute();
    void DoPacketSizeExecute();
    void DoHelpExecute();
    void DoAboutExecute();
    void DoExitProgramExecute();

    // The enabling of every action, recomputed whenever the user interface is idle.
    void updateActions();
    // A transmission, or a run of them to many displays, is under way.
    bool transmitting() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void createParts();
    void layOut();
    void connectParts();
    void applyGeneral();
    void setStatus(const char* text);
    void ready();
    void updateTitle();
    void updateDebugLabels();
    // Runs the job now, or, while a transmission runs, after it has stopped (TransmitActions).
    void stopThen(std::function<void()> job);

    MainFormServices m_services;
    UserDialogs& m_dialogs;

    lmx::TCommPortDriver* m_driver = nullptr;
    lmx::PacketExchange* m_exchange = nullptr;
    lmx::TXmitForm* m_xmitForm = nullptr;
    lmx::TSerialSettings m_serial;
    lmx::TDisplaySettings m_display;
    lmx::TGeneralSettings m_general;
    lmx::SettingsPlaces m_places;
    std::unique_ptr<ParameterDialogs> m_parameters;
    std::unique_ptr<SettingsDialogs> m_settingsDialogs;
    lmx::DebugLog m_debugLog;
    BusyCursor m_busy;

    CommandEditor* m_editor = nullptr;
    TCommandsFrame* m_commands = nullptr;
    KeyActions* m_keys = nullptr;
    TAnswerFrame* m_answers = nullptr;
    TSendReceiveFrame* m_sendReceive = nullptr;
    lmx::ExchangeRecorder* m_recorder = nullptr;
    PacketsTab* m_packetsTab = nullptr;
    StatisticsView* m_statisticsView = nullptr;
    TransmitActions* m_transmit = nullptr;
    std::unique_ptr<FileActions> m_files;
    CaptureActions* m_capture = nullptr;
    MainActions* m_actions = nullptr;
    EditRouting* m_routing = nullptr;
    std::unique_ptr<GeneralSettingsApply> m_applyGeneral;
    IdleUpdate* m_idle = nullptr;
    KeyRepeatFilter* m_keyRepeat = nullptr;

    QToolBar* m_toolBar = nullptr;
    TMainStatusBar* m_statusBar = nullptr;
    QTabWidget* m_tabs = nullptr;
    QWidget* m_hexTab = nullptr;
    QWidget* m_answerTab = nullptr;
    QWidget* m_debugTab1 = nullptr;
    QWidget* m_debugTab2 = nullptr;
    QLabel* m_debugLabels[6] = {};
    QGroupBox* m_editorGroup = nullptr;
    QSplitter* m_editorSplitter = nullptr;
    QSplitter* m_receiveSplitter = nullptr;
    QWidget* m_bottom = nullptr;
    WindowGeometry* m_geometry = nullptr; // the place, size and division
    ActionButton* m_fpack = nullptr;
    ActionButton* m_npack = nullptr;

    bool m_closed = false;
};
