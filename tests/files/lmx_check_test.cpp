// lmx check run as a program: what it prints, what it saves, how it exits.
#include "files/command_file_reader.h"
#include "files/command_file_writer.h"

#include "file_test_support.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

namespace {

struct CheckRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

CheckRun runLmx(const filetest::TempFolder& folder, const std::string& arguments)
{
    const std::string out = folder.file("stdout");
    const std::string err = folder.file("stderr");
    const std::string command =
        std::string(LMX_PROGRAM) + " check " + arguments + " >" + out + " 2>" + err;
    const int status = std::system(command.c_str());
    CheckRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = filetest::readFile(out);
    run.err = filetest::readFile(err);
    return run;
}

} // namespace

TEST(LmxCheck, PrintsTheExportOfCommandHexAndAnswerBoxes)
{
    filetest::TempFolder folder;
    const std::string file = folder.file("in.lmx");
    filetest::writeFile(file, "SOT '01' 'Hi' ; greeting\nKEY 'F1' ESC $A0 '1'\nEOT\nANSWER:\nT=@\n");
    const CheckRun run = runLmx(folder, file);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "--------- COMMAND DATA ---------\r\n\r\n"
                       "SOT '01'\r\n 'Hi'\r\n ESC F1 '1'\r\nEOT\r\n<End>\r\n\r\n"
                       "--------- HEX DATA ---------\r\n\r\n"
                       "01 30 31 \r\n 48 69 \r\n 1B A0 31 \r\n04 \r\n<End>\r\n\r\n"
                       "--------- ANSWER DATA ---------\r\n\r\n"
                       "T=@\r\n<End>\r\n\r\n");
    EXPECT_EQ(run.err, "");
}

TEST(LmxCheck, SavesAsSaveDoes)
{
    filetest::TempFolder folder;
    const std::string file = folder.file("in.lmx");
    const std::string saved = folder.file("out.lmx");
    filetest::writeFile(file, "SOT '01'\nKEY 'F1' ESC $A0 '1'\n'x'\nEOT\n");
    CheckRun run = runLmx(folder, file + " --save " + saved);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(filetest::readFile(saved), "SOT '01'\r\n KEY 'F1' ESC $A0 '1'\r\n 'x'\r\nEOT\r\n\r\n");
    run = runLmx(folder, "--no-save-keys --save " + saved + " " + file);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(filetest::readFile(saved), "SOT '01'\r\n 'x'\r\nEOT\r\n\r\n");

    run = runLmx(folder, file + " --save " + folder.file("none/out.lmx"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "Failed to write to file " + folder.file("none/out.lmx") + ".\nCannot create a "
                       "file in the folder " + folder.file("none") + ": No such file or directory.\n");
}

TEST(LmxCheck, ReadErrorsGoToStderrWithExitCode1)
{
    filetest::TempFolder folder;
    const std::string file = folder.file("bad.lmx");
    const std::string saved = folder.file("out.lmx");
    filetest::writeFile(saved, "previous");
    filetest::writeFile(file, "SOT '01'\r\nESC $10\r\n");
    CheckRun run = runLmx(folder, file + " --save " + saved);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "Illegal command at line 2 of file \r\n\r\n" + file + "\n");
    EXPECT_EQ(filetest::readFile(saved), "previous");

    run = runLmx(folder, folder.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "Failed to open file " + folder.path() + ".\n");
}

TEST(LmxCheck, UsageErrorsExitWith2)
{
    filetest::TempFolder folder;
    for (const char* arguments : {"", "a.lmx b.lmx", "--save", "a.lmx --bogus", "--save x --save y a"}) {
        const CheckRun run = runLmx(folder, arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments;
        EXPECT_NE(run.err.find("usage: lmx check FILE.lmx"), std::string::npos) << arguments;
    }
    const CheckRun help = runLmx(folder, "--help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("--no-save-keys"), std::string::npos);
}
