// The serial settings record on the driver, the settings dialog's checks, the port names and
// the lines of the serial debug view.
#include "serial_test_support.h"

#include "port/debug_view_lines.h"
#include "port/serial_settings_apply.h"
#include "port/system_ports.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace lmx;
using namespace serialtest;

TEST(SerialSettingsApply, PortAndRateFollowTheRecordAndTheFrameIsFixed)
{
    FakeDriver d;
    TSerialSettings record;
    record.PortName = "  /dev/ttyUSB0 ";
    record.Baudrate = "230400";
    record.DataBits = 1; // as a hand-edited settings file might hold
    record.Parity = 2;
    record.StopBits = 2;
    record.HwFlow = 2;
    record.SwFlow = 1;
    record.DTRCtrl = 1;
    d.driver->SetEnableDTROnOpen(false);
    applySerialSettingsToDriver(record, *d.driver);

    EXPECT_EQ(d.driver->PortName(), "/dev/ttyUSB0");
    EXPECT_EQ(d.driver->BaudRate(), brCustom);
    EXPECT_EQ(d.driver->BaudRateValue(), 230400u);
    const LineSettings s = d.driver->CurrentLineSettings();
    EXPECT_TRUE(s.byteSize == 8 && s.parity == ptNONE && s.stopBits == sb1BITS);
    EXPECT_TRUE(s.rtsOn && s.dtrOn && !s.rtsHandshake && !s.xonXoffInput);

    record.Baudrate = "fast";
    applySerialSettingsToDriver(record, *d.driver);
    EXPECT_EQ(d.driver->BaudRateValue(), 4294967295u);
    d.fake->refused.insert("applyLineSettings"); // what a port does with that rate
    EXPECT_FALSE(d.driver->Connect());
}

TEST(SerialEntry, PortNameAndBaudRateChecksAndTheBoxesListTheComNamesThenTheSystemsPorts)
{
    EXPECT_EQ(checkSerialEntry("\\\\.\\COM1", "19200"), SerialEntryError::None);
    EXPECT_EQ(checkSerialEntry("   ", "19200"), SerialEntryError::PortName);
    EXPECT_EQ(checkSerialEntry("", "abc"), SerialEntryError::PortName); // the port first
    for (const char* ok : {"110", "921600", "230400", " 9600 "})
        EXPECT_EQ(checkSerialEntry("/dev/ttyS0", ok), SerialEntryError::None) << ok;
    for (const char* bad : {"109", "921601", "abc", "", "96 00", "-9600", "99999999999"})
        EXPECT_EQ(checkSerialEntry("/dev/ttyS0", bad), SerialEntryError::BaudRate) << bad;

    const auto items = portBoxItems({"/dev/ttyS0", "\\\\.\\COM3", "/dev/ttyUSB0", ""});
    ASSERT_EQ(items.size(), 18u);
    EXPECT_EQ(items.front(), "\\\\.\\COM1");
    EXPECT_EQ(std::vector<std::string>(items.begin() + 15, items.end()),
              (std::vector<std::string>{"\\\\.\\COM16", "/dev/ttyS0", "/dev/ttyUSB0"}));
    EXPECT_EQ(baudRateBoxItems().size(), 18u);
    EXPECT_EQ(baudRateBoxItems()[14], "230400");
}

// Made-up ports: plain files stand in for the devices, and a folder of links for by-id.
TEST(SystemPorts, EachPortSaysWhatItIsAndIsFollowedByItsStableNamesAndComNamesMapToThem)
{
    QTemporaryDir dev;
    const std::string root = dev.path().toStdString();
    for (const char* name : {"ttyS0", "ttyUSB0", "ttyUSB1"})
        QFile(dev.filePath(name)).open(QIODevice::WriteOnly);
    QDir(dev.path()).mkdir("by-id");
    QFile::link(dev.filePath("ttyUSB1"), dev.filePath("by-id/usb-Silabs_CP2102_0001-if00"));
    QFile::link(dev.filePath("ttyUSB0"), dev.filePath("by-id/usb-FTDI_FT232R_A1-if00"));
    QFile::link(dev.filePath("gone"), dev.filePath("by-id/usb-unplugged"));
    const std::vector<SystemPort> ports = {
        {root + "/ttyS0", "", "", ""},
        {root + "/ttyUSB0", "FT232R USB UART", "FTDI", "A1"},
        {root + "/ttyUSB1", "CP2102", "CP2102", ""},
    };
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"/ttyS0", ""},
        {"/ttyUSB0", "FT232R USB UART, FTDI, serial number A1"},
        {"/by-id/usb-FTDI_FT232R_A1-if00",
         "always the adapter now at " + root + "/ttyUSB0"},
        {"/ttyUSB1", "CP2102"},
        {"/by-id/usb-Silabs_CP2102_0001-if00", "always the adapter now at " + root + "/ttyUSB1"},
    };
    const std::vector<PortChoice> choices = portChoices(ports, root + "/by-id");
    ASSERT_EQ(choices.size(), expected.size());
    for (size_t i = 0; i < choices.size(); ++i) {
        EXPECT_EQ(choices[i].name, root + expected[i].first);
        EXPECT_EQ(choices[i].about, expected[i].second);
    }
    EXPECT_EQ(portChoices(ports, root + "/none").size(), 3u);

    EXPECT_EQ(devicePathOf("\\\\.\\COM1"), "/dev/ttyS0");
    EXPECT_EQ(devicePathOf("\\\\.\\COM12"), "/dev/ttyS11");
    EXPECT_EQ(devicePathOf("\\\\.\\com3"), "/dev/ttyS2");
    for (const char* same : {"/dev/ttyUSB0", "/dev/pts/7", "COM3", "\\\\.\\COM0", "\\\\.\\COM",
                             "\\\\.\\COMx", "\\\\.\\COM1x", "\\\\.\\COM12345", "ttyS0", ""})
        EXPECT_EQ(devicePathOf(same), same) << same;
}

TEST(DebugViewLines, EightBytesALineInHexAndAsCharacters)
{
    const auto lines = debugViewLines("\x01\x05" "01FE0003" "\x1B");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].hex, "01 05 30 31 46 45 30 30 ");
    EXPECT_EQ(lines[0].chars, "\x01 \x05 0 1 F E 0 0 ");
    EXPECT_EQ(lines[1].hex, "30 33 1B ");

    EXPECT_TRUE(debugViewLines("").empty());
    EXPECT_EQ(debugViewLines("12345678").size(), 1u);
    const auto breaks = debugViewLines(std::string("\r\n\0\xFF", 4));
    ASSERT_EQ(breaks.size(), 1u);
    EXPECT_EQ(breaks[0].hex, "0D 0A 00 FF ");
    EXPECT_EQ(breaks[0].chars, std::string("\xAC \xAC \0 \xFF ", 8));
}
