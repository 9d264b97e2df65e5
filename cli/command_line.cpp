#include "command_line.h"

#ifndef ORVANTA_VERSION
#define ORVANTA_VERSION "0.0.0"
#endif

namespace cli {

std::vector<std::string> withSeparateValues(const std::vector<std::string>& args)
{
    // Their bare form means something else than a value after them.
    static const char* const kJoinedOnly[] = {"--rs485"};
    std::vector<std::string> out;
    bool options = true;
    for (const std::string& arg : args) {
        if (arg == "--")
            options = false;
        const size_t eq = arg.find('=');
        if (!options || arg.rfind("--", 0) != 0 || eq == std::string::npos || eq == 2) {
            out.push_back(arg);
            continue;
        }
        const std::string name = arg.substr(0, eq);
        bool joined = false;
        for (const char* only : kJoinedOnly)
            joined = joined || name == only;
        if (joined) {
            out.push_back(arg);
            continue;
        }
        out.push_back(name);
        out.push_back(arg.substr(eq + 1));
    }
    return out;
}

std::string versionText()
{
    return std::string("lmx ") + ORVANTA_VERSION + "\n";
}

} // namespace cli
