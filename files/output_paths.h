#pragma once
// Output files checked before a program writes anything: a report that would land on the
// command file it was made from, or two outputs that would land on one file, destroy a file
// without a word. Names are compared as the saver writes them: through their links, and by
// the file itself once it exists.

#include <string>
#include <vector>

namespace lmx {

struct NamedPath {
    std::string role; // how the user named it: "--report", "the command file"
    std::string path;
};

// The two names lead to one file (the same file, or the same place once links are
// followed and the names made absolute).
bool sameFile(const std::string& a, const std::string& b);

// Why the outputs cannot be written as named: one of them is one of the inputs, or two of
// them are one file; empty when they can.
std::string outputClash(const std::vector<NamedPath>& inputs, const std::vector<NamedPath>& outputs);

// Why a file already at `path` must not be replaced by one written as a run goes (a capture,
// a report of repeat runs): a device or a pipe would get the bytes (a disk would be spoilt),
// and a read-only file was marked not to be written. Empty when it may.
std::string streamedFileRefusal(const std::string& path);

} // namespace lmx
