#include "commands.h"

#include <cstdio>

int runSim(int, char**)
{
    std::fputs("lmx sim: not available in this build\n", stderr);
    return 2;
}
