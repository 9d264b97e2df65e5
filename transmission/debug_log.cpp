#include "debug_log.h"

#include "files/file_bytes.h"
#include "protocol/hex.h"

#include <cerrno>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lmx {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Opens the log for writing, or nullptr with the reason. Only a regular file (or none yet)
// is opened, and without waiting: a named pipe that takes the name after the check is
// refused at once, not waited on.
std::FILE* openLogFile(const std::string& path, LogMode mode, std::string& why)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        why = notRegularFileText(st.st_mode);
        return nullptr;
    }
    const int flags = O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC
                    | (mode == LogMode::Append ? O_APPEND : O_TRUNC);
    const int fd = ::open(path.c_str(), flags, 0666);
    if (fd < 0) {
        why = systemReason(errno) + ".";
        return nullptr;
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        why = notRegularFileText(st.st_mode);
        ::close(fd);
        return nullptr;
    }
    std::FILE* file = ::fdopen(fd, mode == LogMode::Append ? "ab" : "wb");
    if (!file) {
        why = systemReason(errno) + ".";
        ::close(fd);
    }
    return file;
}

constexpr size_t kDumpGroup = 16;
constexpr size_t kDumpHexWidth = 3 * kDumpGroup;

} // namespace

DebugLog::DebugLog(const WallClock& clock)
    : m_clock(clock)
{
}

void DebugLog::PushProgramFolder()
{
    m_rememberedFolder = m_currentFolder;
    m_currentFolder = m_programFolder;
}

void DebugLog::PopProgramFolder() { m_currentFolder = m_rememberedFolder; }

std::string DebugLog::LastLogErrorText() const
{
    const std::string detail = m_errorDetail.empty() ? std::string() : " " + m_errorDetail;
    switch (m_error) {
    case logerror::Ok:
        return "Ok.";
    case logerror::NoDirectory:
        return "Could not create Directory." + detail;
    case logerror::NoFileName:
        return "Log File Name is not set.";
    case logerror::Conversion:
        return "Convertion from Hex value to char value error.";
    default:
        return "Could not write to Log File." + detail;
    }
}

std::string DebugLog::stampText(StampKind stamp) const
{
    if (stamp == StampKind::None)
        return {};
    const LocalDateTime now = m_clock.now();
    std::string out;
    if (stamp == StampKind::Date || stamp == StampKind::DateTime)
        out += dateStampText(now) + " ";
    if (stamp == StampKind::Time || stamp == StampKind::DateTime)
        out += timeStampText(now) + " ";
    return out;
}

bool DebugLog::WriteLog(const std::string& fileName, LogMode mode,
                        const std::string& folderName, StampKind stamp, std::string_view text)
{
    m_error = logerror::Ok;
    m_errorDetail.clear();
    if (fileName.empty()) {
        m_error = logerror::NoFileName;
        return false;
    }
    namespace fs = std::filesystem;
    const fs::path folder =
        m_currentFolder.empty() ? fs::path(folderName) : fs::path(m_currentFolder) / folderName;
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        ec.clear();
        fs::create_directory(folder, ec); // one level only
        if (ec || !fs::is_directory(folder, ec)) {
            m_error = logerror::NoDirectory;
            m_errorDetail = folder.string() + ": "
                          + (ec ? ec.message() : "there is a file of that name") + ".";
            return false;
        }
    }

    const std::string path = (folder / fileName).string();
    std::string why;
    FilePtr file(openLogFile(path, mode, why));
    if (!file) {
        m_error = logerror::FileWrite;
        m_errorDetail = path + ": " + why;
        return false;
    }

    const std::string stamped = stampText(stamp) + std::string(text);
    std::string lines;
    lines.reserve(stamped.size() + 2 * (stamped.size() / kLogLineLength + 1));
    for (size_t i = 0; i < stamped.size(); i += kLogLineLength) {
        lines.append(stamped, i, kLogLineLength);
        lines += "\r\n";
    }
    const bool written = std::fwrite(lines.data(), 1, lines.size(), file.get()) == lines.size();
    const bool closed = std::fclose(file.release()) == 0;
    if (!written || !closed) {
        m_error = logerror::FileWrite;
        return false;
    }
    return true;
}

std::string DebugLog::hexDumpText(std::string_view bytes)
{
    std::string hex;
    std::string chars;
    hex.reserve(bytes.size() * 3 + kDumpHexWidth);
    chars.reserve(bytes.size());
    for (char b : bytes) {
        hex += byteToHex(static_cast<uint8_t>(b));
        hex += ' ';
        chars += static_cast<unsigned char>(b) < 32 ? '.' : b;
    }
    if (hex.size() % kDumpHexWidth != 0)
        hex.append(kDumpHexWidth - hex.size() % kDumpHexWidth, ' ');

    std::string dump;
    dump.reserve(hex.size() + chars.size());
    for (size_t group = 0; group * kDumpGroup < chars.size(); ++group) {
        dump.append(hex, group * kDumpHexWidth, kDumpHexWidth);
        dump.append(chars, group * kDumpGroup, kDumpGroup);
    }
    return dump;
}

bool DebugLog::WriteHexDump(const std::string& fileName, LogMode mode,
                            const std::string& folderName, StampKind stamp,
                            std::string_view bytes)
{
    if (bytes.empty())
        return true;
    if (!WriteLog(fileName, mode, folderName, stamp, hexDumpText(bytes)))
        return false;
    // The separator always goes after the dump, whatever mode the dump was written in.
    return WriteLog(fileName, LogMode::Append, folderName, StampKind::None, " ");
}

} // namespace lmx
