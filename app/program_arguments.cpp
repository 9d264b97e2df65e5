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
        const bool keys = arg.endsWith(QLatin1String(".kcf"), Qt::CaseInsensitive);
        QString& slot = keys ? parsed.keyFile : parsed.file;
        if (!slot.isEmpty()) {
            parsed.action = ProgramArguments::Action::Error;
            parsed.error = keys ? QStringLiteral("only one key file can be opened")
                                : QStringLiteral("only one command file can be opened");
            parsed.file.clear();
            parsed.keyFile.clear();
            return parsed;
        }
        slot = arg;
    }
    return parsed;
}

QStringList withoutQtArguments(const QStringList& args)
{
    // The options of QGuiApplication, QApplication and the X11 platform that take a value
    // (as the next argument or after '='), and those that take none.
    static const QStringList withValue = {
            "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
            "qwindowtitle", "qwindowicon", "display", "geometry", "title", "name", "style",
            "stylesheet", "session", "visual", "ncols", "fn", "font", "bg", "background", "fg",
            "foreground", "btn", "button", "im", "inputstyle", "qmljsdebugger"};
    static const QStringList alone = {"reverse", "widgetcount", "nograb", "dograb", "sync",
                                      "cmap", "testability"};
    QStringList left;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--")) {
            left += args.mid(i);
            break;
        }
        QString name = arg;
        if (name.startsWith(QLatin1String("--")))
            name.remove(0, 2);
        else if (name.startsWith(QLatin1Char('-')))
            name.remove(0, 1);
        else {
            left << arg;
            continue;
        }
        const int equals = name.indexOf(QLatin1Char('='));
        if (withValue.contains(name.left(equals))) {
            if (equals < 0)
                ++i; // the value is the next argument
            continue;
        }
        if (alone.contains(name))
            continue;
        left << arg;
    }
    return left;
}

QString programUsageText()
{
    return QStringLiteral("usage: orvanta [FILE.lmx] [KEYS.kcf]\n"
                          "       orvanta --help | --version\n");
}

QString programHelpText()
{
    return programUsageText()
        + QStringLiteral(
            "\n"
            "Composes, shows and transmits command sequences for LED message displays.\n"
            "FILE.lmx is loaded at start as File > Load does, KEYS.kcf as Load Keys does\n"
            "(before the command file, whose own keys then win).\n"
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
