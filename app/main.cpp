// The window program: the main window with the program's dialogs, its serial port and the
// system's clocks, with the program's folder for its help page and the places of its
// settings and log. `orvanta FILE.lmx` loads the file at start.
#include "about_box.h"
#include "program_arguments.h"

#include "dialogs/qt_parameter_dialogs.h"
#include "keys/key_actions.h"
#include "platform/program_folders.h"
#include "platform/steady_clock.h"
#include "platform/wall_clock.h"
#include "port/qt_serial_backend.h"
#include "settings/qt_settings_dialogs.h"
#include "window/main_form.h"
#include "window/program_icon.h"
#include "window/qt_user_dialogs.h"

#include <QApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

#include <cstdio>
#include <memory>

namespace {

QStringList argumentsOf(int argc, char** argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    return args;
}

void print(FILE* out, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), out);
}

// The desktop's open action. xdg-open tells by its exit code whether anything could show the
// page; it may run as long as the browser it started, so its end is waited for without
// blocking.
void openWithSystem(const QUrl& url, std::function<void()> notShown)
{
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) {
        notShown();
        return;
    }
    auto* process = new QProcess(qApp);
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    QObject::connect(process, &QProcess::finished, process,
                     [process, notShown](int code, QProcess::ExitStatus status) {
                         if (status != QProcess::NormalExit || code != 0)
                             notShown();
                         process->deleteLater();
                     });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, notShown](QProcess::ProcessError error) {
                         if (error == QProcess::FailedToStart) {
                             notShown();
                             process->deleteLater();
                         }
                     });
    process->start(opener, {url.toString()});
}

} // namespace

int main(int argc, char** argv)
{
    // --help, --version and mistakes need no window system.
    const ProgramArguments early =
            parseProgramArguments(withoutQtArguments(argumentsOf(argc, argv)));
    if (early.action == ProgramArguments::Action::Help) {
        print(stdout, programHelpText());
        return 0;
    }
    if (early.action == ProgramArguments::Action::Version) {
        print(stdout, programVersionText());
        return 0;
    }
    if (early.action == ProgramArguments::Action::Error) {
        print(stderr, QStringLiteral("orvanta: ") + early.error + QLatin1Char('\n')
                      + programUsageText());
        return 2;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvanta"));
    QApplication::setApplicationVersion(QStringLiteral(ORVANTA_VERSION));
    QApplication::setWindowIcon(programIcon()); // the dialogs' too
    // What is left once Qt has taken its own arguments.
    const ProgramArguments args = parseProgramArguments(argumentsOf(argc, argv));
    if (args.action == ProgramArguments::Action::Error) {
        print(stderr, QStringLiteral("orvanta: ") + args.error + QLatin1Char('\n') + programUsageText());
        return 2;
    }

    QtUserDialogs dialogs;
    lmx::SystemWallClock wallClock;
    MainFormServices services;
    services.programFolder = QCoreApplication::applicationDirPath();
    services.settingsPlaces = lmx::programSettingsPlaces(services.programFolder);
    services.dialogs = &dialogs;
    services.wallClock = &wallClock;
    services.steadyClock = &lmx::SystemSteadyClock::instance();
    services.makeParameterDialogs = [&dialogs](QWidget* window) {
        return std::make_unique<QtParameterDialogs>(dialogs, window);
    };
    services.makeSettingsDialogs = [&dialogs](QWidget* window) {
        return std::make_unique<QtSettingsDialogs>(dialogs, window);
    };
    services.makeSerialBackend = [] { return std::make_unique<lmx::QtSerialBackend>(); };
    services.openUrl = openWithSystem;
    services.showAbout = [](QWidget* window) {
        TAboutBox box(window);
        box.exec();
    };

    TMainForm window(services);
    dialogs.setParent(&window);
    window.show();
    QTimer::singleShot(0, &window, [&window, args] {
        if (!args.keyFile.isEmpty())
            window.keyActions().loadKeyFile(args.keyFile);
        if (!args.file.isEmpty())
            window.loadCommandFile(args.file);
    });
    return app.exec();
}
