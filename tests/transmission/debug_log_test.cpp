#include "transmission/debug_log.h"

#include "tests/files/file_test_support.h"

#include <gtest/gtest.h>

#include <functional>

#include <sys/stat.h>

using namespace lmx;

namespace {

class FixedClock : public WallClock {
public:
    LocalDateTime time{2024, 3, 9, 14, 5, 7, 42};
    LocalDateTime now() const override { return time; }
};

struct LogFixture : ::testing::Test {
    filetest::TempFolder folder;
    FixedClock clock;
    DebugLog log{clock};

    LogFixture() { log.setProgramFolder(folder.path()); }

    std::string logText() const { return filetest::readFile(folder.file("Log/Debug.log")); }
    // A text line, or with `hex` a dump of the bytes, as the program's writers make them.
    bool write(LogMode mode, StampKind stamp, std::string_view text, bool hex = false)
    {
        log.PushProgramFolder();
        const bool ok =
            hex ? log.WriteHexDump(kDebugLogFileName, mode, kDebugLogFolderName, stamp, text)
                : log.WriteLog(kDebugLogFileName, mode, kDebugLogFolderName, stamp, text);
        log.PopProgramFolder();
        return ok;
    }
    bool dump(std::string_view b) { return write(LogMode::Append, StampKind::None, b, true); }
};

} // namespace

TEST_F(LogFixture, StampsLineLengthAndDumpLayout)
{
    EXPECT_EQ(timeStampText({2024, 3, 9, 0, 0, 0, 999}), "00:00:00:999");
    EXPECT_EQ(dateStampText({1999, 12, 31, 0, 0, 0, 0}), "99:12:31");
    EXPECT_EQ(timeStampText(SystemWallClock().now()).size(), 12u);
    ASSERT_TRUE(write(LogMode::New, StampKind::DateTime, "Debug File Created: "));
    ASSERT_TRUE(write(LogMode::Append, StampKind::Time, "Transmitted: "));
    ASSERT_TRUE(write(LogMode::Append, StampKind::Date, ""));
    ASSERT_TRUE(write(LogMode::Append, StampKind::None, ""));
    // a stamped text longer than 64 characters goes on without a stamp
    ASSERT_TRUE(write(LogMode::Append, StampKind::Time, std::string(60, 'x')));
    EXPECT_EQ(logText(), "24:03:09 14:05:07:042 Debug File Created: \r\n"
                         "14:05:07:042 Transmitted: \r\n"
                         "24:03:09 \r\n"
                         "14:05:07:042 " + std::string(51, 'x') + "\r\n"
                         + std::string(9, 'x') + "\r\n");
    // mode new starts the file again
    ASSERT_TRUE(write(LogMode::New, StampKind::None, "again"));
    EXPECT_EQ(logText(), "again\r\n");
    ASSERT_TRUE(dump("\x01" "01")); // a dump: hex, then the bytes as text, then a blank line
    EXPECT_EQ(logText(), "again\r\n01 30 31 " + std::string(39, ' ') + ".01\r\n \r\n");

    std::filesystem::remove(folder.file("Log/Debug.log"));
    std::string bytes = "ABCDEFGHIJKLMNO\x0D";
    ASSERT_TRUE(dump(bytes + "\xFF"));
    const std::string hex16 = "41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 0D ";
    EXPECT_EQ(logText(), hex16 + "ABCDEFGHIJKLMNO.\r\n"
                             + "FF " + std::string(45, ' ') + "\xFF\r\n \r\n");
    EXPECT_EQ(DebugLog::hexDumpText(bytes).size(), 64u);

    // nothing to dump: nothing written, success
    std::filesystem::remove(folder.file("Log/Debug.log"));
    EXPECT_TRUE(dump(""));
    EXPECT_FALSE(std::filesystem::exists(folder.file("Log/Debug.log")));
}

TEST_F(LogFixture, LandsInTheProgramFolderWhateverTheCurrentFolderOrSaysWhyNot)
{
    log.setProgramFolder(folder.file("bin"));
    std::filesystem::create_directory(folder.file("bin"));
    const auto before = std::filesystem::current_path();
    ASSERT_TRUE(write(LogMode::New, StampKind::None, "x"));
    EXPECT_TRUE(std::filesystem::exists(folder.file("bin/Log/Debug.log")));
    EXPECT_EQ(std::filesystem::current_path(), before);
    EXPECT_EQ(log.currentFolder(), "");
    // one remembered folder: a second push overwrites the first
    log.PushProgramFolder();
    log.PushProgramFolder();
    log.PopProgramFolder();
    EXPECT_EQ(log.currentFolder(), folder.file("bin"));

    log.setProgramFolder(folder.file("missing/deeper")); // only one level is created
    EXPECT_FALSE(write(LogMode::Append, StampKind::Time, "Transmitted: "));
    EXPECT_EQ(log.lastLogError(), logerror::NoDirectory);
    const std::string noFolder = "Could not create Directory. " + folder.file("missing/deeper/Log")
                               + ": No such file or directory.";
    EXPECT_EQ(log.LastLogErrorText(), noFolder);
    EXPECT_FALSE(dump("\x01"));
    EXPECT_EQ(log.LastLogErrorText(), noFolder);

    // a plain file where the folder should be
    log.setProgramFolder(folder.path());
    filetest::writeFile(folder.file("Log"), "");
    EXPECT_FALSE(write(LogMode::Append, StampKind::None, "x"));
    EXPECT_EQ(log.lastLogError(), logerror::NoDirectory);

    // every write starts with a clean code
    std::filesystem::remove(folder.file("Log"));
    EXPECT_TRUE(write(LogMode::Append, StampKind::None, "x"));
    EXPECT_EQ(log.LastLogErrorText(), "Ok.");
}

// Only a regular file is a log: anything else in its place is refused with the reason, and a
// named pipe nobody reads is never waited on.
TEST_F(LogFixture, RefusesAFolderAPipeOrADeviceAsTheLogFile)
{
    const std::string path = folder.file("Log/Debug.log");
    const std::pair<std::function<void()>, const char*> cases[] = {
            {[&] { std::filesystem::create_directories(path); }, "It is a folder, not a file."},
            {[&] { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); }, "It is a named pipe, not a regular file."},
            {[&] { std::filesystem::create_symlink("/dev/null", path); }, "It is a device, not a regular file."},
    };
    for (const auto& [make, why] : cases) {
        std::filesystem::remove_all(folder.file("Log"));
        std::filesystem::create_directory(folder.file("Log"));
        make();
        for (const LogMode mode : {LogMode::New, LogMode::Append}) {
            EXPECT_FALSE(write(mode, StampKind::None, "x")) << why;
            EXPECT_EQ(log.LastLogErrorText(), "Could not write to Log File. " + path + ": " + why);
        }
    }
}
