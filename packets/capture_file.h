#pragma once
// Captures of transmissions as pcapng files, for Wireshark with the Lmx dissector
// (wireshark/lmx.lua): one interface for the port, and for every exchange the packet sent and
// what came for it (captureFrames). CaptureFile follows an ExchangeRecorder and writes each
// exchange as soon as it has been judged, flushed, so that a run cut short keeps everything
// up to its last exchange; captureBytes makes a whole capture of records at once.

#include "exchange_record.h"
#include "files/atomic_file_saver.h"
#include "files/settings.h"
#include "platform/wall_clock.h"

#include <QObject>

#include <cstdio>
#include <string>
#include <vector>

namespace lmx {

class ExchangeRecorder;

// The interface description: the port as the user names it and its line settings.
struct CapturePort {
    std::string name;
    std::string lineSettings;
};

// "19200 baud, 8N1, RTS on, DTR on"; for a device server "line settings of the device server".
CapturePort capturePortOf(const TSerialSettings& serial);

// What goes into the section header as the writing program: "Orvanta lmx 1.2.0".
std::string captureApplication(const std::string& program);

// Why no capture can go into `folder`: "" when it can; else the message to show.
std::string captureFolderProblem(const std::string& folder);

// A new file in `folder` for a transmission begun at `time`,
// "orvanta-20240331-140509-007.pcapng"; a name that is taken gets "-2", "-3", ... added.
std::string captureFilePath(const std::string& folder, const LocalDateTime& time);

// The records of a transmission as a whole capture.
std::string captureBytes(const std::vector<ExchangeRecord>& records,
                         const std::string& application, const CapturePort& port);

class CaptureFile : public QObject {
    Q_OBJECT

public:
    explicit CaptureFile(const ExchangeRecorder& recorder, QObject* parent = nullptr);
    ~CaptureFile() override;
    CaptureFile(const CaptureFile&) = delete;
    CaptureFile& operator=(const CaptureFile&) = delete;

    // Creates the file (one of that name is replaced) with the section header and the port;
    // from now on every exchange the recorder judges is added. A file open before is closed.
    WriteResult open(const std::string& path, const std::string& application,
                     const CapturePort& port);
    // Closes the file; the first failure since it was opened, if any.
    WriteResult close();

    bool isOpen() const { return m_file != nullptr; }
    const std::string& path() const { return m_path; }
    // The first failure since the file was opened; once one happened nothing more is written.
    const WriteResult& failure() const { return m_failure; }

private:
    void writeJudged();
    bool put(const std::string& bytes);

    const ExchangeRecorder& m_recorder;
    std::FILE* m_file = nullptr;
    std::string m_path;
    WriteResult m_failure;
    size_t m_next = 0; // the record written next
};

} // namespace lmx
