#pragma once
// lmx sim as a process of its own beside a benchmark, as a user runs it: started with the
// given arguments, its output in a file whose first line is the port a client opens, ended
// with SIGTERM when the object goes.

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

class SimProcess {
public:
    // `args` follow "lmx sim"; the port is waited for up to five seconds.
    SimProcess(const std::string& lmx, const std::vector<std::string>& args,
               const std::string& out)
        : m_out(out)
    {
        std::vector<std::string> all = {lmx, "sim"};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& a : all)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, out.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&files, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        if (posix_spawn(&m_pid, argv[0], &files, nullptr, argv.data(), environ) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&files);
        const auto start = std::chrono::steady_clock::now();
        while (m_pid > 0 && m_port.empty()
               && std::chrono::steady_clock::now() - start < std::chrono::seconds(5)) {
            std::ifstream in(m_out);
            std::string line;
            if (std::getline(in, line) && in.good())
                m_port = line;
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    ~SimProcess()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGTERM);
            ::waitpid(m_pid, nullptr, 0);
        }
    }
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // Empty when it did not start.
    const std::string& port() const { return m_port; }

private:
    std::string m_out;
    std::string m_port;
    pid_t m_pid = -1;
};
