#include "soak_tally.h"

namespace lmx::soak {

namespace {

// The value of `key=` in a line of key=value fields, up to the next blank.
std::string_view field(std::string_view line, std::string_view key)
{
    size_t at = 0;
    while ((at = line.find(key, at)) != std::string_view::npos) {
        if (at == 0 || line[at - 1] == ' ') {
            const size_t start = at + key.size();
            const size_t end = line.find(' ', start);
            return line.substr(start, end == std::string_view::npos ? end : end - start);
        }
        at += key.size();
    }
    return {};
}

bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

} // namespace

void SoakTally::addDisplayLine(std::string_view line)
{
    if (startsWith(line, "DROPPED ")) {
        ++m_dropped;
        return;
    }
    if (!startsWith(line, "PACKET "))
        return;
    ++m_displayPackets;
    const std::string_view answer = field(line, "answer=");
    constexpr std::string_view faultPrefix = "fault-";
    if (startsWith(answer, faultPrefix)) {
        const std::string label(answer.substr(faultPrefix.size()));
        ++m_faults[label];
        m_wentOn[kindOf(label)] = false;
        return;
    }
    if (answer != "sent")
        return; // a broadcast or another display's packet: no answer to judge
    if (field(line, "result=") != "00") {
        ++m_contentRefusals;
        return;
    }
    ++m_soundAnswers;
    for (auto& [kind, wentOn] : m_wentOn)
        wentOn = true;
}

void SoakTally::addMessage(std::string_view text)
{
    ++m_messageCount;
    ++m_messages[std::string(text)];
}

size_t SoakTally::faults() const
{
    size_t all = 0;
    for (const auto& [label, count] : m_faults)
        all += count;
    return all;
}

std::map<std::string, size_t> SoakTally::faultsByKind() const
{
    std::map<std::string, size_t> kinds;
    for (const auto& [label, count] : m_faults)
        kinds[kindOf(label)] += count;
    return kinds;
}

bool SoakTally::wentOnAfter(const std::string& kind) const
{
    const auto it = m_wentOn.find(kind);
    return it != m_wentOn.end() && it->second;
}

std::string SoakTally::kindOf(std::string_view label)
{
    // "code-15" as the display labels it, "code=15" as the option names it
    constexpr std::string_view code = "code";
    return startsWith(label, code) ? std::string(code) : std::string(label);
}

} // namespace lmx::soak
