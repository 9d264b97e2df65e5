// lmx's own command line as a user types it: the version, help for one command, the GNU form
// of an option, and a mistake in each command answered with its usage and exit code 2.
#include "tests/support/lmx_copy.h"

#include <gtest/gtest.h>

namespace {

LmxRun lmx(const QStringList& args)
{
    return runLmx(QStringLiteral(LMX_BINARY), args, 20000);
}

} // namespace

TEST(LmxProgram, TheVersionAndHelpForOneCommandExitWithZero)
{
    const LmxRun version = lmx({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, QStringLiteral("lmx " ORVANTA_VERSION "\n"));
    const LmxRun help = lmx({"help", "scan"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith("usage: lmx scan")) << help.out.toStdString();
}

TEST(LmxProgram, AMistakeGivesTheUsageAndExitCodeTwo)
{
    const QStringList mistakes[] = {{"bogus"},           {"help", "bogus"},
                                    {"check", "--bogus"}, {"send", "--bogus", "a.lmx"},
                                    {"scan", "--to=x"},   {"sim", "--bogus"}};
    for (const QStringList& args : mistakes) {
        const LmxRun run = lmx(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains("usage: lmx")) << args.join(' ').toStdString() << "\n"
                                                    << run.err.toStdString();
    }
}

// --port=NAME reaches lmx send as --port NAME does: the port it could not open is named.
TEST(LmxProgram, AJoinedOptionValueIsTakenAsASeparateOne)
{
    const QString missing = QStringLiteral("/nonexistent/port");
    const QString file = QStringLiteral(LMX_EXAMPLE);
    const LmxRun joined = lmx({"send", "--port=" + missing, file});
    const LmxRun separate = lmx({"send", "--port", missing, file});
    EXPECT_EQ(joined.exitCode, separate.exitCode);
    EXPECT_EQ(joined.err, separate.err);
    EXPECT_TRUE(joined.err.contains("Can not open ComPort :" + missing)) << joined.err.toStdString();
}
