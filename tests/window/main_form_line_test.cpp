// Transmit from the window through the real driver and exchange to the virtual display on a
// pseudo-terminal: the receive box, the answer templates, the LEDs, the serial debug window
// and the debug log, Transmit refused while one runs, and closing in every state.
#include "main_form_support.h"
#include "tests/widgets/list_box_support.h"

#include "bus/displays_progress.h"
#include "frames/led_panel.h"
#include "frames/main_status_bar.h"
#include "frames/receive_log_model.h"
#include "frames/xmit_form.h"
#include "keys/key_actions.h"
#include "packets/capture_file.h"
#include "packets/exchange_recorder.h"
#include "packets/exchange_reports.h"
#include "packets/packets_tab.h"
#include "packets/statistics_view.h"
#include "sim/sim_server.h"
#include "transmission/packet_exchange.h"
#include "window/transmit_actions.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QTableView>
#include <QTextBrowser>
#include <QTest>
#include <QTimer>

using namespace mainformtest;

namespace {

struct LineRig : WindowRig {
    lmx::sim::SimServer server;

    explicit LineRig(lmx::sim::SimOptions options = {}) : server(std::move(options)) {}

    // Started on the virtual display's line with this list loaded.
    TMainForm& startOnLine(const std::string& list, lmx::TGeneralSettings general = {})
    {
        lmx::TSerialSettings serial;
        serial.PortName = server.start();
        EXPECT_FALSE(serial.PortName.empty()) << server.errorText();
        writeSettings(serial, lmx::TDisplaySettings(), general);
        start();
        EXPECT_TRUE(load(list));
        return *window;
    }
    const std::vector<std::string>& received() { return window->sendReceiveFrame().receiveLines(); }
    bool endsWith(const char* text)
    {
        return !received().empty() && QByteArray::fromStdString(received().back()).endsWith(text);
    }
};

} // namespace

TEST(MainFormLine, F6TransmitsTheListFillsTheBoxesAndLightsTheLedsAndTheDebugViewsWhenOn)
{
    LineRig rig;
    TMainForm& w = rig.startOnLine("'Hello'\r\nESC $A6 '2'\r\n\r\nANSWER:\r\nV=@@@@@@@\r\n");
    w.sendReceiveFrame().receiveLog().addLine("an old line");

    TLedPanel* leds = w.mainStatusBar().ledPanel();
    bool receiveLit = false, transmitLit = false;
    QObject::connect(&w.exchange(), &lmx::PacketExchange::trafficActivity, leds, [&](int led) {
        receiveLit |= led == 1 && leds->leds().lit(TrafficLeds::kReceiveLed);
        transmitLit |= led == 2 && leds->leds().lit(TrafficLeds::kTransmitLed);
    });
    QTest::keyClick(&w, Qt::Key_F6);

    ASSERT_TRUE(rig.server.waitForPackets(1, 3000));
    EXPECT_EQ(rig.server.packets()[0].data, "Hello\x1B\xA6" "2");
    const std::vector<std::string>& lines = rig.received();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines.front(), "NetNr: 1 14:02:07:315 Transmitted Packet Number: 0");
    EXPECT_TRUE(rig.endsWith(" Transmission finished.")) << lines.back();
    EXPECT_EQ(rig.answerTexts(), (std::vector<std::string>{"V=Orvanta", "<End>"}));
    EXPECT_EQ(rig.dialogs.steps().size(), 1) << rig.dialogs.lastText().toStdString(); // the load
    EXPECT_TRUE(receiveLit);
    EXPECT_TRUE(transmitLit);
    // Both go dark again without more traffic.
    EXPECT_TRUE(waitUntil([&] {
        return !leds->leds().lit(TrafficLeds::kReceiveLed)
            && !leds->leds().lit(TrafficLeds::kTransmitLed);
    }, 2000));
    EXPECT_TRUE(rig.actions().DoTransmit->isEnabled());
    EXPECT_FALSE(w.xmitForm().isVisible());

    // Switched on, the serial debug window shows the next transmission and the debug log
    // holds it.
    lmx::TGeneralSettings& debug = rig.settings->nextGeneral.emplace(w.generalSettings());
    debug.ShowSerialDebug = debug.DebugFile = true;
    w.DoGeneralSettingsExecute();
    rig.actions().DoTransmit->trigger();
    EXPECT_TRUE(rig.endsWith(" Transmission finished."));
    EXPECT_TRUE(w.xmitForm().isVisible());
    EXPECT_GT(w.xmitForm().transmitHexList()->count(), 0);
    EXPECT_GT(w.xmitForm().receiveHexList()->count(), 0);
    const std::string log = WindowRig::readFile(rig.path("Log/Debug.log"));
    EXPECT_EQ(log.substr(0, log.find("\r\n")), "24:03:31 14:02:07:315 Debug File Created: ") << log;
    EXPECT_NE(log.find("Transmitted: "), std::string::npos);
    EXPECT_NE(log.find("Recieved: "), std::string::npos);

    // New clears the receive box.
    w.DoNewFileExecute();
    EXPECT_TRUE(rig.received().empty());
}

TEST(MainFormLine, NormalFramingWhenExtendedLmxIsOff)
{
    lmx::sim::SimOptions normal;
    normal.normalFraming = true;
    LineRig rig(normal);
    lmx::TGeneralSettings general;
    general.ExtendedLmx = false;
    rig.startOnLine("SOT '01'\r\n'Hi'\r\nEOT\r\n", general);
    rig.actions().DoTransmit->trigger();
    ASSERT_FALSE(rig.received().empty());
    EXPECT_NE(rig.received().back().find(" Answer Normal LMX: "), std::string::npos)
            << rig.received().back();
}

// Closing stops whatever runs and the close query runs as usual; the window then goes. The
// sanitizer builds catch a part that goes before another one that still uses it.
TEST(MainFormLine, ClosingStopsWhatRunsAndTheWindowGoesInEveryState)
{
    enum class When { Idle, AwaitingAnswer, Waiting, MessageOpen, SettingsOpen };
    for (When when : {When::Idle, When::AwaitingAnswer, When::Waiting, When::MessageOpen,
                      When::SettingsOpen}) {
        SCOPED_TRACE(static_cast<int>(when));
        LineRig rig;
        // Network number 5 never answers; the NPACK waits 9 s between two series.
        TMainForm& w = rig.startOnLine(when == When::Waiting
                                               ? "'one'\r\nNPACK '09000'\r\n'two'\r\n"
                                               : "SOT '05'\r\n'x'\r\nEOT\r\n");
        const auto closeNow = [&] {
            w.close();
            return QString();
        };
        const auto closeSoon = [&] { QTimer::singleShot(0, &w, [&] { w.close(); }); };
        switch (when) {
        case When::Idle:
            w.close();
            break;
        case When::AwaitingAnswer:
            QObject::connect(&w.exchange(), &lmx::PacketExchange::trafficActivity, &w, closeSoon);
            w.DoTransmitExecute();
            break;
        case When::Waiting:
            QObject::connect(&w.sendReceiveFrame().receiveLog(), &ReceiveLogModel::lineAdded, &w,
                             [&](int row) {
                                 if (row != 1) // the first answer has been logged
                                     return;
                                 EXPECT_FALSE(rig.actions().DoTransmit->isEnabled());
                                 rig.actions().DoTransmit->trigger(); // refused: no line
                                 EXPECT_EQ(rig.received().size(), 2u);
                                 closeSoon();
                             });
            w.DoTransmitExecute();
            EXPECT_EQ(rig.server.packets().size(), 1u);
            break;
        case When::MessageOpen: // the error message of the missing answer
            rig.dialogs.status = closeNow;
            w.DoTransmitExecute();
            break;
        case When::SettingsOpen:
            rig.settings->status = closeNow;
            w.DoGeneralSettingsExecute();
            break;
        }
        EXPECT_FALSE(w.transmitting());
        EXPECT_FALSE(w.isVisible());
        EXPECT_FALSE(rig.endsWith(" Transmission finished."));
        EXPECT_TRUE(QFile::exists(rig.settingsPath()));
        rig.window.reset();
    }
}

TEST(MainFormLine, ThePacketsTabFollowsTheTransmissionAndShowsAFailedExchange)
{
    lmx::sim::SimOptions badCrc;
    badCrc.fault = lmx::sim::FaultKind::BadCrc;
    badCrc.faultEvery = 2;
    LineRig rig(badCrc);
    // Two packets in the first series, the second answered with a bad CRC: "three" stays unsent.
    TMainForm& w =
            rig.startOnLine("'one'\r\nFPACK '00000'\r\n'two'\r\nNPACK '00000'\r\n'three'\r\n");
    PacketsTab& tab = w.packetsTab();
    QStringList progress;
    QObject::connect(&w.recorder(), &lmx::ExchangeRecorder::recordChanged, &w, [&] {
        progress << w.statusText() + " / " + w.mainStatusBar().failuresPanel()->text();
    });
    rig.actions().DoTransmit->trigger();

    EXPECT_EQ(progress, (QStringList{"Packet 1 of 3 / 0 failures", "Packet 2 of 3 / 1 failure"}));
    EXPECT_EQ(w.statusText(), "Ready...");
    EXPECT_FALSE(w.mainStatusBar().progressShown());
    ASSERT_EQ(tab.model().rowCount(), 2);
    EXPECT_EQ(tab.model().index(1, int(lmx::ExchangeColumn::Answer)).data().toString(), "Invalid answer CRC at CRC");
    EXPECT_EQ(tab.model().index(1, int(lmx::ExchangeColumn::Packet)).data().toString(), "0x81 \u00B7 last \u00B7 1");
    EXPECT_TRUE(tab.summaryTable()->isVisibleTo(&tab));
    EXPECT_EQ(tab.summaryTable()->model()->index(0, int(lmx::SummaryColumn::LastFailure)).data().toString(),
              "Invalid answer CRC at CRC");

    // The failed row: its fields below the table, its line in the command box.
    tab.selectRecord(1);
    const QString detail = tab.detailView()->toPlainText();
    EXPECT_TRUE(detail.contains("bad, computed ")) << detail.toStdString();
    EXPECT_TRUE(detail.contains("0x81 \u00B7 last \u00B7 1")) << detail.toStdString();
    EXPECT_EQ(rig.box().list().selectedRange(), std::make_pair(2, 2));
    tab.failuresOnlyBox()->setChecked(true);
    EXPECT_EQ(tab.packetTable()->model()->rowCount(), 1);

    rig.dialogs.setNextFileName(rig.path("packets.csv"));
    w.DoExportPacketsExecute();
    const QStringList csv = QString::fromStdString(WindowRig::readFile(rig.path("packets.csv"))).split("\r\n");
    ASSERT_EQ(csv.size(), 4) << csv.join('|').toStdString();
    EXPECT_TRUE(csv[0].startsWith("ms,NetNr,Packet,Length,Answer,Result,Param,RTT ms,Sent,Received"));
    EXPECT_TRUE(csv[2].contains(",0x81 / last / 1,3,Invalid answer CRC at CRC,")) << csv[2].toStdString();
}

TEST(MainFormLine, TransmitToDisplaysGoesOnPastASilentDisplayAndStopEndsTheWholeRun)
{
    lmx::sim::SimOptions two;
    two.netNrs = {1, 3};
    LineRig rig(two);
    TMainForm& w = rig.startOnLine("'Hello'\r\n");
    rig.settings->nextList = "1-3";
    QTest::keyClick(&w, Qt::Key_F6, Qt::ShiftModifier);

    // No message box held the run up at the silent display: only the load's step.
    EXPECT_EQ(rig.dialogs.steps().size(), 1) << rig.dialogs.lastText().toStdString();
    EXPECT_EQ(rig.server.packets().size(), 3u);
    ASSERT_NE(w.displaysProgress(), nullptr);
    const auto results = [&] {
        return listboxtest::rowTexts(w.displaysProgress()->ResultList()->model());
    };
    EXPECT_EQ(results(), (QStringList{"NetNr 1: OK (1 packet, 0 failed)",
                                      "NetNr 2: failed: no answer (1 packet, 1 failed)",
                                      "NetNr 3: OK (1 packet, 0 failed)"}));
    EXPECT_EQ(w.displaysProgress()->StatusLabel()->text(), "2 of 3 displays OK");
    QAbstractItemModel* summary = w.packetsTab().summaryTable()->model();
    ASSERT_EQ(summary->rowCount(), 3);
    EXPECT_EQ(summary->index(1, int(lmx::SummaryColumn::LastFailure)).data().toString(), "no answer");
    // One receive box for the three transmissions; the failure is told there.
    int ends = 0;
    for (const std::string& line : rig.received())
        ends += line.find(" Transmission ") != std::string::npos;
    EXPECT_EQ(ends, 3);
    EXPECT_TRUE(rig.endsWith(" Transmission finished."));
    EXPECT_TRUE(rig.actions().DoTransmit->isEnabled());

    // Esc during a run ends the whole run after the exchange in progress. The silent display's
    // wait is long enough that a loaded machine still presses Esc within it.
    w.exchange().SetAnswerTimeout(1000);
    rig.settings->nextList = "2-3";
    QObject::connect(&w.sendReceiveFrame().receiveLog(), &ReceiveLogModel::lineAdded, &w, [&](int row) {
        if (row == 0)
            QTimer::singleShot(0, &w, [&] { QTest::keyClick(&w, Qt::Key_Escape); });
    });
    QApplication::setActiveWindow(&w); // the first run's progress window came to the front
    QTest::keyClick(&w, Qt::Key_F6, Qt::ShiftModifier);
    EXPECT_EQ(rig.server.packets().size(), 4u);
    ASSERT_NE(w.displaysProgress(), nullptr);
    const QStringList stopped = results();
    ASSERT_EQ(stopped.size(), 2);
    EXPECT_TRUE(stopped[0].startsWith("NetNr 2: stopped")) << stopped[0].toStdString();
    EXPECT_EQ(stopped[1], "NetNr 3: not reached");
    EXPECT_TRUE(rig.endsWith(" Transmission stopped."));
    EXPECT_TRUE(rig.actions().DoTransmit->isEnabled());
    // The list is kept for the next time and in the settings file.
    rig.close();
    EXPECT_NE(WindowRig::readFile(rig.settingsPath()).find("NetNrList = '2-3'"), std::string::npos);
}

// While a transmission to a silent display runs, an action that would throw the list away or
// change what the transmission uses stops it after the exchange in progress and then does its
// work, or is unavailable until it ends: nothing more reaches the display, the receive box keeps
// every line of the transmission, and the window goes on working.
TEST(MainFormLine, ActionsDuringATransmissionStopItFirstOrWaitForIt)
{
    enum class Act { Stop, New, Load, Clear, Serial, Display, General, Keys };
    for (Act act : {Act::Stop, Act::New, Act::Load, Act::Clear, Act::Serial, Act::Display, Act::General,
                    Act::Keys}) {
        SCOPED_TRACE(static_cast<int>(act));
        lmx::sim::SimOptions silent;
        silent.fault = lmx::sim::FaultKind::NoAnswer;
        LineRig rig(silent);
        TMainForm& w = rig.startOnLine("SOT '01'\r\n'a'\r\nEOT\r\nSOT '01'\r\n'b'\r\nEOT\r\n"
                                       "SOT '01'\r\n'c'\r\nEOT\r\nSOT '01'\r\n'd'\r\nEOT\r\n");
        w.exchange().SetAnswerTimeout(100);
        WindowRig::writeFile(rig.path("other.lmx"), "'other'\r\n");
        // Acts in the transmission's own event loop while the second packet awaits its answer;
        // at every other line the key files must be locked while it runs.
        QObject::connect(&w.sendReceiveFrame().receiveLog(), &ReceiveLogModel::lineAdded, &w, [&](int row) {
            QTimer::singleShot(0, &w, [&, row] {
                FakeSettingsDialogs& s = *rig.settings;
                switch (row == 2 ? act : Act::Keys) {
                case Act::Stop: QTest::keyClick(&w, Qt::Key_Escape); break;
                case Act::New: QTest::keyClick(&w, Qt::Key_N, Qt::ControlModifier); break;
                case Act::Load: rig.dialogs.setNextFileName(rig.path("other.lmx")); w.DoImportLmxExecute(); break;
                case Act::Clear:
                    rig.dialogs.setNextAnswer(UserDialogs::Answer::Yes);
                    w.editor().actions().DoCommandBoxClear->trigger();
                    break;
                case Act::Serial: (s.nextSerial = w.serialSettings())->Baudrate = "9600"; w.DoSerialSettingsExecute(); break;
                case Act::Display: s.nextDisplay.emplace().NetNr = 7; w.DoDisplaySettingsExecute(); break;
                case Act::General: s.nextGeneral.emplace().SaveKeys = false; w.DoGeneralSettingsExecute(); break;
                case Act::Keys: EXPECT_TRUE(!w.transmitting() || !w.keyActions().DoLoadKeys->isEnabled()); break;
                }
            });
        });
        w.DoTransmitExecute();

        const size_t sent = act == Act::Keys ? 4u : 2u; // a locked action lets it run to its end
        EXPECT_TRUE(rig.server.waitForPackets(sent, 3000));
        runPending();
        EXPECT_EQ(rig.server.packets().size(), sent);
        EXPECT_EQ(rig.received().size(), 2 * sent + 1);
        EXPECT_TRUE(rig.endsWith(act == Act::Keys ? " Transmission aborted." : " Transmission stopped."));
        switch (act) {
        case Act::New: case Act::Clear: EXPECT_EQ(rig.displayTexts().size(), 1u); break;
        case Act::Load: EXPECT_EQ(rig.displayTexts().front(), "'other'"); break;
        case Act::Serial: EXPECT_EQ(w.serialSettings().Baudrate, "9600"); break;
        case Act::Display: EXPECT_EQ(w.displaySettings().NetNr, 7); break;
        case Act::General: EXPECT_FALSE(w.generalSettings().SaveKeys); break;
        default: EXPECT_EQ(rig.displayTexts().size(), 13u); break;
        }
        EXPECT_TRUE(rig.actions().DoTransmit->isEnabled());
        EXPECT_FALSE(rig.actions().DoStopTransmission->isEnabled());
        EXPECT_TRUE(w.keyActions().DoLoadKeys->isEnabled());
    }
}

TEST(MainFormLine, SaveCaptureWritesTheRecordsThePacketsTabShows)
{
    LineRig rig;
    TMainForm& w = rig.startOnLine("'Hello'\r\n");
    w.updateActions();
    EXPECT_FALSE(rig.actions().DoSaveCapture->isEnabled()) << "nothing transmitted yet";
    rig.actions().DoTransmit->trigger();
    rig.dialogs.setNextFileName(rig.path("last.pcapng"));
    rig.actions().DoSaveCapture->trigger();
    EXPECT_EQ(rig.dialogs.steps().last().request.defaultSuffix, "pcapng");
    EXPECT_EQ(WindowRig::readFile(rig.path("last.pcapng")),
              lmx::captureBytes(w.recorder().records(), lmx::captureApplication("orvanta"),
                                lmx::capturePortOf(w.serialSettings())));
}

TEST(MainFormLine, EveryTransmissionGoesToACaptureFileOfItsOwnInTheCaptureFolder)
{
    LineRig rig;
    QTemporaryDir captures;
    lmx::TGeneralSettings general;
    general.CaptureFolder = captures.path().toStdString();
    TMainForm& w = rig.startOnLine("'Hello'\r\n", general);
    for (const char* name : {"orvanta-20240331-140207-315.pcapng", "orvanta-20240331-140207-315-2.pcapng"}) {
        rig.actions().DoTransmit->trigger(); // the window's clock stands still
        EXPECT_EQ(WindowRig::readFile(captures.filePath(name)),
                  lmx::captureBytes(w.recorder().records(), lmx::captureApplication("orvanta"),
                                    lmx::capturePortOf(w.serialSettings())));
    }
}

namespace {

// A display that spoils the CRC of every n-th answer.
lmx::sim::SimOptions spoilingEvery(int n)
{
    lmx::sim::SimOptions o;
    o.fault = lmx::sim::FaultKind::BadCrc;
    o.faultEvery = n;
    return o;
}

// Twenty one-packet display blocks, answer boxes off; the display spoils every fifth answer.
struct QuietRun {
    LineRig rig{spoilingEvery(5)};
    TMainForm* w = nullptr;

    QuietRun()
    {
        std::string list;
        for (int i = 0; i < 20; ++i)
            list += "SOT '01'\r\n'line " + std::to_string(i) + "'\r\nEOT\r\n";
        lmx::TGeneralSettings quiet;
        quiet.ShowAnswerBoxes = false;
        w = &rig.startOnLine(list, quiet);
        rig.dialogs.clear();
        rig.actions().DoTransmit->trigger();
    }
};

} // namespace

TEST(MainFormLine, WithAnswerBoxesOffAFailingRunGoesToItsEndWithoutABox)
{
    QuietRun run;
    EXPECT_TRUE(run.rig.dialogs.steps().isEmpty()) << run.rig.dialogs.lastText().toStdString();
    EXPECT_EQ(run.rig.server.packets().size(), 20u);
    EXPECT_EQ(run.w->recorder().summary().failed, 4);
}

TEST(MainFormLine, FailuresStayFlaggedInTheStatusBarAndAClickListsThem)
{
    QuietRun run;
    TMainStatusBar& bar = run.w->mainStatusBar();
    EXPECT_TRUE(bar.failuresFlagged());
    EXPECT_EQ(bar.failuresPanel()->text(), "4 failures");
    QTest::mouseClick(bar.failuresPanel(), Qt::LeftButton);
    EXPECT_EQ(run.w->PageControl()->currentWidget(), &run.w->packetsTab());
    EXPECT_EQ(run.w->packetsTab().packetTable()->model()->rowCount(), 4);

}

namespace {

// Repeat runs of a list of three blocks to a display that spoils every 4th answer, with
// the answer boxes on: they must not open during repeat runs.
struct RepeatRig {
    LineRig rig{spoilingEvery(4)};
    TMainForm* w = nullptr;

    RepeatRig()
    {
        w = &rig.startOnLine("SOT '01'\r\n'a'\r\nEOT\r\nSOT '01'\r\n'b'\r\nEOT\r\nSOT '01'\r\n'c'\r\nEOT\r\n");
        rig.dialogs.clear();
    }
    void repeat(int runs, int intervalMs = 0)
    {
        lmx::RepeatRequest& r = rig.settings->nextRepeat.emplace();
        r.plan.runs = runs;
        r.plan.intervalMs = intervalMs;
        rig.actions().DoRepeatTransmission->trigger();
    }
};

} // namespace

TEST(MainFormRepeat, FailedAnswersAreCountedWithoutAMessageBox)
{
    RepeatRig r;
    r.repeat(8);
    EXPECT_TRUE(r.rig.dialogs.steps().isEmpty()) << r.rig.dialogs.lastText().toStdString();
    StatisticsView& view = r.w->statisticsView();
    EXPECT_EQ(r.w->PageControl()->currentWidget(), &view);
    EXPECT_EQ(view.figure("Runs"), "8");
    // Every 4th of 24 answers: runs 2, 3, 4, 6, 7 and 8 meet one.
    EXPECT_EQ(view.figure("Failed packets"), "6");
    EXPECT_EQ(view.figure("Failed runs"), "6");
    EXPECT_EQ(r.w->statusText(), "6 failure(s) in 8 run(s)");
    TMainStatusBar& bar = r.w->mainStatusBar();
    EXPECT_TRUE(bar.failuresFlagged());
    QTest::mouseClick(bar.failuresPanel(), Qt::LeftButton);
    EXPECT_EQ(r.w->PageControl()->currentWidget(), &view);
}

TEST(MainFormRepeat, ThePacketsTabHoldsTheLastRunOnly)
{
    RepeatRig r;
    r.repeat(5);
    EXPECT_EQ(r.rig.server.packets().size(), 15u);
    runPending();
    EXPECT_EQ(r.w->packetsTab().packetTable()->model()->rowCount(), 3);
    // The receive box keeps the lines of every run.
    EXPECT_EQ(std::count_if(r.rig.received().begin(), r.rig.received().end(),
                            [](const std::string& l) { return l.find("Transmitted") != std::string::npos; }),
              15);
}

TEST(MainFormRepeat, StopEndsTheRunsBetweenTwoOfThem)
{
    RepeatRig r;
    int runs = 0;
    QObject::connect(&r.w->transmitActions().repeatRun(), &lmx::RepeatRun::runEnded, r.w, [&](int run) {
        runs = run;
        EXPECT_FALSE(r.rig.actions().DoRepeatTransmission->isEnabled());
        if (run == 2)
            QTimer::singleShot(50, r.w, [&] { QTest::keyClick(r.w, Qt::Key_Escape); });
    });
    r.repeat(0, 400); // until stopped; the stop comes while it waits for run 3
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(r.w->statisticsView().figure("Runs"), "2");
    EXPECT_TRUE(r.w->transmitActions().repeatRun().statistics().interrupted());
    EXPECT_TRUE(r.rig.actions().DoRepeatTransmission->isEnabled());
    EXPECT_TRUE(r.rig.actions().DoTransmit->isEnabled());
}
