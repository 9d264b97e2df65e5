#pragma once
// ORVANTA.SET in the program's folder: the serial, display and general records as three
// object blocks, in that order, and the display list of Transmit to Displays in a fourth
// block when there is one.

#include "atomic_file_saver.h"
#include "settings.h"

#include <string>
#include <vector>

namespace lmx {

constexpr const char* kSettingsFileName = "ORVANTA.SET";
constexpr size_t kMaxSettingsFileSize = 16u * 1024 * 1024;

std::string settingsFilePath(const std::string& folder);

// Where an unreadable settings file is kept before a new one replaces it: beside it, with
// ".bad" added to its name.
std::string badSettingsFilePath(const std::string& settingsPath);

struct SettingsLoad {
    std::string warning; // empty when the file was read
    // For a file that is there but does not read: its first bad line, and where it is kept.
    std::string detail;
    std::vector<std::string> files; // the files read, in order
    // The file the warning is about when it is there (unreadable or bad); empty when the
    // file is missing or was read.
    std::string failedFile;
};

// Reads the three records from the settings file at `path`; after any failure all three
// records hold their defaults. A file that is there but does not read is first copied to
// badSettingsFilePath (replacing an older copy) when keepBadCopy is set: the caller will
// write a new file over it. A baud rate the program does not accept is a bad field.
SettingsLoad readSettingsFile(const std::string& path, TSerialSettings& serial,
                              TDisplaySettings& display, TGeneralSettings& general,
                              bool keepBadCopy);
// The same for the settings file in folder.
SettingsLoad loadSettings(const std::string& folder, TSerialSettings& serial,
                          TDisplaySettings& display, TGeneralSettings& general,
                          bool keepBadCopy = true);

std::string settingsFileText(const TSerialSettings& serial, const TDisplaySettings& display,
                             const TGeneralSettings& general);

// Writes the settings file in folder; a failed save keeps the previous file and gives the
// warning to show.
WriteResult saveSettings(const std::string& folder, const TSerialSettings& serial,
                         const TDisplaySettings& display, const TGeneralSettings& general,
                         const AtomicFileSaver& saver = defaultFileSaver());

} // namespace lmx
