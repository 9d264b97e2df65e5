// The window program's command line.
#include "app/program_arguments.h"

#include <gtest/gtest.h>

TEST(ProgramArguments, FileHelpVersionAndMistakes)
{
    using A = ProgramArguments::Action;
    struct Case {
        QStringList args;
        A action;
        QString file;
    };
    const Case cases[] = {
        {{}, A::Run, ""},
        {{"demo.lmx"}, A::Run, "demo.lmx"},
        {{"--", "-odd name.lmx"}, A::Run, "-odd name.lmx"},
        {{"--help"}, A::Help, ""},
        {{"demo.lmx", "-h"}, A::Help, ""},
        // --help and --version are answered before Qt takes its own arguments
        {{"-platform", "offscreen", "--version"}, A::Version, ""},
        {{"--version", "--help"}, A::Help, ""},
        {{"--", "--help"}, A::Run, "--help"},
        {{"--bogus"}, A::Error, ""},
        {{"a.lmx", "b.lmx"}, A::Error, ""},
    };
    for (const Case& c : cases) {
        const ProgramArguments parsed = parseProgramArguments(c.args);
        const std::string label = c.args.join(' ').toStdString();
        EXPECT_EQ(parsed.action, c.action) << label;
        EXPECT_EQ(parsed.file, c.file) << label;
        EXPECT_EQ(parsed.error.isEmpty(), c.action != A::Error) << label;
    }
}

// Qt's own options are left to Qt; what remains is checked before any window system is needed.
TEST(ProgramArguments, QtOptionsAreSetAsideBeforeTheCheck)
{
    struct Case {
        QStringList args;
        QStringList left;
    };
    const Case cases[] = {
        {{"-platform", "offscreen", "demo.lmx"}, {"demo.lmx"}},
        {{"--style=fusion", "-reverse", "--bogus"}, {"--bogus"}},
        {{"-display", ":1", "--", "-style"}, {"--", "-style"}},
        {{"-styled"}, {"-styled"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(withoutQtArguments(c.args), c.left) << c.args.join(' ').toStdString();
}

// A key file is told from a command file by its name, so a file manager can open either.
TEST(ProgramArguments, AKeyFileBesideTheCommandFile)
{
    const ProgramArguments both = parseProgramArguments({"keys.KCF", "demo.lmx"});
    EXPECT_EQ(both.action, ProgramArguments::Action::Run);
    EXPECT_EQ(both.file, "demo.lmx");
    EXPECT_EQ(both.keyFile, "keys.KCF");
    const ProgramArguments twice = parseProgramArguments({"a.kcf", "b.kcf"});
    EXPECT_EQ(twice.action, ProgramArguments::Action::Error);
    EXPECT_EQ(twice.error, "only one key file can be opened");
}
