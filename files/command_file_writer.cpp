#include "command_file_writer.h"

#include "protocol/hex.h"
#include "protocol/vocabulary.h"

namespace lmx {

namespace {

constexpr std::string_view kCrLf = "\r\n";

bool isCode(char c, uint8_t code) { return static_cast<uint8_t>(c) == code; }

// The key name inside a key line's display text "ESC <name> '<data>'...".
std::string keyNameOf(const std::string& displayText)
{
    std::string rest = displayText.size() > 4 ? displayText.substr(4) : std::string();
    const size_t quote = rest.find('\'');
    if (quote != std::string::npos)
        rest.resize(quote > 0 && rest[quote - 1] == ' ' ? quote - 1 : quote);
    return rest;
}

} // namespace

// Escape lines are shown as "ESC ..." and text lines in apostrophes; the text of a text line
// may itself begin with the bytes 09 or 1B, so the bytes alone do not tell an escape line.
bool showsAsEscape(const CommandListLine& line)
{
    return line.displayText.compare(0, 3, "ESC") == 0;
}

bool isKeyBoundLine(const CommandListLine& line)
{
    const std::string& c = line.commandLine;
    return c.size() >= 2 && isCode(c[0], code::KEY) && isCode(c[1], code::ESC)
        && showsAsEscape(line);
}

std::string commandFileLine(const CommandListLine& line)
{
    std::string_view bytes = line.commandLine;
    const bool keyBound = isKeyBoundLine(line);
    if (keyBound)
        bytes.remove_prefix(1);
    if (bytes.size() < 2 || !isCode(bytes[0], code::ESC) || !showsAsEscape(line))
        return line.displayText;

    std::string out;
    out.reserve(bytes.size() + 24);
    if (keyBound) {
        out += "KEY '";
        out += keyNameOf(line.displayText);
        out += "' ";
    }
    out += "ESC $";
    out += byteToHex(static_cast<uint8_t>(bytes[1]));
    std::string_view data = bytes.substr(2);
    if (!data.empty()) {
        // Only an EOC-type command ends in the EOC byte; a 0x0C that is the one parameter
        // character of a shorter command stays in the apostrophes, or the file would not load.
        const bool eoc = paramKindOf(static_cast<uint8_t>(bytes[1])) == ParamKind::Eoc
            && isCode(data.back(), code::EOC);
        if (eoc)
            data.remove_suffix(1);
        out += " '";
        out += data;
        out += '\'';
        if (eoc)
            out += " EOC";
    }
    return out;
}

void CommandFileTextWriter::put(std::string_view text)
{
    m_ok = m_ok && m_write(text);
}

void CommandFileTextWriter::command(const CommandListLine& line)
{
    if (isEndLine(line) || (!m_saveKeys && isKeyBoundLine(line)))
        return;
    m_line.assign(static_cast<size_t>(depthOfIndent(line.indent)), ' ');
    m_line += commandFileLine(line);
    m_line += kCrLf;
    put(m_line);
}

void CommandFileTextWriter::answer(const std::string& text)
{
    if (m_pendingAnswer) {
        if (!m_inAnswers) {
            put(kCrLf);
            put("ANSWER:");
            put(kCrLf);
            m_inAnswers = true;
        }
        put(*m_pendingAnswer);
        put(kCrLf);
    }
    m_pendingAnswer = text;
}

bool CommandFileTextWriter::finish()
{
    if (m_pendingAnswer && *m_pendingAnswer != kEndMarker)
        answer({}); // writes it; the empty one stays pending and is never written
    put(kCrLf); // after the commands, or after the answers when there are any
    return m_ok;
}

std::string commandFileText(const std::vector<CommandListLine>& commands,
                            const std::vector<std::string>& answers, bool saveKeys)
{
    std::string out;
    size_t estimate = 64;
    for (const CommandListLine& line : commands)
        estimate += line.displayText.size() + line.commandLine.size() + 16;
    for (const std::string& a : answers)
        estimate += a.size() + 2;
    out.reserve(estimate);
    CommandFileTextWriter writer([&](std::string_view text) { out += text; return true; }, saveKeys);
    for (const CommandListLine& line : commands)
        writer.command(line);
    for (const std::string& a : answers)
        writer.answer(a);
    writer.finish();
    return out;
}

WriteResult writeCommandFile(const std::string& fileName,
                             const std::vector<CommandListLine>& commands,
                             const std::vector<std::string>& answers, bool saveKeys,
                             const AtomicFileSaver& saver)
{
    const SaveOutcome outcome = saver.save(fileName, commandFileText(commands, answers, saveKeys));
    if (outcome.ok())
        return {};
    return {false, "Failed to write to file " + fileName + ".", outcome.reason};
}

} // namespace lmx
