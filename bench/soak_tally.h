#pragma once
// What a soak run saw, counted from both ends of the line: the virtual display's PACKET and
// DROPPED lines (which fault it put into each answer) and the client's message-box texts.
// Nothing here keeps a line: the counts stay the same size however long the run goes.

#include <cstddef>
#include <map>
#include <string>
#include <string_view>

namespace lmx::soak {

class SoakTally {
  public:
    // One stdout line of `lmx sim`; lines of other kinds are ignored.
    void addDisplayLine(std::string_view line);
    // One message-box text of the client.
    void addMessage(std::string_view text);

    size_t displayPackets() const { return m_displayPackets; }
    // Answered as they should be, with result 00.
    size_t soundAnswers() const { return m_soundAnswers; }
    // Answered as they should be, but the display refused the content: the soak's own
    // command list is at fault, or the client sent what it did not mean to.
    size_t contentRefusals() const { return m_contentRefusals; }
    size_t dropped() const { return m_dropped; }
    size_t faults() const;
    // By the display's label: "bad-crc", "code-15".
    const std::map<std::string, size_t>& faultsByLabel() const { return m_faults; }
    // By kind: the labels with the chosen code taken off ("code-15" counts as "code").
    std::map<std::string, size_t> faultsByKind() const;
    // Kinds after whose last occurrence a later packet still came and was answered soundly:
    // the client went on past them.
    bool wentOnAfter(const std::string& kind) const;

    size_t messages() const { return m_messageCount; }
    const std::map<std::string, size_t>& messagesByText() const { return m_messages; }

    // The kind a label or a fault option belongs to.
    static std::string kindOf(std::string_view label);

  private:
    size_t m_displayPackets = 0;
    size_t m_soundAnswers = 0;
    size_t m_contentRefusals = 0;
    size_t m_dropped = 0;
    std::map<std::string, size_t> m_faults;
    // Per kind: whether a sound answer followed its last occurrence.
    std::map<std::string, bool> m_wentOn;
    size_t m_messageCount = 0;
    std::map<std::string, size_t> m_messages;
};

} // namespace lmx::soak
