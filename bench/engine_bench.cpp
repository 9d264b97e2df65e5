// Our own overhead per packet of a whole transmission: 200 single-packet series with no
// waits, sent by the engine through the driver and exchange to the virtual display on a
// pseudo-terminal, where the line itself takes no time.
//   engine_bench [SERIES] [RUNS]      (default 200 and 5)
#include "bench_line.h"
#include "platform/user_dialogs.h"
#include "platform/wall_clock.h"
#include "port/comm_port_driver.h"
#include "port/qt_serial_backend.h"
#include "protocol/vocabulary.h"
#include "sim/sim_server.h"
#include "transmission/packet_exchange.h"
#include "transmission/transmission_engine.h"
#include "transmission/transmission_reports.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

using namespace lmx;

namespace {

class CountingLog : public ReceiveLog {
public:
    void clear() override { lines = 0; }
    void addLine(const std::string&) override { ++lines; }
    int lines = 0;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int series = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;

    sim::SimServer server(displayOne());
    const std::string path = startedDisplay(server);
    if (path.empty()) {
        return 1;
    }
    SilentDialogs dialogs;
    CountingLog log;
    SystemWallClock clock;
    TCommPortDriver driver(std::make_unique<QtSerialBackend>());
    driver.SetPortName(path);
    PacketExchange exchange(driver, dialogs);
    TransmissionEngine engine(exchange, dialogs, log, clock);

    std::vector<std::string> lines;
    for (int i = 0; i < series; ++i) {
        lines.push_back(textLine("Packet " + std::to_string(i)).commandLine);
        lines.push_back(breakLine(true, waitDigits(0)).commandLine);
    }
    lines.push_back(std::string(kEndMarker));

    std::vector<double> perPacket;
    for (int r = 0; r < runs; ++r) {
        QElapsedTimer t;
        t.start();
        const TransmissionEngine::Outcome outcome = engine.TransmitExtended(lines, 1);
        const double ms = static_cast<double>(t.nsecsElapsed()) / 1e6;
        if (!outcome.allAnswered() || outcome.packetsSent != series) {
            std::fprintf(stderr, "run %d: %d packets sent, %d answers failed\n", r,
                         outcome.packetsSent, outcome.failedAnswers);
            return 1;
        }
        perPacket.push_back(ms / series);
        std::printf("run %d: %d packets in %8.1f ms, %6.3f ms per packet\n", r, series, ms,
                    ms / series);
    }
    std::sort(perPacket.begin(), perPacket.end());
    const double median = perPacket[perPacket.size() / 2];
    std::printf("median %.3f ms per packet; target <= 10 ms: %s\n", median,
                median <= 10.0 ? "met" : "NOT MET");
    return 0;
}
