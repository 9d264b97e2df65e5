#include "atomic_file_saver.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#if defined(__unix__) || defined(__APPLE__)
#include <unistd.h>
#endif

namespace lmx {

SaveOutcome AtomicFileSaver::save(const std::string& target, std::string_view bytes) const
{
    SaveOutcome outcome;
    std::string tempPath;
    std::FILE* file = createTemporary(target, tempPath);
    if (!file) {
        outcome.failure = SaveFailure::Create;
        return outcome;
    }
    const bool written = writeBytes(file, bytes);
    const bool closed = closeFile(file);
    if (!written || !closed)
        outcome.failure = SaveFailure::Write;
    else if (!replaceTarget(tempPath, target))
        outcome.failure = SaveFailure::Replace;
    if (!outcome.ok())
        outcome.partialRemoved = removeFile(tempPath);
    return outcome;
}

std::FILE* AtomicFileSaver::createTemporary(const std::string& target, std::string& tempPath) const
{
    // "x": fail when the name exists, so a stale temporary file or another writer's file
    // is never reused; the next number is tried instead.
    for (int n = 0; n < 100; ++n) {
        std::string name = target + ".~tmp";
        if (n > 0)
            name += std::to_string(n);
        errno = 0;
        if (std::FILE* f = std::fopen(name.c_str(), "wbx")) {
            tempPath = std::move(name);
            return f;
        }
        if (errno != EEXIST)
            return nullptr;
    }
    return nullptr;
}

bool AtomicFileSaver::writeBytes(std::FILE* file, std::string_view bytes) const
{
    return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

bool AtomicFileSaver::closeFile(std::FILE* file) const
{
    bool ok = std::fflush(file) == 0;
#if defined(__unix__) || defined(__APPLE__)
    // The rename must not reach the disk before the data does.
    ok = ::fsync(::fileno(file)) == 0 && ok;
#endif
    return std::fclose(file) == 0 && ok;
}

bool AtomicFileSaver::replaceTarget(const std::string& tempPath, const std::string& target) const
{
    std::error_code ec;
    std::filesystem::rename(tempPath, target, ec);
    return !ec;
}

bool AtomicFileSaver::removeFile(const std::string& path) const
{
    std::error_code ec;
    std::filesystem::remove(path, ec);
    return !ec && !std::filesystem::exists(path, ec);
}

const AtomicFileSaver& defaultFileSaver()
{
    static const AtomicFileSaver saver;
    return saver;
}

} // namespace lmx
