#pragma once
// The three settings dialogs as the main window uses them: each is shown modally on its
// record and writes it only when confirmed. The program uses QtSettingsDialogs; tests of the
// window answer them with a fake.

#include "files/settings.h"

class SettingsDialogs {
public:
    virtual ~SettingsDialogs() = default;
    // True when the dialog was confirmed (the record holds the entries then).
    virtual bool editGeneral(lmx::TGeneralSettings& record) = 0;
    virtual bool editDisplay(lmx::TDisplaySettings& record) = 0;
    virtual bool editSerial(lmx::TSerialSettings& record) = 0;
};
