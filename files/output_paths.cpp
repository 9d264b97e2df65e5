#include "output_paths.h"

#include "atomic_file_saver.h"

#include <filesystem>
#include <system_error>

#include <sys/stat.h>

namespace lmx {

bool sameFile(const std::string& a, const std::string& b)
{
    struct stat sa {};
    struct stat sb {};
    if (::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0)
        return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    std::error_code ec;
    const auto placeOf = [&](const std::string& name) {
        return std::filesystem::weakly_canonical(
                std::filesystem::absolute(AtomicFileSaver::fileSavedFor(name), ec), ec);
    };
    return placeOf(a) == placeOf(b);
}

std::string outputClash(const std::vector<NamedPath>& inputs, const std::vector<NamedPath>& outputs)
{
    for (size_t i = 0; i < outputs.size(); ++i) {
        const NamedPath& out = outputs[i];
        for (const NamedPath& in : inputs)
            if (sameFile(out.path, in.path))
                return out.role + " " + out.path + " is " + in.role
                     + ": writing it would destroy it. Name another file.";
        for (size_t j = 0; j < i; ++j)
            if (sameFile(out.path, outputs[j].path))
                return outputs[j].role + " and " + out.role + " name one file, " + out.path
                     + ": each needs a file of its own.";
    }
    return {};
}

std::string streamedFileRefusal(const std::string& path)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    if (!fs::exists(st) || ec)
        return {};
    if (fs::is_directory(st))
        return path + " is a folder, not a regular file.";
    if (!fs::is_regular_file(st))
        return path + " is " + (fs::is_fifo(st) ? "a named pipe" : "a device")
             + ", not a regular file.";
    const fs::perms writable = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    if ((st.permissions() & writable) == fs::perms::none)
        return path + " is read-only.";
    return {};
}

} // namespace lmx
