// lmx check: read a command file as the window's Load does, print the export of its command,
// hex and answer boxes, and optionally write it back as Save does. The file is read a line at
// a time, once per box: the memory it takes is that of its longest line, not of the file.
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

int readError(const lmx::CommandFileReadResult& result)
{
    std::fwrite(result.message.data(), 1, result.message.size(), stderr);
    std::fputc('\n', stderr);
    return 1;
}

// The lines of one box as the text export holds them, printed as the file is read: the
// file is read once per box, so no more than a line of it is ever held.
class SectionPrinter : public lmx::CommandFileVisitor {
public:
    enum class Box { Command, Hex, Answer };
    explicit SectionPrinter(Box box) : m_box(box) {}

    void command(const lmx::CommandListLine& line) override
    {
        if (m_box == Box::Command)
            put(line.displayText, line.indent);
        else if (m_box == Box::Hex)
            put(lmx::hexTextOfCommandLine(line.commandLine), line.indent);
    }
    void answer(const std::string& text) override
    {
        if (m_box == Box::Answer)
            put(text, lmx::kBaseIndent);
    }
    bool print(const std::string& file, lmx::KeySet keys, const char* name)
    {
        m_out = lmx::exportHeading(name) + "\r\n\r\n";
        m_read = lmx::readCommandFileLines(file, keys, this);
        m_out += "\r\n";
        flush(0);
        return m_read.ok();
    }
    // A file that read at first and not now (it changed meanwhile) says why here.
    const lmx::CommandFileReadResult& read() const { return m_read; }
    bool written() const { return m_written; }

private:
    void put(const std::string& text, int indent)
    {
        lmx::appendExportLine(m_out, text, indent);
        flush(1 << 16);
    }
    void flush(size_t above)
    {
        if (m_out.size() > above) {
            m_written = std::fwrite(m_out.data(), 1, m_out.size(), stdout) == m_out.size() && m_written;
            m_out.clear();
        }
    }

    Box m_box;
    std::string m_out;
    lmx::CommandFileReadResult m_read;
    bool m_written = true;
};

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
                   "and the exit code is 1, as for a save that fails; usage errors exit with\n"
                   "2. The file is read a line at a time, once per box.\n"
                   "  --save OUT.lmx   write the list back to OUT.lmx as Save does\n"
                   "  --no-save-keys   leave key-bound lines out of OUT.lmx\n",
                   stdout);
        return 0;
    case OptionsRead::Error:
        return usageError(error.c_str());
    case OptionsRead::Ok:
        break;
    }

    // A first pass only checks, so that a file that does not read prints nothing; then a
    // pass per box, and one for the save.
    const lmx::KeySet keys = lmx::makeKeySet();
    lmx::KeySet checked = keys;
    const lmx::CommandFileReadResult result = lmx::readCommandFileLines(options.file, checked, nullptr);
    if (!result.ok())
        return readError(result);

    using Box = SectionPrinter::Box;
    for (const auto& [box, name] : {std::pair{Box::Command, "CommandBox"}, {Box::Hex, "HexBox"},
                                    {Box::Answer, "AnswerBox"}}) {
        SectionPrinter printer(box);
        if (!printer.print(options.file, keys, name))
            return readError(printer.read());
        if (!printer.written() || std::fflush(stdout) != 0) {
            std::fputs("lmx check: could not write to standard output\n", stderr);
            return 1;
        }
    }

    if (options.save) {
        lmx::CommandFileReadResult reread;
        const lmx::SaveOutcome saved = lmx::defaultFileSaver().save(
                *options.save, [&](const lmx::AtomicFileSaver::Write& write, std::string& reason) {
                    lmx::CommandFileTextWriter writer(write, options.saveKeys);
                    lmx::KeySet k = keys;
                    reread = lmx::readCommandFileLines(options.file, k, &writer);
                    if (!reread.ok())
                        reason = "The file " + options.file + " changed while it was saved.";
                    return writer.finish() && reread.ok();
                });
        if (!saved.ok()) {
            std::fprintf(stderr, "Failed to write to file %s.\n%s\n", options.save->c_str(),
                         saved.reason.c_str());
            return 1;
        }
    }
    return 0;
}
