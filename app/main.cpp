// The window program: the main window with the program's dialogs, its serial port and the
// system's clocks, with the program's folder for its settings, log and help page.
#include "about_box.h"

#include "dialogs/qt_parameter_dialogs.h"
#include "files/wall_clock.h"
#include "serial/program_folders.h"
#include "serial/qt_serial_backend.h"
#include "serial/steady_clock.h"
#include "settings/qt_settings_dialogs.h"
#include "window/main_form.h"
#include "window/qt_user_dialogs.h"

#include <QApplication>
#include <QDesktopServices>

#include <memory>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvanta"));
    QApplication::setApplicationVersion(QStringLiteral(ORVANTA_VERSION));

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
    services.openUrl = [](const QUrl& url) { QDesktopServices::openUrl(url); };
    services.showAbout = [](QWidget* window) {
        TAboutBox box(window);
        box.exec();
    };

    TMainForm window(services);
    dialogs.setParent(&window);
    window.show();
    return app.exec();
}
