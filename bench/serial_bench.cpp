// Answer latency of the packet exchange over a pseudo-terminal: for each exchange (connect,
// write a 254-byte packet, answer, disconnect) the time from the start of the virtual
// display's write of the answer's last part to the answer handler running.
//   serial_bench [EXCHANGES] [POLL_ONLY_EXCHANGES]      (default 500 and 100)
// The second run hides the port's arrival notice from the driver, so only the 50 ms
// receive poll finds the answer: the figure the notice saves.
#include "bench_line.h"
#include "platform/user_dialogs.h"
#include "port/comm_port_driver.h"
#include "port/qt_serial_backend.h"
#include "protocol/framing.h"
#include "sim/sim_server.h"
#include "transmission/packet_exchange.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

using namespace lmx;
using Clock = std::chrono::steady_clock;

namespace {

// The program's backend with its arrival notice passed on or held back.
class NoticeSwitch : public SerialBackend {
public:
    explicit NoticeSwitch(bool passNotice)
    {
        if (passNotice)
            m_inner.setDataArrivedHandler([this] { notifyDataArrived(); });
        m_inner.setFailureHandler([this] { notifyFailure(); });
    }
    bool open(const std::string& name) override { return m_inner.open(name); }
    bool applyLineSettings(const LineSettings& s) override { return m_inner.applyLineSettings(s); }
    bool purge(bool in, bool out) override { return m_inner.purge(in, out); }
    bool setQueueSizes(uint32_t in, uint32_t out) override { return m_inner.setQueueSizes(in, out); }
    bool setTimeouts(const CommTimeouts& t) override { return m_inner.setTimeouts(t); }
    bool queued(uint32_t& in, uint32_t& out) override { return m_inner.queued(in, out); }
    int64_t read(char* b, uint32_t n) override { return m_inner.read(b, n); }
    int64_t write(const char* d, uint32_t n) override { return m_inner.write(d, n); }
    bool modemLines(TLineStatusSet& l) override { return m_inner.modemLines(l); }
    void close() override { m_inner.close(); }

private:
    QtSerialBackend m_inner;
};

struct Figures {
    std::vector<double> latencyMs;
    std::vector<double> exchangeMs;
    int failures = 0;
};

double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t i = std::min(v.size() - 1, static_cast<size_t>(p * double(v.size() - 1) + 0.5));
    return v[i];
}

Figures run(int exchanges, bool passNotice)
{
    Figures f;
    sim::SimServer server(displayOne());
    const std::string path = startedDisplay(server);
    if (path.empty()) {
        f.failures = exchanges;
        return f;
    }
    SilentDialogs dialogs;
    TCommPortDriver driver(std::make_unique<NoticeSwitch>(passNotice));
    driver.SetPortName(path);
    PacketExchange exchange(driver, dialogs);
    Clock::time_point handled;
    std::string answer;
    exchange.SetAnswerHandler([&](const std::string& a) {
        handled = Clock::now();
        answer = a;
    });
    const std::string packet = *buildExtendedPacket(1, 0, std::string(239, 'B'));

    for (int i = 0; i < exchanges; ++i) {
        const auto start = Clock::now();
        exchange.SendPacket(packet);
        while (!exchange.done())
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        const auto end = Clock::now();
        if (!server.waitForWrites(size_t(i) + 1, 2000) || answer.empty()
            || answer.back() != PacketExchange::kEndByte) {
            ++f.failures;
            continue;
        }
        const auto left = server.lastWrite().lastStart;
        using ms = std::chrono::duration<double, std::milli>;
        f.latencyMs.push_back(ms(handled - left).count());
        f.exchangeMs.push_back(ms(end - start).count());
    }
    return f;
}

void report(const char* name, const Figures& f)
{
    std::printf("%-26s exchanges %4zu  failed %d\n", name, f.latencyMs.size(), f.failures);
    std::printf("  end byte -> handler  median %7.3f ms  p90 %7.3f ms  max %7.3f ms\n",
                percentile(f.latencyMs, 0.5), percentile(f.latencyMs, 0.9),
                percentile(f.latencyMs, 1.0));
    std::printf("  whole exchange       median %7.3f ms  p90 %7.3f ms\n",
                percentile(f.exchangeMs, 0.5), percentile(f.exchangeMs, 0.9));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int exchanges = argc > 1 ? std::max(1, std::atoi(argv[1])) : 500;
    const int pollOnly = argc > 2 ? std::max(0, std::atoi(argv[2])) : 100;

    const Figures noticed = run(exchanges, true);
    report("poll on arrival notice", noticed);
    if (pollOnly > 0)
        report("50 ms poll only", run(pollOnly, false));
    const double median = percentile(noticed.latencyMs, 0.5);
    std::printf("target: median <= 5 ms: %s\n",
                noticed.failures == 0 && median <= 5.0 ? "met" : "NOT MET");
    return noticed.failures == 0 ? 0 : 1;
}
