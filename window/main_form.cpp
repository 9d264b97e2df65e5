#include "main_form.h"

#include "capture_actions.h"
#include "dialogs/parameter_dialogs.h"
#include "edit_routing.h"
#include "editor/action_button.h"
#include "editor/command_box_actions.h"
#include "editor/command_editor.h"
#include "editor/commands_frame.h"
#include "file_actions.h"
#include "files/settings_file.h"
#include "frames/answer_frame.h"
#include "frames/led_panel.h"
#include "frames/line_tool_tips.h"
#include "frames/main_status_bar.h"
#include "frames/send_receive_frame.h"
#include "frames/xmit_form.h"
#include "general_settings_apply.h"
#include "idle_update.h"
#include "key_repeat_filter.h"
#include "keys/key_actions.h"
#include "main_actions.h"
#include "packets/exchange_recorder.h"
#include "packets/packets_tab.h"
#include "packets/statistics_view.h"
#include "platform/latin1.h"
#include "platform/user_dialogs.h"
#include "port/comm_port_driver.h"
#include "port/serial_settings_apply.h"
#include "program_icon.h"
#include "protocol/vocabulary.h"
#include "settings/settings_dialogs.h"
#include "transmission/packet_exchange.h"
#include "transmission/transmission_engine.h"
#include "transmit_actions.h"
#include "widgets/ovel_list_box.h"
#include "window_geometry.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QShowEvent>
#include <QSplitter>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWindowStateChangeEvent>

#include <algorithm>

static_assert(lmx::kLineSizeLimit == 1333, "the status text names the limit");

namespace {

QString helpNotShownText(const QString& page)
{
    return QStringLiteral("No browser could be started to show the help page.\n"
                          "Open it in a browser of your choice:\n")
            + QDir::toNativeSeparators(page);
}

} // namespace

TMainForm::TMainForm(MainFormServices services, QWidget* parent)
    : QMainWindow(parent),
      m_services(std::move(services)),
      m_dialogs(*m_services.dialogs),
      m_debugLog(*m_services.wallClock)
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint
                   | Qt::WindowCloseButtonHint);
    setWindowIcon(programIcon());
    m_places = m_services.settingsPlaces.settingsFolder.empty()
            ? lmx::settingsPlaces(localPath(m_services.programFolder), true, {}, {})
            : m_services.settingsPlaces;
    m_debugLog.setProgramFolder(m_places.logFolder);

    // The central widget first (see the header); then the port, which the exchange keeps as
    // its child until it has let go of it, and the serial debug window; the settings records
    // hold their defaults; the reusable parameter dialogs.
    setCentralWidget(new QWidget(this));
    m_driver = new lmx::TCommPortDriver(m_services.makeSerialBackend(), *m_services.steadyClock);
    m_exchange = new lmx::PacketExchange(*m_driver, m_dialogs, this);
    m_driver->setParent(m_exchange);
    m_xmitForm = new lmx::TXmitForm(*m_exchange, this);
    m_parameters = m_services.makeParameterDialogs(this);
    m_settingsDialogs = m_services.makeSettingsDialogs(this);
    createParts();
    layOut();
    connectParts();

    // The settings file, then the apply steps (the display settings need none).
    // The file is written at closing: one that does not read is kept beside it first.
    const lmx::SettingsLoad settings = lmx::loadSettings(m_places, m_serial, m_display, m_general);
    if (!settings.warning.empty())
        m_dialogs.detailedWarning(latin1(settings.warning), localText(settings.detail));
    lmx::applySerialSettingsToDriver(m_serial, *m_driver);
    applyGeneral();

    // A new, unchanged list; the answer box with its end line; packet size 240.
    m_files->clearToNewFile();
    m_sendReceive->engine().SetPacketSize(TSendReceiveFrame::kStartPacketSize);
    m_tabs->setCurrentWidget(m_hexTab);
    m_tabs->setTabVisible(m_tabs->indexOf(m_debugTab1), false);
    m_tabs->setTabVisible(m_tabs->indexOf(m_debugTab2), false);

    m_geometry->place();
    ready();
    updateActions();
}

TMainForm::~TMainForm() = default;

void TMainForm::createParts()
{
    QWidget* central = centralWidget();
    central->setObjectName(QStringLiteral("ClientArea"));

    m_editor = new CommandEditor(m_dialogs, *m_parameters, central);
    m_editorGroup = new QGroupBox(QStringLiteral("Command Editor "), central);
    m_editorGroup->setObjectName(QStringLiteral("CommandEditorGroup"));
    m_commands = new TCommandsFrame(*m_editor, m_dialogs, *m_parameters, central);
    m_keys = new KeyActions(m_editor->box(), m_dialogs, this);
    m_fpack = m_commands->makeForcePacketButton(m_editorGroup);
    m_npack = m_commands->makeNewPacketButton(m_editorGroup);

    m_tabs = new QTabWidget(central);
    m_tabs->setObjectName(QStringLiteral("PageControl"));
    m_hexTab = m_editor->hexBox();
    m_answers = new TAnswerFrame(m_dialogs, *m_parameters, m_tabs);
    m_answerTab = m_answers;
    m_recorder = new lmx::ExchangeRecorder(this);
    m_packetsTab = new PacketsTab(*m_recorder, m_tabs);
    m_statisticsView = new StatisticsView(m_tabs);
    m_sendReceive = new TSendReceiveFrame(*m_exchange, m_dialogs, *m_parameters,
                                          *m_services.wallClock, *m_services.steadyClock, central);

    m_actions = new MainActions(this);
    m_actions->buildMenus(menuBar(), *m_keys);
    m_toolBar = addToolBar(QStringLiteral("Main"));
    m_toolBar->setObjectName(QStringLiteral("MainToolBar"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setIconSize(QSize(16, 16));
    m_toolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    m_actions->buildToolBar(m_toolBar);
    m_statusBar = new TMainStatusBar(this);
    setStatusBar(m_statusBar);

    m_routing = new EditRouting(m_actions->DoCutText, m_actions->DoCopyText,
                                m_actions->DoPasteText, m_actions->DoUndoText, *m_editor,
                                *m_answers, this);
    m_routing->setRedo(m_actions->DoRedoText);
    m_applyGeneral = std::make_unique<GeneralSettingsApply>(GeneralSettingsApply::Targets{
            m_toolBar, m_exchange, &m_sendReceive->engine(), m_commands, m_tabs, m_answerTab,
            m_hexTab, m_keys, m_actions->DoPacketSize});
}

void TMainForm::layOut()
{
    // "Command Editor ": the block buttons, the keys, FPACK and NPACK, then the command box.
    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(2);
    CommandBoxActions& a = m_editor->actions();
    const std::pair<QAction*, const char*> blocks[] = {{a.DoInsertDisplay, "DisplayButton"},
                                                       {a.DoInsertMessage, "MessageButton"},
                                                       {a.DoInsertPage, "PageButton"},
                                                       {a.DoInsertLine, "LineButton"}};
    for (const auto& [action, name] : blocks) {
        auto* b = new ActionButton(action, action->text(), m_editorGroup);
        b->setObjectName(QString::fromLatin1(name));
        buttons->addWidget(b);
    }
    buttons->addSpacing(6);
    for (int i = 0; i < 4; ++i)
        buttons->addWidget(m_keys->keyButton(i));
    buttons->addSpacing(6);
    buttons->addWidget(m_fpack);
    buttons->addWidget(m_npack);
    buttons->addStretch(1);
    for (int i = 0; i < buttons->count(); ++i)
        if (auto* b = qobject_cast<QPushButton*>(buttons->itemAt(i)->widget())) {
            b->setFocusPolicy(Qt::TabFocus);
            b->setAutoDefault(false);
        }
    auto* editorRow = new QHBoxLayout(m_editorGroup);
    editorRow->setContentsMargins(4, 2, 4, 4);
    editorRow->setSpacing(4);
    editorRow->addLayout(buttons);
    editorRow->addWidget(m_editor->commandBox(), 1);

    m_tabs->addTab(m_hexTab, QStringLiteral("Hex Data"));
    m_tabs->addTab(m_answerTab, QStringLiteral("Answer Data"));
    m_tabs->addTab(m_packetsTab, QStringLiteral("Packets"));
    // Two tabs that only show the editor's flags while developing; never shown.
    for (QWidget** tab : {&m_debugTab1, &m_debugTab2}) {
        *tab = new QWidget(m_tabs);
        auto* column = new QVBoxLayout(*tab);
        m_tabs->addTab(*tab, QStringLiteral("Debug"));
        const int first = tab == &m_debugTab1 ? 0 : 4;
        for (int i = first; i < first + (tab == &m_debugTab1 ? 4 : 2); ++i) {
            m_debugLabels[i] = new QLabel(*tab);
            column->addWidget(m_debugLabels[i]);
        }
        column->addStretch(1);
    }
    // After the hidden ones, so the tabs keep their places: it shows beside Packets.
    m_tabs->addTab(m_statisticsView, QStringLiteral("Statistics"));

    // The command editor beside the tabs, and both above the receive box and the command
    // buttons, each pair divided by a handle the user may drag. A larger window gives the
    // command and hex boxes, the Packets tab and the receive box the room; the command
    // buttons keep their size.
    m_receiveSplitter = new QSplitter(Qt::Vertical, centralWidget());
    m_receiveSplitter->setObjectName(QStringLiteral("ReceiveSplitter"));
    m_editorSplitter = new QSplitter(Qt::Horizontal, m_receiveSplitter);
    m_editorSplitter->setObjectName(QStringLiteral("EditorSplitter"));
    m_editorGroup->setParent(m_editorSplitter);
    m_editorSplitter->addWidget(m_editorGroup);
    m_editorSplitter->addWidget(m_tabs);
    m_bottom = new QWidget(m_receiveSplitter);
    auto* bottom = new QHBoxLayout(m_bottom);
    bottom->setContentsMargins(0, 0, 0, 0);
    bottom->setSpacing(kPartSpacing);
    m_sendReceive->setParent(m_bottom);
    bottom->addWidget(m_sendReceive, 1);
    m_commands->setParent(m_bottom);
    m_commands->setFixedSize(TCommandsFrame::kWidth, TCommandsFrame::kHeight);
    bottom->addWidget(m_commands, 0, Qt::AlignTop);
    m_receiveSplitter->addWidget(m_editorSplitter);
    m_receiveSplitter->addWidget(m_bottom);
    for (QSplitter* splitter : {m_editorSplitter, m_receiveSplitter}) {
        splitter->setHandleWidth(kPartSpacing);
        splitter->setChildrenCollapsible(false);
        splitter->setStretchFactor(0, 1);
        splitter->setStretchFactor(1, 1);
    }
    m_geometry = new WindowGeometry(*this, *m_editorSplitter, *m_receiveSplitter, m_general.Window,
                                    kPartSpacing);
    auto* client = new QVBoxLayout(centralWidget());
    client->setContentsMargins(4, 2, 4, 2);
    client->setSpacing(0);
    client->addWidget(m_receiveSplitter, 1);

    // A pale selection: the lines keep their colours (red, purple, blue, ...) when selected,
    // and each stays about as readable as on white.
    for (TOvelListBox* box : {m_editor->commandBox(), m_editor->hexBox(), m_answers->AnswerBox(),
                              m_sendReceive->ReceiveBox()}) {
        QPalette palette = box->palette();
        palette.setColor(QPalette::Highlight, QColor(kSelectionColour));
        box->setPalette(palette);
    }

    auto* tips = new LineToolTips(this);
    for (TOvelListBox* box : {m_editor->commandBox(), m_editor->hexBox(), m_answers->AnswerBox(),
                              m_sendReceive->ReceiveBox()})
        tips->watch(box);

    m_busy.addWidget(m_sendReceive->ReceiveBox());
    m_busy.addWidget(m_answers->AnswerBox());
    m_busy.addWidget(m_editor->commandBox());
    m_busy.addWidget(m_editor->hexBox());
}

void TMainForm::connectParts()
{
    MainActions& a = *m_actions;
    const std::pair<QAction*, void (TMainForm::*)()> own[] = {
            {a.DoNewFile, &TMainForm::DoNewFileExecute},
            {a.DoExportTxt, &TMainForm::DoExportTxtExecute},
            {a.DoExportPackets, &TMainForm::DoExportPacketsExecute},
            {a.DoTransmit, &TMainForm::DoTransmitExecute},
            {a.DoTransmitToDisplays, &TMainForm::DoTransmitToDisplaysExecute},
            {a.DoRepeatTransmission, &TMainForm::DoRepeatTransmissionExecute},
            {a.DoScanBus, &TMainForm::DoScanBusExecute},
            {a.DoStopTransmission, &TMainForm::DoStopTransmissionExecute},
            {a.DoGeneralSettings, &TMainForm::DoGeneralSettingsExecute},
            {a.DoDisplaySettings, &TMainForm::DoDisplaySettingsExecute},
            {a.DoSerialSettings, &TMainForm::DoSerialSettingsExecute},
            {a.DoPacketSize, &TMainForm::DoPacketSizeExecute},
            {a.DoHelp, &TMainForm::DoHelpExecute},
            {a.DoAbout, &TMainForm::DoAboutExecute},
            {a.DoExitProgram, &TMainForm::DoExitProgramExecute}};
    for (const auto& [action, handler] : own)
        connect(action, &QAction::triggered, this, handler);
    connect(a.DoImportLmx, &QAction::triggered, this, [this] { DoImportLmxExecute(); });
    connect(a.DoExportLmx, &QAction::triggered, this, [this] { DoExportLmxExecute(); });

    // The window's Edit actions take over the command box's keys for Cut, Copy, Paste, Undo
    // and Redo; its pop-up menu keeps its own actions.
    CommandBoxActions& box = m_editor->actions();
    for (QAction* shared : {box.DoCutText, box.DoCopyText, box.DoPasteText, box.DoUndoText,
                            box.DoRedoText})
        m_editor->commandBox()->removeAction(shared);

    connect(m_editor, &CommandEditor::titleChanged, this, &TMainForm::updateTitle);
    // A line entered or edited that reaches the longest a line can be was cut there: the
    // status bar says so, as the line itself does not show it.
    const auto reachedLimit = [this](const QModelIndex& from, const QModelIndex& to) {
        if (from.row() != to.row())
            return; // a file read or a paste of many lines: the reader tells its own
        const std::string& text = m_editor->box().list().line(from.row()).displayText;
        if (text.size() >= lmx::kLineSizeLimit)
            m_statusBar->setStatusText(QString::fromLatin1(kLineLimitText));
    };
    QAbstractItemModel* lines = &m_editor->model();
    connect(lines, &QAbstractItemModel::rowsInserted, this,
            [reachedLimit, lines](const QModelIndex&, int first, int last) {
                reachedLimit(lines->index(first, 0), lines->index(last, 0));
            });
    connect(lines, &QAbstractItemModel::dataChanged, this, reachedLimit);
    // The list the transmission came from is gone: nothing more of it is sent.
    connect(m_editor, &CommandEditor::windowCleared, this, [this] { stopThen({}); });
    connect(m_keys, &KeyActions::statusText, m_statusBar, &TMainStatusBar::setStatusText);
    connect(m_answers, &TAnswerFrame::templatesEdited, this,
            [this] { m_editor->box().SetChanged(true); });
    connect(m_exchange, &lmx::PacketExchange::trafficActivity, m_statusBar->ledPanel(),
            &TLedPanel::trafficActivity);

    lmx::TransmissionEngine& engine = m_sendReceive->engine();
    engine.setAnswerDataSink(m_answers);
    engine.setBusyIndicator(&m_busy);
    engine.setDebugLog(&m_debugLog);
    connect(&engine, &lmx::TransmissionEngine::runningChanged, this, &TMainForm::updateActions);
    m_transmit = new TransmitActions(
            TransmitActions::Parts{m_dialogs, *m_editor, *m_sendReceive, *m_exchange, *m_recorder,
                                   *m_packetsTab, *m_statisticsView, *m_tabs, *m_statusBar, *m_xmitForm,
                                   *m_settingsDialogs, m_general, m_display, m_places},
            [this] { updateActions(); }, this);
    m_files = std::make_unique<FileActions>(
            FileActions::Parts{m_dialogs, *m_editor, *m_answers, *m_keys, *m_sendReceive,
                               *m_recorder, *m_statusBar, *m_transmit, m_general},
            [this] { updateActions(); }, [this] { updateTitle(); });
    m_capture = new CaptureActions(
            CaptureActions::Parts{m_dialogs, *m_recorder, m_general, m_serial, *m_services.wallClock},
            this);
    connect(a.DoSaveCapture, &QAction::triggered, m_capture, &CaptureActions::saveCapture);

    m_idle = new IdleUpdate([this] { updateActions(); }, this);
    for (QMenu* menu : {a.fileMenu(), a.editMenu(), a.transmitMenu(), a.settingsMenu(), a.helpMenu()})
        connect(menu, &QMenu::aboutToShow, this, &TMainForm::updateActions);
    m_keyRepeat = new KeyRepeatFilter(this);
}

QSize TMainForm::firstSize() const
{
    return m_geometry->firstSize();
}

void TMainForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    m_geometry->shown();
}

void TMainForm::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        m_geometry->stateChanged(static_cast<QWindowStateChangeEvent*>(event)->oldState());
}

void TMainForm::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    m_geometry->moved();
}

void TMainForm::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    m_geometry->resized();
}

QString TMainForm::statusText() const
{
    return m_statusBar->statusText();
}

bool TMainForm::keyHeld() const
{
    return m_keyRepeat->keyHeld();
}

bool TMainForm::transmitting() const
{
    return m_transmit && m_transmit->transmitting();
}

void TMainForm::setStatus(const char* text)
{
    m_statusBar->setStatusText(QString::fromLatin1(text));
}

void TMainForm::ready()
{
    setStatus(TMainStatusBar::kReady);
}

void TMainForm::updateTitle()
{
    setWindowTitle(localText(m_editor->box().title()));
}

void TMainForm::applyGeneral()
{
    m_applyGeneral->apply(m_general);
}

void TMainForm::updateActions()
{
    MainActions& a = *m_actions;
    const bool running = transmitting();
    a.DoTransmit->setEnabled(!running && !m_closed);
    a.DoTransmitToDisplays->setEnabled(!running && !m_closed);
    a.DoRepeatTransmission->setEnabled(!running && !m_closed);
    a.DoScanBus->setEnabled(!running && !m_closed);
    const bool stopping = m_transmit && m_transmit->stopping();
    a.DoStopTransmission->setEnabled(running && !stopping && !m_closed);
    // Key files have no part in a transmission; they wait until it has ended.
    m_keys->lockKeyList(running);
    a.DoExportTxt->setEnabled(m_editor->box().list().count() > 1);
    a.DoExportPackets->setEnabled(!m_recorder->records().empty());
    a.DoSaveCapture->setEnabled(!m_recorder->records().empty());
    a.DoPacketSize->setEnabled(m_general.ExtendedLmx);
    m_routing->update();
    m_answers->updateActions();
    updateDebugLabels();
}

void TMainForm::updateDebugLabels()
{
    if (!m_debugLabels[0])
        return;
    const BlockState& s = m_editor->box().blockState();
    const auto in = [](bool on, const char* inside, const char* outside) {
        return QString::fromLatin1(on ? inside : outside);
    };
    m_debugLabels[0]->setText(in(s.InDisplayBlock, "In DisplayBlock.", "Outside DisplayBlock"));
    m_debugLabels[1]->setText(in(s.InMessageBlock, "In MessageBlock.", "Outside MessageBlock"));
    m_debugLabels[2]->setText(in(s.InPageBlock, "In PageBlock.", "Outside PageBlock"));
    m_debugLabels[3]->setText(in(s.InLineBlock, "In LineBlock.", "Outside LineBlock"));
    m_debugLabels[4]->setText(in(s.BlockSelected, "Block Selected True", "Block Selected False"));
    m_debugLabels[5]->setText(in(s.OnBlockCommand, "Block Command Selected True",
                                 "Block Command Selected False"));
}

void TMainForm::DoNewFileExecute()
{
    m_files->newFile();
}

bool TMainForm::DoImportLmxExecute()
{
    return m_files->load();
}

bool TMainForm::loadCommandFile(const QString& path)
{
    return m_files->loadFile(path);
}

bool TMainForm::DoExportLmxExecute()
{
    return m_files->save();
}

void TMainForm::DoExportTxtExecute()
{
    m_files->exportText();
}

void TMainForm::DoExportPacketsExecute()
{
    m_files->exportPackets();
}

void TMainForm::DoTransmitExecute()
{
    m_transmit->transmit();
}

void TMainForm::DoTransmitToDisplaysExecute()
{
    m_transmit->transmitToDisplays();
}

void TMainForm::DoRepeatTransmissionExecute()
{
    m_transmit->repeatTransmission();
}

void TMainForm::DoStopTransmissionExecute()
{
    m_transmit->stop();
}

void TMainForm::stopThen(std::function<void()> job)
{
    m_transmit->stopThen(std::move(job));
}

lmx::DisplaysRun& TMainForm::displaysRun()
{
    return m_transmit->displaysRun();
}

lmx::DisplaysProgress* TMainForm::displaysProgress() const
{
    return m_transmit->displaysProgress();
}

QWidget* TMainForm::PacketsDataTab() const
{
    return m_packetsTab;
}

// The settings dialogs work on a copy. Settings confirmed with a change take effect when no
// transmission runs: a running one is stopped first, as its port, framing and log must not
// change under it. Confirmed without a change, they leave everything as it is.
void TMainForm::DoGeneralSettingsExecute()
{
    setStatus("Modifying General Settings");
    lmx::TGeneralSettings edited = m_general;
    if (m_settingsDialogs->editGeneral(edited) && !(edited == m_general))
        stopThen([this, edited] {
            m_general = edited;
            applyGeneral();
            updateActions();
        });
    ready();
    updateActions();
}

void TMainForm::DoDisplaySettingsExecute()
{
    setStatus("Modifying Display Settings");
    lmx::TDisplaySettings edited = m_display;
    if (m_settingsDialogs->editDisplay(edited) && !(edited == m_display))
        stopThen([this, edited] { m_display = edited; });
    ready();
}

void TMainForm::DoSerialSettingsExecute()
{
    setStatus("Modifying Serial Settings");
    lmx::TSerialSettings edited = m_serial;
    if (m_settingsDialogs->editSerial(edited) && !(edited == m_serial))
        stopThen([this, edited] {
            m_serial = edited;
            lmx::applySerialSettingsToDriver(m_serial, *m_driver);
        });
    ready();
}

void TMainForm::DoScanBusExecute()
{
    if (transmitting() || m_closed)
        return;
    setStatus("Scanning Bus");
    m_transmit->showSerialDebug();
    m_settingsDialogs->scanBus(m_display, *m_exchange, m_general.ExtendedLmx);
    ready();
    updateActions();
}

void TMainForm::DoPacketSizeExecute()
{
    if (!m_general.ExtendedLmx)
        return;
    m_sendReceive->DoPacketSizeExecute();
}

void TMainForm::DoHelpExecute()
{
    setStatus("Showing Help");
    const QString page = QDir(m_services.programFolder).filePath(QString::fromLatin1(kHelpPage));
    if (m_services.openUrl) {
        const QPointer<TMainForm> window(this);
        m_services.openUrl(QUrl::fromLocalFile(page), [window, page] {
            if (window && !window->m_closed)
                window->m_dialogs.message(helpNotShownText(page), QString(),
                                          UserDialogs::Icon::Information);
        });
    }
    ready();
}

void TMainForm::DoAboutExecute()
{
    setStatus("Showing About");
    if (m_services.showAbout)
        m_services.showAbout(this);
    ready();
}

void TMainForm::DoExitProgramExecute()
{
    close();
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    event->accept();
    if (m_closed)
        return;
    m_closed = true;
    m_transmit->shutDown();
    if (!m_files->saveChangesBeforeClose()) {
        m_closed = false;
        m_transmit->cancelShutDown();
        event->ignore();
        return;
    }
    m_general.Window = m_geometry->placementNow();
    const lmx::WriteResult saved = lmx::saveSettings(m_places, m_serial, m_display, m_general);
    if (!saved.ok)
        m_dialogs.detailedWarning(latin1(saved.message), localText(saved.detail));
    if (m_xmitForm)
        m_xmitForm->close();
    m_actions->DoTransmit->setEnabled(false);
}
