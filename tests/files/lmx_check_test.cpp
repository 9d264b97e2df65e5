// lmx check run as a program: what it prints, what it saves, how it exits.
#include "file_test_support.h"
#include "tests/support/lmx_copy.h"

#include <gtest/gtest.h>

namespace {

struct CheckRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// A folder with the input file in.lmx and the place out.lmx for saving.
struct LmxCheck : ::testing::Test {
    filetest::TempFolder folder;
    const std::string file = folder.file("in.lmx");
    const std::string saved = folder.file("out.lmx");

    // The arguments as words apart (the folder's paths hold no blanks).
    CheckRun run(const std::string& arguments) const
    {
        const LmxRun r = runLmx(LMX_BINARY,
                                 QStringList{"check"} + QString::fromStdString(arguments).split(" ", Qt::SkipEmptyParts));
        return {r.exitCode, r.out.toStdString(), r.err.toStdString()};
    }
};

} // namespace

TEST_F(LmxCheck, PrintsTheExportOfCommandHexAndAnswerBoxes)
{
    filetest::writeFile(file, "SOT '01' 'Hi' ; greeting\nKEY 'F1' ESC $A0 '1'\nEOT\nANSWER:\nT=@\n");
    const CheckRun r = run(file);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "--------- COMMAND DATA ---------\r\n\r\n"
                     "SOT '01'\r\n 'Hi'\r\n ESC F1 '1'\r\nEOT\r\n<End>\r\n\r\n"
                     "--------- HEX DATA ---------\r\n\r\n"
                     "01 30 31 \r\n 48 69 \r\n 1B A0 31 \r\n04 \r\n<End>\r\n\r\n"
                     "--------- ANSWER DATA ---------\r\n\r\n"
                     "T=@\r\n<End>\r\n\r\n");
    EXPECT_EQ(r.err, "");
}

TEST_F(LmxCheck, SavesAsSaveDoesAndReadErrorsGoToStderrWithExitCode1)
{
    filetest::writeFile(file, "SOT '01'\nKEY 'F1' ESC $A0 '1'\n'x'\nEOT\n");
    CheckRun r = run(file + " --save " + saved);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(filetest::readFile(saved), "SOT '01'\r\n KEY 'F1' ESC $A0 '1'\r\n 'x'\r\nEOT\r\n\r\n");
    r = run("--no-save-keys --save " + saved + " " + file);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(filetest::readFile(saved), "SOT '01'\r\n 'x'\r\nEOT\r\n\r\n");

    r = run(file + " --save " + folder.file("none/out.lmx"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Failed to write to file " + folder.file("none/out.lmx") + ".\nCannot create a "
                     "file in the folder " + folder.file("none") + ": No such file or directory.\n");

    // a read error goes to stderr, exit code 1, and nothing is saved
    filetest::writeFile(file, "SOT '01'\r\nESC $10\r\n");
    r = run(file + " --save " + saved);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "Illegal command at line 2 of file \r\n\r\n" + file + "\n");
    EXPECT_EQ(filetest::readFile(saved), "SOT '01'\r\n 'x'\r\nEOT\r\n\r\n"); // as it was
}

TEST_F(LmxCheck, UsageErrorsExitWith2)
{
    for (const char* arguments : {"", "a.lmx b.lmx", "--save", "a.lmx --bogus", "--save x --save y a"}) {
        const CheckRun r = run(arguments);
        EXPECT_EQ(r.exitCode, 2) << arguments;
        EXPECT_NE(r.err.find("usage: lmx check FILE.lmx"), std::string::npos) << arguments;
    }
    const CheckRun help = run("--help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("--no-save-keys"), std::string::npos);
}
