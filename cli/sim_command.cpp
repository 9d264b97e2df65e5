// lmx sim: the virtual display on a pseudo-terminal, a serial port or a TCP port.
#include "commands.h"

#include "sim/line_format.h"
#include "sim/sim_arguments.h"
#include "sim/sim_server.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <mutex>
#include <string>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace lmx::sim;

namespace {

// stdout lines come from the server's thread; the terminal's path must come first.
class LinePrinter {
public:
    void print(const std::string& line)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_open) {
            m_held.push_back(line);
            return;
        }
        write(line);
    }
    void open(const std::string& firstLine)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        write(firstLine);
        for (const auto& line : m_held)
            write(line);
        m_held.clear();
        m_open = true;
    }

private:
    static void write(const std::string& line)
    {
        std::fwrite(line.data(), 1, line.size(), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout); // scripts read through a pipe
    }

    std::mutex m_mutex;
    bool m_open = false;
    std::vector<std::string> m_held;
};

bool makeLink(const std::string& target, const std::string& link, std::string& error)
{
    struct stat st{};
    if (lstat(link.c_str(), &st) == 0) {
        if (!S_ISLNK(st.st_mode)) {
            error = link + " exists and is not a symbolic link";
            return false;
        }
        ::unlink(link.c_str());
    }
    if (symlink(target.c_str(), link.c_str()) != 0) {
        error = "cannot make the link " + link + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

// Removes the link only while it still leads to this display's terminal.
void removeLink(const std::string& target, const std::string& link)
{
    char buf[4096];
    const ssize_t n = readlink(link.c_str(), buf, sizeof buf - 1);
    if (n > 0 && std::string(buf, static_cast<size_t>(n)) == target)
        ::unlink(link.c_str());
}

// Starts the command with the signal handling a new program expects: nothing blocked, SIGPIPE
// at its default. Returns its process id, or -1.
pid_t startCommand(const std::vector<std::string>& command)
{
    std::vector<char*> argv;
    for (const std::string& arg : command)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attr, &none);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    pid_t pid = -1;
    std::fflush(stdout);
    const int rc = posix_spawnp(&pid, argv[0], nullptr, &attr, argv.data(), environ);
    posix_spawnattr_destroy(&attr);
    if (rc != 0) {
        std::fprintf(stderr, "lmx sim: cannot run %s: %s\n", argv[0], std::strerror(rc));
        return -1;
    }
    return pid;
}

int exitStatusOf(int status)
{
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return 1;
}

} // namespace

int runSim(int argc, char** argv)
{
    SimArguments args;
    std::string error;
    if (!parseSimArguments(std::vector<std::string>(argv, argv + argc), args, error)) {
        std::fprintf(stderr, "lmx sim: %s\n", error.c_str());
        std::fputs("usage: lmx sim [options] [-- COMMAND [ARGS...]]   (lmx sim --help for the options)\n",
                   stderr);
        return 2;
    }
    if (args.help) {
        std::fputs(simHelpText().c_str(), stdout);
        return 0;
    }

    // Blocked here, before the server's thread exists, so that only sigtimedwait below
    // takes them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    sigaddset(&stopSignals, SIGCHLD); // the command's end, when there is one
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    LinePrinter printer;
    SimServer server(args.options, [&printer](const std::string& line) { printer.print(line); });
    const std::string path = args.listen         ? server.startOnTcp(args.listenHost, args.listenPort)
                             : args.port.empty() ? server.start()
                                                 : server.startOnPort(args.port, args.baud);
    if (path.empty()) {
        std::fprintf(stderr, "lmx sim: %s\n", server.errorText().c_str());
        return 1;
    }
    if (!args.link.empty() && !makeLink(path, args.link, error)) {
        server.stop();
        std::fprintf(stderr, "lmx sim: %s\n", error.c_str());
        return 1;
    }
    printer.open(path);

    int status = 0;
    pid_t child = -1;
    if (!args.command.empty()) {
        child = startCommand(args.command);
        if (child < 0)
            status = 127;
    }
    const timespec tick{0, 200 * 1000 * 1000};
    while (status == 0) {
        const int sig = sigtimedwait(&stopSignals, nullptr, &tick);
        int childStatus = 0;
        if (child > 0 && waitpid(child, &childStatus, WNOHANG) == child) {
            child = -1;
            status = exitStatusOf(childStatus);
            break;
        }
        if (sig > 0 && sig != SIGCHLD)
            break;
        if (!server.running()) {
            std::fprintf(stderr, "lmx sim: %s\n", server.errorText().c_str());
            status = 1;
            break;
        }
    }
    if (child > 0) {
        // Stopped before the command ended: it ends with the display.
        int childStatus = 0;
        kill(child, SIGTERM);
        waitpid(child, &childStatus, 0);
        if (status == 0)
            status = exitStatusOf(childStatus);
    }
    server.stop();
    if (!args.link.empty())
        removeLink(path, args.link);
    if (args.show)
        for (const auto& display : server.displays())
            for (const auto& line : showLines(display))
                printer.print(line);
    return status;
}
