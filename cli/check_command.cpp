#include "commands.h"

#include <cstdio>

int runCheck(int, char**)
{
    std::fputs("lmx check: not available in this build\n", stderr);
    return 2;
}
