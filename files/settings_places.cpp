#include "settings_places.h"

#include "file_bytes.h"
#include "settings_file.h"

#include <filesystem>
#include <system_error>

#include <unistd.h>

namespace lmx {

bool programFolderIsUsers(const std::string& programFolder)
{
    std::error_code ec;
    const std::string folder = std::filesystem::weakly_canonical(programFolder, ec).string();
    if (folder.rfind("/usr/", 0) == 0)
        return false;
    return ::access(programFolder.c_str(), W_OK | X_OK) == 0;
}

SettingsPlaces settingsPlaces(const std::string& programFolder, bool programFolderIsUsers,
                              const std::string& userConfigFolder,
                              const std::string& userDataFolder)
{
    if (programFolderIsUsers)
        return {programFolder, {}, programFolder};
    return {userConfigFolder, settingsFilePath(programFolder), userDataFolder};
}

SettingsLoad loadSettings(const SettingsPlaces& places, TSerialSettings& serial,
                          TDisplaySettings& display, TGeneralSettings& general, bool keepBadCopy)
{
    const std::string own = settingsFilePath(places.settingsFolder);
    // A file that is there but does not read is not missing: it gets its warning.
    const bool siteExists = !places.besideProgram() && !fileMissing(places.siteDefaultsFile);
    SettingsLoad load;
    if (siteExists) {
        load = readSettingsFile(places.siteDefaultsFile, serial, display, general, false);
        if (load.warning.empty())
            load.files.push_back(places.siteDefaultsFile);
        if (fileMissing(own))
            return load; // a first start: the site's settings, or why they did not read
    }
    const std::vector<std::string> read = load.files;
    load = readSettingsFile(own, serial, display, general, keepBadCopy);
    if (load.warning.empty()) {
        load.files = read; // a file that does not read puts everything back at its default
        load.files.push_back(own);
    }
    return load;
}

WriteResult saveSettings(const SettingsPlaces& places, const TSerialSettings& serial,
                         const TDisplaySettings& display, const TGeneralSettings& general,
                         const AtomicFileSaver& saver)
{
    std::error_code ec;
    if (!places.besideProgram())
        std::filesystem::create_directories(places.settingsFolder, ec); // a failure shows in the save
    return saveSettings(places.settingsFolder, serial, display, general, saver);
}

bool prepareLogFolder(const SettingsPlaces& places)
{
    if (places.besideProgram())
        return true;
    std::error_code ec;
    std::filesystem::create_directories(places.logFolder, ec);
    return std::filesystem::is_directory(places.logFolder, ec);
}

} // namespace lmx
