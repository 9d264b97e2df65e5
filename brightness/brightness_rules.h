#pragma once
// The brightness table: sixteen levels 0..15, read from and written to the two table forms
// (two hex digits per level for V2.xx displays, one for V3.xx), and the three presets.

#include <array>
#include <string>
#include <string_view>

enum class TVersion { V200, V300 };

struct TBrightData {
    std::string Header; // dialog title without the generation suffix
    std::string Data;   // 32 hex digits (V200) or 16 (V300), level 0 first
    TVersion Version = TVersion::V300;
};

class BrightnessTable {
public:
    static constexpr int kLevels = 16;
    static constexpr int kMaxLevel = 15;
    using Levels = std::array<int, kLevels>;

    static Levels defaultLevels(); // 3, 4, ... 15, 15, 15, 15
    static Levels fullLevels();    // all 15
    static Levels lowLevels();     // all 0

    // Reads the record's table. A table of 16 digits is one digit per level (V300), of 32
    // two digits per level (V200); any other length gives the default levels in the V300
    // form. Each level is clamped to 0..15; a level that is not hex reads as 0.
    // Returns false when the table could not be read as it stood (wrong length or a level
    // that is not hex).
    bool load(const TBrightData& data);

    TVersion version() const { return m_version; }
    // The title for the loaded table: Header and " V2.xx" or " V3.xx".
    std::string title() const { return m_header + (m_version == TVersion::V200 ? " V2.xx" : " V3.xx"); }

    const Levels& levels() const { return m_levels; }
    int level(int i) const;
    void setLevel(int i, int value); // clamped to 0..15; an index outside 0..15 is ignored
    void setLevels(const Levels& levels);

    // The levels as the table text of the loaded version, upper case, level 0 first.
    std::string text() const;
    // Writes the table text and the version into the record.
    void store(TBrightData& data) const;

private:
    std::string m_header;
    TVersion m_version = TVersion::V300;
    Levels m_levels = defaultLevels();
};
