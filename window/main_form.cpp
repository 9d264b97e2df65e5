#include "main_form.h"

#include "answer_frame.h"
#include "bus/displays_progress.h"
#include "bus/displays_run.h"
#include "bus/netnr_list.h"
#include "dialogs/parameter_dialogs.h"
#include "edit_routing.h"
#include "editor/action_button.h"
#include "editor/command_box_actions.h"
#include "editor/command_editor.h"
#include "editor/command_file_io.h"
#include "editor/commands_frame.h"
#include "files/command_file_reader.h"
#include "files/command_file_writer.h"
#include "files/settings_file.h"
#include "files/settings_places.h"
#include "files/text_export.h"
#include "general_settings_apply.h"
#include "idle_update.h"
#include "key_repeat_filter.h"
#include "keys/key_actions.h"
#include "led_panel.h"
#include "main_actions.h"
#include "main_status_bar.h"
#include "packets/exchange_recorder.h"
#include "packets/exchange_reports.h"
#include "packets/packets_tab.h"
#include "platform/latin1.h"
#include "platform/user_dialogs.h"
#include "port/comm_port_driver.h"
#include "port/serial_settings_apply.h"
#include "send_receive_frame.h"
#include "settings/settings_dialogs.h"
#include "transmission/packet_exchange.h"
#include "transmission/transmission_engine.h"
#include "widgets/ovel_list_box.h"
#include "xmit_form.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Texts that hold a file name: the name's bytes are those of the file system.
QString localText(const std::string& s)
{
    return QString::fromLocal8Bit(s.data(), static_cast<qsizetype>(s.size()));
}

QString helpNotShownText(const QString& page)
{
    return QStringLiteral("No browser could be started to show the help page.\n"
                          "Open it in a browser of your choice:\n")
            + QDir::toNativeSeparators(page);
}

const char* const kLmxFilter = "ORVANTA TextFiles (*.lmx)";
const char* const kTxtFilter = "ORVANTA TextFiles (*.txt)";
const char* const kCsvFilter = "CSV Files (*.csv)";

} // namespace

TMainForm::TMainForm(MainFormServices services, QWidget* parent)
    : QMainWindow(parent),
      m_services(std::move(services)),
      m_dialogs(*m_services.dialogs),
      m_debugLog(*m_services.wallClock)
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
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
    newFile();
    m_sendReceive->engine().SetPacketSize(TSendReceiveFrame::kStartPacketSize);
    m_tabs->setCurrentWidget(m_hexTab);
    m_tabs->setTabVisible(m_tabs->indexOf(m_debugTab1), false);
    m_tabs->setTabVisible(m_tabs->indexOf(m_debugTab2), false);

    setFixedSize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
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

    auto* top = new QHBoxLayout;
    top->setSpacing(4);
    top->addWidget(m_editorGroup, 3);
    top->addWidget(m_tabs, 2);
    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(4);
    bottom->addWidget(m_sendReceive, 1);
    m_commands->setFixedSize(TCommandsFrame::kWidth, TCommandsFrame::kHeight);
    bottom->addWidget(m_commands, 0, Qt::AlignTop);
    auto* client = new QVBoxLayout(centralWidget());
    client->setContentsMargins(4, 2, 4, 2);
    client->setSpacing(4);
    client->addLayout(top, 1);
    client->addLayout(bottom, 0);

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

    // The window's Edit actions take over the command box's keys for Cut, Copy, Paste and
    // Undo; its pop-up menu keeps its own actions.
    CommandBoxActions& box = m_editor->actions();
    for (QAction* shared : {box.DoCutText, box.DoCopyText, box.DoPasteText, box.DoUndoText})
        m_editor->commandBox()->removeAction(shared);

    connect(m_editor, &CommandEditor::titleChanged, this, &TMainForm::updateTitle);
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
    connectPackets();
    m_displaysRun = new lmx::DisplaysRun(engine, *m_exchange, *m_recorder, this);

    m_idle = new IdleUpdate([this] { updateActions(); }, this);
    for (QMenu* menu : {a.fileMenu(), a.editMenu(), a.settingsMenu(), a.helpMenu()})
        connect(menu, &QMenu::aboutToShow, this, &TMainForm::updateActions);
    m_keyRepeat = new KeyRepeatFilter(this);
}

std::string TMainForm::localPath(const QString& path) const
{
    return QFile::encodeName(path).toStdString();
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
    return m_sendReceive->engine().running() || (m_displaysRun && m_displaysRun->running());
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
    a.DoScanBus->setEnabled(!running && !m_closed);
    const bool stopping = m_sendReceive->engine().stopping()
            || (m_displaysRun && m_displaysRun->stopping());
    a.DoStopTransmission->setEnabled(running && !stopping && !m_closed);
    // Key files have no part in a transmission; they wait until it has ended.
    m_keys->lockKeyList(running);
    a.DoExportTxt->setEnabled(m_editor->box().list().count() > 1);
    a.DoExportPackets->setEnabled(!m_recorder->records().empty());
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

void TMainForm::newFile()
{
    m_editor->box().newFile();
    m_answers->newFile();
    // What a running transmission writes stays, and so does the end of one this New
    // stopped: the receive box says why it ended.
    if (!transmitting() && !m_runningAfterStop) {
        m_sendReceive->ClearReceiveBox();
        m_recorder->clear();
    }
    m_editor->updateActions();
    updateTitle();
}

void TMainForm::DoNewFileExecute()
{
    stopThen([this] {
        setStatus("Creating New File");
        newFile();
        ready();
        updateActions();
    });
}

bool TMainForm::DoImportLmxExecute()
{
    setStatus("Load LMX File");
    UserDialogs::FileRequest request;
    request.title = QStringLiteral("Load File");
    request.filter = QString::fromLatin1(kLmxFilter);
    request.defaultSuffix = QStringLiteral("lmx");
    request.directory = QDir::currentPath();
    const QString path = m_dialogs.openFileName(request);
    bool loaded = false;
    // A transmission goes on while the user chooses; a chosen file ends it.
    if (!path.isEmpty() && transmitting())
        stopThen([this, path] {
            readCommandFile(path);
            updateActions();
        });
    else if (!path.isEmpty())
        loaded = readCommandFile(path);
    ready();
    updateActions();
    return loaded;
}

bool TMainForm::loadCommandFile(const QString& path)
{
    setStatus("Load LMX File");
    const bool loaded = readCommandFile(QFileInfo(path).absoluteFilePath());
    ready();
    updateActions();
    return loaded;
}

bool TMainForm::readCommandFile(const QString& path)
{
    newFile();
    if (m_general.ClearKeys)
        m_keys->ClearKeyList();
    const lmx::CommandFileReadResult file = ::loadCommandFile(
            localPath(path), m_keys->keySet(), m_editor->box(), m_answers->editor());
    bool loaded = false;
    if (file.ok()) {
        m_answers->refresh();
        m_editor->box().setFileName(localPath(path));
        m_editor->box().SetChanged(false);
        loaded = true;
    } else {
        m_dialogs.error(localText(file.message));
        newFile();
    }
    m_keys->update();
    return loaded;
}

bool TMainForm::blocksBalanceOrSaveAnyway()
{
    const int line = unbalancedBlockLine(m_editor->box());
    return line == 0
        || m_dialogs.askYesNo(QStringLiteral("The blocks of this list do not balance (line %1). "
                                             "A file like this cannot be loaded again. "
                                             "Save anyway ?").arg(line),
                              QString(), UserDialogs::Icon::Warning)
            == UserDialogs::Answer::Yes;
}

bool TMainForm::DoExportLmxExecute()
{
    return saveCommandFile(true);
}

bool TMainForm::saveCommandFile(bool checkBlocks)
{
    setStatus("Save to LMX File");
    if (checkBlocks && !blocksBalanceOrSaveAnyway()) {
        ready();
        return false;
    }
    UserDialogs::FileRequest request;
    request.title = QStringLiteral("Save File");
    request.filter = QString::fromLatin1(kLmxFilter);
    request.defaultSuffix = QStringLiteral("lmx");
    request.confirmOverwrite = m_general.CheckFileReplace;
    const QString path = m_dialogs.saveFileName(request);
    bool saved = false;
    if (!path.isEmpty()) {
        const AnswerBoxEditor& answers = m_answers->editor();
        const lmx::WriteResult result = lmx::writeCommandFile(
                localPath(path), commandFileLines(m_editor->box()),
                answers.holdsMoreThanEndMarker() ? answers.templateTexts()
                                                 : std::vector<std::string>{},
                m_general.SaveKeys);
        if (result.ok) {
            m_editor->box().setFileName(localPath(path));
            m_editor->box().SetChanged(false);
            saved = true;
        } else {
            // The list keeps its name and stays marked as changed.
            m_dialogs.detailedWarning(localText(result.message), localText(result.detail));
        }
    }
    ready();
    updateActions();
    return saved;
}

void TMainForm::DoExportTxtExecute()
{
    if (m_editor->box().list().count() <= 1)
        return;
    setStatus("Export to TXT File");
    UserDialogs::FileRequest request;
    request.title = QStringLiteral("ORVANTA Export to txt file");
    request.filter = QString::fromLatin1(kTxtFilter);
    request.defaultSuffix = QStringLiteral("TXT");
    request.directory = QDir::currentPath();
    request.confirmOverwrite = m_general.CheckFileReplace;
    const QString path = m_dialogs.saveFileName(request);
    if (!path.isEmpty()) {
        const lmx::WriteResult result = lmx::writeTextExport(
                localPath(path), exportLists(m_editor->box(), m_answers->editor(),
                                             m_sendReceive->receiveLines()));
        if (!result.ok)
            m_dialogs.detailedWarning(localText(result.message), localText(result.detail));
    }
    ready();
}

void TMainForm::prepareTransmit()
{
    if (m_general.ShowSerialDebug) {
        m_xmitForm->show();
        m_xmitForm->raise();
    }
    lmx::TransmissionEngine& engine = m_sendReceive->engine();
    engine.SetDebugFile(m_general.DebugFile);
    engine.SetCreateDebugFile(m_general.CreateDebugFile);
    if (m_general.DebugFile)
        lmx::prepareLogFolder(m_places); // a failure shows as the log's own
}

void TMainForm::DoTransmitExecute()
{
    lmx::TransmissionEngine& engine = m_sendReceive->engine();
    if (transmitting() || m_closed)
        return;
    prepareTransmit();
    const std::vector<std::string> lines = transmitLines(m_editor->box());
    m_transmitted = lines;
    if (m_general.ExtendedLmx)
        engine.TransmitExtended(lines, m_display.NetNr);
    else
        engine.TransmitNormal(lines, m_display.NetNr);
    if (m_closed)
        return;
    runAfterStop();
    updateActions();
}

void TMainForm::DoStopTransmissionExecute()
{
    // A run to many displays ends as a whole, also between two displays.
    if (m_displaysRun->running())
        m_displaysRun->requestStop();
    else
        m_sendReceive->engine().requestStopAfterExchange();
    updateActions();
}

void TMainForm::stopThen(std::function<void()> job)
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
    DoStopTransmissionExecute();
}

void TMainForm::runAfterStop()
{
    std::vector<std::function<void()>> jobs;
    jobs.swap(m_afterStop);
    m_runningAfterStop = !jobs.empty();
    for (const std::function<void()>& job : jobs)
        if (!m_closed)
            job();
    m_runningAfterStop = false;
}

void TMainForm::DoTransmitToDisplaysExecute()
{
    if (transmitting() || m_closed)
        return;
    if (!m_settingsDialogs->editDisplayList(m_display))
        return;
    const lmx::NetNrList list = lmx::parseNetNrList(m_display.NetNrList);
    if (!list.ok()) {
        m_dialogs.warning(latin1("No displays to transmit to: " + list.error + "."));
        return;
    }
    prepareTransmit();
    const std::vector<std::string> lines = transmitLines(m_editor->box());
    m_transmitted = lines;
    if (m_displaysProgress)
        m_displaysProgress->close();
    auto* progress = new lmx::DisplaysProgress(*m_displaysRun, this);
    progress->setAttribute(Qt::WA_DeleteOnClose);
    m_displaysProgress = progress;
    // Over the command buttons, which are of no use meanwhile, leaving the boxes and the
    // Packets tab in sight.
    progress->adjustSize();
    progress->move(mapToGlobal(QPoint(width() - progress->width() - 8,
                                      height() - progress->height() - statusBar()->height() - 8)));
    progress->show();
    // One receive box for all displays: each transmission would empty it.
    m_sendReceive->ClearReceiveBox();
    m_sendReceive->receiveLog().setKeepLines(true);
    // A display that answers badly must not hold up the others behind a message box; the
    // receive box and the summary tell every failure. One debug log holds the whole run.
    lmx::TransmissionEngine& engine = m_sendReceive->engine();
    engine.SetAnswerErrorBoxes(false);
    const QMetaObject::Connection oneLog =
            connect(m_displaysRun, &lmx::DisplaysRun::displayStarted, this, [&engine](int i) {
                if (i > 0)
                    engine.SetCreateDebugFile(false);
            });
    m_displaysRun->run(lines, list.numbers, m_general.ExtendedLmx);
    disconnect(oneLog);
    engine.SetAnswerErrorBoxes(true);
    m_sendReceive->receiveLog().setKeepLines(false);
    if (m_closed)
        return;
    runAfterStop();
    if (m_displaysProgress)
        m_displaysProgress->showResults();
    m_tabs->setCurrentWidget(m_packetsTab);
    updateActions();
}

void TMainForm::DoExportPacketsExecute()
{
    if (m_recorder->records().empty())
        return;
    setStatus("Export Packets to CSV File");
    UserDialogs::FileRequest request;
    request.title = QStringLiteral("Export Packets");
    request.filter = QString::fromLatin1(kCsvFilter);
    request.defaultSuffix = QStringLiteral("csv");
    request.directory = QDir::currentPath();
    request.confirmOverwrite = m_general.CheckFileReplace;
    const QString path = m_dialogs.saveFileName(request);
    if (!path.isEmpty()) {
        const lmx::WriteResult result =
                lmx::writeReportFile(localPath(path), lmx::packetsCsv(m_recorder->records()));
        if (!result.ok)
            m_dialogs.warning(localText(result.message));
    }
    ready();
}

void TMainForm::connectPackets()
{
    m_sendReceive->engine().setPacketObserver(m_recorder);
    connect(m_recorder, &lmx::ExchangeRecorder::started, this, &TMainForm::showProgress);
    connect(m_recorder, &lmx::ExchangeRecorder::packetStarted, this, &TMainForm::showProgress);
    connect(m_recorder, &lmx::ExchangeRecorder::recordChanged, this, &TMainForm::showProgress);
    connect(m_recorder, &lmx::ExchangeRecorder::finished, m_statusBar,
            &TMainStatusBar::endProgress);
    // A row selects the lines its packet carried, as long as the list is the one sent.
    connect(m_packetsTab, &PacketsTab::linesSelected, this, [this](const std::vector<int>& rows) {
        if (transmitLines(m_editor->box()) == m_transmitted)
            m_editor->selectLines(rows);
    });
}

void TMainForm::showProgress()
{
    const lmx::ExchangeRecorder::Progress p = m_recorder->progress();
    // A run to many displays counts all of them from the start.
    const int planned = m_displaysRun && m_displaysRun->running()
            ? std::max(p.planned, m_displaysRun->plannedPackets())
            : p.planned;
    m_statusBar->showProgress(p.packet, planned, p.failures);
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
    if (m_general.ShowSerialDebug) {
        m_xmitForm->show();
        m_xmitForm->raise();
    }
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
    // A transmission ends at once, and a run to many displays with it; its Transmit call
    // returns once this handler is done. The actions that waited for its stop are dropped
    // with the window.
    m_displaysRun->requestStop();
    m_afterStop.clear();
    m_sendReceive->engine().requestStop();
    setStatus("Save Changes ?");
    CommandBox& box = m_editor->box();
    if (box.Changed()) {
        const QString question = QStringLiteral("File ") + localText(box.fileName())
                + QStringLiteral(" has changed.\n\rSave changes ?");
        if (m_dialogs.askYesNo(question, QString(), UserDialogs::Icon::Question)
            == UserDialogs::Answer::Yes) {
            // A list that would not load again is not saved, and not lost either: the window
            // stays open with it.
            if (!blocksBalanceOrSaveAnyway()) {
                m_closed = false;
                event->ignore();
                ready();
                return;
            }
            saveCommandFile(false);
        }
        setStatus("Save Changes ?");
    }
    const lmx::WriteResult saved = lmx::saveSettings(m_places, m_serial, m_display, m_general);
    if (!saved.ok)
        m_dialogs.detailedWarning(latin1(saved.message), localText(saved.detail));
    if (m_xmitForm)
        m_xmitForm->close();
    m_actions->DoTransmit->setEnabled(false);
}
