#include "atomic_file_saver.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lmx {

namespace {

std::string systemReason(int error)
{
    return error != 0 ? std::strerror(error) : "unknown error";
}

std::string folderOf(const std::string& path)
{
    const std::string folder = std::filesystem::path(path).parent_path().string();
    return folder.empty() ? "." : folder;
}

// The file a save writes: the target itself, or the file at the end of its chain of
// symbolic links (which need not exist yet). False with errno set when the chain cannot be
// followed.
bool followLinks(const std::string& target, std::string& file)
{
    file = target;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(file.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return true;
        char buffer[PATH_MAX];
        const ssize_t n = ::readlink(file.c_str(), buffer, sizeof buffer);
        if (n < 0 || static_cast<size_t>(n) >= sizeof buffer)
            return false;
        const std::string link(buffer, static_cast<size_t>(n));
        file = link[0] == '/' ? link : (std::filesystem::path(folderOf(file)) / link).string();
    }
    errno = ELOOP;
    return false;
}

const char* kindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return "a folder";
    if (S_ISFIFO(mode))
        return "a named pipe";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "a device";
    if (S_ISSOCK(mode))
        return "a socket";
    return "not a regular file";
}

// Why the existing file at `file` must not be replaced; empty when it may be.
std::string refusal(const std::string& file, const struct stat& st)
{
    if (!S_ISREG(st.st_mode))
        return file + " is " + kindOf(st.st_mode) + ", not a regular file.";
    // Checked on the bits as well: a process with every privilege passes access(), yet the
    // user marked the file as not to be written.
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return file + " is read-only.";
    if (::access(file.c_str(), W_OK) != 0)
        return file + " cannot be written: " + systemReason(errno) + ".";
    return {};
}

// The new file takes the previous one's owner, group and permission bits. The owner can only
// be given by a privileged process and the group only by a member of it: what cannot be
// given stays the process's own. The bits go last, as a change of owner clears set-id bits.
void takeOverIdentity(std::FILE* file, const struct stat& previous)
{
    const int fd = ::fileno(file);
    if (::fchown(fd, previous.st_uid, previous.st_gid) != 0) {
        const int ignored = ::fchown(fd, static_cast<uid_t>(-1), previous.st_gid);
        (void)ignored;
    }
    const int unchanged = ::fchmod(fd, previous.st_mode & 07777);
    (void)unchanged;
}

// The rename is in the folder's entries: they reach the disk when the folder is synced.
void syncFolder(const std::string& path)
{
    const int fd = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

std::string saveFailureText(const SaveOutcome& outcome, const std::string& what)
{
    std::string message;
    switch (outcome.failure) {
    case SaveFailure::Refused:
    case SaveFailure::Create:
        message = "Failed to create ";
        break;
    case SaveFailure::Write:
        message = "Failed to write to ";
        break;
    default:
        message = "Unknown error while writing to ";
        break;
    }
    // The previous file was never touched: only a partial new one is deleted.
    return message + what + keptFilesText(outcome);
}

std::string keptFilesText(const SaveOutcome& outcome)
{
    std::string text = outcome.previousKept ? "The previous file is kept." : "No file was written.";
    if (!outcome.partialRemoved)
        text += " The partial file " + outcome.partialPath + " could not be deleted.";
    return text;
}

SaveOutcome AtomicFileSaver::save(const std::string& target, std::string_view bytes) const
{
    SaveOutcome outcome;
    auto fail = [&](SaveFailure failure, std::string reason) {
        outcome.failure = failure;
        outcome.reason = std::move(reason);
        return outcome;
    };

    std::string file;
    errno = 0;
    if (!followLinks(target, file))
        return fail(SaveFailure::Refused, target + ": " + systemReason(errno) + ".");
    struct stat previous {};
    errno = 0;
    const bool exists = ::stat(file.c_str(), &previous) == 0;
    if (!exists && errno != ENOENT)
        return fail(SaveFailure::Create, file + ": " + systemReason(errno) + ".");
    outcome.previousKept = exists && S_ISREG(previous.st_mode);
    if (exists)
        if (std::string why = refusal(file, previous); !why.empty())
            return fail(SaveFailure::Refused, std::move(why));

    std::string tempPath;
    errno = 0;
    std::FILE* out = createTemporary(file, exists, tempPath);
    if (!out)
        return fail(SaveFailure::Create, "Cannot create a file in the folder " + folderOf(file)
                                                 + ": " + systemReason(errno) + ".");
    errno = 0;
    bool written = writeBytes(out, bytes);
    int error = errno;
    if (exists && written)
        takeOverIdentity(out, previous);
    errno = 0;
    const bool closed = closeFile(out);
    if (written && !closed)
        error = errno;
    if (!written || !closed) {
        fail(SaveFailure::Write, "Cannot write " + file + ": " + systemReason(error) + ".");
    } else {
        errno = 0;
        if (replaceTarget(tempPath, file))
            syncFolder(file);
        else
            fail(SaveFailure::Replace, "Cannot replace " + file + ": " + systemReason(errno) + ".");
    }
    if (!outcome.ok()) {
        outcome.partialRemoved = removeFile(tempPath);
        if (!outcome.partialRemoved)
            outcome.partialPath = tempPath;
    }
    return outcome;
}

std::FILE* AtomicFileSaver::createTemporary(const std::string& target, bool privately,
                                            std::string& tempPath) const
{
    // O_EXCL: a stale temporary file or another writer's file is never reused; the next
    // number is tried instead.
    for (int n = 0; n < 100; ++n) {
        std::string name = target + ".~tmp";
        if (n > 0)
            name += std::to_string(n);
        errno = 0;
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                              privately ? 0600 : 0666);
        if (fd >= 0) {
            std::FILE* f = ::fdopen(fd, "wb");
            if (!f) {
                const int error = errno;
                ::close(fd);
                ::unlink(name.c_str());
                errno = error;
                return nullptr;
            }
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
    return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size()
        && std::fflush(file) == 0;
}

bool AtomicFileSaver::closeFile(std::FILE* file) const
{
    bool ok = std::fflush(file) == 0;
    // The rename must not reach the disk before the data does.
    ok = ::fsync(::fileno(file)) == 0 && ok;
    int error = errno;
    if (std::fclose(file) != 0 && ok) {
        ok = false;
        error = errno;
    }
    errno = error;
    return ok;
}

bool AtomicFileSaver::replaceTarget(const std::string& tempPath, const std::string& target) const
{
    return std::rename(tempPath.c_str(), target.c_str()) == 0;
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
