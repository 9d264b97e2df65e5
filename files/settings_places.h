#pragma once
// Where ORVANTA.SET and Log/ live. While the program's folder is the user's to write (a
// portable copy, a build tree) both stay beside the program. An installed program's folder
// belongs to the system: the settings file then lives in the user's configuration folder and
// the log in the user's data folder, and an ORVANTA.SET beside the program is read first as
// the site's defaults (an administrator may place one there).

#include "atomic_file_saver.h"
#include "settings.h"
#include "settings_file.h"

#include <string>
#include <vector>

namespace lmx {

struct SettingsPlaces {
    std::string settingsFolder;   // ORVANTA.SET is read from and written to here
    std::string siteDefaultsFile; // read before it; empty while the settings are beside the program
    std::string logFolder;        // Log/ is made below it

    bool besideProgram() const { return siteDefaultsFile.empty(); }
};

// Whether the settings stay in programFolder: the user may write it, and it is not one of
// the folders a package manager owns (/usr), which even root must leave alone.
bool programFolderIsUsers(const std::string& programFolder);

// userConfigFolder and userDataFolder: the program's own folders in the user's configuration
// and data folders.
SettingsPlaces settingsPlaces(const std::string& programFolder, bool programFolderIsUsers,
                              const std::string& userConfigFolder,
                              const std::string& userDataFolder);

// Reads the site's defaults (when there are any) and then the user's file over them. A
// missing user file is a first start: it gives the open warning only when there were no
// site defaults either. A file that does not read gives its warning and all defaults; the
// user's file is then first kept as its ".bad" copy when keepBadCopy is set (the caller will
// write a new one over it). The site's defaults are never copied: nothing writes over them.
SettingsLoad loadSettings(const SettingsPlaces& places, TSerialSettings& serial,
                          TDisplaySettings& display, TGeneralSettings& general,
                          bool keepBadCopy = true);

// Writes the user's file, making its folder first when it is missing.
WriteResult saveSettings(const SettingsPlaces& places, const TSerialSettings& serial,
                         const TDisplaySettings& display, const TGeneralSettings& general,
                         const AtomicFileSaver& saver = defaultFileSaver());

// Makes the log's folder when the log lives in the user's data folder (Log/ itself is made
// by the log); false when it cannot be made.
bool prepareLogFolder(const SettingsPlaces& places);

} // namespace lmx
