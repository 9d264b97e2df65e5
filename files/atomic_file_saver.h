#pragma once
// Saving a file so that the previous one survives any failure: the bytes go to a temporary
// file in the target's folder, which replaces the target only when it is complete and
// closed. On failure the temporary file is removed and the target is left as it was.
//
// A save keeps what the user set on the file: a symbolic link is followed and the file it
// names is saved, and the new file takes over the previous one's permission bits, and its
// owner and group where the process may give them. A target that is not a regular file (a
// folder, a pipe, a device) or that is read-only is refused before anything is written.
//
// A file the program names itself (the ".bad" copy of a settings file) is written with
// LinkRule::Refuse: a symbolic link in its place is refused rather than followed, so nothing
// can be written through a link planted under that name.
//
// The temporary file's name fits the system's limit on names, and while it exists SIGINT and
// SIGTERM delete it before they end the program (TemporaryFileGuard).
//
// Each step is a virtual function so a test can make exactly that step fail; a step that
// fails leaves its reason in errno.

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

namespace lmx {

enum class LinkRule {
    Follow, // the file a link names is saved (the user's own link)
    Refuse, // a link under the target's name is refused
};

enum class SaveFailure {
    None,
    Refused, // the target is not a regular file or is read-only; nothing was written
    Create,  // the temporary file could not be created
    Write,   // writing, flushing or closing it failed
    Replace, // it could not be renamed over the target
};

struct SaveOutcome {
    SaveFailure failure = SaveFailure::None;
    // After a failure: why, in the system's words, with the path it concerns.
    std::string reason;
    // After a failure: a file existed under the target's name and is untouched.
    bool previousKept = false;
    // After a failure: true when no partial file is left behind; else its name.
    bool partialRemoved = true;
    std::string partialPath;

    bool ok() const { return failure == SaveFailure::None; }
};

// What became of the files after a failed save, for the end of a message: "The previous
// file is kept." or "No file was written.", and a partial file that could not be deleted.
std::string keptFilesText(const SaveOutcome& outcome);

// The message of a failed save that tells which step failed: "Failed to create " (also for a
// refused target), "Failed to write to " or "Unknown error while writing to ", then `what`
// ("file NAME." with its line break, or "settings file.\n\r"), then keptFilesText.
std::string saveFailureText(const SaveOutcome& outcome, const std::string& what);

// What a writer reports: ok, or the message the caller shows with the system's reason as
// its detail.
struct WriteResult {
    bool ok = true;
    std::string message;
    std::string detail;
};

class AtomicFileSaver {
public:
    virtual ~AtomicFileSaver() = default;

    SaveOutcome save(const std::string& target, std::string_view bytes,
                     LinkRule links = LinkRule::Follow) const;
    // The same with the bytes of the file `source`, read a piece at a time.
    SaveOutcome copy(const std::string& source, const std::string& target,
                     LinkRule links = LinkRule::Follow) const;
    // The same with bytes that `produce` hands to its `write` as it makes them, so a large
    // file is never held whole; produce returns false (with a reason) when it cannot go on.
    using Write = std::function<bool(std::string_view)>;
    using Produce = std::function<bool(const Write& write, std::string& reason)>;
    SaveOutcome save(const std::string& target, const Produce& produce,
                     LinkRule links = LinkRule::Follow) const;

    // The file a save to target writes with LinkRule::Follow: target, or the end of its
    // chain of links (which need not exist); target itself when the chain cannot be followed.
    static std::string fileSavedFor(const std::string& target);

    // The temporary file's name for the n-th try: the target's name with ".~tmp" (and n
    // after the first), the name cut short where it would pass `nameMax` bytes.
    static std::string temporaryName(const std::string& target, int n, size_t nameMax);

protected:
    // Creates a new, empty file beside target that did not exist before, readable only by
    // the process when `privately` is set (its permissions are set before it replaces the
    // target); returns its name in tempPath, or nullptr.
    virtual std::FILE* createTemporary(const std::string& target, bool privately,
                                       std::string& tempPath) const;
    virtual bool writeBytes(std::FILE* file, std::string_view bytes) const;
    // Flushes the data to the device and closes the file; the file is closed in any case.
    virtual bool closeFile(std::FILE* file) const;
    virtual bool replaceTarget(const std::string& tempPath, const std::string& target) const;
    virtual bool removeFile(const std::string& path) const;
};

// The saver every writer uses unless it is given another.
const AtomicFileSaver& defaultFileSaver();

} // namespace lmx
