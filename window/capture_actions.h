#pragma once
// Captures of the window's transmissions for Wireshark: File > Save Capture... writes the
// last transmission (the records the Packets tab shows) as a pcapng file, and with a capture
// folder in the general settings every transmission goes into a file of its own there as it
// runs (a run to many displays into one), each exchange flushed as it ends.

#include "packets/capture_file.h"

#include <QObject>

#include <string>

class UserDialogs;

namespace lmx {
class ExchangeRecorder;
class WallClock;
struct TGeneralSettings;
struct TSerialSettings;
} // namespace lmx

class CaptureActions : public QObject {
    Q_OBJECT
public:
    // The window's parts; all outlive this object.
    struct Parts {
        UserDialogs& dialogs;
        lmx::ExchangeRecorder& recorder;
        const lmx::TGeneralSettings& general;
        const lmx::TSerialSettings& serial;
        const lmx::WallClock& clock;
    };

    CaptureActions(Parts parts, QObject* parent = nullptr);

    // File > Save Capture...: nothing without records.
    void saveCapture();
    // The file the records are captured to as they come; empty when the general settings
    // name no folder (or it could not be created).
    std::string folderCapturePath() const { return m_file.isOpen() ? m_file.path() : std::string(); }

private:
    void transmissionStarted();
    void transmissionFinished();
    void recordsCleared();
    void warn(const lmx::WriteResult& failure, const char* consequence);

    Parts m_parts;
    lmx::CaptureFile m_file;
    lmx::CapturePort m_port;  // the port of the last transmission, as it was then
    bool m_tried = false;     // a folder capture was begun (or failed) for these records
    bool m_warned = false;    // its failure has been shown
};
