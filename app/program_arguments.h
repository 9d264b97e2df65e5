#pragma once
// The window program's command line: `orvanta [FILE.lmx] [KEYS.kcf]`, `--help`, `--version`. The
// arguments Qt takes for itself (-platform, -display, ...) are gone before the file is read;
// --help and --version are answered before any window system is needed.

#include <QString>
#include <QStringList>

struct ProgramArguments {
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    QString file;  // a command file to load at start
    QString keyFile; // a key file (*.kcf) to load at start
    QString error; // what is wrong, for Error
};

// args: the arguments after the program's name.
ProgramArguments parseProgramArguments(const QStringList& args);

// The arguments without those the Qt application takes for itself (-platform NAME,
// -display NAME, -style=NAME, -reverse, ...), so that a mistake is found before any window
// system is needed.
QStringList withoutQtArguments(const QStringList& args);

QString programUsageText();
QString programHelpText();
QString programVersionText();
