// Captures from the window: File > Save Capture... writes the last transmission from the
// records the Packets tab shows, a capture folder gets a file per transmission as it runs, and
// a folder that is gone is told once without stopping the transmission.
#include "main_form_support.h"
#include "tests/packets/pcapng_reader.h"

#include "packets/capture_file.h"
#include "packets/exchange_recorder.h"
#include "sim/sim_server.h"

#include <QDir>

using namespace mainformtest;

namespace {

struct CaptureRig : WindowRig {
    lmx::sim::SimServer server{lmx::sim::SimOptions()};

    TMainForm& startOnLine(lmx::TGeneralSettings general = {})
    {
        lmx::TSerialSettings serial;
        serial.PortName = server.start();
        writeSettings(serial, lmx::TDisplaySettings(), general);
        start();
        EXPECT_TRUE(load("'Hello'\r\nNPACK '00000'\r\n'again'\r\n"));
        return *window;
    }
    QStringList capturesIn(const QString& folder) const
    {
        return QDir(folder).entryList({"*.pcapng"}, QDir::Files, QDir::Name);
    }
};

} // namespace

TEST(CaptureActions, SaveCaptureWritesTheLastTransmissionAsThePacketsTabHasIt)
{
    CaptureRig rig;
    TMainForm& w = rig.startOnLine();
    w.updateActions();
    EXPECT_FALSE(rig.actions().DoSaveCapture->isEnabled()) << "nothing transmitted yet";
    rig.actions().DoTransmit->trigger();
    w.updateActions();
    ASSERT_TRUE(rig.actions().DoSaveCapture->isEnabled());

    rig.dialogs.setNextFileName(rig.path("last.pcapng"));
    rig.actions().DoSaveCapture->trigger();
    const ScriptedDialogs::Step& asked = rig.dialogs.steps().last();
    EXPECT_EQ(asked.kind, ScriptedDialogs::Kind::SaveFile);
    EXPECT_EQ(asked.text, "Save Capture");
    EXPECT_EQ(asked.request.defaultSuffix, "pcapng");
    const std::string saved = WindowRig::readFile(rig.path("last.pcapng"));
    EXPECT_EQ(saved, lmx::captureBytes(w.recorder().records(), lmx::captureApplication("orvanta"),
                                       lmx::capturePortOf(w.serialSettings())));
    EXPECT_EQ(pcapngtest::readPackets(saved).size(), 4u) << "two packets and their answers";
}

TEST(CaptureActions, EveryTransmissionGoesToAFileOfItsOwnInTheCaptureFolder)
{
    CaptureRig rig;
    QTemporaryDir captures;
    lmx::TGeneralSettings general;
    general.CaptureFolder = captures.path().toStdString();
    rig.startOnLine(general);
    const auto asked = rig.dialogs.steps().size(); // the load's
    rig.actions().DoTransmit->trigger();
    rig.actions().DoTransmit->trigger();

    // The window's clock stands still: the second file gets a number.
    EXPECT_EQ(rig.capturesIn(captures.path()),
              (QStringList{"orvanta-20240331-140207-315-2.pcapng", "orvanta-20240331-140207-315.pcapng"}));
    for (const QString& name : rig.capturesIn(captures.path())) {
        const std::vector<pcapngtest::Packet> packets =
                pcapngtest::readPackets(WindowRig::readFile(captures.filePath(name)));
        ASSERT_EQ(packets.size(), 4u) << name.toStdString();
        EXPECT_EQ(packets[1].comment(), "NetNr 1 packet 0: OK");
    }
    EXPECT_EQ(rig.dialogs.steps().size(), asked) << rig.dialogs.lastText().toStdString();
}

TEST(CaptureActions, ACaptureFolderThatIsGoneIsToldOncePerTransmissionWhichRuns)
{
    CaptureRig rig;
    lmx::TGeneralSettings general;
    const QString gone = rig.path("gone");
    general.CaptureFolder = gone.toStdString();
    TMainForm& w = rig.startOnLine(general);
    for (int transmission = 1; transmission <= 2; ++transmission) {
        const auto asked = rig.dialogs.steps().size();
        rig.actions().DoTransmit->trigger();
        ASSERT_EQ(rig.dialogs.steps().size(), asked + 1) << "transmission " << transmission;
        EXPECT_EQ(rig.dialogs.lastText(), "The capture folder " + gone
                                              + " does not exist.\nThe transmission is not captured.");
    }
    EXPECT_EQ(w.recorder().records().size(), 2u);
    EXPECT_TRUE(rig.server.waitForPackets(4, 3000));
}
