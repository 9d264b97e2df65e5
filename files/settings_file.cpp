#include "settings_file.h"

#include "file_bytes.h"
#include "record_fields.h"

namespace lmx {

namespace {

std::vector<RecordField> serialFields(TSerialSettings& s)
{
    return {{"PortName", &s.PortName}, {"Baudrate", &s.Baudrate},
            {"DataBits", &s.DataBits}, {"Parity", &s.Parity},
            {"StopBits", &s.StopBits}, {"HwFlow", &s.HwFlow},
            {"SwFlow", &s.SwFlow},     {"DTRCtrl", &s.DTRCtrl}};
}

std::vector<RecordField> displayFields(TDisplaySettings& d)
{
    // A network number outside 0..32 cannot be addressed; it is refused like a wrong value.
    return {{"NetNr", &d.NetNr, TDisplaySettings::kMinNetNr, TDisplaySettings::kMaxNetNr}};
}

std::vector<RecordField> generalFields(TGeneralSettings& g)
{
    return {{"ShowMainToolBar", &g.ShowMainToolBar}, {"CheckFileReplace", &g.CheckFileReplace},
            {"ShowSerialDebug", &g.ShowSerialDebug}, {"ExtendedLmx", &g.ExtendedLmx},
            {"SaveKeys", &g.SaveKeys},               {"ClearKeys", &g.ClearKeys},
            {"DebugFile", &g.DebugFile},             {"CreateDebugFile", &g.CreateDebugFile},
            {"AppendDebugFile", &g.AppendDebugFile}};
}

const char* const kOpenFailed = "Failed to open settings file.\n\rUsing Default Settings.";
const char* const kReadFailed = "Failed to read from settings file.\n\rUsing Default Settings.";
const char* const kUnknownReadError = "Unknown error reading settings file.\n\rUsing Default Settings.";

} // namespace

std::string settingsFilePath(const std::string& folder)
{
    if (folder.empty())
        return kSettingsFileName;
    if (folder.back() == '/')
        return folder + kSettingsFileName;
    return folder + "/" + kSettingsFileName;
}

std::string loadSettings(const std::string& folder, TSerialSettings& serial,
                         TDisplaySettings& display, TGeneralSettings& general)
{
    return loadSettingsFile(settingsFilePath(folder), serial, display, general);
}

std::string loadSettingsFile(const std::string& path, TSerialSettings& serial,
                             TDisplaySettings& display, TGeneralSettings& general)
{
    auto failed = [&](const char* warning) {
        serial.SetDefaults();
        display.SetDefaults();
        general.SetDefaults();
        return std::string(warning);
    };

    std::string bytes;
    switch (readFileBytes(path, kMaxSettingsFileSize, bytes)) {
    case ReadStatus::Ok:
        break;
    case ReadStatus::NotReadable:
        return failed(kOpenFailed);
    case ReadStatus::TooLarge:
        return failed(kUnknownReadError);
    }
    std::vector<NotationObject> blocks;
    if (!parseObjectNotation(bytes, blocks) || blocks.size() < 3)
        return failed(kUnknownReadError);

    // Blocks go to the records by position; their class names are not compared.
    TSerialSettings s = serial;
    TDisplaySettings d = display;
    TGeneralSettings g = general;
    const std::vector<RecordField> fields[] = {serialFields(s), displayFields(d), generalFields(g)};
    for (size_t i = 0; i < 3; ++i)
        if (assignFields(blocks[i], fields[i]) != AssignStatus::Ok)
            return failed(kReadFailed);
    serial = s;
    display = d;
    general = g;
    return {};
}

std::string settingsFileText(const TSerialSettings& serial, const TDisplaySettings& display,
                             const TGeneralSettings& general)
{
    TSerialSettings s = serial;
    TDisplaySettings d = display;
    TGeneralSettings g = general;
    ObjectNotationWriter writer(ApostropheStyle::Doubled);
    writeFields(writer, "TSerialSettings", serialFields(s));
    writeFields(writer, "TDisplaySettings", displayFields(d));
    writeFields(writer, "TGeneralSettings", generalFields(g));
    return writer.text();
}

WriteResult saveSettings(const std::string& folder, const TSerialSettings& serial,
                         const TDisplaySettings& display, const TGeneralSettings& general,
                         const AtomicFileSaver& saver)
{
    const SaveOutcome outcome =
        saver.save(settingsFilePath(folder), settingsFileText(serial, display, general));
    if (outcome.ok())
        return {};
    std::string message;
    switch (outcome.failure) {
    case SaveFailure::Create:
        message = "Failed to create settings file.\n\r";
        break;
    case SaveFailure::Write:
        message = "Failed to write to settings file.\n\r";
        break;
    default:
        message = "Unknown error while writing to settings file.\n\r";
        break;
    }
    message += outcome.partialRemoved ? "File deleted." : "File could not be deleted.";
    return {false, message};
}

} // namespace lmx
