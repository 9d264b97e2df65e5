// Object notation: any bytes parse or fail without harm; settings and key files that read
// save and read back to the same records; strings of any bytes survive the writer.
#include "files/key_file.h"
#include "files/object_notation.h"
#include "files/settings_file.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void checkStringRoundTrip(const std::string& value, lmx::ApostropheStyle style)
{
    lmx::ObjectNotationWriter writer(style);
    writer.beginObject("T");
    writer.string("S", value);
    writer.endObject();
    std::vector<lmx::NotationObject> objects;
    std::string back;
    if (!lmx::parseObjectNotation(writer.text(), objects) || objects.size() != 1
        || objects[0].properties.size() != 1
        || !lmx::notationString(objects[0].properties[0].value, back) || back != value)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::vector<lmx::NotationObject> objects;
    (void)lmx::parseObjectNotation(bytes, objects);

    lmx::KeySet keys = lmx::makeKeySet();
    if (lmx::parseKeyFile(bytes, "fuzz.kcf", keys).empty()) {
        // Empty strings are left out of a key file and an absent property keeps the key's
        // value, so an empty string reads back as the value the keys had before.
        lmx::KeySet again = lmx::makeKeySet();
        lmx::KeySet expected = keys;
        for (size_t i = 0; i < keys.size(); ++i)
            for (auto field :
                 {&lmx::TKeyDefinition::ButtonCaption, &lmx::TKeyDefinition::Id,
                  &lmx::TKeyDefinition::CommandStr, &lmx::TKeyDefinition::CommandHexData,
                  &lmx::TKeyDefinition::ParamData})
                if ((expected[i].*field).empty())
                    expected[i].*field = again[i].*field;
        if (!lmx::parseKeyFile(lmx::keyFileText(keys), "fuzz.kcf", again).empty()
            || again != expected)
            std::abort();
    } else if (keys != lmx::makeKeySet()) {
        std::abort();
    }

    // The same bytes as the text of a settings field.
    lmx::TSerialSettings serial;
    serial.PortName = bytes;
    lmx::TDisplaySettings display;
    lmx::TGeneralSettings general;
    std::vector<lmx::NotationObject> settings;
    std::string port;
    if (!lmx::parseObjectNotation(lmx::settingsFileText(serial, display, general), settings)
        || settings.size() != 3
        || (!bytes.empty()
            && (!lmx::notationString(settings[0].properties[0].value, port) || port != bytes)))
        std::abort();

    checkStringRoundTrip(bytes, lmx::ApostropheStyle::Coded);
    checkStringRoundTrip(bytes, lmx::ApostropheStyle::Doubled);
    return 0;
}
