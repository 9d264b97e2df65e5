#pragma once
// What one display holds: its texts by message, page and line, the last value of every
// setting command, its clock and its configuration.

#include <cstdint>
#include <ctime>
#include <map>
#include <string>
#include <tuple>

namespace lmx::sim {

// Where a text stands; -1 for a block level that is not open. Text outside every message
// block is the display's own.
struct BlockPath {
    int message = -1;
    int page = -1;
    int line = -1;
    bool operator<(const BlockPath& o) const
    {
        return std::tie(message, page, line) < std::tie(o.message, o.page, o.line);
    }
    bool operator==(const BlockPath& o) const
    {
        return message == o.message && page == o.page && line == o.line;
    }
    // Whether `inner` lies inside this block (or is it).
    bool contains(const BlockPath& inner) const;
};

// The configuration a display starts with: one board, 8 and 8 for lines 1 and 2.
inline constexpr const char* kDefaultConfiguration = "010808"
                                                     "0000000000000000000000000000";

// A display's memory: text bytes, and kBlockCost for every block it keeps. More is
// "Memory full".
constexpr size_t kTextMemory = 65536;
constexpr size_t kBlockCost = 16;

// The separator is kept inside the text as this byte.
constexpr char kSeparatorMark = 0x1E;

struct DisplayState {
    uint8_t netNr = 0;
    std::map<BlockPath, std::string> texts;
    std::map<uint8_t, std::string> settings; // escape command byte -> last parameter text
    std::string configuration = kDefaultConfiguration;
    size_t memoryUsed = 0;

    // Empties a block and everything inside it, then opens it again empty; false when the
    // memory is full.
    bool clearBlock(const BlockPath& block);
    // Forgets every text (the delete command).
    void clearTexts();
    // Appends one character; false when the memory is full.
    bool appendText(const BlockPath& where, char c);

    // The display's clock, set by the time and date command; until then the wall clock's
    // local time. Text form YYMMDDhhmmss.
    void setClock(const std::tm& civil, std::time_t wallNow);
    std::string clockText(std::time_t wallNow) const;

private:
    bool m_clockSet = false;
    long long m_clockCivil = 0; // seconds, the set time read as UTC
    std::time_t m_clockWallAtSet = 0;
};

} // namespace lmx::sim
