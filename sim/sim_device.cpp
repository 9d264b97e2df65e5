#include "sim_device.h"

#include "line_format.h"

namespace lmx::sim {

namespace {

// "bad-crc", "code-15": the fault's name with no '=', which keeps key=value fields
// unambiguous.
std::string faultLabel(FaultKind kind, uint8_t code)
{
    std::string label = faultName(kind, code);
    for (char& c : label)
        if (c == '=')
            c = '-';
    return label;
}

} // namespace

SimDevice::SimDevice(SimOptions options)
    : m_options(std::move(options)),
      m_reader(m_options.normalFraming, m_options.dropAfterMs),
      m_faults(m_options)
{
    for (uint8_t n : m_options.netNrs) {
        if (n == 0)
            continue; // 0 is the broadcast address, never a display of its own
        m_units[n].state.netNr = n;
    }
}

std::vector<TimedWrite> SimDevice::receive(std::string_view bytes, int64_t nowMs)
{
    return handle(m_reader.feed(bytes, nowMs));
}

std::vector<TimedWrite> SimDevice::expire(int64_t nowMs)
{
    return handle(m_reader.expire(nowMs));
}

std::vector<std::string> SimDevice::takeLines()
{
    std::vector<std::string> lines;
    lines.swap(m_lines);
    return lines;
}

std::vector<DisplayState> SimDevice::displays() const
{
    std::vector<DisplayState> all;
    for (const auto& [n, unit] : m_units)
        all.push_back(unit.state);
    return all;
}

std::vector<TimedWrite> SimDevice::handle(std::vector<Frame> frames)
{
    std::vector<TimedWrite> writes;
    const std::time_t wallNow = m_options.wallClock ? m_options.wallClock() : std::time(nullptr);
    for (Frame& frame : frames) {
        if (frame.kind == Frame::Kind::Dropped) {
            m_lines.push_back(droppedLine(frame.reason, frame.raw));
            m_dropped.push_back({std::move(frame.reason), std::move(frame.raw)});
            if (m_dropped.size() > m_options.recordLimit)
                m_dropped.pop_front();
            continue;
        }
        PacketRecord r;
        r.netNr = frame.netNr;
        r.packetNr = frame.packetNr;
        if (frame.netNr == 0) {
            // every display on the bus executes a broadcast; none answers it
            r.disposition = Disposition::Broadcast;
            bool first = true;
            for (auto& [n, unit] : m_units) {
                const Verdict v = judge(unit, frame, wallNow);
                if (first)
                    r.result = v.code;
                first = false;
            }
        } else {
            const auto it = m_units.find(frame.netNr);
            if (it == m_units.end()) {
                r.disposition = Disposition::OtherDisplay;
            } else {
                const Verdict v = judge(it->second, frame, wallNow);
                r.result = v.code;
                FaultInjector::Plan plan;
                if (m_options.normalFraming) {
                    const char c = normalResultChar(v.code);
                    plan = m_faults.normal(c ? c : normalResultChar(content_code::FormatError));
                } else {
                    const uint8_t packetNr = frame.packetNr < 0 ? 0 : static_cast<uint8_t>(frame.packetNr);
                    plan = m_faults.extended(frame.netNr, packetNr, answerData(v.code, v.reply));
                }
                r.disposition = plan.faulted ? Disposition::Faulted : Disposition::Answered;
                if (plan.faulted)
                    r.fault = faultLabel(plan.kind, plan.code);
                for (auto& w : plan.writes) {
                    r.answer += w.bytes;
                    writes.push_back(std::move(w));
                }
            }
        }
        r.data = std::move(frame.data);
        r.raw = std::move(frame.raw);
        record(std::move(r));
    }
    return writes;
}

SimDevice::Verdict SimDevice::judge(Unit& unit, const Frame& frame, std::time_t wallNow)
{
    if (m_options.normalFraming) {
        if (frame.framingCode != framing_code::Ok)
            return {frame.framingCode == framing_code::LengthError ? content_code::FormatError
                                                                    : frame.framingCode, {}};
        // each normal packet is a whole display block
        return judgeContent(unit, frame, true, wallNow);
    }
    // A packet that failed its framing checks is lost: its data is not looked at, and the
    // packet number it should have used stays due, so the rest of its series is out of order.
    if (frame.framingCode != framing_code::Ok)
        return {frame.framingCode, {}};
    const auto packetNr = static_cast<uint8_t>(frame.packetNr);
    switch (unit.tracker.accept(packetNr)) {
    case SeriesTracker::Verdict::OutOfOrder:
        unit.parser.reset();
        unit.seriesCode = 0;
        return {0x05, {}};
    case SeriesTracker::Verdict::Restarted:
        unit.parser.reset(); // what the unfinished series left half done is forgotten
        break;
    case SeriesTracker::Verdict::Accepted:
        break;
    }
    if (SeriesTracker::startsSeries(packetNr))
        unit.seriesCode = 0;
    return judgeContent(unit, frame, SeriesTracker::endsSeries(packetNr), wallNow);
}

SimDevice::Verdict SimDevice::judgeContent(Unit& unit, const Frame& frame, bool endsSeries,
                                           std::time_t wallNow)
{
    Verdict v;
    if (unit.seriesCode != 0) {
        // after a content fault the rest of the series cannot be understood
        v.code = unit.seriesCode;
    } else {
        ContentParser::Result r = unit.parser.feed(frame.data, unit.state, wallNow);
        v.code = r.code;
        v.reply = std::move(r.reply);
        if (v.code == 0 && endsSeries)
            v.code = unit.parser.endOfSeries();
        if (v.code != 0) {
            v.reply.clear();
            unit.seriesCode = v.code;
        }
    }
    if (endsSeries)
        unit.seriesCode = 0;
    return v;
}

void SimDevice::record(PacketRecord r)
{
    m_lines.push_back(packetLine(r));
    ++m_packetCount;
    m_packets.push_back(std::move(r));
    if (m_packets.size() > m_options.recordLimit)
        m_packets.pop_front();
}

} // namespace lmx::sim
