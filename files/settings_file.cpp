#include "settings_file.h"

#include "file_bytes.h"
#include "line_settings_block.h"
#include "record_fields.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace lmx {

namespace {

bool fieldNamed(const std::string& name, std::string_view field);

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

// The block after the three records. Fields a later version may add to it are left alone,
// so that a file it writes still reads here.
constexpr const char* kBusBlockName = "TBusSettings";

std::vector<RecordField> busFields(TDisplaySettings& d)
{
    return {{"NetNrList", &d.NetNrList}};
}

NotationObject knownFieldsOnly(const NotationObject& block, const std::vector<RecordField>& fields)
{
    NotationObject known{block.className, {}};
    for (const NotationProperty& p : block.properties)
        if (std::any_of(fields.begin(), fields.end(),
                        [&](const RecordField& f) { return fieldNamed(p.name, f.name); }))
            known.properties.push_back(p);
    return known;
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

int lineCount(std::string_view bytes)
{
    const auto breaks = static_cast<int>(std::count(bytes.begin(), bytes.end(), '\n'));
    return bytes.empty() || bytes.back() == '\n' ? breaks : breaks + 1;
}

// " (text)" of line `number` (from 1) without its blanks around; empty past the end.
std::string lineText(std::string_view bytes, int number)
{
    size_t start = 0;
    for (int n = 1; n < number && start != std::string_view::npos; ++n) {
        start = bytes.find('\n', start);
        start = start == std::string_view::npos ? start : start + 1;
    }
    if (start == std::string_view::npos || start >= bytes.size())
        return {};
    const std::string_view line = bytes.substr(start, bytes.find('\n', start) - start);
    const std::string text = trimmedBlanks(std::string(line.substr(0, 80)));
    return text.empty() ? std::string() : " (" + text + ")";
}

bool fieldNamed(const std::string& name, std::string_view field)
{
    return std::equal(name.begin(), name.end(), field.begin(), field.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
}

} // namespace

std::string settingsFilePath(const std::string& folder)
{
    if (folder.empty())
        return kSettingsFileName;
    if (folder.back() == '/')
        return folder + kSettingsFileName;
    return folder + "/" + kSettingsFileName;
}

std::string badSettingsFilePath(const std::string& settingsPath)
{
    return settingsPath + ".bad";
}

SettingsLoad readSettingsFile(const std::string& path, TSerialSettings& serial,
                              TDisplaySettings& display, TGeneralSettings& general,
                              bool keepBadCopy)
{
    std::string bytes;
    SettingsLoad load;
    // After any failure: the defaults, and the bad line with the copy of the file.
    auto failed = [&](const char* warning, int line, const std::string& why) {
        serial.SetDefaults();
        display.SetDefaults();
        general.SetDefaults();
        load.warning = warning;
        if (line > 0)
            load.detail = "Line " + std::to_string(line) + lineText(bytes, line) + ": " + why + ".";
        if (!keepBadCopy || line <= 0)
            return load;
        std::error_code ec;
        const std::string bad = badSettingsFilePath(path);
        std::filesystem::copy_file(path, bad, std::filesystem::copy_options::overwrite_existing, ec);
        load.detail += ec ? "\nIt could not be kept as " + bad + ": " + ec.message() + "."
                          : "\nThe unreadable file is kept as " + bad + ".";
        return load;
    };

    switch (readFileBytes(path, kMaxSettingsFileSize, bytes)) {
    case ReadStatus::Ok:
        break;
    case ReadStatus::NotReadable:
        return failed(kOpenFailed, 0, "");
    case ReadStatus::TooLarge:
        return failed(kUnknownReadError, 1, "the file is larger than any settings file");
    }
    std::vector<NotationObject> blocks;
    int errorLine = 0;
    if (!parseObjectNotation(bytes, blocks, &errorLine))
        return failed(kUnknownReadError, errorLine, "the line cannot be read");
    if (blocks.size() < 3)
        return failed(kUnknownReadError, lineCount(bytes) + 1,
                      "the file ends before its three blocks do");

    // Blocks go to the records by position; their class names are not compared. After the
    // three records the line settings' block is found by its name wherever it stands; other
    // blocks after the fourth are left for later versions.
    TSerialSettings s = serial;
    TDisplaySettings d = display;
    TGeneralSettings g = general;
    const std::vector<RecordField> fields[] = {serialFields(s), displayFields(d), generalFields(g),
                                               busFields(d), lineSettingsFields(s)};
    for (size_t i = 0; i < blocks.size(); ++i) {
        const size_t kind = i < 3 ? i : isLineSettingsBlock(blocks[i]) ? 4 : i == 3 ? 3 : 0;
        if (i >= 3 && kind == 0)
            continue;
        if (i >= 3)
            blocks[i] = knownFieldsOnly(blocks[i], fields[kind]);
        const NotationProperty* bad = nullptr;
        const AssignStatus status = assignFields(blocks[i], fields[kind], &bad);
        if (status != AssignStatus::Ok)
            return failed(kReadFailed, bad->line,
                          status == AssignStatus::UnknownField
                              ? "there is no such setting"
                              : "the value is not one this setting takes");
    }
    // A rate no port takes would only show when the port is opened, as a failure to open it.
    if (!isAcceptedBaudRate(s.Baudrate)) {
        int line = 0; // of the Baudrate that was read last
        for (const NotationProperty& p : blocks[0].properties)
            line = fieldNamed(p.name, "Baudrate") ? p.line : line;
        return failed(kReadFailed, line, "not a baud rate the program accepts ("
                                             + std::to_string(kMinBaudRateEntry) + " to "
                                             + std::to_string(kMaxBaudRateEntry) + ")");
    }
    serial = s;
    display = d;
    general = g;
    return load;
}

SettingsLoad loadSettings(const std::string& folder, TSerialSettings& serial,
                          TDisplaySettings& display, TGeneralSettings& general, bool keepBadCopy)
{
    return readSettingsFile(settingsFilePath(folder), serial, display, general, keepBadCopy);
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
    // Only when there is a list: the file of a user who never sent to many displays is the
    // three blocks it always was.
    if (!d.NetNrList.empty())
        writeFields(writer, kBusBlockName, busFields(d));
    if (hasLineSettings(s))
        writeFields(writer, kLineBlockName, lineSettingsFields(s));
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
    return {false, saveFailureText(outcome, "settings file.\n\r"), outcome.reason};
}

} // namespace lmx
