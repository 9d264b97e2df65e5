// Hex text to bytes: whatever converts must come back as the same digits.
#include "protocol/hex.h"

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string bytes;
    if (!lmx::hexTextToBytes(text, bytes))
        return 0;
    std::string digits;
    for (char c : text)
        if (c != ' ')
            digits += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    std::string back;
    for (char b : bytes)
        back += lmx::byteToHex(static_cast<uint8_t>(b));
    if (back != digits)
        std::abort();
    std::string again;
    if (!lmx::hexTextToBytes(lmx::normalisedHexText(bytes), again) || again != bytes)
        std::abort();
    (void)lmx::hexTextOfCommandLine(bytes);
    return 0;
}
