#include "file_bytes.h"

#include <cstdio>
#include <memory>
#include <system_error>
#include <filesystem>

namespace lmx {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

} // namespace

ReadStatus readFileBytes(const std::string& path, size_t maxSize, std::string& bytes)
{
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::is_regular_file(status))
        return ReadStatus::NotReadable;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return ReadStatus::NotReadable;

    // The size is only a hint (the file may change while it is read); the loop below is
    // what counts.
    const auto hint = std::filesystem::file_size(path, ec);
    if (!ec && hint > maxSize)
        return ReadStatus::TooLarge;

    std::string out;
    if (!ec)
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
    if (std::ferror(file.get()))
        return ReadStatus::NotReadable;
    bytes = std::move(out);
    return ReadStatus::Ok;
}

} // namespace lmx
