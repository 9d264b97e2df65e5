#include "files/settings_file.h"
#include "files/settings_places.h"

#include "file_test_support.h"

#include <gtest/gtest.h>

using namespace lmx;

namespace {

const char kDefaultFile[] = "object TSerialSettings\r\n"
                            "  PortName = '\\\\.\\COM1'\r\n"
                            "  Baudrate = '19200'\r\n"
                            "  DataBits = 3\r\n"
                            "  Parity = 0\r\n"
                            "  StopBits = 0\r\n"
                            "  HwFlow = 1\r\n"
                            "  SwFlow = 0\r\n"
                            "  DTRCtrl = 0\r\n"
                            "end\r\n"
                            "object TDisplaySettings\r\n"
                            "  NetNr = 1\r\n"
                            "end\r\n"
                            "object TGeneralSettings\r\n"
                            "  ShowMainToolBar = True\r\n"
                            "  CheckFileReplace = True\r\n"
                            "  ShowSerialDebug = False\r\n"
                            "  ExtendedLmx = True\r\n"
                            "  SaveKeys = True\r\n"
                            "  ClearKeys = False\r\n"
                            "  DebugFile = False\r\n"
                            "  CreateDebugFile = True\r\n"
                            "  AppendDebugFile = False\r\n"
                            "end\r\n";

const char kOpenWarning[] = "Failed to open settings file.\n\rUsing Default Settings.";
const char kReadWarning[] = "Failed to read from settings file.\n\rUsing Default Settings.";
const char kUnknownWarning[] = "Unknown error reading settings file.\n\rUsing Default Settings.";

struct Records {
    TSerialSettings serial;
    TDisplaySettings display;
    TGeneralSettings general;
    std::string detail;

    std::string load(const filetest::TempFolder& folder)
    {
        const SettingsLoad load = loadSettings(folder.path(), serial, display, general);
        detail = load.detail;
        return load.warning;
    }
    bool areDefaults() const
    {
        return serial == TSerialSettings() && display == TDisplaySettings()
            && general == TGeneralSettings();
    }
    // Changed from the defaults, so a fall back to defaults shows.
    void change()
    {
        serial.PortName = "/dev/ttyUSB0";
        display.NetNr = 7;
        general.DebugFile = true;
    }
};

void writeSettings(const filetest::TempFolder& folder, const std::string& text)
{
    filetest::writeFile(folder.file(kSettingsFileName), text);
}

} // namespace

TEST(SettingsFile, NoFileGivesDefaultsWhichGiveThe24LineFileAndSavedRecordsReadBack)
{
    filetest::TempFolder folder;
    Records saved;
    saved.change();
    EXPECT_EQ(saved.load(folder), kOpenWarning);
    ASSERT_TRUE(saved.areDefaults());
    ASSERT_TRUE(saveSettings(folder.path(), saved.serial, saved.display, saved.general).ok);
    EXPECT_EQ(filetest::readFile(folder.file("ORVANTA.SET")), kDefaultFile);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"ORVANTA.SET"});

    saved.serial.PortName = "/dev/pts/7 'x'";
    saved.serial.Baudrate = "115200";
    saved.display.NetNr = 32;
    saved.display.NetNrList = "1-12,18";
    saved.general.ExtendedLmx = false;
    saved.general.ClearKeys = true;
    ASSERT_TRUE(saveSettings(folder.path(), saved.serial, saved.display, saved.general).ok);
    // The list in a fourth block after the three every reader knows.
    const std::string text = filetest::readFile(folder.file(kSettingsFileName));
    EXPECT_EQ(text.substr(text.find("end\r\nobject TBusSettings")),
              "end\r\nobject TBusSettings\r\n  NetNrList = '1-12,18'\r\nend\r\n");
    Records loaded;
    EXPECT_EQ(loaded.load(folder), "");
    EXPECT_EQ(loaded.serial, saved.serial);
    EXPECT_EQ(loaded.display, saved.display);
    EXPECT_EQ(loaded.general, saved.general);
}

TEST(SettingsFile, FieldsInAnyOrderAndMissingFieldsKeepDefaults)
{
    filetest::TempFolder folder;
    writeSettings(folder, "object TFoo\n DataBits = 2\n PortName = ''\nend\n"
                          "object TDisplaySettings\nend\n"
                          "object TGeneralSettings\n  debugfile = true\n  SaveKeys = False\nend\n"
                          // What a later version may add: fields of the fourth block, more blocks.
                          "object TBusSettings\n  Later = 1\n  NetNrList = '3'\nend\nobject TLater\n  X = 1\nend\n");
    Records r;
    EXPECT_EQ(r.load(folder), "");
    EXPECT_EQ(r.display.NetNrList, "3");
    EXPECT_EQ(r.serial.DataBits, 2);
    EXPECT_EQ(r.serial.PortName, "");
    EXPECT_EQ(r.display.NetNr, 1);
    EXPECT_TRUE(r.general.DebugFile);
    EXPECT_FALSE(r.general.SaveKeys);
    EXPECT_TRUE(r.general.ShowMainToolBar);

    // an empty port name is not written: reading gives the default again
    ASSERT_TRUE(saveSettings(folder.path(), r.serial, r.display, r.general).ok);
    EXPECT_EQ(filetest::readFile(folder.file(kSettingsFileName)).find("PortName"), std::string::npos);
    Records again;
    EXPECT_EQ(again.load(folder), "");
    EXPECT_EQ(again.serial.PortName, "\\\\.\\COM1");
}

TEST(SettingsFile, LineSettingsGoInABlockOfTheirOwnThatReadsBackWhereverItStands)
{
    filetest::TempFolder folder;
    Records saved;
    saved.serial.Echo = 2;
    saved.serial.RS485 = true;
    saved.serial.RS485DelayAfter = 100;
    saved.serial.Reconnect = 5;
    const char kBlock[] = "object TLineSettings\r\n  Echo = 2\r\n  RS485 = True\r\n"
                          "  RS485DelayBefore = 0\r\n  RS485DelayAfter = 100\r\n  Reconnect = 5\r\nend\r\n";
    // Without a display list it is the fourth block, which older readers take for the list
    // and find none of its fields in; with one it comes after it.
    for (const char* list : {"", "1-3"}) {
        saved.display.NetNrList = list;
        ASSERT_TRUE(saveSettings(folder.path(), saved.serial, saved.display, saved.general).ok);
        const std::string text = filetest::readFile(folder.file(kSettingsFileName));
        EXPECT_EQ(text.rfind(kDefaultFile, 0), 0u); // the three records as they always were
        EXPECT_EQ(text.substr(text.size() - (sizeof kBlock - 1)), kBlock) << list;
        EXPECT_EQ(text.find("TBusSettings") != std::string::npos, *list != '\0');
        Records loaded;
        EXPECT_EQ(loaded.load(folder), "");
        EXPECT_EQ(loaded.serial, saved.serial) << list;
        EXPECT_EQ(loaded.display.NetNrList, list);
    }
}

TEST(SettingsFile, LineSettingsBlockRefusesValuesOutsideItsRanges)
{
    filetest::TempFolder folder;
    const std::string three = std::string(kDefaultFile);
    writeSettings(folder, three + "object TLater\r\nend\r\nobject tlinesettings\r\n  Reconnect = 3600\r\n"
                                  "  LaterField = 1\r\nend\r\n");
    Records r;
    EXPECT_EQ(r.load(folder), "");
    EXPECT_EQ(r.serial.Reconnect, 3600);
    for (const char* bad : {"Echo = 3", "RS485DelayBefore = 101", "Reconnect = -1", "RS485 = 2"}) {
        writeSettings(folder, three + "object TLineSettings\r\n  " + bad + "\r\nend\r\n");
        Records wrong;
        wrong.change();
        EXPECT_EQ(wrong.load(folder), kReadWarning) << bad;
        EXPECT_EQ(wrong.detail.substr(0, 8), "Line 26 ") << bad;
        EXPECT_TRUE(wrong.areDefaults()) << bad;
    }
}

TEST(SettingsFile, EveryReadFailureFallsBackToDefaults)
{
    const std::string general = "object TGeneralSettings\nend\n";
    const std::string firstTwo = "object A\nend\nobject B\nend\n";
    const std::string wrong = ": the value is not one this setting takes.";
    const std::tuple<std::string, const char*, std::string> cases[] = {
        {firstTwo + "object TGeneralSettings\n Foo = 1\nend\n", kReadWarning,
         "Line 6 (Foo = 1): there is no such setting."},
        {"object A\n DataBits = True\nend\nobject B\nend\n" + general, kReadWarning,
         "Line 2 (DataBits = True)" + wrong},
        {"object A\n PortName = 5\nend\nobject B\nend\n" + general, kReadWarning, "Line 2"},
        {"object A\n DataBits = 99999999999999\nend\nobject B\nend\n" + general, kReadWarning, "Line 2"},
        {"object A\nend\nobject B\n NetNr = 33\nend\n" + general, kReadWarning,
         "Line 4 (NetNr = 33)" + wrong},
        {firstTwo + "object C\n ExtendedLmx = 1\nend\n", kReadWarning, "Line 6"},
        {"object A\n Baudrate = '19200'\r\n Baudrate = '1000000'\r\nend\nobject B\nend\n" + general,
         kReadWarning, "Line 3 (Baudrate = '1000000'): not a baud rate the program accepts (110 to "
                       "921600)."},
        {"object A\n Baudrate = 'fast'\nend\nobject B\nend\n" + general, kReadWarning, "Line 2"},
        {"\xEF\xBB\xBF" + firstTwo + general, kUnknownWarning, "Line 1 (\xEF\xBB\xBFobject A): the line"},
        {firstTwo, kUnknownWarning, "Line 5: the file ends before its three blocks do."},
        {firstTwo + "object C\n", kUnknownWarning, "Line 6: the line cannot be read."},
        {std::string("\x00\xFF\x7F binary", 10), kUnknownWarning, "Line 1"},
        {"", kUnknownWarning, "Line 1:"},
    };
    for (const auto& [text, warning, line] : cases) {
        filetest::TempFolder folder;
        writeSettings(folder, text);
        filetest::writeFile(folder.file("ORVANTA.SET.bad"), "an older one");
        Records r;
        r.change();
        EXPECT_EQ(r.load(folder), warning) << text;
        EXPECT_TRUE(r.areDefaults()) << text;
        // The unreadable file is kept, and the detail names it and its first bad line.
        EXPECT_EQ(r.detail.rfind(line, 0), 0u) << r.detail;
        EXPECT_NE(r.detail.find("\nThe unreadable file is kept as " + folder.file("ORVANTA.SET.bad")),
                  std::string::npos) << r.detail;
        EXPECT_EQ(filetest::readFile(folder.file("ORVANTA.SET.bad")), text);
    }
}

// The copy's name is the program's: a link planted under it is not followed, and the file it
// leads to stays as it was.
TEST(SettingsFile, TheBadCopyIsNeverWrittenThroughALink)
{
    filetest::TempFolder folder;
    writeSettings(folder, "object A\n Foo = 1\nend\n");
    filetest::writeFile(folder.file("precious"), "precious");
    std::filesystem::create_symlink(folder.file("precious"), folder.file("ORVANTA.SET.bad"));
    Records r;
    EXPECT_EQ(r.load(folder), kUnknownWarning);
    EXPECT_EQ(filetest::readFile(folder.file("precious")), "precious");
    const std::string bad = folder.file("ORVANTA.SET.bad");
    EXPECT_NE(r.detail.find("\nIt could not be kept as " + bad + ": " + bad + " is a symbolic link; it is not followed."),
              std::string::npos) << r.detail;
}

// A file that is there but cannot be opened is not missing: the detail says why.
TEST(SettingsFile, AnUnreadableFileIsToldApartFromAMissingOne)
{
    filetest::TempFolder folder;
    Records r;
    EXPECT_EQ(r.load(folder), kOpenWarning);
    EXPECT_EQ(r.detail, "");
    const std::string file = folder.file(kSettingsFileName);
    std::filesystem::create_symlink(file, file);
    EXPECT_EQ(r.load(folder), kOpenWarning);
    EXPECT_EQ(r.detail, file + " cannot be read: Too many levels of symbolic links.");
}

TEST(SettingsFile, FailedSaveKeepsThePreviousFileAndAFolderOfItsNameIsNeitherWrittenNorRead)
{
    using Step = filetest::FailingSaver::Step;
    const std::pair<filetest::FailingSaver, std::string> cases[] = {
        {filetest::FailingSaver(Step::Create), "Failed to create settings file.\n\r"},
        {filetest::FailingSaver(Step::Write), "Failed to write to settings file.\n\r"},
        {filetest::FailingSaver(Step::Close), "Failed to write to settings file.\n\r"},
        {filetest::FailingSaver(Step::Replace), "Unknown error while writing to settings file.\n\r"},
    };
    for (const auto& c : cases) {
        filetest::TempFolder folder;
        writeSettings(folder, "previous");
        Records r;
        const WriteResult result = saveSettings(folder.path(), r.serial, r.display, r.general, c.first);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.message, c.second + "The previous file is kept.");
        EXPECT_EQ(filetest::readFile(folder.file(kSettingsFileName)), "previous");
    }
    // real failures: the program's folder is gone, the name is a folder
    filetest::TempFolder folder;
    Records r;
    EXPECT_EQ(saveSettings(folder.file("gone"), r.serial, r.display, r.general).message,
              "Failed to create settings file.\n\rNo file was written.");
    std::filesystem::create_directory(folder.file(kSettingsFileName));
    const WriteResult result = saveSettings(folder.path(), r.serial, r.display, r.general);
    EXPECT_EQ(result.message, "Failed to create settings file.\n\rNo file was written.");
    EXPECT_EQ(result.detail, folder.file(kSettingsFileName) + " is a folder, not a regular file.");
    // and a folder of the file's name is not read either
    r.change();
    EXPECT_EQ(r.load(folder), kOpenWarning);
    EXPECT_TRUE(r.areDefaults());
}

// What reaches the line is checked on the port driver; here the record itself, which is saved
// at closing.
TEST(SerialSettings, ApplyFixesTheFrameInTheRecordAndKeepsPortAndRateAsTyped)
{
    TSerialSettings s;
    s.PortName = "  /dev/ttyUSB0 ";
    s.Baudrate = "230400";
    s.DataBits = 1;
    s.Parity = 2;
    s.StopBits = 2;
    s.HwFlow = 2;
    s.SwFlow = 1;
    s.DTRCtrl = 1;
    applySerialSettings(s);
    TSerialSettings fixed;
    fixed.PortName = s.PortName;
    fixed.Baudrate = s.Baudrate;
    EXPECT_EQ(s, fixed);
}

// Each case starts the program twice: a first start (load, then save at closing) and a
// second one. The program folder is "read-only" by the rule's own flag, as tests run as root.
TEST(SettingsPlaces, WritableFolderKeepsEverythingBesideTheProgramElseTheUsersFolders)
{
    struct Case {
        bool writable;
        int siteNetNr;  // an ORVANTA.SET beside the program; 0: none
        int ownNetNr;   // the user's ORVANTA.SET; 0: none
        const char* firstWarning;
        int firstNetNr;
    };
    const Case cases[] = {
        {true, 0, 0, kOpenWarning, 1},
        {true, 5, 0, "", 5},
        {false, 0, 0, kOpenWarning, 1},
        {false, 5, 0, "", 5},
        {false, 5, 7, "", 7},
        {false, 0, 7, "", 7},
    };
    for (const Case& c : cases) {
        const std::string label = std::to_string(&c - cases);
        filetest::TempFolder program, home;
        const SettingsPlaces places =
            settingsPlaces(program.path(), c.writable, home.file("config/Orvanta"), home.file("data/Orvanta"));
        EXPECT_EQ(places.logFolder, c.writable ? program.path() : home.file("data/Orvanta")) << label;
        Records r;
        if (c.siteNetNr) {
            r.display.NetNr = c.siteNetNr;
            ASSERT_TRUE(saveSettings(program.path(), r.serial, r.display, r.general).ok);
        }
        if (c.ownNetNr) {
            r.display.NetNr = c.ownNetNr;
            ASSERT_TRUE(saveSettings(places, r.serial, r.display, r.general).ok) << label;
        }
        const std::string site = c.siteNetNr ? filetest::readFile(program.file(kSettingsFileName)) : "";
        for (int start = 1; start <= 2; ++start) {
            Records loaded;
            loaded.change();
            EXPECT_EQ(loadSettings(places, loaded.serial, loaded.display, loaded.general).warning,
                      start == 1 ? c.firstWarning : "") << label << " start " << start;
            EXPECT_EQ(loaded.display.NetNr, c.firstNetNr) << label << " start " << start;
            ASSERT_TRUE(saveSettings(places, loaded.serial, loaded.display, loaded.general).ok) << label;
        }
        if (!c.writable) {
            EXPECT_EQ(filetest::readFile(program.file(kSettingsFileName)), site) << label;
            EXPECT_TRUE(std::filesystem::exists(home.file("config/Orvanta/ORVANTA.SET"))) << label;
        }
    }
    EXPECT_FALSE(programFolderIsUsers("/usr/lib/orvanta"));
}

TEST(SettingsFile, TheCaptureFolderHasABlockOfItsOwnOnlyWhenSet)
{
    filetest::TempFolder folder;
    const std::string capture = "object TCaptureSettings\r\n  CaptureFolder = '/caps'\r\nend\r\n";
    const std::string bus = "object TBusSettings\r\n  NetNrList = '1-3'\r\nend\r\n";
    for (const auto& [list, captures, after] : {std::tuple{"", "", std::string()},
                                                {"", "/caps", capture},
                                                {"1-3", "/caps", bus + capture}}) {
        Records saved;
        saved.display.NetNrList = list;
        saved.general.CaptureFolder = captures;
        ASSERT_TRUE(saveSettings(folder.path(), saved.serial, saved.display, saved.general).ok);
        EXPECT_EQ(filetest::readFile(folder.file(kSettingsFileName)), kDefaultFile + after);
        Records loaded;
        EXPECT_EQ(loaded.load(folder), "");
        EXPECT_EQ(loaded.general, saved.general);
        EXPECT_EQ(loaded.display, saved.display);
    }
}

TEST(SettingsFile, TheWindowBlockReadsBackInFourthOrFifthPlace)
{
    for (const bool withList : {false, true}) {
        filetest::TempFolder folder;
        Records saved;
        saved.general.ShowAnswerBoxes = false;
        saved.general.Window = {-20, 10, 1400, 1000, true, 700, 600};
        if (withList)
            saved.display.NetNrList = "4,5";
        ASSERT_TRUE(saveSettings(folder.path(), saved.serial, saved.display, saved.general).ok);
        Records loaded;
        EXPECT_EQ(loaded.load(folder), "") << withList;
        EXPECT_EQ(loaded.general, saved.general) << withList;
    }
}

// Fields a later version adds to the window block are passed over, as an older reader passes
// over the window block in fourth place (to it the bus block, of which it keeps the list).
TEST(SettingsFile, UnknownFieldsOfTheWindowBlockArePassedOver)
{
    filetest::TempFolder folder;
    writeSettings(folder, std::string(kDefaultFile)
                                  + "object TWindowSettings\r\n  Width = 900\r\n  Later = 'x'\r\nend\r\n");
    Records r;
    EXPECT_EQ(r.load(folder), "");
    EXPECT_EQ(r.general.Window.Width, 900);
    EXPECT_TRUE(r.display.NetNrList.empty());
}

TEST(SettingsFile, AWrongValueInTheWindowBlockIsAReadFailure)
{
    for (const char* line : {"  Width = -5\r\n", "  Maximized = 3\r\n", "  Left = 'far'\r\n"}) {
        filetest::TempFolder folder;
        writeSettings(folder, std::string(kDefaultFile) + "object TWindowSettings\r\n" + line + "end\r\n");
        Records r;
        r.change();
        EXPECT_EQ(r.load(folder), kReadWarning) << line;
        EXPECT_TRUE(r.areDefaults()) << line;
        EXPECT_NE(r.detail.find("Line 26"), std::string::npos) << line << r.detail;
    }
}
