// Settings files whose fields hold any value texts: the file either reads, every value of
// its field's kind and the network number in 0..32, and saves into a file that reads back
// to the same records; or it is refused and all three records hold their defaults.
#include "fuzz_support.h"

#include "files/settings.h"
#include "files/settings_file.h"

#include <cstdint>
#include <fstream>
#include <string>

#include <stdlib.h>

using namespace lmx;
using fuzz::check;

namespace {

const char* const kBlocks[3][10] = {
    {"TSerialSettings", "PortName", "Baudrate", "DataBits", "Parity", "StopBits", "HwFlow",
     "SwFlow", "DTRCtrl"},
    {"TDisplaySettings", "NetNr"},
    {"TGeneralSettings", "ShowMainToolBar", "CheckFileReplace", "ShowSerialDebug",
     "ExtendedLmx", "SaveKeys", "ClearKeys", "DebugFile", "CreateDebugFile", "AppendDebugFile"},
};

const std::string& folder()
{
    static char name[] = "/tmp/fuzz_settings_XXXXXX";
    static const std::string path = mkdtemp(name) ? name : "/tmp";
    return path;
}

bool load(const std::string& text, TSerialSettings& s, TDisplaySettings& d, TGeneralSettings& g)
{
    std::ofstream(settingsFilePath(folder()), std::ios::binary | std::ios::trunc) << text;
    return loadSettings(folder(), s, d, g, false).warning.empty();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Each field is present or not; a present one takes the value text the input gives it.
    fuzz::Input in(data, size);
    std::string text;
    for (const auto& block : kBlocks) {
        text += std::string("object ") + block[0] + "\r\n";
        for (size_t f = 1; f < 10 && block[f]; ++f)
            if (in.byte() & 1)
                text += std::string("  ") + block[f] + " = " + in.bytes(in.byte() % 32) + "\r\n";
        text += "end\r\n";
    }
    TSerialSettings s;
    TDisplaySettings d;
    TGeneralSettings g;
    if (!load(text, s, d, g)) {
        check(s == TSerialSettings() && d == TDisplaySettings() && g == TGeneralSettings());
        return 0;
    }
    check(d.NetNr >= TDisplaySettings::kMinNetNr && d.NetNr <= TDisplaySettings::kMaxNetNr);
    TSerialSettings s2;
    TDisplaySettings d2;
    TGeneralSettings g2;
    check(load(settingsFileText(s, d, g), s2, d2, g2) && d2 == d && g2 == g);
    // An empty string is not written, so it reads back as the default.
    check(s2.PortName == (s.PortName.empty() ? TSerialSettings().PortName : s.PortName));
    check(s2.Baudrate == (s.Baudrate.empty() ? TSerialSettings().Baudrate : s.Baudrate));
    s2.PortName = s.PortName;
    s2.Baudrate = s.Baudrate;
    check(s2 == s);
    const SerialLineSetup setup = applySerialSettings(s);
    check(setup.baudRate >= -INT32_MAX && setup.baudRate <= INT32_MAX);
    return 0;
}
