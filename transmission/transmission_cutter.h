#pragma once
// How a command list becomes packets: the stream of its command lines, the display blocks
// (SOT .. EOT), the packet series (ended by NPACK) and the chunks of one packet each (cut at
// FPACK and at the packet size). Plain functions on byte strings; the engine calls them in
// order and does the sending.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lmx::cut {

// A break line (FPACK or NPACK): its code byte and five decimal digits, the wait in ms.
constexpr size_t kBreakSize = 6;

bool isBreakByte(char c);

// The bytes of a command list as they go out: the lines joined in order, without the marker
// that opens a key-bound line (0x09) or a HEX line (0x10). A last line that is the end
// marker "<End>" is not sent.
std::string buildStream(const std::vector<std::string>& commandLines);

// Drops break lines at the front.
void removeLeadingBreaks(std::string& bytes);
// Within each run of adjacent break lines keeps only the first FPACK and the first NPACK.
void collapseBreakRuns(std::string& bytes);
// The wait of the break line whose code byte stands at `at`; 0 when its digits are not a
// number.
int breakWait(std::string_view bytes, size_t at);
// True for bytes that are nothing but break lines, as an NPACK standing between two display
// blocks; npackWait is then the wait of the first NPACK among them, 0 without one.
bool onlyBreaks(std::string_view bytes, int& npackWait);

struct Block {
    enum class Kind {
        Unaddressed, // no SOT in the stream: the rest goes to the default network number
        Addressed,   // SOT .. EOT: the bytes between them (network number digits first),
                     // empty when EOT follows SOT at once
        Before,      // the bytes before the next SOT: to the network number in force
        Unterminated // SOT without an EOT after it: nothing was taken
    };
    Kind kind = Kind::Unaddressed;
    std::string bytes;
};
// Takes the next block off the front of the stream.
Block takeBlock(std::string& stream);
// Reads and removes the two hex digits that open an addressed block; false when they are
// missing or not hex (the block is left as it was).
bool takeNetworkNumber(std::string& block, int& netNr);

struct Series {
    std::string bytes;
    int wait = 0; // ms after the series
};
// Takes the next series off the front of the block: everything before its first NPACK, whose
// digits give the wait. A series that ends the block takes no wait from an NPACK when
// nothing follows the block (streamEmpty).
Series takeSeries(std::string& block, bool streamEmpty);

// Packets of a series: each piece between FPACKs gives ceil(length / packetSize).
int countPackets(std::string_view series, size_t packetSize);
// The series without its FPACK lines.
std::string withoutForcedBreaks(std::string_view series);
// The wait of the series' last FPACK line; 0 when it has none.
int lastForcedBreakWait(std::string_view series);

struct Chunk {
    std::string bytes;
    int answerWait = 0; // ms after this packet's answer
};
// Takes the next packet's data off the front of a series: up to the first FPACK (which it
// removes and whose wait it takes) unless that is more than a packet size away, and never
// more than packetSize bytes.
Chunk nextChunk(std::string& series, size_t packetSize);

} // namespace lmx::cut
