// lmx: check a command file, send one, scan the bus for displays, or run a virtual display.
#include "command_line.h"
#include "commands.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

void usage(FILE* out)
{
    std::fputs("usage: lmx check FILE.lmx [--save OUT.lmx] [--no-save-keys]\n"
               "       lmx send [options] FILE.lmx\n"
               "       lmx scan [options]\n"
               "       lmx sim [options]\n"
               "       lmx help COMMAND     the options of a command (as lmx COMMAND --help)\n"
               "       lmx --version\n",
               out);
}

using Command = int (*)(int, char**);

Command commandNamed(const char* name)
{
    static const std::pair<const char*, Command> commands[] = {
            {"check", runCheck}, {"send", runSend}, {"scan", runScan}, {"sim", runSim}};
    for (const auto& [known, run] : commands)
        if (std::strcmp(name, known) == 0)
            return run;
    return nullptr;
}

// Runs the command with its arguments, "--name=value" taken as "--name value" (lmx sim reads
// both forms itself: its --echo has a value only in the joined form).
int run(Command command, std::vector<std::string> args)
{
    if (command != runSim)
        args = cli::withSeparateValues(args);
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    return command(static_cast<int>(args.size()), argv.data());
}

int unknownCommand(const char* name)
{
    std::fprintf(stderr, "lmx: unknown command '%s'\n", name);
    usage(stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        usage(stderr);
        return 2;
    }
    const char* name = argv[1];
    if (const Command command = commandNamed(name))
        return run(command, std::vector<std::string>(argv + 2, argv + argc));
    if (std::strcmp(name, "--help") == 0 || std::strcmp(name, "-h") == 0
        || (std::strcmp(name, "help") == 0 && argc == 2)) {
        usage(stdout);
        return 0;
    }
    if (std::strcmp(name, "--version") == 0 || std::strcmp(name, "-V") == 0) {
        std::fputs(cli::versionText().c_str(), stdout);
        return 0;
    }
    if (std::strcmp(name, "help") == 0) {
        if (argc > 3) {
            std::fputs("lmx help: one command at a time\n", stderr);
            usage(stderr);
            return 2;
        }
        const Command command = commandNamed(argv[2]);
        return command ? run(command, {"--help"}) : unknownCommand(argv[2]);
    }
    return unknownCommand(name);
}
