#pragma once
// The subcommands of lmx. Each takes the arguments after its name and returns the exit code.

int runCheck(int argc, char** argv);
int runSend(int argc, char** argv);
int runScan(int argc, char** argv);
int runSim(int argc, char** argv);
