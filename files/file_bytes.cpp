#include "file_bytes.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lmx {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

void tell(std::string* why, std::string text)
{
    if (why)
        *why = std::move(text);
}

// Opens a regular file for reading; nullptr with the reason otherwise. A named pipe is
// opened without waiting for a writer, so even one that appears between the check and the
// open never blocks.
std::FILE* openRegular(const std::string& path, std::string* why, off_t& size)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        tell(why, systemReason(errno) + ".");
        return nullptr;
    }
    if (!S_ISREG(st.st_mode)) {
        tell(why, notRegularFileText(st.st_mode));
        return nullptr;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        tell(why, fd < 0 ? systemReason(errno) + "." : notRegularFileText(st.st_mode));
        if (fd >= 0)
            ::close(fd);
        return nullptr;
    }
    // Reads of a regular file never wait; the flag is taken off all the same.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    std::FILE* file = ::fdopen(fd, "rb");
    if (!file) {
        tell(why, systemReason(errno) + ".");
        ::close(fd);
        return nullptr;
    }
    size = st.st_size;
    return file;
}

} // namespace

bool fileMissing(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) != 0 && (errno == ENOENT || errno == ENOTDIR);
}

std::string systemReason(int error)
{
    return error != 0 ? std::strerror(error) : "unknown error";
}

const char* specialFileKind(unsigned mode)
{
    if (S_ISREG(mode))
        return nullptr;
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

std::string notRegularFileText(unsigned mode)
{
    if (S_ISDIR(mode))
        return "It is a folder, not a file.";
    return std::string("It is ") + specialFileKind(mode) + ", not a regular file.";
}

ReadStatus readFileBytes(const std::string& path, size_t maxSize, std::string& bytes,
                         std::string* why)
{
    off_t hint = 0;
    std::unique_ptr<std::FILE, FileCloser> file(openRegular(path, why, hint));
    if (!file)
        return ReadStatus::NotReadable;
    // The size is only a hint (the file may change while it is read); the loop below is
    // what counts.
    if (static_cast<unsigned long long>(hint) > maxSize)
        return ReadStatus::TooLarge;

    std::string out;
    out.reserve(static_cast<size_t>(hint));
    char buffer[65536];
    for (;;) {
        const size_t n = std::fread(buffer, 1, sizeof buffer, file.get());
        if (n > 0) {
            if (out.size() + n > maxSize)
                return ReadStatus::TooLarge;
            out.append(buffer, n);
        }
        if (n < sizeof buffer)
            break;
    }
    if (std::ferror(file.get())) {
        tell(why, systemReason(errno) + ".");
        return ReadStatus::NotReadable;
    }
    bytes = std::move(out);
    return ReadStatus::Ok;
}

bool readFileChunks(const std::string& path, const std::function<bool(std::string_view)>& take,
                    std::string* why)
{
    off_t size = 0;
    std::unique_ptr<std::FILE, FileCloser> file(openRegular(path, why, size));
    if (!file)
        return false;
    char buffer[65536];
    for (;;) {
        const size_t n = std::fread(buffer, 1, sizeof buffer, file.get());
        if (n > 0 && !take(std::string_view(buffer, n)))
            return false;
        if (n < sizeof buffer)
            break;
    }
    if (std::ferror(file.get())) {
        tell(why, systemReason(errno) + ".");
        return false;
    }
    return true;
}

ReadStatus FileLines::open(const std::string& path, size_t maxSize, std::string* why)
{
    off_t size = 0;
    m_file.reset(openRegular(path, &m_why, size));
    m_maxSize = maxSize;
    m_size = static_cast<size_t>(size);
    m_read = 0;
    m_status = !m_file                                           ? ReadStatus::NotReadable
             : static_cast<unsigned long long>(size) > maxSize ? ReadStatus::TooLarge
                                                               : ReadStatus::Ok;
    if (m_status == ReadStatus::TooLarge)
        m_file.reset();
    tell(why, m_why);
    return m_status;
}

bool FileLines::next(std::string& line)
{
    line.clear();
    if (!m_file || m_status != ReadStatus::Ok)
        return false;
    bool any = false;
    for (int c; (c = getc_unlocked(m_file.get())) != EOF;) {
        any = true;
        if (++m_read > m_maxSize) {
            m_status = ReadStatus::TooLarge;
            return false;
        }
        if (c == '\n') {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            return true;
        }
        // A long line gets room for the rest of the file at once: growing by doubling would
        // hold the old room and the new one together, up to three times the line.
        if (line.size() == line.capacity() && line.size() >= 65536 && m_size > m_read)
            line.reserve(line.size() + (m_size - m_read) + 1);
        line += static_cast<char>(c);
    }
    if (std::ferror(m_file.get())) {
        m_why = systemReason(errno) + ".";
        m_status = ReadStatus::NotReadable;
        return false;
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return any;
}

} // namespace lmx
