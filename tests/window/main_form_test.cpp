// The main window offscreen: start-up and the settings file, menus and tool bar, the file
// actions, the settings dialogs and their apply step, Help and About, the close query, and
// the place of the command buttons and keys.
#include "main_form_support.h"

#include "editor/action_button.h"
#include "editor/commands_frame.h"
#include "frames/main_status_bar.h"
#include "frames/xmit_form.h"
#include "keys/key_actions.h"
#include "port/comm_port_driver.h"
#include "protocol/vocabulary.h"
#include "transmission/packet_exchange.h"
#include "transmission/transmission_engine.h"
#include "window/qt_user_dialogs.h"

#include <QDir>
#include <QGroupBox>
#include <QMessageBox>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>

using namespace mainformtest;

namespace {

const char kSample[] = "; a sample list\r\n"
                       "SOT '01'\r\n"
                       " 'Hello'\r\n"
                       " KEY 'F1' ESC $A0 '1'\r\n"
                       "EOT\r\n"
                       "\r\n"
                       "ANSWER:\r\n"
                       "V=@@@@\r\n";

using MainForm = QuietWindow;

} // namespace

TEST(MainFormStart, StartsWithANewListAndTheHexTabAndWarnsOnceWithoutSettingsFileThenWritesIt)
{
    WindowRig rig;
    TMainForm& w = rig.start();

    EXPECT_EQ(w.windowTitle(), "NEWFILE.LMX  Orvanta");
    EXPECT_EQ(rig.dialogs.texts(),
              QStringList{"Failed to open settings file.\n\rUsing Default Settings."});
    EXPECT_EQ(rig.displayTexts(), std::vector<std::string>{"<End>"});
    EXPECT_EQ(rig.answerTexts(), std::vector<std::string>{"<End>"});
    EXPECT_TRUE(w.sendReceiveFrame().receiveLines().empty());

    // The hex tab in front; the two debug tabs and the serial debug window only with
    // ShowSerialDebug.
    QTabWidget* tabs = w.PageControl();
    EXPECT_EQ(tabs->currentWidget(), w.HexDataTab());
    EXPECT_TRUE(tabs->isTabVisible(2) && !tabs->isTabVisible(3) && !tabs->isTabVisible(4));
    EXPECT_FALSE(w.xmitForm().isVisible());

    // Closing writes the first start's defaults: the 24-line file.
    rig.close();
    EXPECT_EQ(WindowRig::readFile(rig.settingsPath()), lmx::settingsFileText({}, {}, {}));
    EXPECT_EQ(rig.dialogs.unexpected(), 0);
}

TEST(MainFormStart, ClosingWritesTheSettingsFileOnceWithWhatWasApplied)
{
    // A file with a DataBits the port cannot take reads, and the apply step writes 3 back.
    WindowRig rig;
    lmx::TSerialSettings serial;
    serial.PortName = "/dev/ttyUSB3";
    serial.DataBits = 2;
    lmx::TDisplaySettings display;
    display.NetNr = 7;
    rig.writeSettings(serial, display, {});
    TMainForm& w = rig.start();
    EXPECT_EQ(w.driver().PortName(), "/dev/ttyUSB3");
    EXPECT_EQ(w.displaySettings().NetNr, 7);
    rig.close();
    rig.close(); // a second close asks and writes nothing more
    serial.DataBits = 3;
    EXPECT_EQ(WindowRig::readFile(rig.settingsPath()), lmx::settingsFileText(serial, display, {}));
    EXPECT_TRUE(rig.dialogs.steps().isEmpty()); // nothing asked at start or at closing
}

TEST(MainFormStart, AnUnreadableSettingsFileIsKeptBesideTheNewOne)
{
    WindowRig rig;
    const std::string hand = "object A\r\n  PortName = '/dev/ttyUSB3'\r\nend\r\nobject B\r\n"
                             "  NetNr = 33\r\nend\r\nobject C\r\nend\r\n";
    WindowRig::writeFile(rig.settingsPath(), hand);
    rig.start();
    EXPECT_EQ(rig.dialogs.lastText(), "Failed to read from settings file.\n\rUsing Default Settings.");
    EXPECT_EQ(rig.dialogs.steps().last().detail,
              "Line 5 (NetNr = 33): the value is not one this setting takes.\nThe unreadable file "
              "is kept as " + rig.settingsPath() + ".bad.");
    rig.close();
    EXPECT_EQ(WindowRig::readFile(rig.settingsPath()), lmx::settingsFileText({}, {}, {}));
    EXPECT_EQ(WindowRig::readFile(rig.settingsPath() + ".bad"), hand);
}

TEST_F(MainForm, ASettingsFileThatCannotBeWrittenIsReportedAndClosingGoesOn)
{
    // The program's folder went away meanwhile.
    ASSERT_TRUE(rig.folder.remove());
    rig.close();
    ASSERT_EQ(rig.dialogs.steps().size(), 1);
    EXPECT_EQ(rig.dialogs.lastText(), "Failed to create settings file.\n\rNo file was written.");
    EXPECT_EQ(rig.dialogs.steps().last().icon, UserDialogs::Icon::Warning);
    EXPECT_FALSE(rig.window->isVisible());

    // A read-only settings file is kept as it is, and the warning says so.
    WindowRig kept;
    kept.startQuietly();
    QFile::setPermissions(kept.settingsPath(), QFileDevice::ReadOwner);
    kept.close();
    EXPECT_EQ(kept.dialogs.lastText(), "Failed to create settings file.\n\rThe previous file is kept.");
    EXPECT_EQ(kept.dialogs.steps().last().detail, kept.settingsPath() + " is read-only.");
}

TEST(MainFormStart, ExtendedLmxOffHidesTheAnswerTabAndTheExtendedGroupAndThePacketBreaks)
{
    WindowRig rig;
    lmx::TGeneralSettings off;
    off.ExtendedLmx = off.ShowMainToolBar = false;
    TMainForm& w = rig.startQuietly(off);
    const int answerTab = w.PageControl()->indexOf(w.AnswerDataTab());
    const auto extendedShown = [&] {
        return std::vector<bool>{w.PageControl()->isTabVisible(answerTab),
                                 w.commandsFrame().XLmxCommandsGroup->isVisible(),
                                 rig.actions().DoPacketSize->isEnabled(), w.exchange().ExtendedLmx()};
    };
    EXPECT_EQ(extendedShown(), std::vector<bool>(4, false));
    EXPECT_TRUE(w.commandsFrame().LmxCommandsGroup->isVisible());
    EXPECT_FALSE(w.MainToolBar()->isVisible());

    // The General dialog switches it on again: everything comes back at once.
    lmx::TGeneralSettings on;
    rig.settings->nextGeneral = on;
    w.PageControl()->setCurrentIndex(0);
    w.DoGeneralSettingsExecute();
    EXPECT_EQ(rig.settings->calls, QStringList{"General: Modifying General Settings"});
    EXPECT_EQ(w.statusText(), "Ready...");
    EXPECT_EQ(extendedShown(), std::vector<bool>(4, true));
    EXPECT_TRUE(w.MainToolBar()->isVisible());

    // Switching it off while the answer tab is shown goes back to the hex tab.
    w.PageControl()->setCurrentWidget(w.AnswerDataTab());
    rig.settings->nextGeneral.emplace().ExtendedLmx = false;
    w.DoGeneralSettingsExecute();
    EXPECT_EQ(w.PageControl()->currentWidget(), w.HexDataTab());

    // Cancel changes nothing.
    w.DoGeneralSettingsExecute();
    EXPECT_FALSE(w.generalSettings().ExtendedLmx);
}

TEST_F(MainForm, DisplaySerialAndPacketSizeDialogsChangeTheirRecordsAndOnlyTheSerialOneThePort)
{
    lmx::TDisplaySettings display;
    display.NetNr = 12;
    rig.settings->nextDisplay = display;
    w.DoDisplaySettingsExecute();
    EXPECT_EQ(w.displaySettings().NetNr, 12);

    lmx::TSerialSettings serial;
    serial.PortName = "  /dev/ttyUSB1 ";
    serial.Baudrate = "57600";
    rig.settings->nextSerial = serial;
    w.DoSerialSettingsExecute();
    EXPECT_EQ(w.driver().PortName(), "/dev/ttyUSB1");
    EXPECT_EQ(w.driver().BaudRateValue(), 57600u);
    w.DoSerialSettingsExecute(); // cancelled
    EXPECT_EQ(w.driver().PortName(), "/dev/ttyUSB1");
    EXPECT_EQ(rig.settings->calls,
              (QStringList{"Display: Modifying Display Settings", "Serial: Modifying Serial Settings",
                           "Serial: Modifying Serial Settings"}));
    EXPECT_EQ(w.statusText(), "Ready...");

    // Change Packet Size asks for the engine's size.
    rig.params->setNextReply(ScriptedParameterDialogs::type({"64"}));
    rig.actions().DoPacketSize->trigger();
    ASSERT_EQ(rig.params->singleCalls().size(), 1u);
    const TSingleBox& asked = rig.params->singleCalls()[0];
    EXPECT_TRUE(asked.MaxValue == 240 && asked.MinValue == 2 && asked.CurrentValue == 240);
    EXPECT_EQ(w.sendReceiveFrame().engine().PacketSize(), 64);

    rig.params->setNextReply(ScriptedParameterDialogs::cancel());
    rig.actions().DoPacketSize->trigger();
    EXPECT_EQ(w.sendReceiveFrame().engine().PacketSize(), 64);
    EXPECT_EQ(rig.params->singleCalls()[1].CurrentValue, 64);
}

TEST_F(MainForm, LoadFillsBothBoxesBindsKeysAndNamesTheWindow)
{
    ASSERT_TRUE(rig.load(kSample));
    EXPECT_EQ(rig.displayTexts(), (std::vector<std::string>{"SOT '01'", "'Hello'", "ESC F1 '1'",
                                                            "EOT", "<End>"}));
    EXPECT_EQ(rig.box().list().line(1).item.indent, 10);
    EXPECT_EQ(rig.answerTexts(), (std::vector<std::string>{"V=@@@@", "<End>"}));
    EXPECT_EQ(w.windowTitle(), rig.path("list.lmx") + "  Orvanta"); // unchanged: no " *"
    EXPECT_EQ(rig.dialogs.statusAtSteps, QStringList{"Load LMX File"});
    EXPECT_EQ(w.statusText(), "Ready...");

    // The KEY line bound the first key: its button and its menu entries follow.
    KeyActions& keys = w.keyActions();
    EXPECT_EQ(keys.Button1->text(), "F1 = $A0");
    EXPECT_TRUE(keys.DoKey1->isEnabled() && !keys.DoKeyDef1->isEnabled() && keys.DoSaveKeys->isEnabled());
    EXPECT_FALSE(keys.Button2->isEnabled());

    // A new file empties everything but the keys.
    w.DoNewFileExecute();
    EXPECT_EQ(rig.displayTexts(), std::vector<std::string>{"<End>"});
    EXPECT_EQ(rig.answerTexts(), std::vector<std::string>{"<End>"});
    EXPECT_EQ(w.windowTitle(), "NEWFILE.LMX  Orvanta");
    EXPECT_TRUE(keys.DoKey1->isEnabled());

    // With ClearKeys a load frees the keys first: the next KEY line takes the first key again.
    rig.settings->nextGeneral.emplace().ClearKeys = true;
    w.DoGeneralSettingsExecute();
    ASSERT_TRUE(rig.load("KEY 'F2' ESC $A1 '2'\r\n", QStringLiteral("two.lmx")));
    EXPECT_EQ(keys.Button1->text(), "F2 = $A1");
    EXPECT_EQ(keys.Button2->text(), "Key 2");
}

TEST_F(MainForm, AFailedLoadReportsTheReaderAndLeavesANewList)
{
    ASSERT_TRUE(rig.load(kSample));
    rig.box().InsertCommandLine("'x'", "x");
    rig.dialogs.setNextAnswer(UserDialogs::Answer::No); // not to be saved
    EXPECT_FALSE(rig.load("'fine'\r\nsot '01'\r\n", QStringLiteral("bad.lmx")));
    EXPECT_EQ(rig.dialogs.lastText(),
              "No begin character ' found at line 2 of file \r\n\r\n" + rig.path("bad.lmx"));
    EXPECT_EQ(rig.dialogs.steps().last().icon, UserDialogs::Icon::Error);
    EXPECT_EQ(w.windowTitle(), "NEWFILE.LMX  Orvanta"); // unchanged: nothing to save
    EXPECT_EQ(rig.displayTexts().size() + rig.answerTexts().size(), 2u);

    // A cancelled dialog leaves the list as it is.
    rig.box().InsertCommandLine("'kept'", "kept");
    rig.dialogs.setNextAnswer(UserDialogs::Answer::No);
    rig.dialogs.setNextFileName(QString());
    EXPECT_FALSE(w.DoImportLmxExecute());
    EXPECT_EQ(rig.displayTexts(), (std::vector<std::string>{"'kept'", "<End>"}));

    // A file named on the command line loads as Load does, a relative name as its full one.
    const QString here = QDir::currentPath();
    QDir::setCurrent(rig.folder.path());
    EXPECT_FALSE(w.loadCommandFile("bad.lmx"));
    EXPECT_EQ(rig.dialogs.lastText(),
              "No begin character ' found at line 2 of file \r\n\r\n" + rig.path("bad.lmx"));
    WindowRig::writeFile(rig.path("good.lmx"), "'fine'\r\n");
    EXPECT_TRUE(w.loadCommandFile("good.lmx"));
    QDir::setCurrent(here);
    EXPECT_EQ(w.windowTitle(), rig.path("good.lmx") + "  Orvanta");
}

TEST_F(MainForm, SaveWritesTheCommandsAndTheAnswersAndAsksOverwriteOnlyWhenSet)
{
    ASSERT_TRUE(rig.load(kSample));
    rig.box().InsertCommandLine("'more'", "more");
    ASSERT_TRUE(rig.box().Changed());
    const QString out = rig.path("out.lmx");
    rig.dialogs.setNextFileName(out);
    ASSERT_TRUE(w.DoExportLmxExecute());
    EXPECT_EQ(WindowRig::readFile(out), "'more'\r\nSOT '01'\r\n 'Hello'\r\n KEY 'F1' ESC $A0 '1'\r\n"
                                        "EOT\r\n\r\nANSWER:\r\nV=@@@@\r\n\r\n");
    EXPECT_EQ(w.windowTitle(), out + "  Orvanta");
    EXPECT_FALSE(rig.box().Changed());
    EXPECT_TRUE(rig.dialogs.steps().last().request.confirmOverwrite);
    EXPECT_EQ(rig.dialogs.statusAtSteps.last(), "Save to LMX File");

    // Without answer lines there is no answer section; without SaveKeys no key line; with
    // CheckFileReplace off the dialog does not ask before replacing.
    lmx::TGeneralSettings& g = rig.settings->nextGeneral.emplace();
    g.SaveKeys = g.CheckFileReplace = false;
    w.DoGeneralSettingsExecute();
    rig.answers().clearAll();
    rig.dialogs.setNextFileName(out);
    ASSERT_TRUE(w.DoExportLmxExecute());
    EXPECT_EQ(WindowRig::readFile(out), "'more'\r\nSOT '01'\r\n 'Hello'\r\nEOT\r\n\r\n");
    EXPECT_FALSE(rig.dialogs.steps().last().request.confirmOverwrite);
}

TEST_F(MainForm, AFailedSaveKeepsTheNameAndTheChangedMark)
{
    rig.box().InsertCommandLine("'x'", "x");
    rig.dialogs.setNextFileName(rig.path("no/such/folder/out.lmx"));
    EXPECT_FALSE(w.DoExportLmxExecute());
    EXPECT_TRUE(rig.dialogs.lastText().startsWith("Failed to write to file"));
    EXPECT_EQ(rig.dialogs.steps().last().detail, "Cannot create a file in the folder "
                  + rig.path("no/such/folder") + ": No such file or directory.");
    EXPECT_EQ(w.windowTitle(), "NEWFILE.LMX  Orvanta *");
    EXPECT_EQ(w.statusText(), "Ready...");
    // The text export alike: a read-only file is not replaced.
    const QString readOnly = rig.path("read-only.txt");
    QFile(readOnly).open(QIODevice::WriteOnly);
    QFile::setPermissions(readOnly, QFileDevice::ReadOwner);
    rig.dialogs.setNextFileName(readOnly);
    w.DoExportTxtExecute();
    EXPECT_EQ(rig.dialogs.lastText(), "Failed to write to file " + readOnly + ".");
    EXPECT_EQ(rig.dialogs.steps().last().detail, readOnly + " is read-only.");
}

TEST_F(MainForm, ExportWritesTheFourListsAndNeedsMoreThanTheEndLine)
{
    MainActions& a = rig.actions();
    w.updateActions();
    EXPECT_FALSE(a.DoExportTxt->isEnabled());
    ASSERT_TRUE(rig.load(kSample));
    w.sendReceiveFrame().receiveLog().addLine("14:02:07:315 Transmission finished.");
    w.updateActions();
    ASSERT_TRUE(a.DoExportTxt->isEnabled());
    const QString out = rig.path("report.TXT");
    rig.dialogs.setNextFileName(out);
    a.DoExportTxt->trigger();
    // The layout of the file is the text export's; here: the window hands it all four lists.
    const std::string text = WindowRig::readFile(out);
    for (const char* part : {" ESC F1 '1'\r\n", " 1B A0 31 \r\n", "V=@@@@\r\n",
                             "14:02:07:315 Transmission finished.\r\n"})
        EXPECT_NE(text.find(part), std::string::npos) << part;
}

TEST_F(MainForm, CloseAsksToSaveAChangedListAndYesSavesIt)
{
    ASSERT_TRUE(rig.load(kSample));
    rig.box().InsertCommandLine("'edited'", "edited");
    const QString out = rig.path("saved.lmx");
    rig.dialogs.setNextAnswer(UserDialogs::Answer::Yes);
    rig.dialogs.setNextFileName(out);
    rig.close();
    const QList<ScriptedDialogs::Step>& steps = rig.dialogs.steps();
    ASSERT_EQ(steps.size(), 3); // load, the question, save
    EXPECT_EQ(steps[1].text, "File " + rig.path("list.lmx") + " has changed.\n\rSave changes ?");
    EXPECT_EQ(rig.dialogs.statusAtSteps[1], "Save Changes ?");
    EXPECT_EQ(WindowRig::readFile(out).substr(0, 10), "'edited'\r\n");
    EXPECT_TRUE(QFile::exists(rig.settingsPath()));
    EXPECT_EQ(rig.dialogs.unexpected(), 0);

    // No keeps the file as it was and still writes the settings.
    WindowRig other;
    other.startQuietly();
    other.box().InsertCommandLine("'x'", "x");
    QFile::remove(other.settingsPath());
    other.dialogs.setNextAnswer(UserDialogs::Answer::No);
    other.close();
    EXPECT_EQ(other.dialogs.steps().size(), 1);
    EXPECT_TRUE(QFile::exists(other.settingsPath()));
}

TEST_F(MainForm, NoToSavingAListWhoseBlocksDoNotBalanceKeepsTheWindowOpen)
{
    rig.params->setNextReply(ScriptedParameterDialogs::type({"01"}));
    w.editor().blocks().insertBlock(lmx::BlockKind::Display);
    w.editor().clipboard().Undo(); // EOT stays without SOT
    rig.dialogs.setNextAnswer(UserDialogs::Answer::Yes);
    rig.close(); // Save changes ? Yes; Save anyway ? No: the window stays with its list
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(rig.dialogs.lastText(), "The blocks of this list do not balance (line 1). A file "
                                      "like this cannot be loaded again. Save anyway ?");
}

TEST_F(MainForm, HelpOpensThePageBesideTheProgramAboutShowsTheBoxAndHintsAreToolTips)
{
    QTest::keyClick(&w, Qt::Key_F1);
    ASSERT_EQ(rig.opened.size(), 1u);
    EXPECT_EQ(rig.opened[0], QUrl::fromLocalFile(rig.path("doc/lmxdoc.htm")));
    EXPECT_TRUE(rig.dialogs.steps().isEmpty());
    // Without a browser the user learns where the page is.
    rig.browser = false;
    QTest::keyClick(&w, Qt::Key_F1);
    EXPECT_TRUE(rig.dialogs.lastText().endsWith("page.\nOpen it in a browser of your choice:\n"
                                                + rig.path("doc/lmxdoc.htm")))
            << rig.dialogs.lastText().toStdString();
    // A shortcut reaches its action with the tool bar hidden.
    w.MainToolBar()->hide();
    QTest::keyClick(&w, Qt::Key_F2);
    EXPECT_EQ(rig.aboutBoxes, 1);
    EXPECT_EQ(w.statusText(), "Ready...");

    // Hints are tool tips only: hovering a button or menu item leaves the status text alone.
    for (QAction* action : w.QWidget::actions()) {
        action->showStatusText(&w);
        EXPECT_EQ(w.mainStatusBar().currentMessage(), "") << action->text().toStdString();
    }
}

TEST_F(MainForm, CommandButtonsAndKeysArePlacedInTheWindow)
{
    QGroupBox* group = w.CommandEditorGroup();
    EXPECT_TRUE(group->isAncestorOf(w.editor().commandBox()));
    // The frame has its room below the boxes, beside the transmit frame.
    TCommandsFrame& frame = w.commandsFrame();
    const QRect frameArea(frame.mapTo(&w, QPoint(0, 0)), frame.size());
    EXPECT_TRUE(w.rect().contains(frameArea));
    EXPECT_GE(frameArea.top(), group->mapTo(&w, QPoint(0, group->height())).y());

    // A command button inserts through its routine; FPACK inserts one line only.
    rig.params->setNextReply(ScriptedParameterDialogs::type({"hi"}));
    frame.PlainTxt_But->click();
    rig.params->setNextReply(ScriptedParameterDialogs::ok());
    w.FPACK_Button()->click();
    EXPECT_EQ(rig.displayTexts(),
              (std::vector<std::string>{"FPACK '05000'", "'hi'", "<End>"}));

    // The Display button inserts a display block after asking for its number.
    rig.params->setNextReply(ScriptedParameterDialogs::ok());
    group->findChild<QPushButton*>(QStringLiteral("DisplayButton"))->click();
    EXPECT_EQ(rig.displayTexts().size(), 5u);
}

// A real question box: Escape and the close button answer neither Yes nor No, so that "Is LMX
// 2.xx used ?" ends its routine without a change.
TEST(QtUserDialogs, AQuestionEscapedOrClosedAnswersCancel)
{
    QtUserDialogs dialogs;
    for (int way : {0, 1, 2}) { // No, Escape, the close button
        QTimer::singleShot(0, [way] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            way == 0 ? box->button(QMessageBox::No)->click()
                     : way == 1 ? QTest::keyClick(box, Qt::Key_Escape) : void(box->close());
        });
        EXPECT_EQ(dialogs.askYesNo(QStringLiteral("Is LMX 2.xx used ?"), QString(), UserDialogs::Icon::Question),
                  way == 0 ? UserDialogs::Answer::No : UserDialogs::Answer::Cancel);
    }
}
