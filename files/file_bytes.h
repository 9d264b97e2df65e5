#pragma once
// Reading a file, whole or a line at a time, refusing what is not a plain file (a directory, a
// device, a pipe) and what is larger than the caller allows, so no reader can hang or run out
// of memory on a wrong path. What did not read says why, in the system's words.

#include <cstddef>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace lmx {

enum class ReadStatus {
    Ok,
    NotReadable, // missing, not a regular file, no permission, or a read error
    TooLarge,
};

// `why`, when given, takes the reason a file did not read: "No such file or directory.",
// "It is a folder, not a file.", "Permission denied."
ReadStatus readFileBytes(const std::string& path, size_t maxSize, std::string& bytes,
                         std::string* why = nullptr);

// Hands a regular file's bytes to `take` in pieces, however large the file: false, with the
// reason in why, when it does not read, or as soon as `take` returns false.
bool readFileChunks(const std::string& path, const std::function<bool(std::string_view)>& take,
                    std::string* why = nullptr);

// Nothing at all is at path (not even a dangling link): a file that is missing, as opposed
// to one that is there but cannot be read.
bool fileMissing(const std::string& path);

// The system's words for an errno value, without a full stop; "unknown error" for 0.
std::string systemReason(int error);
// What a file of this mode is when it is not a regular file ("a folder", "a named pipe",
// "a device", "a socket"); nullptr for a regular file.
const char* specialFileKind(unsigned mode);
// "It is a named pipe, not a regular file." for a special file's mode.
std::string notRegularFileText(unsigned mode);

// The lines of a file, one at a time, so that only the longest line is ever held: each
// without its LF and a CR before it, the last one also when no LF ends it.
class FileLines {
public:
    // Opens the file; refused as readFileBytes refuses it (a file larger than maxSize too).
    ReadStatus open(const std::string& path, size_t maxSize, std::string* why = nullptr);
    // False at the end of the file, on a read error, or once more than maxSize bytes came
    // (a file that grew): status() then says which.
    bool next(std::string& line);
    ReadStatus status() const { return m_status; }
    // Why the last failure happened, as readFileBytes words it.
    const std::string& why() const { return m_why; }

private:
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Closer> m_file;
    size_t m_maxSize = 0;
    size_t m_size = 0; // as the file was opened: what a long line may grow to
    size_t m_read = 0;
    ReadStatus m_status = ReadStatus::NotReadable;
    std::string m_why;
};

} // namespace lmx
