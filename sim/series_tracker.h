#pragma once
// The packet number sequence of one display: a series is a single packet 0x00, or a first
// packet 0x40 + sequence (the client counts from 0), middle packets 0xC0 + the following
// sequences and a last packet 0x80 + sequence, the sequence wrapping from 63 to 0.

#include <cstdint>

namespace lmx::sim {

class SeriesTracker {
public:
    enum class Verdict {
        Accepted,
        Restarted,  // accepted as the start of a new series; the open one was left unfinished
        OutOfOrder, // refused; any open series is given up
    };

    Verdict accept(uint8_t packetNr);
    bool inSeries() const { return m_open; }
    void reset() { m_open = false; }

    static bool startsSeries(uint8_t packetNr);
    static bool endsSeries(uint8_t packetNr);

private:
    bool m_open = false;
    uint8_t m_expected = 0; // sequence of the next middle or last packet
};

} // namespace lmx::sim
