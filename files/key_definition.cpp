#include "key_definition.h"

#include "protocol/vocabulary.h"

#include <cstdint>

namespace lmx {

TKeyDefinition::TKeyDefinition(std::string id)
    : Id(std::move(id))
{
    ClearKey();
}

void TKeyDefinition::ClearKey()
{
    ButtonCaption = kFreeCaption;
    NParam = 0;
    CommandIndex = 0;
    CommandStr.clear();
    CommandHexData.clear();
    ParamData.clear();
    Enabled = false;
}

bool TKeyDefinition::SetFromCommand(const std::string& displayText,
                                    const std::string& commandLine, const std::string& caption)
{
    ButtonCaption = caption;
    CommandHexData = commandLine;
    CommandStr = displayText;

    if (!commandLine.empty() && static_cast<uint8_t>(commandLine[0]) == code::KEY) {
        if (commandLine.size() < 2 || static_cast<uint8_t>(commandLine[1]) != code::ESC)
            return false;
        if (commandLine.size() < 3)
            return false;
        const auto commandByte = static_cast<uint8_t>(commandLine[2]);
        if (commandByte < 0x7A)
            return false;
        const std::string afterCode = commandLine.substr(3);
        switch (paramKindOf(commandByte)) {
        case ParamKind::Illegal: // 7A..7F: accepted without touching the parameter fields
            break;
        case ParamKind::None:
            NParam = 0;
            ParamData.clear();
            break;
        case ParamKind::One:
            NParam = 1;
            ParamData = afterCode.substr(0, 1);
            break;
        case ParamKind::Two:
            NParam = 2;
            ParamData = afterCode.substr(0, 2);
            break;
        case ParamKind::Eoc: {
            const size_t end = afterCode.find(static_cast<char>(code::EOC));
            if (end == std::string::npos)
                return false;
            NParam = 3;
            ParamData = afterCode.substr(0, end);
            break;
        }
        }
        if (commandByte >= 0x80)
            CommandIndex = commandByte - 0x7F;
    }
    Enabled = true;
    return true;
}

bool TKeyDefinition::operator==(const TKeyDefinition& o) const
{
    return ButtonCaption == o.ButtonCaption && Id == o.Id && NParam == o.NParam
        && CommandIndex == o.CommandIndex && CommandStr == o.CommandStr
        && CommandHexData == o.CommandHexData && ParamData == o.ParamData
        && Enabled == o.Enabled;
}

KeySet makeKeySet()
{
    return {TKeyDefinition("Key 1"), TKeyDefinition("Key 2"), TKeyDefinition("Key 3"),
            TKeyDefinition("Key 4")};
}

bool anyKeyDefined(const KeySet& keys)
{
    for (const TKeyDefinition& k : keys)
        if (k.Enabled)
            return true;
    return false;
}

} // namespace lmx
