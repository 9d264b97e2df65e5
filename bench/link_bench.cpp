// Time per packet of a whole transmission, side by side in one run: `lmx send` against
// `lmx sim` on a pseudo-terminal and on a loopback TCP port, and a minimal client of our own
// (write the packet, read its answer up to the end byte, nothing else) against the same
// display. What lmx send needs beyond the minimal client is its own overhead.
//
// lmx send's start-up is taken out by sending two files: its time per packet is
// (T(long file) - T(short file)) / (packets(long) - packets(short)). Every figure is the
// median of RUNS runs, each against a display of its own (a display's memory fills up).
//   link_bench LMX [PACKETS] [RUNS] [BASELINE_LMX]
// BASELINE_LMX: another build of lmx (an earlier revision, say), measured the same way on the
// pseudo-terminal, for a before/after figure.
#include "protocol/framing.h"
#include "sim_process.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/socket.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kTargetOverheadMs = 0.3;

double msSince(Clock::time_point t0)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Runs a program with its output going to `out` and its errors to `err`; returns its pid,
// or -1.
pid_t spawn(const std::vector<std::string>& args, const std::string& out,
            const std::string& err = "/dev/null")
{
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&files, STDERR_FILENO, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &files, nullptr, argv.data(), environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&files);
    return pid;
}

// lmx sim in the background, on a pseudo-terminal or a TCP port.
class Display : public SimProcess {
public:
    Display(const std::string& lmx, const std::string& dir, bool overTcp)
        : SimProcess(lmx,
                     overTcp ? std::vector<std::string>{"--netnr", "1", "--listen", "0"}
                             : std::vector<std::string>{"--netnr", "1"},
                     dir + (overTcp ? "/sim-tcp.out" : "/sim-pty.out"))
    {
    }
};

// NPACK between the packets: each is a series of its own, numbered 00.
std::vector<std::string> texts(int packets)
{
    std::vector<std::string> out;
    for (int i = 0; i < packets; ++i)
        out.push_back("Packet " + std::to_string(i));
    return out;
}

std::string writeCommandFile(const std::string& dir, int packets)
{
    const std::string path = dir + "/packets-" + std::to_string(packets) + ".lmx";
    std::ofstream file(path, std::ios::binary);
    for (const std::string& text : texts(packets))
        file << "'" << text << "'\r\nNPACK '00000'\r\n";
    return path;
}

// ms of one lmx send run, or a negative value when it failed (its messages on stderr then).
double timeSend(const std::string& lmx, const std::string& port, const std::string& file)
{
    const std::string err = file + ".err";
    const auto t0 = Clock::now();
    const pid_t pid = spawn({lmx, "send", "--port", port, "--netnr", "1", file}, "/dev/null", err);
    int status = 0;
    if (pid >= 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0)
        return msSince(t0);
    std::ifstream messages(err);
    for (std::string line; std::getline(messages, line);)
        std::fprintf(stderr, "lmx send: %s\n", line.c_str());
    return -1;
}

// ms per packet of lmx send (`sender`), start-up taken out; negative when a run failed.
double sendPerPacket(const std::string& lmx, const std::string& sender, bool overTcp,
                     const std::string& dir, int packets, int runs)
{
    const int few = std::max(1, packets / 10);
    const std::string longFile = writeCommandFile(dir, packets);
    const std::string shortFile = writeCommandFile(dir, few);
    std::vector<double> perPacket;
    for (int r = 0; r < runs; ++r) {
        const Display display(lmx, dir, overTcp);
        const double longMs = timeSend(sender, display.port(), longFile);
        const double shortMs = timeSend(sender, display.port(), shortFile);
        if (longMs < 0 || shortMs < 0)
            return -1;
        perPacket.push_back((longMs - shortMs) / (packets - few));
    }
    return median(perPacket);
}

int openTerminal(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY);
    termios t{};
    if (fd >= 0 && tcgetattr(fd, &t) == 0) {
        cfmakeraw(&t);
        tcsetattr(fd, TCSANOW, &t);
    }
    return fd;
}

int openTcp(const std::string& url)
{
    const std::string hostPort = url.substr(6); // after tcp://
    const size_t colon = hostPort.rfind(':');
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(hostPort.substr(0, colon).c_str(), hostPort.substr(colon + 1).c_str(), &hints, &found) != 0)
        return -1;
    int fd = ::socket(found->ai_family, SOCK_STREAM, 0);
    if (fd >= 0 && ::connect(fd, found->ai_addr, found->ai_addrlen) != 0) {
        ::close(fd);
        fd = -1;
    }
    freeaddrinfo(found);
    const int on = 1;
    if (fd >= 0)
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    return fd;
}

// The minimal client: ms per packet, negative when an answer did not come.
double clientPerPacket(const std::string& lmx, bool overTcp, const std::string& dir, int packets,
                       int runs)
{
    std::vector<std::string> frames;
    for (const std::string& text : texts(packets))
        frames.push_back(*lmx::buildExtendedPacket(1, 0, text));
    std::vector<double> perPacket;
    for (int r = 0; r < runs; ++r) {
        const Display display(lmx, dir, overTcp);
        const int fd = overTcp ? openTcp(display.port()) : openTerminal(display.port());
        if (fd < 0)
            return -1;
        const auto t0 = Clock::now();
        for (const std::string& frame : frames) {
            if (::write(fd, frame.data(), frame.size()) != static_cast<ssize_t>(frame.size()))
                return -1;
            char buffer[256];
            for (bool complete = false; !complete;) {
                pollfd p{fd, POLLIN, 0};
                const ssize_t n = ::poll(&p, 1, 1000) == 1 ? ::read(fd, buffer, sizeof buffer) : -1;
                if (n <= 0)
                    return -1;
                complete = std::find(buffer, buffer + n, '\x04') != buffer + n;
            }
        }
        perPacket.push_back(msSince(t0) / packets);
        ::close(fd);
    }
    return median(perPacket);
}

void row(const char* name, double ms, double clientMs)
{
    if (ms < 0) {
        std::printf("  %-24s failed\n", name);
        return;
    }
    std::printf("  %-24s %7.3f ms per packet", name, ms);
    if (clientMs > 0 && ms != clientMs)
        std::printf("   own overhead %6.3f ms, %5.1f x the minimal client", ms - clientMs, ms / clientMs);
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: link_bench LMX [PACKETS] [RUNS] [BASELINE_LMX]\n");
        return 2;
    }
    const std::string lmx = argv[1];
    const int packets = argc > 2 ? std::max(20, std::atoi(argv[2])) : 2000;
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
    const std::string baseline = argc > 4 ? argv[4] : "";
    char dirTemplate[] = "/tmp/link-bench.XXXXXX";
    const char* dir = mkdtemp(dirTemplate);
    if (!dir)
        return 1;

    std::printf("%d single-packet series per run (lmx send: %d and %d), median of %d runs\n",
                packets, packets, std::max(1, packets / 10), runs);
    bool met = false;
    for (const bool overTcp : {false, true}) {
        std::printf("%s\n", overTcp ? "loopback TCP" : "pseudo-terminal");
        const double client = clientPerPacket(lmx, overTcp, dir, packets, runs);
        const double send = sendPerPacket(lmx, lmx, overTcp, dir, packets, runs);
        row("minimal client", client, client);
        row("lmx send", send, client);
        if (!overTcp) {
            met = send >= 0 && client >= 0 && send - client <= kTargetOverheadMs;
            if (!baseline.empty())
                row("lmx send (baseline)", sendPerPacket(lmx, baseline, false, dir, packets, runs), client);
        }
    }
    std::printf("target: own overhead on the pseudo-terminal <= %.1f ms per packet: %s\n",
                kTargetOverheadMs, met ? "met" : "NOT MET");
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
    return met ? 0 : 1;
}
