#pragma once
// What the main window is given rather than making itself, so a test can run the whole
// window offscreen: the program's folder (doc/lmxdoc.htm lies there) and the places of
// ORVANTA.SET and Log/ (beside the program when none are given),
// the user dialogs, the makers of the parameter and settings dialogs and of the serial
// backend, the clocks, and the steps that open the help page and show the About box.

#include "files/settings_places.h"
#include "platform/steady_clock.h"
#include "platform/wall_clock.h"
#include "port/serial_backend.h"

#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

class ParameterDialogs;
class QWidget;
class SettingsDialogs;
class UserDialogs;

struct MainFormServices {
    QString programFolder;
    lmx::SettingsPlaces settingsPlaces;
    // Must outlive the window.
    UserDialogs* dialogs = nullptr;
    const lmx::WallClock* wallClock = nullptr;
    const lmx::SteadyClock* steadyClock = nullptr;
    // Called once while the window is created; the window owns what they return.
    std::function<std::unique_ptr<ParameterDialogs>(QWidget* window)> makeParameterDialogs;
    std::function<std::unique_ptr<SettingsDialogs>(QWidget* window)> makeSettingsDialogs;
    std::function<std::unique_ptr<lmx::SerialBackend>()> makeSerialBackend;
    // Opens a local page with the system's handler; notShown is called, at once or later,
    // when no browser could be started for it.
    std::function<void(const QUrl& url, std::function<void()> notShown)> openUrl;
    // Shows the About box modally.
    std::function<void(QWidget* window)> showAbout;
};
