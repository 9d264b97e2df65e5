#pragma once
// The debug log: time-stamped lines and hex dumps of the traffic, written to a file in a
// folder below the current folder. Callers make the program's folder current for the
// duration of their writes (PushProgramFolder ... PopProgramFolder), so the log always lands
// beside the program. The current folder here is the log's own: the process's working
// folder is never changed.

#include "platform/wall_clock.h"

#include <string>
#include <string_view>

namespace lmx {

enum class LogMode { New, Append };
enum class StampKind { None = 0, Date = 1, Time = 2, DateTime = 3 };

constexpr const char* kDebugLogFileName = "Debug.log";
constexpr const char* kDebugLogFolderName = "Log";
constexpr size_t kLogLineLength = 64;

namespace logerror {
constexpr int Ok = 0;
constexpr int NoDirectory = 1;
constexpr int NoFileName = 2;
constexpr int Conversion = 3;
constexpr int FileWrite = 4; // the folder exists but the file cannot be opened or written
} // namespace logerror

class DebugLog {
public:
    explicit DebugLog(const WallClock& clock);

    // The folder of the program, set once at start-up.
    void setProgramFolder(std::string folder) { m_programFolder = std::move(folder); }
    const std::string& programFolder() const { return m_programFolder; }

    // Remembers the current folder (one remembered folder: a second push overwrites the
    // first) and makes the program's folder current; PopProgramFolder makes the remembered
    // folder current again.
    void PushProgramFolder();
    void PopProgramFolder();
    // The folder the log's folder name is taken relative to; empty for the process's
    // working folder.
    const std::string& currentFolder() const { return m_currentFolder; }

    // Writes the stamped text as lines of at most 64 characters. False when the log folder
    // is missing and cannot be created, or the file cannot be written. The log is a regular
    // file: a folder, a named pipe or a device in its place is refused, never opened (a
    // pipe would hold the program until something reads it).
    bool WriteLog(const std::string& fileName, LogMode mode, const std::string& folderName,
                  StampKind stamp, std::string_view text);
    // A hex and character dump of bytes, 16 bytes a line, then a line holding one blank.
    // True without writing anything when there are no bytes.
    bool WriteHexDump(const std::string& fileName, LogMode mode, const std::string& folderName,
                      StampKind stamp, std::string_view bytes);

    int lastLogError() const { return m_error; }
    // The error's text, then what it concerns and the system's reason: "Could not create
    // Directory. /home/u/Log: Permission denied."
    std::string LastLogErrorText() const;

    // The dump text before it is cut into lines: per group of 16 bytes, 48 characters of hex
    // and the group's characters (a full stop for codes below 32).
    static std::string hexDumpText(std::string_view bytes);

private:
    std::string stampText(StampKind stamp) const;

    const WallClock& m_clock;
    std::string m_programFolder;
    std::string m_currentFolder;
    std::string m_rememberedFolder;
    int m_error = logerror::Ok;
    std::string m_errorDetail; // the path and the reason of the last error
};

} // namespace lmx
