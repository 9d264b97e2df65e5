#pragma once
// The model roles a TOvelListBox reads for each line. A line whose model answers true for
// HasItem is drawn with its own font (Qt::FontRole), font colour (Qt::ForegroundRole),
// background (Qt::BackgroundRole) and indent; any other line with the box's font and colours.

#include <Qt>

namespace lbrole {
constexpr int Indent = Qt::UserRole + 1;  // int, pixels
constexpr int HasItem = Qt::UserRole + 2; // bool
// Roles of particular models start here.
constexpr int FirstModelRole = Qt::UserRole + 16;
} // namespace lbrole
