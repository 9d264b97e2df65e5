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
// Each step is a virtual function so a test can make exactly that step fail; a step that
// fails leaves its reason in errno.

#include <cstdio>
#include <string>
#include <string_view>

namespace lmx {

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

    SaveOutcome save(const std::string& target, std::string_view bytes) const;

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
