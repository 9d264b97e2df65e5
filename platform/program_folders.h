#pragma once
// The places of the settings file and the debug log for a program whose binary lies in
// programFolder, with the user's folders the system names for the window program:
// ~/.config/Orvanta and ~/.local/share/Orvanta by default. The window and lmx both ask here,
// so they read the same settings.

#include "files/settings_places.h"

#include <QString>

namespace lmx {

constexpr const char* kProgramFolderName = "Orvanta";

SettingsPlaces programSettingsPlaces(const QString& programFolder);

} // namespace lmx
