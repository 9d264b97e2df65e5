#pragma once
// Shared by the file tests: a fresh folder per test, file helpers, and a saver that fails at
// a chosen step.

#include "files/atomic_file_saver.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace filetest {

class TempFolder {
public:
    TempFolder()
    {
        m_path = (std::filesystem::temp_directory_path() / "orvanta-XXXXXX").string();
        if (!mkdtemp(m_path.data()))
            std::abort();
    }
    ~TempFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return m_path; }
    std::string file(const std::string& name) const { return m_path + "/" + name; }
    // Names of everything in the folder, sorted.
    std::vector<std::string> entries() const
    {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(m_path))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::string m_path;
};

inline void writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Fails at one step of the save, as a lost device or a refused rename would.
class FailingSaver : public lmx::AtomicFileSaver {
public:
    enum class Step { Create, Write, Close, Replace };
    explicit FailingSaver(Step step, bool removeFails = false)
        : m_step(step)
        , m_removeFails(removeFails)
    {
    }

protected:
    std::FILE* createTemporary(const std::string& target, bool privately,
                               std::string& tempPath) const override
    {
        errno = EIO;
        if (m_step == Step::Create)
            return nullptr;
        return AtomicFileSaver::createTemporary(target, privately, tempPath);
    }
    bool writeBytes(std::FILE* file, std::string_view bytes) const override
    {
        if (m_step != Step::Write)
            return AtomicFileSaver::writeBytes(file, bytes);
        AtomicFileSaver::writeBytes(file, bytes.substr(0, bytes.size() / 2));
        errno = EIO;
        return false;
    }
    bool closeFile(std::FILE* file) const override
    {
        const bool ok = AtomicFileSaver::closeFile(file);
        errno = EIO;
        return ok && m_step != Step::Close;
    }
    bool replaceTarget(const std::string& tempPath, const std::string& target) const override
    {
        errno = EIO;
        return m_step != Step::Replace && AtomicFileSaver::replaceTarget(tempPath, target);
    }
    bool removeFile(const std::string& path) const override
    {
        return !m_removeFails && AtomicFileSaver::removeFile(path);
    }

private:
    Step m_step;
    bool m_removeFails;
};

} // namespace filetest
