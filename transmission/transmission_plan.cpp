#include "transmission_plan.h"

#include "protocol/framing.h"
#include "protocol/vocabulary.h"
#include "transmission_cutter.h"

#include <algorithm>
#include <map>

namespace lmx {

namespace {

// Where each byte of the cut stream came from. The cutter only ever takes bytes off the front
// of its strings, so a position is the length taken so far; positions in the stream whose
// break runs were collapsed are mapped back to the stream as built, and from there to lines.
class LineMap {
public:
    explicit LineMap(const std::vector<std::string>& commandLines)
    {
        size_t count = commandLines.size();
        if (count > 0 && commandLines.back() == kEndMarker)
            --count;
        for (size_t i = 0; i < count; ++i) {
            const std::string& line = commandLines[i];
            const bool marked = !line.empty()
                && (line[0] == static_cast<char>(code::KEY)
                    || line[0] == static_cast<char>(code::HEX));
            m_lineOf.insert(m_lineOf.end(), line.size() - (marked ? 1 : 0), static_cast<int>(i));
        }
    }

    // The stream as cut: `built` with its leading breaks gone and its break runs collapsed.
    void setCutStream(const std::string& built, const std::string& cut)
    {
        std::string rest = built;
        cut::removeLeadingBreaks(rest);
        const size_t lead = built.size() - rest.size();
        // Collapsing only deletes whole break lines of a kind already kept in the same run,
        // so the first byte that differs always starts a deleted line.
        m_cutToBuilt.clear();
        size_t from = 0;
        for (const char c : cut) {
            while (from < rest.size() && rest[from] != c)
                from += cut::kBreakSize;
            m_cutToBuilt.push_back(lead + std::min(from, rest.size() - 1));
            ++from;
        }
    }

    int lineAt(size_t cutPosition) const
    {
        const size_t built = m_cutToBuilt.empty() ? cutPosition
                             : cutPosition < m_cutToBuilt.size() ? m_cutToBuilt[cutPosition]
                                                                  : m_lineOf.size();
        return built < m_lineOf.size() ? m_lineOf[built] : -1;
    }

    // The lines of the bytes [begin, end) of the cut stream; with skipBreaks the break lines
    // among them are not data and are left out.
    std::vector<int> lines(const std::string& cut, size_t begin, size_t end, bool skipBreaks) const
    {
        std::vector<int> out;
        for (size_t at = begin; at < end && at < cut.size();) {
            if (skipBreaks && cut::isBreakByte(cut[at])) {
                at += cut::kBreakSize;
                continue;
            }
            const int line = lineAt(at++);
            if (line >= 0 && (out.empty() || out.back() != line))
                out.push_back(line);
        }
        return out;
    }

private:
    std::vector<int> m_lineOf;
    std::vector<size_t> m_cutToBuilt;
};

class Planner {
public:
    explicit Planner(const TransmissionStart& start)
        : m_start(start), m_lines(start.commandLines)
    {
    }

    TransmissionPlan run()
    {
        const std::string built = cut::buildStream(m_start.commandLines);
        m_cut = built;
        if (m_start.extended) {
            cut::removeLeadingBreaks(m_cut);
            cut::collapseBreakRuns(m_cut);
            m_lines.setCutStream(built, m_cut);
        }
        std::string stream = m_cut;
        int netNr = m_start.defaultNetNr;
        while (!stream.empty()) {
            const size_t blockAt = m_cut.size() - stream.size();
            cut::Block block = cut::takeBlock(stream);
            const bool addressed = block.kind == cut::Block::Kind::Addressed;
            if (block.kind == cut::Block::Kind::Unterminated
                || (m_start.extended && addressed && block.bytes.empty()))
                break;
            // Bytes of an addressed block start behind its SOT byte.
            const size_t front = blockAt + (addressed ? 1 : 0);
            const size_t blockSize = block.bytes.size();
            if (block.kind == cut::Block::Kind::Unaddressed)
                netNr = m_start.defaultNetNr;
            if (addressed && !block.bytes.empty() && !cut::takeNetworkNumber(block.bytes, netNr))
                break;
            const size_t dataAt = front + (blockSize - block.bytes.size());
            const bool ok = m_start.extended
                ? extendedBlock(block, stream, netNr, dataAt)
                : normalBlock(block, netNr, blockAt, m_cut.size() - stream.size());
            if (!ok)
                break;
        }
        return std::move(m_plan);
    }

private:
    size_t addBlock(int netNr)
    {
        PlannedBlock block;
        block.netNr = netNr;
        block.number = ++m_blocksTo[netNr];
        m_plan.blocks.push_back(block);
        return m_plan.blocks.size() - 1;
    }

    void addPacket(std::string packet, int netNr, uint8_t packetNr, size_t dataLength,
                   size_t block, std::vector<int> lines)
    {
        m_plan.packets.push_back(
                {std::move(packet), netNr, packetNr, dataLength, block, std::move(lines)});
        ++m_plan.blocks[block].packets;
    }

    // False where the engine ends the transmission whatever the answers.
    bool extendedBlock(cut::Block& block, const std::string& stream, int netNr, size_t at)
    {
        int npackWait = 0;
        if (block.kind != cut::Block::Kind::Addressed && cut::onlyBreaks(block.bytes, npackWait))
            return true;
        const size_t packetSize = m_start.packetSize;
        const size_t blockEnd = at + block.bytes.size();
        size_t blockIndex = m_plan.blocks.size();
        while (!block.bytes.empty()) {
            cut::removeLeadingBreaks(block.bytes);
            const size_t seriesAt = blockEnd - block.bytes.size();
            cut::Series series = cut::takeSeries(block.bytes, stream.empty());
            const int count = cut::countPackets(series.bytes, packetSize);
            if (count == 0)
                return false;
            if (blockIndex == m_plan.blocks.size())
                blockIndex = addBlock(netNr);
            const size_t seriesEnd = seriesAt + series.bytes.size();
            const std::string whole = cut::withoutForcedBreaks(series.bytes);
            if (count == 1 && whole.size() <= packetSize) {
                addPacket(*buildExtendedPacket(netNr, 0, whole), netNr, 0, whole.size(),
                          blockIndex, m_lines.lines(m_cut, seriesAt, seriesEnd, true));
                continue;
            }
            for (int k = 0; k < count; ++k) {
                cut::removeLeadingBreaks(series.bytes);
                if (series.bytes.empty())
                    return false;
                const size_t chunkAt = seriesEnd - series.bytes.size();
                const cut::Chunk chunk = cut::nextChunk(series.bytes, packetSize);
                const uint8_t packetNr = packetNumberOf(k, count);
                addPacket(*buildExtendedPacket(netNr, packetNr, chunk.bytes), netNr, packetNr,
                          chunk.bytes.size(), blockIndex,
                          m_lines.lines(m_cut, chunkAt, chunkAt + chunk.bytes.size(), true));
            }
        }
        return true;
    }

    // The whole block, SOT and EOT lines included, goes as one packet of the same shape.
    bool normalBlock(const cut::Block& block, int netNr, size_t begin, size_t end)
    {
        const size_t index = addBlock(netNr);
        if (block.bytes.empty() || block.bytes.size() > m_start.packetSize)
            return true;
        const std::optional<std::string> packet = buildNormalPacket(netNr, block.bytes);
        if (!packet)
            return false;
        addPacket(*packet, netNr, 0, block.bytes.size(), index,
                  m_lines.lines(m_cut, begin, end, false));
        return true;
    }

    const TransmissionStart& m_start;
    LineMap m_lines;
    std::string m_cut;
    TransmissionPlan m_plan;
    std::map<int, int> m_blocksTo;
};

} // namespace

TransmissionPlan planTransmission(const TransmissionStart& start)
{
    return Planner(start).run();
}

} // namespace lmx
