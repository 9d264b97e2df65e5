// `lmx sim` as a script would run it: a subprocess whose stdout is read through a pipe.
#include "plain_terminal_client.h"

#include "protocol/answer.h"
#include "protocol/framing.h"

#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

using namespace lmx;
using namespace lmx::sim::testing;

namespace {

class SimProcess {
public:
    explicit SimProcess(std::vector<std::string> args)
    {
        int out[2];
        if (pipe(out) != 0)
            return;
        m_pid = fork();
        if (m_pid == 0) {
            dup2(out[1], STDOUT_FILENO);
            ::close(out[0]);
            ::close(out[1]);
            std::vector<char*> argv;
            static std::string binary = LMX_BINARY, sim = "sim";
            argv.push_back(binary.data());
            argv.push_back(sim.data());
            for (auto& a : args)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            execv(binary.c_str(), argv.data());
            _exit(127);
        }
        ::close(out[1]);
        m_out = out[0];
    }
    ~SimProcess()
    {
        if (m_pid > 0 && !m_exited) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
        if (m_out >= 0)
            ::close(m_out);
    }

    // The next whole line of stdout, or "" when none came in time.
    std::string readLine(int timeoutMs = 5000)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            const size_t nl = m_buffer.find('\n');
            if (nl != std::string::npos) {
                std::string line = m_buffer.substr(0, nl);
                m_buffer.erase(0, nl + 1);
                return line;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                                  end - std::chrono::steady_clock::now()).count();
            pollfd p{m_out, POLLIN, 0};
            if (left <= 0 || ::poll(&p, 1, static_cast<int>(left)) <= 0)
                return {};
            char buf[1024];
            const ssize_t n = ::read(m_out, buf, sizeof buf);
            if (n <= 0)
                return {};
            m_buffer.append(buf, static_cast<size_t>(n));
        }
    }

    // Sends `sig` and returns the exit status, or -1 when it did not end within timeoutMs.
    int stop(int sig, int timeoutMs = 5000)
    {
        kill(m_pid, sig);
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (std::chrono::steady_clock::now() < end) {
            int status = 0;
            if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_exited = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            pollfd none{-1, 0, 0};
            ::poll(&none, 0, 10);
        }
        return -1;
    }

    int wait(int timeoutMs = 5000) { return stop(0, timeoutMs); }

private:
    pid_t m_pid = -1;
    int m_out = -1;
    bool m_exited = false;
    std::string m_buffer;
};

} // namespace

TEST(SimCommand, PrintsItsTerminalFirstAndEndsCleanlyOnSignal)
{
    const std::string link = ::testing::TempDir() + "lmx_sim_link_" + std::to_string(getpid());
    SimProcess sim({"--netnr", "2", "--link", link, "--show"});
    const std::string path = sim.readLine();
    ASSERT_EQ(path.rfind("/dev/", 0), 0u) << path;

    // the link leads to the same terminal
    char target[256] = {};
    ASSERT_GT(readlink(link.c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(std::string(target), path);

    const std::string answer = PlainTerminalClient::exchange(
        link, *buildExtendedPacket(2, 0, "\x02" "01" "Hi'\x03"));
    EXPECT_TRUE(parseAnswerData(parseExtendedAnswer(answer, 2, 0).data).answerOk());
    EXPECT_EQ(sim.readLine(),
              "PACKET netnr=2 packet=00 length=7 result=00 answer=sent text='\\x0201Hi\\x27\\x03' "
              "hex='02 30 31 48 69 27 03'");

    EXPECT_EQ(sim.stop(SIGTERM), 0);
    EXPECT_EQ(sim.readLine(), "SHOW netnr=2 message=01 page=- line=- text='Hi\\x27'");
    struct stat st{};
    EXPECT_NE(lstat(link.c_str(), &st), 0); // the link went with it
}

TEST(SimCommand, HelpAndBadArguments)
{
    SimProcess help({"--help"});
    EXPECT_EQ(help.readLine().rfind("usage: lmx sim", 0), 0u);
    EXPECT_EQ(help.wait(), 0);

    SimProcess bad({"--fault", "loud"});
    EXPECT_EQ(bad.wait(), 2);
    EXPECT_EQ(bad.readLine(500), ""); // nothing on stdout

    // a file in the way of the link is left alone
    const std::string file = ::testing::TempDir() + "lmx_sim_file_" + std::to_string(getpid());
    FILE* f = std::fopen(file.c_str(), "w");
    ASSERT_TRUE(f);
    std::fputs("keep", f);
    std::fclose(f);
    SimProcess blocked({"--link", file});
    EXPECT_EQ(blocked.wait(), 1);
    struct stat st{};
    ASSERT_EQ(lstat(file.c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ(st.st_size, 4);
    std::remove(file.c_str());
}
