// scripts/write-settings.sh, which run.sh uses to point a first settings file at the virtual
// display: what it writes must be exactly what the program itself would write for that port,
// so the program reads it without a warning and closing rewrites it unchanged.
#include "file_test_support.h"

#include "files/settings_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

using namespace lmx;

// Runs the script; the arguments are passed through single quotes.
int runScript(const std::string& file, const std::string& port)
{
    std::string quotedPort;
    for (char c : port)
        quotedPort += c == '\'' ? std::string("'\\''") : std::string(1, c);
    const std::string command = std::string("'") + WRITE_SETTINGS_SCRIPT + "' '" + file + "' '"
            + quotedPort + "' 2>/dev/null";
    return std::system(command.c_str());
}

std::string expectedFor(const std::string& port)
{
    TSerialSettings serial;
    serial.PortName = port;
    return settingsFileText(serial, TDisplaySettings(), TGeneralSettings());
}

TEST(WriteSettingsScript, WritesTheProgramsOwnFileForThePortAndItReadsBackWithoutWarning)
{
    for (const std::string& port : {std::string("/dev/pts/7"),
                                   std::string("/tmp/my display's link/pty")}) {
        SCOPED_TRACE(port);
        filetest::TempFolder folder;
        ASSERT_EQ(runScript(folder.file("ORVANTA.SET"), port), 0);
        EXPECT_EQ(filetest::readFile(folder.file("ORVANTA.SET")), expectedFor(port));
        // Nothing is left beside it.
        EXPECT_EQ(folder.entries(), std::vector<std::string>{"ORVANTA.SET"});

        TSerialSettings serial;
        TDisplaySettings display;
        TGeneralSettings general;
        EXPECT_EQ(loadSettings(folder.path(), serial, display, general).warning, "");
        EXPECT_EQ(serial.PortName, port);
        EXPECT_EQ(general, TGeneralSettings());
    }
}

TEST(WriteSettingsScript, RefusesAMissingArgumentAndAFolderThatDoesNotExist)
{
    filetest::TempFolder folder;
    const std::string lonely = std::string("'") + WRITE_SETTINGS_SCRIPT + "' '"
            + folder.file("ORVANTA.SET") + "' 2>/dev/null";
    EXPECT_NE(std::system(lonely.c_str()), 0);
    EXPECT_NE(runScript(folder.file("no/such/ORVANTA.SET"), "/dev/pts/7"), 0);
    EXPECT_TRUE(folder.entries().empty());
}

} // namespace
