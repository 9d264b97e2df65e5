#pragma once
// A virtual display, or several on one bus: reads the packets the line brings, checks them,
// keeps what each display shows and decides what to answer. No I/O of its own: SimServer
// feeds it the bytes from a terminal and writes its answers back; tests call it directly.

#include "answer_writer.h"
#include "content_parser.h"
#include "display_state.h"
#include "packet_reader.h"
#include "series_tracker.h"
#include "sim_options.h"

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace lmx::sim {

// What became of a packet.
enum class Disposition {
    Answered,     // answered as it should be
    Faulted,      // answered (or not) with the configured fault
    Broadcast,    // network number 0: executed, never answered
    OtherDisplay, // addressed to a display that is not here: ignored
};

struct PacketRecord {
    uint8_t netNr = 0;
    int packetNr = -1;       // -1 with the normal framing
    std::string data;
    std::string raw;         // the packet as received
    uint8_t result = 0;      // the display's verdict; 0 for OtherDisplay
    Disposition disposition = Disposition::Answered;
    std::string answer;      // every byte written for it, in order
    std::string fault;       // Faulted: the fault, "bad-crc" or "code-15"
};

struct DroppedRecord {
    std::string reason;
    std::string raw;
};

class SimDevice {
public:
    explicit SimDevice(SimOptions options);

    // Takes received bytes at the steady time nowMs and returns what to write in answer.
    std::vector<TimedWrite> receive(std::string_view bytes, int64_t nowMs);
    // Gives up an incomplete packet after silence; call at deadline().
    std::vector<TimedWrite> expire(int64_t nowMs);
    int64_t deadline() const { return m_reader.deadline(); }

    // One stdout line per packet and per dropped piece since the last call.
    std::vector<std::string> takeLines();

    // The packets kept (the last recordLimit of them) and how many came in all.
    const std::deque<PacketRecord>& packets() const { return m_packets; }
    size_t packetCount() const { return m_packetCount; }
    const std::deque<DroppedRecord>& dropped() const { return m_dropped; }
    std::vector<DisplayState> displays() const;
    const SimOptions& options() const { return m_options; }

private:
    struct Unit {
        DisplayState state;
        SeriesTracker tracker;
        ContentParser parser;
        uint8_t seriesCode = 0; // a content fault, repeated for the rest of its series
    };
    struct Verdict {
        uint8_t code = 0;
        std::string reply;
    };

    std::vector<TimedWrite> handle(std::vector<Frame> frames);
    Verdict judge(Unit& unit, const Frame& frame, std::time_t wallNow);
    Verdict judgeContent(Unit& unit, const Frame& frame, bool endsSeries, std::time_t wallNow);
    void record(PacketRecord r);

    SimOptions m_options;
    PacketReader m_reader;
    FaultInjector m_faults;
    std::map<uint8_t, Unit> m_units;
    std::deque<PacketRecord> m_packets;
    size_t m_packetCount = 0;
    std::deque<DroppedRecord> m_dropped;
    std::vector<std::string> m_lines;
};

} // namespace lmx::sim
