#include "program_arguments.h"

ProgramArguments parseProgramArguments(const QStringList& args)
{
    ProgramArguments parsed;
    // --help and --version win over anything else, even over arguments Qt has not taken yet.
    for (const QString& arg : args) {
        if (arg == QLatin1String("--"))
            break;
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            parsed.action = ProgramArguments::Action::Help;
            return parsed;
        }
        if (arg == QLatin1String("--version") || arg == QLatin1String("-v"))
            parsed.action = ProgramArguments::Action::Version;
    }
    if (parsed.action != ProgramArguments::Action::Run)
        return parsed;

    bool options = true;
    for (const QString& arg : args) {
        if (options && arg == QLatin1String("--")) {
            options = false;
            continue;
        }
        if (options && arg.size() > 1 && arg.startsWith(QLatin1Char('-'))) {
            parsed.action = ProgramArguments::Action::Error;
            parsed.error = QStringLiteral("unknown option ") + arg;
            return parsed;
        }
        if (!parsed.file.isEmpty()) {
            parsed.action = ProgramArguments::Action::Error;
            parsed.error = QStringLiteral("only one command file can be opened");
            parsed.file.clear();
            return parsed;
        }
        parsed.file = arg;
    }
    return parsed;
}

QString programUsageText()
{
    return QStringLiteral("usage: orvanta [FILE.lmx]\n"
                          "       orvanta --help | --version\n");
}

QString programHelpText()
{
    return programUsageText()
        + QStringLiteral(
            "\n"
            "Composes, shows and transmits command sequences for LED message displays.\n"
            "FILE.lmx is loaded at start as File > Load does.\n"
            "\n"
            "Settings: ORVANTA.SET beside the program while the user may write its folder,\n"
            "else ~/.config/Orvanta/ORVANTA.SET, read over an ORVANTA.SET beside the program;\n"
            "the debug log Log/Debug.log beside the program, or in ~/.local/share/Orvanta.\n"
            "The help page (F1) is doc/lmxdoc.htm beside the program.\n"
            "The command-line tool lmx checks and sends command files and runs a virtual\n"
            "display: lmx --help.\n");
}

QString programVersionText()
{
    return QStringLiteral("orvanta " ORVANTA_VERSION "\n");
}
