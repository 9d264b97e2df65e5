#pragma once
// The real main window for the benchmarks: real settings dialogs and serial ports, scripted
// message boxes and parameter dialogs, no browser and no About box.

#include "platform/steady_clock.h"
#include "platform/wall_clock.h"
#include "port/qt_serial_backend.h"
#include "settings/qt_settings_dialogs.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/scripted_parameter_dialogs.h"
#include "window/main_form.h"

#include <QString>

#include <memory>

inline MainFormServices benchWindowServices(const QString& programFolder, ScriptedDialogs& dialogs,
                                            lmx::WallClock& wallClock)
{
    MainFormServices s;
    s.programFolder = programFolder;
    s.dialogs = &dialogs;
    s.wallClock = &wallClock;
    s.steadyClock = &lmx::SystemSteadyClock::instance();
    s.makeParameterDialogs = [](QWidget*) { return std::make_unique<ScriptedParameterDialogs>(); };
    s.makeSettingsDialogs = [&dialogs](QWidget* w) {
        return std::make_unique<QtSettingsDialogs>(dialogs, w);
    };
    s.makeSerialBackend = [] { return std::make_unique<lmx::QtSerialBackend>(); };
    s.openUrl = [](const QUrl&, const std::function<void()>&) {};
    s.showAbout = [](QWidget*) {};
    return s;
}
