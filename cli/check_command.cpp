// lmx check: read a command file as the window's Load does, print the export of its command,
// hex and answer boxes, and optionally write it back as Save does.
#include "cli_options.h"
#include "commands.h"

#include "files/command_file_reader.h"
#include "files/command_file_writer.h"
#include "files/text_export.h"
#include "protocol/hex.h"

#include <cstdio>
#include <string>

namespace {

const char kUsage[] = "usage: lmx check FILE.lmx [--save OUT.lmx] [--no-save-keys]\n";

int usageError(const char* problem)
{
    std::fprintf(stderr, "lmx check: %s\n", problem);
    std::fputs(kUsage, stderr);
    return 2;
}

// Prints the export of the command, hex and answer boxes as the text export holds them, a
// piece at a time: a large file's report is never held whole.
bool printExport(const lmx::CommandFileContent& content)
{
    std::string out;
    bool ok = true;
    auto flush = [&](size_t above) {
        if (out.size() > above) {
            ok = std::fwrite(out.data(), 1, out.size(), stdout) == out.size() && ok;
            out.clear();
        }
    };
    auto section = [&](const char* name, size_t count, auto&& text, auto&& indent) {
        out += lmx::exportHeading(name);
        out += "\r\n\r\n";
        for (size_t i = 0; i < count; ++i) {
            lmx::appendExportLine(out, text(i), indent(i));
            flush(1 << 16);
        }
        out += "\r\n";
    };
    const auto& commands = content.commands;
    auto commandIndent = [&](size_t i) { return commands[i].indent; };
    section("CommandBox", commands.size(), [&](size_t i) { return commands[i].displayText; },
            commandIndent);
    section("HexBox", commands.size(),
            [&](size_t i) { return lmx::hexTextOfCommandLine(commands[i].commandLine); },
            commandIndent);
    section("AnswerBox", content.answers.size(), [&](size_t i) { return content.answers[i]; },
            [](size_t) { return lmx::kBaseIndent; });
    flush(0);
    return std::fflush(stdout) == 0 && ok;
}

} // namespace

int runCheck(int argc, char** argv)
{
    CheckOptions options;
    std::string error;
    switch (parseCheckOptions({argv, argv + argc}, options, error)) {
    case OptionsRead::Help:
        std::fputs(kUsage, stdout);
        std::fputs("Reads FILE.lmx and prints its command, hex and answer data as the text\n"
                   "export holds them (CR LF). On a read error the message goes to stderr\n"
                   "and the exit code is 1.\n"
                   "  --save OUT.lmx   write the list back to OUT.lmx as Save does\n"
                   "  --no-save-keys   leave key-bound lines out of OUT.lmx\n",
                   stdout);
        return 0;
    case OptionsRead::Error:
        return usageError(error.c_str());
    case OptionsRead::Ok:
        break;
    }

    lmx::KeySet keys = lmx::makeKeySet();
    const lmx::CommandFileReadResult result = lmx::readCommandFile(options.file, keys);
    if (!result.ok()) {
        std::fwrite(result.message.data(), 1, result.message.size(), stderr);
        std::fputc('\n', stderr);
        return 1;
    }

    if (!printExport(result.content)) {
        std::fputs("lmx check: could not write to standard output\n", stderr);
        return 1;
    }

    if (options.save) {
        const lmx::WriteResult written = lmx::writeCommandFile(
            *options.save, result.content.commands, result.content.answers, options.saveKeys);
        if (!written.ok) {
            std::fprintf(stderr, "%s\n%s\n", written.message.c_str(), written.detail.c_str());
            return 1;
        }
    }
    return 0;
}
