// Reading and writing a 100,000-line command file with nested blocks. Targets on the 2-core
// build machine: read <= 300 ms, write <= 150 ms, peak memory <= 100 MB.
#include "files/command_file_reader.h"
#include "files/command_file_writer.h"
#include "protocol/hex.h"
#include "protocol/vocabulary.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/resource.h>

namespace {

constexpr int kLines = 100000;

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // ru_maxrss is in kB on Linux
}

// Display blocks of 50 lines: SOT, STX, SOP, SOL, 42 commands of mixed kinds, the four ends.
std::vector<lmx::CommandListLine> generatedList()
{
    using namespace lmx;
    std::vector<CommandListLine> lines;
    lines.reserve(kLines + 1);
    auto add = [&](const CommandEntry& e, int depth) {
        lines.push_back({e.displayText, e.commandLine, indentOfDepth(depth), fontColourOf(e.displayText)});
    };
    int block = 0;
    while (lines.size() + 50 <= static_cast<size_t>(kLines)) {
        const std::string number = toHex(block++ % 100, 2);
        add(blockStartLine(BlockKind::Display, number), 0);
        add(blockStartLine(BlockKind::Message, "01"), 1);
        add(blockStartLine(BlockKind::Page, "02"), 2);
        add(blockStartLine(BlockKind::Line, "03"), 3);
        for (int i = 0; i < 42; ++i) {
            switch (i % 6) {
            case 0: add(textLine("Platform 3 - departure 10:" + std::to_string(10 + i)), 4); break;
            case 1: add(escapeLine(esc::Font, "1"), 4); break;
            case 2: add(escapeLine(esc::HorPos, "7FF"), 4); break;
            case 3: add(keyLine("F1", esc::Color, "2"), 4); break;
            case 4: add(hexLine("22 33 AA", "\x22\x33\xAA"), 4); break;
            default: add(breakLine(false, "05000"), 4); break;
            }
        }
        add(blockEndLine(BlockKind::Line), 3);
        add(blockEndLine(BlockKind::Page), 2);
        add(blockEndLine(BlockKind::Message), 1);
        add(blockEndLine(BlockKind::Display), 0);
    }
    add(endLine(), 0);
    return lines;
}

// A scratch folder, removed when the program ends.
struct BenchFolder {
    std::string path;
    BenchFolder()
    {
        const auto p = std::filesystem::temp_directory_path() / "orvanta-files-bench";
        std::filesystem::create_directories(p);
        path = p.string();
    }
    ~BenchFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
};

const std::string& benchFolder()
{
    static const BenchFolder folder;
    return folder.path;
}

const std::string& sampleFile()
{
    static const std::string path = [] {
        const std::string p = benchFolder() + "/read.lmx";
        const auto lines = generatedList();
        if (!lmx::writeCommandFile(p, lines, {"T=@@", "<End>"}, true).ok)
            std::abort();
        return p;
    }();
    return path;
}

} // namespace

static void BM_ReadCommandFile(benchmark::State& state)
{
    const std::string& path = sampleFile();
    size_t lines = 0;
    for (auto _ : state) {
        lmx::KeySet keys = lmx::makeKeySet();
        const lmx::CommandFileReadResult r = lmx::readCommandFile(path, keys);
        if (!r.ok())
            state.SkipWithError(r.message.c_str());
        lines = r.content.commands.size();
        benchmark::DoNotOptimize(r);
    }
    state.counters["lines"] = static_cast<double>(lines);
    state.counters["peak_MB"] = peakMegabytes();
}
BENCHMARK(BM_ReadCommandFile)->Unit(benchmark::kMillisecond);

static void BM_WriteCommandFile(benchmark::State& state)
{
    const auto lines = generatedList();
    const std::string path = benchFolder() + "/write.lmx";
    for (auto _ : state) {
        if (!lmx::writeCommandFile(path, lines, {"T=@@", "<End>"}, true).ok)
            state.SkipWithError("write failed");
    }
    state.counters["lines"] = static_cast<double>(lines.size());
    state.counters["peak_MB"] = peakMegabytes();
}
BENCHMARK(BM_WriteCommandFile)->Unit(benchmark::kMillisecond);
