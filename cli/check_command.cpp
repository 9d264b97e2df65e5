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

std::vector<lmx::ExportList> exportLists(const lmx::CommandFileContent& content)
{
    lmx::ExportList commands{"CommandBox", {}};
    lmx::ExportList hex{"HexBox", {}};
    lmx::ExportList answers{"AnswerBox", {}};
    for (const lmx::CommandListLine& line : content.commands) {
        commands.lines.push_back({line.displayText, line.indent});
        hex.lines.push_back({lmx::hexTextOfCommandLine(line.commandLine), line.indent});
    }
    for (const std::string& answer : content.answers)
        answers.lines.push_back({answer, lmx::kBaseIndent});
    return {commands, hex, answers};
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

    const std::string text = lmx::exportText(exportLists(result.content));
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size()
        || std::fflush(stdout) != 0) {
        std::fputs("lmx check: could not write to standard output\n", stderr);
        return 1;
    }

    if (options.save) {
        const lmx::WriteResult written = lmx::writeCommandFile(
            *options.save, result.content.commands, result.content.answers, options.saveKeys);
        if (!written.ok) {
            std::fprintf(stderr, "%s\n", written.message.c_str());
            return 1;
        }
    }
    return 0;
}
