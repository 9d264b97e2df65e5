#include "commands.h"

#include <cstdio>

int runSend(int, char**)
{
    std::fputs("lmx send: not available in this build\n", stderr);
    return 2;
}
