#pragma once
// Reading a whole file into memory, refusing what is not a plain file (a directory, a device,
// a pipe) and what is larger than the caller allows, so no reader can hang or run out of
// memory on a wrong path.

#include <cstddef>
#include <string>

namespace lmx {

enum class ReadStatus {
    Ok,
    NotReadable, // missing, not a regular file, no permission, or a read error
    TooLarge,
};

ReadStatus readFileBytes(const std::string& path, size_t maxSize, std::string& bytes);

} // namespace lmx
