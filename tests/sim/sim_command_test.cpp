// `lmx sim` as a script would run it: a process whose stdout is read through a pipe.
#include "plain_terminal_client.h"

#include "protocol/answer.h"
#include "protocol/framing.h"

#include <QElapsedTimer>
#include <QProcess>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace lmx;
using namespace lmx::sim::testing;

namespace {

struct SimProcess : QProcess {
    explicit SimProcess(const QStringList& args)
    {
        start(QStringLiteral(LMX_BINARY), QStringList{"sim"} + args);
        waitForStarted();
    }
    ~SimProcess() override
    {
        QProcess::kill();
        waitForFinished();
    }
    // The next whole line of stdout, or "" when none came in time.
    std::string line(int timeoutMs = 5000)
    {
        QElapsedTimer t;
        t.start();
        while (!canReadLine() && t.elapsed() < timeoutMs && waitForReadyRead(int(timeoutMs - t.elapsed()))) {
        }
        return canReadLine() ? readLine().chopped(1).toStdString() : std::string();
    }
    // Sends `sig` (none: 0) and returns the exit code, or -1 when it did not end in time.
    int stop(int sig)
    {
        if (sig)
            ::kill(static_cast<pid_t>(processId()), sig);
        return waitForFinished(5000) && exitStatus() == NormalExit ? exitCode() : -1;
    }
};

} // namespace

TEST(SimCommand, PrintsItsTerminalFirstAndEndsCleanlyOnSignal)
{
    const std::string link = ::testing::TempDir() + "lmx_sim_link_" + std::to_string(getpid());
    SimProcess sim({"--netnr", "2", "--link", QString::fromStdString(link), "--show"});
    const std::string path = sim.line();
    ASSERT_EQ(path.rfind("/dev/", 0), 0u) << path;

    // the link leads to the same terminal
    char target[256] = {};
    ASSERT_GT(readlink(link.c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(std::string(target), path);

    const std::string answer = PlainTerminalClient::exchange(
        link, *buildExtendedPacket(2, 0, "\x02" "01" "Hi'\x03"));
    EXPECT_TRUE(parseAnswerData(parseExtendedAnswer(answer, 2, 0).data).answerOk());
    EXPECT_EQ(sim.line(),
              "PACKET netnr=2 packet=00 length=7 result=00 answer=sent text='\\x0201Hi\\x27\\x03' "
              "hex='02 30 31 48 69 27 03'");

    EXPECT_EQ(sim.stop(SIGTERM), 0);
    EXPECT_EQ(sim.line(), "SHOW netnr=2 message=01 page=- line=- text='Hi\\x27'");
    struct stat st{};
    EXPECT_NE(lstat(link.c_str(), &st), 0); // the link went with it
}

TEST(SimCommand, HelpAndBadArguments)
{
    SimProcess help({"--help"});
    EXPECT_EQ(help.line().rfind("usage: lmx sim", 0), 0u);
    EXPECT_EQ(help.stop(0), 0);

    SimProcess bad({"--fault", "loud"});
    EXPECT_EQ(bad.stop(0), 2);
    EXPECT_EQ(bad.line(500), ""); // nothing on stdout

    // a file in the way of the link is left alone
    const std::string file = ::testing::TempDir() + "lmx_sim_file_" + std::to_string(getpid());
    std::ofstream(file) << "keep";
    SimProcess blocked({"--link", QString::fromStdString(file)});
    EXPECT_EQ(blocked.stop(0), 1);
    struct stat st{};
    ASSERT_EQ(lstat(file.c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ(st.st_size, 4);
    std::remove(file.c_str());
}
