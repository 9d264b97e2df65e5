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

// The capture folder's block, known by its name wherever it stands after the three records.
constexpr const char* kCaptureBlockName = "TCaptureSettings";

std::vector<RecordField> captureFields(TGeneralSettings& g)
{
    return {{"CaptureFolder", &g.CaptureFolder}};
}

// The window program's own block: where its window stands and whether failed answers open
// message boxes. It is written only when one of them differs from its default, after the bus
// block when there is one; a reader that takes a fourth block for the bus block finds none of
// its fields here, and one that stops after the fourth never reaches it in fifth place.
constexpr const char* kWindowBlockName = "TWindowSettings";
constexpr int kMaxWindowCoordinate = 1000000;

std::vector<RecordField> windowFields(TGeneralSettings& g)
{
    WindowPlacement& w = g.Window;
    const int limit = kMaxWindowCoordinate;
    return {{"Left", &w.Left, -limit, limit},
            {"Top", &w.Top, -limit, limit},
            {"Width", &w.Width, 0, limit},
            {"Height", &w.Height, 0, limit},
            {"Maximized", &w.Maximized},
            {"EditorWidth", &w.EditorWidth, 0, limit},
            {"TopHeight", &w.TopHeight, 0, limit},
            {"ShowAnswerBoxes", &g.ShowAnswerBoxes}};
}

bool windowBlockNeeded(const TGeneralSettings& g)
{
    return !g.ShowAnswerBoxes || !g.Window.isDefault();
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
        if (!fileMissing(path))
            load.failedFile = path;
        if (line > 0)
            load.detail = "Line " + std::to_string(line) + lineText(bytes, line) + ": " + why + ".";
        if (!keepBadCopy || line <= 0)
            return load;
        // Saved as any file is, but a link under the copy's name is never followed: the
        // name is the program's, not one the user chose.
        const std::string bad = badSettingsFilePath(path);
        const SaveOutcome kept = defaultFileSaver().copy(path, bad, LinkRule::Refuse);
        load.detail += kept.ok() ? "\nThe unreadable file is kept as " + bad + "."
                                 : "\nIt could not be kept as " + bad + ": " + kept.reason;
        return load;
    };

    std::string why;
    switch (readFileBytes(path, kMaxSettingsFileSize, bytes, &why)) {
    case ReadStatus::Ok:
        break;
    case ReadStatus::NotReadable:
        // A file that is there but does not open is not a first start: say why.
        failed(kOpenFailed, 0, "");
        if (!load.failedFile.empty())
            load.detail = path + " cannot be read: " + why;
        return load;
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

    // The three records' blocks go to them by position; their class names are not compared.
    // After them the line, capture and window blocks are known by their names, and the bus
    // block by its place (the fourth, whatever its name, as files had it before there were
    // other blocks) or its name; further blocks are left for later versions.
    TSerialSettings s = serial;
    TDisplaySettings d = display;
    TGeneralSettings g = general;
    std::vector<std::vector<RecordField>> fields = {serialFields(s), displayFields(d),
                                                    generalFields(g)};
    for (size_t i = 3; i < blocks.size(); ++i) {
        if (isLineSettingsBlock(blocks[i]))
            fields.push_back(lineSettingsFields(s));
        else if (fieldNamed(blocks[i].className, kCaptureBlockName))
            fields.push_back(captureFields(g));
        else if (fieldNamed(blocks[i].className, kWindowBlockName))
            fields.push_back(windowFields(g));
        else if (i == 3 || fieldNamed(blocks[i].className, kBusBlockName))
            fields.push_back(busFields(d));
        else
            fields.emplace_back();
        blocks[i] = knownFieldsOnly(blocks[i], fields.back());
    }
    for (size_t i = 0; i < blocks.size(); ++i) {
        const NotationProperty* bad = nullptr;
        const AssignStatus status = assignFields(blocks[i], fields[i], &bad);
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
    if (!g.CaptureFolder.empty())
        writeFields(writer, kCaptureBlockName, captureFields(g));
    if (windowBlockNeeded(g))
        writeFields(writer, kWindowBlockName, windowFields(g));
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
