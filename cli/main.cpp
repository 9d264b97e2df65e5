// lmx: check a command file, send one, scan the bus for displays, or run a virtual display.
#include "commands.h"

#include <cstdio>
#include <cstring>

namespace {

void usage(FILE* out)
{
    std::fputs("usage: lmx check FILE.lmx [--save OUT.lmx] [--no-save-keys]\n"
               "       lmx send [options] FILE.lmx\n"
               "       lmx scan [options]\n"
               "       lmx sim [options]\n"
               "       lmx COMMAND --help   for the options of a command\n",
               out);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        usage(stderr);
        return 2;
    }
    const char* command = argv[1];
    if (std::strcmp(command, "check") == 0)
        return runCheck(argc - 2, argv + 2);
    if (std::strcmp(command, "send") == 0)
        return runSend(argc - 2, argv + 2);
    if (std::strcmp(command, "scan") == 0)
        return runScan(argc - 2, argv + 2);
    if (std::strcmp(command, "sim") == 0)
        return runSim(argc - 2, argv + 2);
    if (std::strcmp(command, "--help") == 0 || std::strcmp(command, "-h") == 0) {
        usage(stdout);
        return 0;
    }
    std::fprintf(stderr, "lmx: unknown command '%s'\n", command);
    usage(stderr);
    return 2;
}
