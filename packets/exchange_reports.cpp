#include "exchange_reports.h"

#include "protocol/hex.h"
#include "protocol/packet_fields.h"

#include <algorithm>
#include <cmath>

namespace lmx {

namespace {

std::string hexOf(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char b : bytes)
        out += byteToHex(static_cast<uint8_t>(b));
    return out;
}

std::string optionalMs(const std::optional<double>& ms)
{
    return ms ? millisecondsText(*ms) : std::string();
}

const char* endName(TransmissionEnd end)
{
    switch (end) {
    case TransmissionEnd::Completed: return "completed";
    case TransmissionEnd::Aborted: return "aborted";
    case TransmissionEnd::Stopped: return "stopped";
    }
    return "";
}

// --- CSV -----------------------------------------------------------------------------------

std::string csvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + "\"";
}

// --- JSON ----------------------------------------------------------------------------------

// Latin-1 text as a JSON string (UTF-8).
std::string json(const std::string& text)
{
    std::string out = "\"";
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20) {
            out += "\\u00" + byteToHex(c);
        } else if (c >= 0x80) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

std::string jsonOrNull(const std::optional<double>& ms)
{
    return ms ? millisecondsText(*ms) : "null";
}

int blockNumber(const ExchangeReport& report, const ExchangeRecord& rec)
{
    return rec.block >= 0 && static_cast<size_t>(rec.block) < report.plan.blocks.size()
        ? report.plan.blocks[static_cast<size_t>(rec.block)].number
        : 0;
}

std::string jsonRecord(const ExchangeReport& report, const ExchangeRecord& rec, int run = 0)
{
    std::string lines;
    for (const int line : rec.lines)
        lines += (lines.empty() ? "" : ",") + std::to_string(line);
    std::string o = "{";
    if (run > 0) // repeat runs only: a single transmission's report stays as it was
        o += "\"run\":" + std::to_string(run) + ",";
    o += "\"index\":" + std::to_string(rec.index);
    o += ",\"ms\":" + std::to_string(rec.startedMs);
    o += ",\"netnr\":" + std::to_string(rec.netNr);
    o += ",\"packet\":" + (rec.extended ? std::to_string(rec.packetNr) : "null");
    o += ",\"block\":" + std::to_string(blockNumber(report, rec));
    o += ",\"length\":" + std::to_string(rec.dataLength);
    o += ",\"lines\":[" + lines + "]";
    o += ",\"sent\":" + json(hexOf(rec.sent));
    o += ",\"answer\":" + (rec.answer.empty() ? "null" : json(hexOf(rec.answer)));
    o += ",\"ok\":" + std::string(rec.ok ? "true" : "false");
    o += ",\"state\":" + json(rec.evaluated ? rec.state : "awaiting");
    o += ",\"result\":" + (rec.result ? std::to_string(*rec.result) : "null");
    if (!rec.extended)
        o += ",\"result_char\":"
           + (rec.resultChar ? json(std::string(1, rec.resultChar)) : std::string("null"));
    o += ",\"result_text\":" + json(rec.resultText);
    o += ",\"param\":" + (rec.param.empty() ? "null" : json(rec.param));
    o += ",\"rtt_ms\":" + jsonOrNull(rec.rttMs);
    if (rec.retry > 0) // only where it happened: other reports stay as they were
        o += ",\"retry\":" + std::to_string(rec.retry);
    return o + "}\n";
}

// --- XML -----------------------------------------------------------------------------------

std::string xml(const std::string& text)
{
    std::string out;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        switch (ch) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default:
            if (c >= 0x80) {
                out += static_cast<char>(0xC0 | (c >> 6));
                out += static_cast<char>(0x80 | (c & 0x3F));
            } else if (c >= 0x20 || ch == '\n' || ch == '\t') {
                out += ch;
            } else {
                out += '?'; // not allowed in XML 1.0
            }
        }
    }
    return out;
}

std::string seconds(double ms)
{
    return millisecondsText(ms / 1000.0);
}

} // namespace

const char* columnTitle(ExchangeColumn column)
{
    switch (column) {
    case ExchangeColumn::Time: return "ms";
    case ExchangeColumn::NetNr: return "NetNr";
    case ExchangeColumn::Packet: return "Packet";
    case ExchangeColumn::Length: return "Length";
    case ExchangeColumn::Answer: return "Answer";
    case ExchangeColumn::Result: return "Result";
    case ExchangeColumn::Param: return "Param";
    case ExchangeColumn::Rtt: return "RTT ms";
    case ExchangeColumn::Count: break;
    }
    return "";
}

const char* columnTitle(SummaryColumn column)
{
    switch (column) {
    case SummaryColumn::NetNr: return "NetNr";
    case SummaryColumn::Packets: return "Packets";
    case SummaryColumn::Ok: return "OK";
    case SummaryColumn::Failed: return "Failed";
    case SummaryColumn::LastFailure: return "Last failure";
    case SummaryColumn::MeanRtt: return "RTT mean";
    case SummaryColumn::MaxRtt: return "RTT max";
    case SummaryColumn::Count: break;
    }
    return "";
}

std::string millisecondsText(double ms)
{
    if (!std::isfinite(ms))
        return "0.000";
    const long long us = std::llround(std::fabs(ms) * 1000.0);
    std::string frac = std::to_string(us % 1000);
    frac.insert(0, 3 - frac.size(), '0');
    return (ms < 0 && us > 0 ? "-" : "") + std::to_string(us / 1000) + "." + frac;
}

std::string cellText(const ExchangeRecord& rec, ExchangeColumn column)
{
    switch (column) {
    case ExchangeColumn::Time: return std::to_string(rec.startedMs);
    case ExchangeColumn::NetNr: return std::to_string(rec.netNr);
    case ExchangeColumn::Packet: return rec.extended ? packetNumberText(rec.packetNr) : "";
    case ExchangeColumn::Length: return std::to_string(rec.dataLength);
    case ExchangeColumn::Answer:
        return (rec.evaluated ? rec.state : "...") + (rec.retry > 0 ? " (block sent again)" : "");
    case ExchangeColumn::Result:
        if (rec.result)
            return "0x" + byteToHex(static_cast<uint8_t>(*rec.result)) + " " + rec.resultText;
        if (rec.resultChar)
            return std::string(1, rec.resultChar) + " " + rec.resultText;
        return rec.resultText;
    case ExchangeColumn::Param: return rec.param;
    case ExchangeColumn::Rtt: return optionalMs(rec.rttMs);
    case ExchangeColumn::Count: break;
    }
    return "";
}

std::string cellText(const DisplaySummary& d, SummaryColumn column)
{
    switch (column) {
    case SummaryColumn::NetNr: return std::to_string(d.netNr);
    case SummaryColumn::Packets: return std::to_string(d.packets);
    case SummaryColumn::Ok: return std::to_string(d.ok);
    case SummaryColumn::Failed: return std::to_string(d.failed);
    case SummaryColumn::LastFailure: return d.lastFailure;
    case SummaryColumn::MeanRtt: return optionalMs(d.meanRttMs());
    case SummaryColumn::MaxRtt: return optionalMs(d.maxRttMs());
    case SummaryColumn::Count: break;
    }
    return "";
}

std::string packetsCsv(const std::vector<ExchangeRecord>& records)
{
    constexpr int columns = static_cast<int>(ExchangeColumn::Count);
    std::string out;
    for (int c = 0; c < columns; ++c)
        out += std::string(columnTitle(static_cast<ExchangeColumn>(c))) + ",";
    out += "Sent,Received\r\n";
    for (const ExchangeRecord& rec : records) {
        for (int c = 0; c < columns; ++c) {
            std::string cell = cellText(rec, static_cast<ExchangeColumn>(c));
            // Plain ASCII, so the file reads the same in any encoding.
            for (size_t at; (at = cell.find('\xB7')) != std::string::npos;)
                cell[at] = '/';
            out += csvField(cell) + ",";
        }
        out += hexOf(rec.sent) + "," + hexOf(rec.answer) + "\r\n";
    }
    return out;
}

std::string jsonRecords(const ExchangeReport& report, int run)
{
    std::string out;
    for (const ExchangeRecord& rec : report.records)
        out += jsonRecord(report, rec, run);
    return out;
}

std::string jsonText(const std::string& text)
{
    return json(text);
}

std::string jsonLinesReport(const ExchangeReport& report)
{
    std::string out;
    for (const ExchangeRecord& rec : report.records)
        out += jsonRecord(report, rec);
    const ExchangeSummary s = summarize(report.records);
    out += "{\"summary\":{\"packets\":" + std::to_string(s.packets);
    out += ",\"ok\":" + std::to_string(s.ok) + ",\"failed\":" + std::to_string(s.failed);
    out += ",\"planned\":" + std::to_string(report.plan.packets.size());
    out += ",\"end\":" + (report.end ? json(endName(*report.end)) : std::string("null"));
    out += ",\"displays\":[";
    for (size_t i = 0; i < s.displays.size(); ++i) {
        const DisplaySummary& d = s.displays[i];
        out += i ? "," : "";
        out += "{\"netnr\":" + std::to_string(d.netNr) + ",\"packets\":" + std::to_string(d.packets)
             + ",\"ok\":" + std::to_string(d.ok) + ",\"failed\":" + std::to_string(d.failed)
             + ",\"last_failure\":" + (d.lastFailure.empty() ? "null" : json(d.lastFailure))
             + ",\"rtt_mean_ms\":" + jsonOrNull(d.meanRttMs())
             + ",\"rtt_max_ms\":" + jsonOrNull(d.maxRttMs()) + "}";
    }
    return out + "]}}\n";
}

std::vector<BlockOutcome> blockOutcomes(const ExchangeReport& report)
{
    const std::string ended = report.end ? endName(*report.end) : "running";
    std::vector<BlockOutcome> outcomes;
    bool endSeen = false;
    for (size_t b = 0; b < report.plan.blocks.size(); ++b) {
        const PlannedBlock& block = report.plan.blocks[b];
        BlockOutcome o;
        o.netNr = block.netNr;
        o.number = block.number;
        int sent = 0;
        int failed = 0;
        // A block sent again after its port was lost is judged by its last sending.
        int lastRetry = 0;
        for (const ExchangeRecord& rec : report.records)
            if (rec.block == static_cast<int>(b))
                lastRetry = std::max(lastRetry, rec.retry);
        for (const ExchangeRecord& rec : report.records) {
            if (rec.block != static_cast<int>(b) || rec.retry != lastRetry)
                continue;
            ++sent;
            // An answer that never came whole took the time it was waited for.
            o.ms += rec.rttMs ? *rec.rttMs : rec.spentMs.value_or(0.0);
            if (rec.ok)
                continue;
            ++failed;
            o.details += (rec.extended ? "packet " + packetNumberText(rec.packetNr) : "packet")
                       + ": " + rec.failure + "\n";
        }
        // The block the transmission ended in (or right before, when a rule or the port
        // ended it) failed; later ones were skipped, and so was one a stop came before.
        const bool cut = sent < block.packets && !endSeen && report.end != TransmissionEnd::Completed
                      && (sent > 0 || report.end != TransmissionEnd::Stopped);
        endSeen = endSeen || cut;
        o.verdict = BlockOutcome::Verdict::Failed;
        if (block.packets == 0) {
            o.message = "not sent: the block is empty or longer than 240 bytes";
        } else if (sent == 0 && !cut) {
            o.verdict = BlockOutcome::Verdict::Skipped;
            o.message = "not reached: the transmission " + ended + " before this block";
        } else if (failed > 0) {
            o.message = std::to_string(failed) + " of " + std::to_string(sent) + " answers failed";
        } else if (cut) {
            o.message = std::to_string(sent) + " of " + std::to_string(block.packets)
                      + " packets sent: the transmission " + ended;
        } else {
            o.verdict = BlockOutcome::Verdict::Passed;
        }
        outcomes.push_back(std::move(o));
    }
    return outcomes;
}

std::string junitText(const std::vector<JUnitCase>& cases, const std::string& suiteName,
                      const std::string& end)
{
    std::string body;
    int failures = 0;
    int skipped = 0;
    double totalMs = 0;
    for (const JUnitCase& c : cases) {
        totalMs += c.ms;
        body += "    <testcase classname=\"" + xml(suiteName) + "\" name=\"" + xml(c.name)
              + "\" time=\"" + seconds(c.ms) + "\"";
        switch (c.verdict) {
        case BlockOutcome::Verdict::Passed:
            body += "/>\n";
            break;
        case BlockOutcome::Verdict::Skipped:
            ++skipped;
            body += ">\n      <skipped message=\"" + xml(c.message) + "\"/>\n    </testcase>\n";
            break;
        case BlockOutcome::Verdict::Failed:
            ++failures;
            body += ">\n      <failure message=\"" + xml(c.message) + "\">" + xml(c.details)
                  + "</failure>\n    </testcase>\n";
            break;
        }
    }
    const std::string counts = " tests=\"" + std::to_string(cases.size())
                             + "\" failures=\"" + std::to_string(failures)
                             + "\" errors=\"0\" skipped=\"" + std::to_string(skipped)
                             + "\" time=\"" + seconds(totalMs) + "\"";
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites" + counts + ">\n"
         + "  <testsuite name=\"" + xml(suiteName) + "\"" + counts + ">\n"
         + "    <properties><property name=\"end\" value=\"" + xml(end) + "\"/></properties>\n"
         + body + "  </testsuite>\n</testsuites>\n";
}

std::string junitReport(const ExchangeReport& report, const std::string& suiteName)
{
    std::vector<JUnitCase> cases;
    for (BlockOutcome& o : blockOutcomes(report))
        cases.push_back({blockCaseName(o.netNr, o.number), o.verdict, o.ms, std::move(o.message),
                         std::move(o.details)});
    return junitText(cases, suiteName, report.end ? endName(*report.end) : "running");
}

std::string blockCaseName(int netNr, int number)
{
    return "NetNr " + std::to_string(netNr) + " block " + std::to_string(number);
}

WriteResult writeReportFile(const std::string& fileName, const std::string& text,
                            const AtomicFileSaver& saver)
{
    const SaveOutcome outcome = saver.save(fileName, text);
    if (outcome.ok())
        return {};
    return {false, "Failed to write to file " + fileName + ".", outcome.reason};
}

} // namespace lmx
