#pragma once
// The lines the virtual display prints: one per packet, one per dropped piece of input, and
// what each display shows. Every line starts with its kind in capitals and is made of
// key=value fields in a fixed order, so that scripts can grep them.

#include "display_state.h"

#include <string>
#include <string_view>
#include <vector>

namespace lmx::sim {

struct PacketRecord;

// Bytes between apostrophes: printable ASCII as is, every other byte (the apostrophe and the
// backslash too) as \xHH.
std::string quotedBytes(std::string_view bytes);

// PACKET netnr=1 packet=00 length=3 result=00 answer=sent text='\x1B\xA01' hex='1B A0 31'
std::string packetLine(const PacketRecord& r);
// DROPPED reason='noise' text='ab' hex='61 62'
std::string droppedLine(std::string_view reason, std::string_view raw);
// SHOW netnr=1 message=01 page=02 line=03 text='Hello' (one per block that holds text, or
// that is empty and has nothing inside it); SETTING netnr=1 command='ESC Font' value='1'
std::vector<std::string> showLines(const DisplayState& display);

} // namespace lmx::sim
