#pragma once
// Runs a program to its end as a process of its own and measures it: its exit, its output,
// its peak resident memory (the kernel's high-water mark) and how long it ran. SIGINT can be
// sent once the output shows it is time; a program still running at the deadline is killed.
// The benchmarks print these figures; the tests hold lmx to generous bounds of them.

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

struct MeasuredRun {
    int exitCode = -1;  // -1 when a signal ended it
    int signal = 0;     // the signal that ended it
    bool killed = false; // still running at the deadline
    std::string out;
    std::string err;
    long peakKb = 0;
    long ms = 0;
};

// True (given the output so far) when the next SIGINT is due; at most `interrupts` are sent.
using InterruptWhen = std::function<bool(const std::string& out, const std::string& err)>;

inline std::string measuredFileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline MeasuredRun runMeasured(const std::vector<std::string>& args, const InterruptWhen& when = {},
                               int interrupts = 1, int timeoutMs = 60000)
{
    char outName[] = "/tmp/measured-out-XXXXXX";
    char errName[] = "/tmp/measured-err-XXXXXX";
    const int outFd = mkstemp(outName);
    const int errFd = mkstemp(errName);
    // Made before the fork: the child only execs. Under AddressSanitizer the freed memory it
    // holds back would count as the program's.
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        env.emplace_back(*e);
    for (std::string& e : env)
        if (e.rfind("ASAN_OPTIONS=", 0) == 0)
            e += ":quarantine_size_mb=0";
    std::vector<char*> argv;
    std::vector<char*> envp;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    for (const std::string& e : env)
        envp.push_back(const_cast<char*>(e.c_str()));
    argv.push_back(nullptr);
    envp.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(outFd, STDOUT_FILENO);
        dup2(errFd, STDERR_FILENO);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    close(outFd);
    close(errFd);
    MeasuredRun run;
    int status = 0;
    rusage usage{};
    for (int sent = 0;;) {
        if (wait4(pid, &status, WNOHANG, &usage) == pid)
            break;
        const auto elapsed = std::chrono::steady_clock::now() - start;
        if (elapsed > std::chrono::milliseconds(timeoutMs) && !run.killed) {
            kill(pid, SIGKILL);
            run.killed = true;
        }
        if (when && sent < interrupts && when(measuredFileText(outName), measuredFileText(errName))) {
            kill(pid, SIGINT);
            ++sent;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    run.ms = static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                       std::chrono::steady_clock::now() - start).count());
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    run.peakKb = usage.ru_maxrss;
    run.out = measuredFileText(outName);
    run.err = measuredFileText(errName);
    unlink(outName);
    unlink(errName);
    return run;
}
