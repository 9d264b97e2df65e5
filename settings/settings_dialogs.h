#pragma once
// The three settings dialogs as the main window uses them, with the bus's three: each is shown
// modally on its record and writes it only when confirmed. The program uses
// QtSettingsDialogs; tests of the window answer them with a fake.

#include "files/settings.h"

namespace lmx {
class PacketExchange;
struct RepeatRequest;
} // namespace lmx

class SettingsDialogs {
public:
    virtual ~SettingsDialogs() = default;
    // True when the dialog was confirmed (the record holds the entries then).
    virtual bool editGeneral(lmx::TGeneralSettings& record) = 0;
    virtual bool editDisplay(lmx::TDisplaySettings& record) = 0;
    virtual bool editSerial(lmx::TSerialSettings& record) = 0;
    // Settings > Scan Bus...: scans through the exchange (idle, with its port settings) in
    // the framing given; true when a display was chosen, whose number is then NetNr.
    virtual bool scanBus(lmx::TDisplaySettings& record, lmx::PacketExchange& exchange,
                         bool extended) = 0;
    // File > Transmit to Displays...: the list of network numbers, kept in NetNrList.
    virtual bool editDisplayList(lmx::TDisplaySettings& record) = 0;
    // Transmit > Repeat Transmission...: the runs, their interval and when to stop; each run
    // may go to every display of `displayList` (the display settings' list).
    virtual bool editRepeat(lmx::RepeatRequest& request, const std::string& displayList) = 0;
};
