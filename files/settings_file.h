#pragma once
// ORVANTA.SET in the program's folder: the serial, display and general records as three
// object blocks, in that order.

#include "atomic_file_saver.h"
#include "settings.h"

#include <string>

namespace lmx {

constexpr const char* kSettingsFileName = "ORVANTA.SET";
constexpr size_t kMaxSettingsFileSize = 16u * 1024 * 1024;

std::string settingsFilePath(const std::string& folder);

// Reads the three records from the settings file in folder. Returns the warning to show,
// empty when the file was read; after any failure all three records hold their defaults.
std::string loadSettings(const std::string& folder, TSerialSettings& serial,
                         TDisplaySettings& display, TGeneralSettings& general);
// The same for the settings file at path.
std::string loadSettingsFile(const std::string& path, TSerialSettings& serial,
                             TDisplaySettings& display, TGeneralSettings& general);

std::string settingsFileText(const TSerialSettings& serial, const TDisplaySettings& display,
                             const TGeneralSettings& general);

// Writes the settings file in folder; a failed save keeps the previous file and gives the
// warning to show.
WriteResult saveSettings(const std::string& folder, const TSerialSettings& serial,
                         const TDisplaySettings& display, const TGeneralSettings& general,
                         const AtomicFileSaver& saver = defaultFileSaver());

} // namespace lmx
