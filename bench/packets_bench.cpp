// Whether the Packets tab keeps up: the whole window transmits a 1,000-packet list to the
// virtual display on a pseudo-terminal, once with the Hex Data tab in front and once with the
// Packets tab in front (its table filled and painted packet by packet), in turns. Prints the
// median time per packet of each and their ratio; the tab must cost at most 10 %. The CPU time
// per packet (the program's and the in-process display's) is printed beside it: on a busy
// machine it shows the tab's own cost more steadily than the wall clock. With `same` both
// halves run with the Hex Data tab in front: the ratio then shows how far the machine's own
// noise goes.
// A timed program on the offscreen platform, run by bench/run.sh.
//   packets_bench [PACKETS] [RUNS] [same]      (default 1000 and 5)
#include "bench_window.h"
#include "files/settings_file.h"
#include "packets/exchange_recorder.h"
#include "platform/wall_clock.h"
#include "port/comm_port_driver.h"
#include "sim/sim_server.h"
#include "tests/support/scripted_dialogs.h"
#include "window/main_form.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTabWidget>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

bool writeFile(const QString& name, const std::string& bytes)
{
    QFile f(name);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && f.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size());
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int packets = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    const bool same = argc > 3 && std::string(argv[3]) == "same";

    // A fresh display for every run: the texts fill a display's memory after a few thousand.
    lmx::sim::SimOptions options;
    options.netNrs = {1};
    auto server = std::make_unique<lmx::sim::SimServer>(options);
    lmx::TSerialSettings serial;
    serial.PortName = server->start();
    QTemporaryDir folder;
    // One series of single-packet chunks with no waits: the line takes no time of its own.
    std::string list;
    for (int i = 0; i < packets; ++i)
        list += "'Packet " + std::to_string(i) + "'\r\nFPACK '00000'\r\n";
    const QString file = folder.filePath(QStringLiteral("list.lmx"));
    if (serial.PortName.empty() || !folder.isValid()
        || !writeFile(folder.filePath(QStringLiteral("ORVANTA.SET")),
                      lmx::settingsFileText(serial, lmx::TDisplaySettings(), lmx::TGeneralSettings()))
        || !writeFile(file, list)) {
        std::fprintf(stderr, "packets_bench: no virtual display or no files: %s\n",
                     server->errorText().c_str());
        return 1;
    }

    ScriptedDialogs dialogs;
    lmx::SystemWallClock wallClock;
    const MainFormServices s = benchWindowServices(folder.path(), dialogs, wallClock);
    TMainForm window(s);
    window.show();
    dialogs.setNextFileName(file);
    if (!window.DoImportLmxExecute()) {
        std::fprintf(stderr, "packets_bench: the list did not load\n");
        return 1;
    }

    std::vector<double> perPacket[2]; // Hex Data in front, Packets in front
    std::vector<double> cpuPerPacket[2];
    for (int r = 0; r < 2 * runs; ++r) {
        // Hex, Packets, Packets, Hex, ...: neither goes first more often as the machine's load
        // drifts.
        const int shown = (r % 2) ^ ((r / 2) % 2);
        server = std::make_unique<lmx::sim::SimServer>(options);
        window.driver().SetPortName(server->start());
        window.PageControl()->setCurrentWidget(shown && !same ? window.PacketsDataTab()
                                                              : window.HexDataTab());
        QCoreApplication::processEvents();
        QElapsedTimer t;
        t.start();
        const std::clock_t cpu = std::clock();
        window.DoTransmitExecute();
        QCoreApplication::processEvents(); // the last rows painted
        const double ms = static_cast<double>(t.nsecsElapsed()) / 1e6;
        const double cpuMs = 1000.0 * static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC;
        const lmx::ExchangeSummary summary = window.recorder().summary();
        if (summary.packets != packets || summary.failed != 0) {
            std::fprintf(stderr, "run %d: %d packets, %d failed, the last: %s\n", r, summary.packets,
                         summary.failed,
                         summary.displays.empty() ? "" : summary.displays[0].lastFailure.c_str());
            return 1;
        }
        perPacket[shown].push_back(ms / packets);
        cpuPerPacket[shown].push_back(cpuMs / packets);
        std::printf("run %d, %-7s tab: %d packets in %8.1f ms, %6.3f ms per packet, CPU %6.3f ms\n",
                    r / 2, shown ? "Packets" : "Hex", packets, ms, ms / packets, cpuMs / packets);
    }
    const double hidden = median(perPacket[0]);
    const double shown = median(perPacket[1]);
    std::printf("median CPU per packet: Packets tab hidden %.3f ms, shown %.3f ms; shown/hidden %.3f\n",
                median(cpuPerPacket[0]), median(cpuPerPacket[1]),
                median(cpuPerPacket[1]) / median(cpuPerPacket[0]));
    const double fastestHidden = *std::min_element(perPacket[0].begin(), perPacket[0].end());
    const double fastestShown = *std::min_element(perPacket[1].begin(), perPacket[1].end());
    std::printf("fastest run per packet: Packets tab hidden %.3f ms, shown %.3f ms; shown/hidden %.3f\n",
                fastestHidden, fastestShown, fastestShown / fastestHidden);
    std::printf("median per packet: Packets tab hidden %.3f ms, shown %.3f ms; shown/hidden %.3f "
                "(target <= 1.10): %s\n",
                hidden, shown, shown / hidden, shown / hidden <= 1.10 ? "met" : "NOT MET");
    return 0;
}
