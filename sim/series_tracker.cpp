#include "series_tracker.h"

#include "protocol/framing.h"

namespace lmx::sim {

namespace {
constexpr uint8_t kPositionMask = 0xC0;
}

bool SeriesTracker::startsSeries(uint8_t packetNr)
{
    const uint8_t position = packetNr & kPositionMask;
    return position == 0 || position == kFirstOfSeries;
}

bool SeriesTracker::endsSeries(uint8_t packetNr)
{
    const uint8_t position = packetNr & kPositionMask;
    return position == 0 || position == kLastOfSeries;
}

SeriesTracker::Verdict SeriesTracker::accept(uint8_t packetNr)
{
    const uint8_t sequence = packetNr & kSequenceMask;
    if (startsSeries(packetNr)) {
        // a packet alone in its series is always 00; a first packet may start anywhere
        const bool alone = (packetNr & kPositionMask) == 0;
        if (alone && sequence != 0) {
            m_open = false;
            return Verdict::OutOfOrder;
        }
        const bool wasOpen = m_open;
        m_open = !alone;
        m_expected = (sequence + 1) & kSequenceMask;
        return wasOpen ? Verdict::Restarted : Verdict::Accepted;
    }
    if (!m_open || sequence != m_expected) {
        m_open = false;
        return Verdict::OutOfOrder;
    }
    m_expected = (m_expected + 1) & kSequenceMask;
    if (endsSeries(packetNr))
        m_open = false;
    return Verdict::Accepted;
}

} // namespace lmx::sim
