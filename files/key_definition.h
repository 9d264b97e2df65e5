#pragma once
// One programmable key: the escape command it inserts and how its button is captioned.

#include <array>
#include <string>

namespace lmx {

class TKeyDefinition {
public:
    explicit TKeyDefinition(std::string id = {});

    // The fields in their stored order (the key file writes them in this order).
    std::string ButtonCaption; // "Key 1 = $A0" while defined
    std::string Id;            // "Key 1"; fixed at creation, kept by ClearKey
    int NParam = 0;            // 0 none, 1 one character, 2 two characters, 3 EOC-ended
    int CommandIndex = 0;      // 0 no command, 1..128 for the codes 80..FF
    std::string CommandStr;     // display text of the line the key inserts
    std::string CommandHexData; // command line the key inserts (starts with 09 1B)
    std::string ParamData;
    bool Enabled = false;

    static constexpr const char* kFreeCaption = "FreeKey";
    static constexpr int kMaxNParam = 3;
    static constexpr int kMaxCommandIndex = 128;

    void ClearKey();

    // Defines the key from a key-bound command line read from a command file. On failure
    // the caption, command line and display text stay set and Enabled is not changed.
    bool SetFromCommand(const std::string& displayText, const std::string& commandLine,
                        const std::string& caption);

    bool operator==(const TKeyDefinition& o) const;
    bool operator!=(const TKeyDefinition& o) const { return !(*this == o); }
};

// The four keys, "Key 1" to "Key 4", all free.
using KeySet = std::array<TKeyDefinition, 4>;
KeySet makeKeySet();
bool anyKeyDefined(const KeySet& keys);

} // namespace lmx
