#pragma once
// Key files (*.kcf): the four key definitions as four "object TKeyDefinition" blocks.

#include "atomic_file_saver.h"
#include "key_definition.h"

#include <string>
#include <string_view>

namespace lmx {

constexpr size_t kMaxKeyFileSize = 16u * 1024 * 1024;

std::string keyFileText(const KeySet& keys);

// A failed write keeps the previous file and gives the warning to show.
WriteResult writeKeyFile(const std::string& fileName, const KeySet& keys,
                         const AtomicFileSaver& saver = defaultFileSaver());

// Reads the four blocks into the keys by position; a property missing from a block keeps the
// key's value. Returns the warning to show, empty when read; after any failure all four keys
// are free.
std::string readKeyFile(const std::string& fileName, KeySet& keys);
// The same on the file's bytes; fileName is used only in the message.
std::string parseKeyFile(std::string_view bytes, const std::string& fileName, KeySet& keys);

} // namespace lmx
