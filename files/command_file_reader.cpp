#include "command_file_reader.h"

#include "file_bytes.h"
#include "protocol/hex.h"
#include "protocol/vocabulary.h"

#include <array>
#include <optional>

namespace lmx {

std::string commandFileErrorText(CommandFileError error)
{
    static const char* const kTexts[] = {
        "Imported file Ok",
        "$ Expected",
        "No end character ' found",
        "Illegal data size",
        "No begin character ' found",
        "Expected 1 data byte",
        "Expected 2 data bytes",
        "Expected an EOC",
        "Data string empty after ESC",
        "An odd amount of Display block commands is counted",
        "An odd amount of Message block commands is counted",
        "An odd amount of Page block commands is counted",
        "An odd amount of Line block commands is counted",
        "EOT Detected before SOT command",
        "ETX Detected before STX command",
        "EOP Detected before SOP command",
        "EOL Detected before SOL command",
        "Insertion of a Higher Block in a Lower Block order and\r\n"
        "insertion of a Block in a Block with the same order is\r\n"
        "not allowed",
        "Data size error (this command has a fixed data size)",
        "Data size Brightness table error (this command has a fixed data size)\r\n\r\n"
        "                 LMX V2.xx has an entry of 32 bytes\r\n"
        "                 LMX V3.xx has an entry of 16 bytes",
        "Data expected after $",
        "Illegal command",
        "Expected 5 data bytes",
        "String is empty or value is illegal",
        "EOC Command must have at least 1 byte data",
        "KEY Name exceeds maximum length (8)",
        "KEY Could not be assigned",
        "A command is defined but no ESC is found or it is text and ' and ' is missing",
        "No Key Name found",
        "An EOC command can not exist without a command",
        "Invalid HEX data",
        "No HEX Command data available",
    };
    constexpr int kCount = static_cast<int>(sizeof kTexts / sizeof kTexts[0]);
    static_assert(kCount == static_cast<int>(CommandFileError::EmptyHex) + 1);
    const int index = static_cast<int>(error);
    if (index >= 0 && index < kCount)
        return kTexts[index];
    return {};
}

namespace {

constexpr std::string_view kAnswerHeader = "ANSWER:";
constexpr int kBlockKinds = 4;
// By block kind: display, message, page, line.
constexpr std::array<CommandFileError, kBlockKinds> kOddBlocks = {
    CommandFileError::OddDisplayBlocks, CommandFileError::OddMessageBlocks,
    CommandFileError::OddPageBlocks, CommandFileError::OddLineBlocks};
constexpr std::array<CommandFileError, kBlockKinds> kEndBeforeStart = {
    CommandFileError::EotBeforeSot, CommandFileError::EtxBeforeStx,
    CommandFileError::EopBeforeSop, CommandFileError::EolBeforeSol};

bool startsWith(std::string_view s, size_t p, std::string_view word)
{
    return s.size() - p >= word.size() && s.compare(p, word.size(), word) == 0;
}

// Tabs removed, cut at the first semicolon outside apostrophes and, in the command section,
// blanks outside apostrophes removed; in place, as the line never grows.
void normalise(std::string& s, bool dropBlanks)
{
    size_t out = 0;
    bool quoted = false;
    for (const char c : s) {
        if (c == '\t')
            continue;
        if (c == '\'')
            quoted = !quoted;
        else if (!quoted && c == ';')
            break;
        else if (!quoted && dropBlanks && c == ' ')
            continue;
        s[out++] = c;
    }
    s.resize(out);
}

// How many command and answer lines a file gives, the end lines included.
struct LineCounts {
    size_t commands = 0;
    size_t answers = 0;
};

class CommandFileParser {
public:
    // The lines go to the sink, or to the content without one; with counts they are only
    // counted.
    CommandFileParser(const KeySet& keys, CommandLineSink* sink, LineCounts* counts = nullptr,
                      CommandFileVisitor* visitor = nullptr)
        : m_keys(keys)
        , m_sink(sink)
        , m_counts(counts)
        , m_visitor(visitor)
    {
    }

    // False once an error is set. The second form may change the line it is given (a long
    // line is then never copied).
    bool line(std::string_view raw, int number)
    {
        std::string s(raw);
        return lineInPlace(s, number);
    }
    bool lineInPlace(std::string& raw, int number);
    bool finish();

    CommandFileError error() const { return m_error; }
    int errorLine() const { return m_errorLine; }
    const KeySet& keys() const { return m_keys; }
    CommandFileContent& content() { return m_content; }

private:
    bool command(std::string_view s, size_t& p);
    bool blockStart(BlockKind kind, std::string_view s, size_t& p);
    bool blockEnd(BlockKind kind, size_t& p);
    bool packetBreak(bool newSeries, std::string_view s, size_t& p);
    bool hexData(std::string_view s, size_t& p);
    bool keyBound(std::string_view s, size_t& p);
    bool escape(std::string_view s, size_t& p, const std::string* keyName);
    bool text(std::string_view s, size_t& p);
    // The text between the apostrophe at p and the next one; p moves past the closing one.
    // Fails with noBegin when no apostrophe stands at p, with noEnd when none closes it.
    bool quoted(std::string_view s, size_t& p, CommandFileError noBegin, CommandFileError noEnd,
                std::string_view& value);
    bool bindKey(const std::string& keyName, uint8_t commandByte, std::string_view data,
                 const CommandEntry& entry);
    void add(CommandEntry entry);
    bool fail(CommandFileError error)
    {
        m_error = error;
        return false;
    }

    KeySet m_keys;
    CommandLineSink* m_sink;
    LineCounts* m_counts;
    CommandFileVisitor* m_visitor;
    CommandFileContent m_content;
    std::array<int, kBlockKinds> m_count{};
    std::array<bool, kBlockKinds> m_open{};
    bool m_inAnswers = false;
    CommandFileError m_error = CommandFileError::Ok;
    int m_errorLine = 0;
};

bool CommandFileParser::lineInPlace(std::string& s, int number)
{
    // Only the first header opens the section; inside it the same text is a template, so a
    // template "ANSWER:" survives a save and a load.
    if (!m_inAnswers && s == kAnswerHeader) {
        m_inAnswers = true;
        return true;
    }
    normalise(s, !m_inAnswers);
    if (s.empty())
        return true;
    if (m_inAnswers) {
        if (m_counts)
            ++m_counts->answers;
        else if (m_visitor)
            m_visitor->answer(s);
        else
            m_content.answers.push_back(std::move(s));
        return true;
    }
    size_t p = 0;
    while (p < s.size()) {
        if (!command(s, p)) {
            m_errorLine = number;
            return false;
        }
    }
    return true;
}

bool CommandFileParser::finish()
{
    for (int k = 0; k < kBlockKinds; ++k)
        if (m_count[static_cast<size_t>(k)] != 0)
            return fail(kOddBlocks[static_cast<size_t>(k)]);
    add(endLine());
    if (m_counts)
        ++m_counts->answers;
    else if (m_visitor)
        m_visitor->answer(std::string(kEndMarker));
    else
        m_content.answers.emplace_back(kEndMarker);
    return true;
}

bool CommandFileParser::command(std::string_view s, size_t& p)
{
    static constexpr std::array<BlockKind, kBlockKinds> kKinds = {
        BlockKind::Display, BlockKind::Message, BlockKind::Page, BlockKind::Line};
    for (BlockKind kind : kKinds)
        if (startsWith(s, p, blockInfo(kind).startTag))
            return blockStart(kind, s, p);
    for (BlockKind kind : kKinds)
        if (startsWith(s, p, blockInfo(kind).endTag))
            return blockEnd(kind, p);
    if (startsWith(s, p, "SEP")) {
        p += 3;
        add(separatorLine());
        return true;
    }
    if (startsWith(s, p, "FPACK"))
        return packetBreak(false, s, p);
    if (startsWith(s, p, "NPACK"))
        return packetBreak(true, s, p);
    if (startsWith(s, p, "HEX"))
        return hexData(s, p);
    if (startsWith(s, p, "KEY"))
        return keyBound(s, p);
    if (startsWith(s, p, "ESC"))
        return escape(s, p, nullptr);
    return text(s, p);
}

bool CommandFileParser::blockStart(BlockKind kind, std::string_view s, size_t& p)
{
    p += 3;
    std::string_view value;
    if (!quoted(s, p, CommandFileError::NoBeginQuote, CommandFileError::NoEndQuote, value))
        return false;
    uint8_t number = 0;
    if (value.size() != 2)
        return fail(CommandFileError::IllegalDataSize);
    if (!hexToByte(value, number))
        return fail(CommandFileError::IllegalValue);
    // A block may only open inside blocks of a higher order.
    const auto k = static_cast<size_t>(kind);
    for (size_t same = k; same < kBlockKinds; ++same)
        if (m_open[same])
            return fail(CommandFileError::BlockOrder);
    add(blockStartLine(kind, value));
    m_open[k] = true;
    ++m_count[k];
    return true;
}

bool CommandFileParser::blockEnd(BlockKind kind, size_t& p)
{
    p += 3;
    const auto k = static_cast<size_t>(kind);
    m_open[k] = false;
    add(blockEndLine(kind));
    if (--m_count[k] < 0)
        return fail(kEndBeforeStart[k]);
    return true;
}

bool CommandFileParser::packetBreak(bool newSeries, std::string_view s, size_t& p)
{
    p += 5;
    std::string_view value;
    if (!quoted(s, p, CommandFileError::Expected5Bytes, CommandFileError::Expected5Bytes, value))
        return false;
    long long ms = 0;
    if (value.size() != 5)
        return fail(CommandFileError::Expected5Bytes);
    if (!decToInt(value, ms))
        return fail(CommandFileError::IllegalValue);
    add(breakLine(newSeries, value));
    return true;
}

bool CommandFileParser::hexData(std::string_view s, size_t& p)
{
    p += 3;
    // The opening apostrophe must stand right after the keyword; taking whatever character
    // stands there as the opening would read "HEXA'22'" as an empty hex text.
    std::string_view hexText;
    if (!quoted(s, p, CommandFileError::NoBeginQuote, CommandFileError::NoEndQuote, hexText))
        return false;
    if (hexText.find_first_not_of(' ') == std::string_view::npos)
        return fail(CommandFileError::EmptyHex);
    std::string bytes;
    if (!hexTextToBytes(hexText, bytes))
        return fail(CommandFileError::InvalidHex);
    add(hexLine(hexText, bytes));
    return true;
}

bool CommandFileParser::keyBound(std::string_view s, size_t& p)
{
    p += 3;
    std::string_view quotedName;
    if (!quoted(s, p, CommandFileError::NoKeyName, CommandFileError::NoEndQuote, quotedName))
        return false;
    const std::string name(quotedName);
    if (name.size() > kMaxKeyNameLength)
        return fail(CommandFileError::KeyNameTooLong);
    if (!startsWith(s, p, "ESC"))
        return fail(CommandFileError::IllegalValue);
    return escape(s, p, &name);
}

bool CommandFileParser::escape(std::string_view s, size_t& p, const std::string* keyName)
{
    if (s.size() - p < 4)
        return fail(CommandFileError::IllegalValue);
    if (s[p + 3] != '$')
        return fail(CommandFileError::DollarExpected);
    uint8_t commandByte = 0;
    if (!hexToByte(s.substr(p + 4, 2), commandByte))
        return fail(CommandFileError::DataAfterDollar);
    if (commandByte < 0x80)
        return fail(CommandFileError::IllegalCommand);
    p += 6;

    std::string_view data;
    const ParamKind kind = paramKindOf(commandByte);
    if (kind == ParamKind::One || kind == ParamKind::Two) {
        const CommandFileError sizeError = kind == ParamKind::One ? CommandFileError::Expected1Byte
                                                     : CommandFileError::Expected2Bytes;
        const size_t wanted = kind == ParamKind::One ? 1 : 2;
        if (!quoted(s, p, CommandFileError::NoBeginQuote, sizeError, data))
            return false;
        if (data.size() != wanted)
            return fail(sizeError);
    } else if (kind == ParamKind::Eoc) {
        if (s.find("EOC", p) == std::string_view::npos)
            return fail(CommandFileError::ExpectedEoc);
        if (!quoted(s, p, CommandFileError::NoBeginQuote, CommandFileError::NoEndQuote, data))
            return false;
        if (data.empty())
            return fail(CommandFileError::EmptyEocData);
        if (!keyName && !isValidEocSize(commandByte, data.size()))
            return fail(commandByte == esc::BTable ? CommandFileError::BrightnessTableSize
                                                   : CommandFileError::FixedDataSize);
        // The EOC must close this command: searching for it further on would swallow
        // whatever stands between the data and a later EOC, or stop at an "EOC" inside
        // the data.
        if (!startsWith(s, p, "EOC"))
            return fail(CommandFileError::ExpectedEoc);
        p += 3;
    }

    if (keyName) {
        // The key takes the line as the list shows it, cut parameter and all, so a saved and
        // loaded file binds the same keys.
        CommandEntry entry = keyLine(*keyName, commandByte, data);
        if (applyLineSizeLimit(entry.displayText, entry.commandLine))
            data = data.substr(0, entry.commandLine.size() - (kind == ParamKind::Eoc ? 4 : 3));
        if (!bindKey(*keyName, commandByte, data, entry))
            return false;
        add(std::move(entry));
        return true;
    }
    if (commandByte == esc::Inquiry) {
        // The inquiry number is shown by name ("ESC Inquiry2"), not as quoted data.
        if (data[0] < '0' || data[0] > '9')
            return fail(CommandFileError::IllegalValue);
        std::string commandLine{static_cast<char>(code::ESC), static_cast<char>(esc::Inquiry)};
        commandLine += data;
        add({escapeName(static_cast<unsigned>(data[0] - '0')), commandLine});
        return true;
    }
    add(escapeLine(commandByte, data));
    return true;
}

bool CommandFileParser::bindKey(const std::string& keyName, uint8_t commandByte,
                                std::string_view data, const CommandEntry& entry)
{
    const std::string caption = keyName + " = $" + byteToHex(commandByte);
    for (const TKeyDefinition& key : m_keys) {
        const std::string& held = key.CommandHexData;
        if (key.ButtonCaption == caption && held.size() > 2
            && static_cast<uint8_t>(held[2]) == commandByte
            && key.ParamData.size() == data.size())
            return true; // already bound
    }
    for (TKeyDefinition& key : m_keys) {
        if (key.Enabled)
            continue;
        if (!key.SetFromCommand(entry.displayText, entry.commandLine, caption))
            return fail(CommandFileError::KeyNotAssigned);
        return true;
    }
    return true; // all four keys in use: the line is loaded, no key changes
}

bool CommandFileParser::text(std::string_view s, size_t& p)
{
    if (s[p] == '\'') {
        std::string_view value;
        if (!quoted(s, p, CommandFileError::NoBeginQuote, CommandFileError::NoEndQuote, value))
            return false;
        add(textLine(value));
        return true;
    }
    if (s[p] == '$')
        return fail(CommandFileError::DollarWithoutEsc);
    if (startsWith(s, p, "EOC"))
        return fail(CommandFileError::EocWithoutCommand);
    return fail(CommandFileError::NoBeginQuote);
}

bool CommandFileParser::quoted(std::string_view s, size_t& p, CommandFileError noBegin,
                               CommandFileError noEnd, std::string_view& value)
{
    if (p >= s.size() || s[p] != '\'')
        return fail(noBegin);
    const size_t close = s.find('\'', p + 1);
    if (close == std::string_view::npos)
        return fail(noEnd);
    value = s.substr(p + 1, close - p - 1);
    p = close + 1;
    return true;
}

void CommandFileParser::add(CommandEntry entry)
{
    if (m_counts) {
        ++m_counts->commands;
        return;
    }
    // Cut as the command box cuts, so the list read here is the one the window holds.
    applyLineSizeLimit(entry.displayText, entry.commandLine);
    int depth = 0;
    for (bool open : m_open)
        depth += open ? 1 : 0;
    const uint32_t colour = fontColourOf(entry.displayText);
    CommandListLine line{std::move(entry.displayText), std::move(entry.commandLine),
                         indentOfDepth(depth), colour};
    if (m_visitor)
        m_visitor->command(line);
    else if (m_sink)
        m_sink->add(std::move(line));
    else
        m_content.commands.push_back(std::move(line));
}

CommandFileReadResult failure(CommandFileError error, int line, std::string message)
{
    CommandFileReadResult result;
    result.errorIndex = error;
    result.lineNumber = line;
    result.message = std::move(message);
    return result;
}

CommandFileReadResult lineFailure(const CommandFileParser& parser, int number,
                                  const std::string& fileName)
{
    return failure(parser.error(), number,
                   commandFileErrorText(parser.error()) + " at line " + std::to_string(number)
                       + " of file \r\n\r\n" + fileName);
}

CommandFileReadResult endFailure(const CommandFileParser& parser, const std::string& fileName)
{
    return failure(parser.error(), 0,
                   commandFileErrorText(parser.error()) + " of file \r\n\r\n" + fileName);
}

// Runs the parser over every line of the file: nothing when the file reads, else the
// failure to report.
std::optional<CommandFileReadResult> parseLines(std::string_view bytes, const std::string& fileName,
                                                CommandFileParser& parser)
{
    int number = 0;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        const size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
        if (end == std::string_view::npos)
            end = bytes.size();
        std::string_view raw = bytes.substr(start, end - start);
        if (!raw.empty() && raw.back() == '\r')
            raw.remove_suffix(1);
        ++number;
        if (!parser.line(raw, number))
            return lineFailure(parser, number, fileName);
        start = next;
    }
    if (!parser.finish())
        return endFailure(parser, fileName);
    return std::nullopt;
}

// Why a file could not be read at all, the system's reason on a line of its own.
CommandFileReadResult readFailure(ReadStatus status, const std::string& fileName,
                                  const std::string& why)
{
    if (status == ReadStatus::TooLarge)
        return failure(CommandFileError::TooLarge, 0,
                       "File " + fileName + " is too large to be loaded (more than "
                           + std::to_string(kMaxCommandFileSize / (1024 * 1024)) + " MB).");
    return failure(CommandFileError::NotReadable, 0,
                   "Failed to open file " + fileName + "." + (why.empty() ? "" : "\r\n" + why));
}

} // namespace

CommandFileReadResult parseCommandFile(std::string_view bytes, const std::string& fileName,
                                       KeySet& keys, CommandLineSink* sink)
{
    // A first pass only counts the lines, so that room for them all is made at once: a large
    // list is never copied while it grows (which would hold it twice), and a file that does
    // not read is refused before a line is kept.
    LineCounts counts;
    CommandFileParser counter(keys, nullptr, &counts);
    if (std::optional<CommandFileReadResult> failed = parseLines(bytes, fileName, counter))
        return std::move(*failed);

    CommandFileParser parser(keys, sink);
    if (sink)
        sink->expect(counts.commands);
    else
        parser.content().commands.reserve(counts.commands);
    parser.content().answers.reserve(counts.answers);
    parseLines(bytes, fileName, parser); // reads as the first pass did
    CommandFileReadResult result;
    result.content = std::move(parser.content());
    keys = parser.keys();
    return result;
}

namespace {

CommandFileReadResult readInto(const std::string& fileName, KeySet& keys, CommandLineSink* sink)
{
    std::string bytes;
    std::string why;
    const ReadStatus status = readFileBytes(fileName, kMaxCommandFileSize, bytes, &why);
    if (status != ReadStatus::Ok)
        return readFailure(status, fileName, why);
    return parseCommandFile(bytes, fileName, keys, sink);
}

} // namespace

CommandFileReadResult readCommandFileLines(const std::string& fileName, KeySet& keys,
                                           CommandFileVisitor* visitor)
{
    FileLines file;
    std::string why;
    if (const ReadStatus status = file.open(fileName, kMaxCommandFileSize, &why);
        status != ReadStatus::Ok)
        return readFailure(status, fileName, why);
    LineCounts counts; // a pass without a visitor only counts
    CommandFileParser parser(keys, nullptr, visitor ? nullptr : &counts, visitor);
    int number = 0;
    for (std::string raw; file.next(raw);)
        if (!parser.lineInPlace(raw, ++number))
            return lineFailure(parser, number, fileName);
    if (file.status() != ReadStatus::Ok)
        return readFailure(file.status(), fileName, file.why());
    if (!parser.finish())
        return endFailure(parser, fileName);
    keys = parser.keys();
    return {};
}

CommandFileReadResult readCommandFile(const std::string& fileName, KeySet& keys)
{
    return readInto(fileName, keys, nullptr);
}

CommandFileReadResult readCommandFile(const std::string& fileName, KeySet& keys,
                                      CommandLineSink& sink)
{
    return readInto(fileName, keys, &sink);
}

} // namespace lmx
