#pragma once
// The command line of `lmx sim`.

#include "sim_options.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lmx::sim {

struct SimArguments {
    SimOptions options;
    std::string port;        // serve this serial port instead of a new pseudo-terminal
    unsigned baud = 19200;
    bool listen = false;     // serve a TCP port instead
    std::string listenHost = "127.0.0.1";
    uint16_t listenPort = 0; // 0: a free one
    std::string link;        // also make this a symbolic link to the terminal
    bool show = false;       // print what the displays show at exit
    // Run this once the display is ready (its terminal and link exist), then end with it.
    std::vector<std::string> command;
    bool help = false;
};

// Reads the arguments after "sim" ("--netnr 5" and "--netnr=5" alike). Returns false with a
// message naming the bad argument.
bool parseSimArguments(const std::vector<std::string>& args, SimArguments& out,
                       std::string& error);

std::string simHelpText();

} // namespace lmx::sim
