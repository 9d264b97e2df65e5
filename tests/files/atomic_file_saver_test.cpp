#include "files/atomic_file_saver.h"

#include "file_test_support.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <tuple>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace lmx;
using Step = filetest::FailingSaver::Step;

namespace {

// Every entry of the folder with its kind, permission bits, owner and contents, so that a
// failed save can be shown to have changed nothing.
std::string snapshot(const filetest::TempFolder& folder)
{
    std::string out;
    for (const std::string& name : folder.entries()) {
        struct stat st {};
        lstat(folder.file(name).c_str(), &st);
        out += name + " " + std::to_string(st.st_mode) + " " + std::to_string(st.st_uid) + " "
             + (S_ISREG(st.st_mode) ? filetest::readFile(folder.file(name)) : "") + "\n";
    }
    return out;
}

void makeFile(const std::string& path, mode_t mode)
{
    filetest::writeFile(path, "previous");
    chmod(path.c_str(), mode);
}

// Writes go to /dev/full: the disk is full by the time the data is flushed.
class FullDiskSaver : public AtomicFileSaver {
protected:
    std::FILE* createTemporary(const std::string& target, bool privately,
                               std::string& tempPath) const override
    {
        std::FILE* f = AtomicFileSaver::createTemporary(target, privately, tempPath);
        const int full = open("/dev/full", O_WRONLY);
        if (f && full >= 0)
            dup2(full, fileno(f));
        close(full);
        return f;
    }
};

// The save run by a process without privileges: root writes into any folder.
std::string failureAsOrdinaryUser(const std::string& target)
{
    int fds[2];
    if (pipe(fds) != 0)
        return "no pipe";
    const pid_t pid = fork();
    if (pid == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(1);
        const SaveOutcome o = defaultFileSaver().save(target, "new");
        const std::string text = std::to_string(static_cast<int>(o.failure)) + " " + o.reason;
        _exit(write(fds[1], text.data(), text.size()) < 0);
    }
    close(fds[1]);
    char buffer[512] = {};
    const ssize_t n = read(fds[0], buffer, sizeof buffer - 1);
    close(fds[0]);
    waitpid(pid, nullptr, 0);
    return n > 0 ? buffer : "";
}

} // namespace

TEST(AtomicFileSaver, EachKindOfTarget)
{
    struct Row {
        const char* kind;
        void (*make)(const std::string& dir);
        const char* target;
        SaveFailure failure;
        const char* reason;  // part of the reason after a failure
        const char* written; // after a success: the file that holds the bytes, and its bits
        unsigned mode;
    };
    const Row rows[] = {
        {"new file", [](const std::string&) {}, "a", SaveFailure::None, "", "a", 0644},
        {"0600 file", [](const std::string& d) { makeFile(d + "/a", 0600); }, "a",
         SaveFailure::None, "", "a", 0600},
        {"read-only file", [](const std::string& d) { makeFile(d + "/a", 0444); }, "a",
         SaveFailure::Refused, "a is read-only.", nullptr, 0},
        {"symlink", [](const std::string& d) { makeFile(d + "/real", 0640);
                                              symlink("real", (d + "/a").c_str()); },
         "a", SaveFailure::None, "", "real", 0640},
        {"dangling symlink", [](const std::string& d) { symlink("made", (d + "/a").c_str()); },
         "a", SaveFailure::None, "", "made", 0644},
        {"symlink loop", [](const std::string& d) { symlink("b", (d + "/a").c_str());
                                                   symlink("a", (d + "/b").c_str()); },
         "a", SaveFailure::Refused, "Too many levels of symbolic links", nullptr, 0},
        {"symlink to a device", [](const std::string& d) { symlink("/dev/null", (d + "/a").c_str()); },
         "a", SaveFailure::Refused, "/dev/null is a device, not a regular file.", nullptr, 0},
        {"FIFO", [](const std::string& d) { mkfifo((d + "/a").c_str(), 0644); }, "a",
         SaveFailure::Refused, "a is a named pipe, not a regular file.", nullptr, 0},
        {"directory", [](const std::string& d) { mkdir((d + "/a").c_str(), 0755);
                                                makeFile(d + "/a/inside", 0644); },
         "a", SaveFailure::Refused, "a is a folder, not a regular file.", nullptr, 0},
        {"missing folder", [](const std::string&) {}, "none/a", SaveFailure::Create,
         "none: No such file or directory.", nullptr, 0},
    };
    const mode_t oldMask = umask(022);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.kind);
        filetest::TempFolder folder;
        row.make(folder.path());
        const std::string before = snapshot(folder);
        const SaveOutcome outcome = defaultFileSaver().save(folder.file(row.target), "new");
        EXPECT_EQ(outcome.failure, row.failure);
        EXPECT_NE(outcome.reason.find(row.reason), std::string::npos) << outcome.reason;
        EXPECT_TRUE(outcome.partialRemoved);
        EXPECT_EQ(snapshot(folder).find(".~tmp"), std::string::npos);
        if (row.written) {
            struct stat st {};
            stat(folder.file(row.written).c_str(), &st);
            EXPECT_EQ(filetest::readFile(folder.file(row.written)), "new");
            EXPECT_EQ(st.st_mode & 07777, row.mode);
        } else {
            EXPECT_EQ(snapshot(folder), before);
        }
    }
    umask(oldMask);
}

TEST(AtomicFileSaver, EveryFailingStepKeepsThePreviousFileAndAPartialOneIsNotReused)
{
    const std::pair<Step, SaveFailure> cases[] = {{Step::Create, SaveFailure::Create},
                                                  {Step::Write, SaveFailure::Write},
                                                  {Step::Close, SaveFailure::Write},
                                                  {Step::Replace, SaveFailure::Replace}};
    for (const auto& c : cases) {
        filetest::TempFolder folder;
        const std::string target = folder.file("a.txt");
        filetest::writeFile(target, "previous");
        const SaveOutcome outcome = filetest::FailingSaver(c.first).save(target, "replacement");
        EXPECT_EQ(outcome.failure, c.second);
        EXPECT_NE(outcome.reason.find(std::strerror(EIO)), std::string::npos) << outcome.reason;
        EXPECT_TRUE(outcome.partialRemoved);
        EXPECT_TRUE(outcome.previousKept);
        EXPECT_EQ(filetest::readFile(target), "previous");
        EXPECT_EQ(folder.entries(), std::vector<std::string>{"a.txt"});
    }
    filetest::TempFolder folder;
    const SaveOutcome kept = filetest::FailingSaver(Step::Write, true).save(folder.file("b"), "x");
    EXPECT_FALSE(kept.partialRemoved);
    EXPECT_EQ(kept.partialPath, folder.file("b.~tmp"));
    EXPECT_EQ(keptFilesText(kept), "No file was written. The partial file " + folder.file("b.~tmp")
                                       + " could not be deleted.");
    // the next save neither reuses nor removes a partial file it did not make
    filetest::writeFile(folder.file("b.~tmp"), "someone else's");
    ASSERT_TRUE(defaultFileSaver().save(folder.file("b"), "data").ok());
    EXPECT_EQ(filetest::readFile(folder.file("b")), "data");
    EXPECT_EQ(filetest::readFile(folder.file("b.~tmp")), "someone else's");
}

TEST(AtomicFileSaver, FaultsOfTheSystem)
{
    filetest::TempFolder folder;
    const std::string target = folder.file("a");
    filetest::writeFile(target, "previous");
    const SaveOutcome full = FullDiskSaver().save(target, "new");
    EXPECT_EQ(full.failure, SaveFailure::Write);
    EXPECT_EQ(full.reason, "Cannot write " + target + ": No space left on device.");
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"a"});

    // A folder the process may not write to, and a file of another owner.
    chmod(folder.path().c_str(), 0755);
    mkdir(folder.file("locked").c_str(), 0555);
    filetest::writeFile(folder.file("other"), "previous");
    chmod(folder.file("other").c_str(), 0644);
    EXPECT_EQ(failureAsOrdinaryUser(folder.file("locked/a")),
              "2 Cannot create a file in the folder " + folder.file("locked")
                  + ": Permission denied.");
    if (geteuid() != 0)
        return;
    EXPECT_EQ(failureAsOrdinaryUser(folder.file("other")),
              "1 " + folder.file("other") + " cannot be written: Permission denied.");
    // Root may give the new file the previous one's owner and group.
    chown(target.c_str(), 65534, 65534);
    ASSERT_TRUE(defaultFileSaver().save(target, "new").ok());
    struct stat st {};
    stat(target.c_str(), &st);
    EXPECT_EQ(st.st_uid, 65534u);
    EXPECT_EQ(st.st_gid, 65534u);
}

// A name the program chose itself is never written through a link planted under it.
TEST(AtomicFileSaver, ALinkIsRefusedWhereTheRuleSaysSo)
{
    filetest::TempFolder folder;
    filetest::writeFile(folder.file("other"), "someone's file");
    symlink(folder.file("other").c_str(), folder.file("copy").c_str());
    filetest::writeFile(folder.file("source"), "source bytes");
    const SaveOutcome refused = defaultFileSaver().copy(folder.file("source"), folder.file("copy"), LinkRule::Refuse);
    EXPECT_EQ(refused.failure, SaveFailure::Refused);
    EXPECT_EQ(refused.reason, folder.file("copy") + " is a symbolic link; it is not followed.");
    EXPECT_EQ(filetest::readFile(folder.file("other")), "someone's file");

    ASSERT_TRUE(defaultFileSaver().copy(folder.file("source"), folder.file("plain"), LinkRule::Refuse).ok());
    EXPECT_EQ(filetest::readFile(folder.file("plain")), "source bytes");
    const SaveOutcome unread = defaultFileSaver().copy(folder.file("none"), folder.file("plain"));
    EXPECT_EQ(unread.reason, "Cannot read " + folder.file("none") + ": No such file or directory.");
    EXPECT_EQ(filetest::readFile(folder.file("plain")), "source bytes");
}

// The temporary name is cut to fit the system's limit, so any name that fits can be saved.
TEST(AtomicFileSaver, ANameAtTheSystemsLimitIsSaved)
{
    filetest::TempFolder folder;
    const std::string longest(static_cast<size_t>(pathconf(folder.path().c_str(), _PC_NAME_MAX)), 'n');
    ASSERT_TRUE(defaultFileSaver().save(folder.file(longest), "data").ok());
    EXPECT_EQ(filetest::readFile(folder.file(longest)), "data");
    EXPECT_EQ(folder.entries(), std::vector<std::string>{longest});

    const std::tuple<const char*, int, size_t, const char*> names[] = {
            {"dir/name", 0, 255, "dir/name.~tmp"},
            {"dir/name", 2, 255, "dir/name.~tmp2"},
            {"dir/abcdefgh", 0, 10, "dir/abcde.~tmp"},
            {"abcdefgh", 12, 10, "abc.~tmp12"},
            {"\xC3\xA4\xC3\xA4", 0, 8, "\xC3\xA4.~tmp"}, // not within a character
    };
    for (const auto& [target, n, nameMax, temporary] : names)
        EXPECT_EQ(AtomicFileSaver::temporaryName(target, n, nameMax), temporary);
}

// Ctrl+C or a kill while the temporary file is written: it goes with the program.
TEST(AtomicFileSaver, AnInterruptedSaveLeavesNoTemporaryFile)
{
    struct SignalledSaver : AtomicFileSaver {
        int signal = 0;
        bool writeBytes(std::FILE* file, std::string_view bytes) const override
        {
            AtomicFileSaver::writeBytes(file, bytes);
            ::raise(signal);
            return true;
        }
    };
    for (const int signal : {SIGINT, SIGTERM}) {
        filetest::TempFolder folder;
        filetest::writeFile(folder.file("a"), "previous");
        const pid_t pid = fork();
        if (pid == 0) {
            SignalledSaver saver;
            saver.signal = signal;
            saver.save(folder.file("a"), "new");
            _exit(0);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
        EXPECT_EQ(folder.entries(), std::vector<std::string>{"a"});
        EXPECT_EQ(filetest::readFile(folder.file("a")), "previous");
    }
}
