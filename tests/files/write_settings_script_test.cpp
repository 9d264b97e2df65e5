// scripts/write-settings.sh, which run.sh uses to point a first settings file at the virtual
// display: what it writes must be exactly what the program itself would write for that port,
// so the program reads it as it reads its own file and closing rewrites it unchanged.
#include "file_test_support.h"

#include "files/settings_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

using namespace lmx;

// Runs the script; the arguments are passed through single quotes. No port: none is given.
int runScript(const std::string& file, const char* port)
{
    std::string command = std::string("'") + WRITE_SETTINGS_SCRIPT + "' '" + file + "'";
    if (port) {
        command += " '";
        for (const char* c = port; *c; ++c)
            command += *c == '\'' ? std::string("'\\''") : std::string(1, *c);
        command += "'";
    }
    return std::system((command + " 2>/dev/null").c_str());
}

TEST(WriteSettingsScript, WritesTheProgramsOwnFileForThePort)
{
    for (const char* port : {"/dev/pts/7", "/tmp/my display's link/pty"}) {
        SCOPED_TRACE(port);
        filetest::TempFolder folder;
        ASSERT_EQ(runScript(folder.file("ORVANTA.SET"), port), 0);
        TSerialSettings serial;
        serial.PortName = port;
        EXPECT_EQ(filetest::readFile(folder.file("ORVANTA.SET")),
                  settingsFileText(serial, TDisplaySettings(), TGeneralSettings()));
        // Nothing is left beside it.
        EXPECT_EQ(folder.entries(), std::vector<std::string>{"ORVANTA.SET"});
    }
}

TEST(WriteSettingsScript, RefusesAMissingArgumentAndAFolderThatDoesNotExist)
{
    filetest::TempFolder folder;
    EXPECT_NE(runScript(folder.file("ORVANTA.SET"), nullptr), 0);
    EXPECT_NE(runScript(folder.file("no/such/ORVANTA.SET"), "/dev/pts/7"), 0);
    EXPECT_TRUE(folder.entries().empty());
}

} // namespace
