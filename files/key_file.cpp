#include "key_file.h"

#include "file_bytes.h"
#include "record_fields.h"

namespace lmx {

namespace {

std::vector<RecordField> keyFields(TKeyDefinition& k)
{
    return {{"ButtonCaption", &k.ButtonCaption},
            {"Id", &k.Id},
            {"NParam", &k.NParam, 0, TKeyDefinition::kMaxNParam},
            {"CommandIndex", &k.CommandIndex, 0, TKeyDefinition::kMaxCommandIndex},
            {"CommandStr", &k.CommandStr},
            {"CommandHexData", &k.CommandHexData},
            {"ParamData", &k.ParamData},
            {"Enabled", &k.Enabled}};
}

constexpr const char* kLineBreak = "\n\r";

std::string readFailure(KeySet& keys, const std::string& message)
{
    for (TKeyDefinition& key : keys)
        key.ClearKey();
    return message;
}

} // namespace

std::string keyFileText(const KeySet& keys)
{
    ObjectNotationWriter writer(ApostropheStyle::Coded);
    for (const TKeyDefinition& key : keys) {
        TKeyDefinition copy = key;
        writeFields(writer, "TKeyDefinition", keyFields(copy));
    }
    return writer.text();
}

WriteResult writeKeyFile(const std::string& fileName, const KeySet& keys,
                         const AtomicFileSaver& saver)
{
    const SaveOutcome outcome = saver.save(fileName, keyFileText(keys));
    if (outcome.ok())
        return {};
    return {false, saveFailureText(outcome, "file " + fileName + "." + kLineBreak),
            outcome.reason};
}

std::string parseKeyFile(std::string_view bytes, const std::string& fileName, KeySet& keys)
{
    std::vector<NotationObject> blocks;
    if (!parseObjectNotation(bytes, blocks) || blocks.size() < keys.size())
        return readFailure(keys, "Unknown error while reading from file " + fileName + "."
                                     + kLineBreak + "Using default Key values. ");
    KeySet read = keys;
    for (size_t i = 0; i < read.size(); ++i)
        if (assignFields(blocks[i], keyFields(read[i])) != AssignStatus::Ok)
            return readFailure(keys, "Failed to read from file " + fileName + "." + kLineBreak
                                         + "Using default Key values.");
    keys = read;
    return {};
}

std::string readKeyFile(const std::string& fileName, KeySet& keys)
{
    std::string bytes;
    switch (readFileBytes(fileName, kMaxKeyFileSize, bytes)) {
    case ReadStatus::Ok:
        return parseKeyFile(bytes, fileName, keys);
    case ReadStatus::NotReadable:
        return readFailure(keys, "Failed to open file " + fileName + "." + kLineBreak
                                     + "Using default Key values.");
    case ReadStatus::TooLarge:
        break;
    }
    return readFailure(keys, "Unknown error while reading from file " + fileName + "."
                                 + kLineBreak + "Using default Key values. ");
}

} // namespace lmx
