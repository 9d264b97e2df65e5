#pragma once
// Saving a file so that the previous one survives any failure: the bytes go to a temporary
// file in the target's folder, which replaces the target only when it is complete and
// closed. On failure the temporary file is removed and the target is left as it was.
//
// Each step is a virtual function so a test can make exactly that step fail.

#include <cstdio>
#include <string>
#include <string_view>

namespace lmx {

enum class SaveFailure {
    None,
    Create,  // the temporary file could not be created
    Write,   // writing, flushing or closing it failed
    Replace, // it could not be renamed over the target
};

struct SaveOutcome {
    SaveFailure failure = SaveFailure::None;
    // After a failure: true when no partial file is left behind.
    bool partialRemoved = true;

    bool ok() const { return failure == SaveFailure::None; }
};

// What a writer reports: ok, or the message the caller shows.
struct WriteResult {
    bool ok = true;
    std::string message;
};

class AtomicFileSaver {
public:
    virtual ~AtomicFileSaver() = default;

    SaveOutcome save(const std::string& target, std::string_view bytes) const;

protected:
    // Creates a new, empty file beside target that did not exist before; returns its name
    // in tempPath, or nullptr.
    virtual std::FILE* createTemporary(const std::string& target, std::string& tempPath) const;
    virtual bool writeBytes(std::FILE* file, std::string_view bytes) const;
    // Flushes the data to the device and closes the file; the file is closed in any case.
    virtual bool closeFile(std::FILE* file) const;
    virtual bool replaceTarget(const std::string& tempPath, const std::string& target) const;
    virtual bool removeFile(const std::string& path) const;
};

// The saver every writer uses unless it is given another.
const AtomicFileSaver& defaultFileSaver();

} // namespace lmx
