#pragma once
// The serial record's line settings (echo, RS-485 direction, reconnect) in the settings file:
// a block of their own after the three records (and after the display list), written only
// when one of them differs from its default. A reader that knows only the three records (and
// the display list) skips such a block, and one written by a later version with fields this
// one does not know still reads here.

#include "record_fields.h"
#include "settings.h"

#include <vector>

namespace lmx {

constexpr const char* kLineBlockName = "TLineSettings";

std::vector<RecordField> lineSettingsFields(TSerialSettings& s);
// Some line setting differs from its default: the file needs the block.
bool hasLineSettings(const TSerialSettings& s);
// The block is the line settings' (its class name, without regard to case).
bool isLineSettingsBlock(const NotationObject& block);

} // namespace lmx
