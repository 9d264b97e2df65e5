#include "capture_file.h"

#include "exchange_capture.h"
#include "exchange_recorder.h"
#include "files/output_paths.h"
#include "pcapng.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#ifndef ORVANTA_VERSION
#define ORVANTA_VERSION "0.0.0"
#endif

namespace lmx {

namespace {

// pcapng texts are UTF-8; the program's are Latin-1.
std::string utf8(const std::string& latin1)
{
    std::string out;
    out.reserve(latin1.size());
    for (const char ch : latin1) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += ch;
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

template <size_t N>
const char* pick(const char* const (&names)[N], int index)
{
    return index >= 0 && static_cast<size_t>(index) < N ? names[index] : "?";
}

std::string headerBlocks(const std::string& application, const CapturePort& port)
{
    pcapng::Interface interface;
    interface.name = utf8(port.name);
    interface.description = utf8(port.lineSettings);
    return pcapng::sectionHeaderBlock(utf8(application))
         + pcapng::interfaceDescriptionBlock(interface);
}

std::string exchangeBlocks(const ExchangeRecord& rec)
{
    std::string out;
    for (const CaptureFrame& frame : captureFrames(rec)) {
        pcapng::Packet p;
        p.timestampUs = frame.timestampUs;
        p.bytes = frame.bytes;
        p.flags = frame.flags();
        p.comment = utf8(frame.comment);
        out += pcapng::enhancedPacketBlock(p);
    }
    return out;
}

std::string systemReason()
{
    return std::strerror(errno);
}

} // namespace

CapturePort capturePortOf(const TSerialSettings& serial)
{
    CapturePort port;
    port.name = trimmedBlanks(serial.PortName);
    if (port.name.rfind("tcp://", 0) == 0) {
        port.lineSettings = "line settings of the device server";
        return port;
    }
    static const char* const kParity[] = {"N", "O", "E", "M", "S"};
    static const char* const kStopBits[] = {"1", "1.5", "2"};
    static const char* const kHwFlow[] = {"", ", RTS on", ", RTS/CTS"};
    port.lineSettings = trimmedBlanks(serial.Baudrate) + " baud, "
                      + std::to_string(serial.DataBits + 5) + pick(kParity, serial.Parity)
                      + pick(kStopBits, serial.StopBits) + pick(kHwFlow, serial.HwFlow)
                      + (serial.SwFlow == 1 ? ", XON/XOFF" : "")
                      + (serial.DTRCtrl == 0 ? ", DTR on" : "");
    return port;
}

std::string captureApplication(const std::string& program)
{
    return "Orvanta " + program + " " ORVANTA_VERSION;
}

std::string captureFolderProblem(const std::string& folder)
{
    if (folder.empty())
        return "No folder is given for the captures.";
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec))
        return "The capture folder " + folder + " does not exist.";
    return {};
}

std::string captureFilePath(const std::string& folder, const LocalDateTime& time)
{
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d-%03d", time.year, time.month,
                  time.day, time.hour, time.minute, time.second, time.millisecond);
    const std::filesystem::path base = std::filesystem::path(folder) / ("orvanta-" + std::string(stamp));
    std::string path = base.string() + ".pcapng";
    std::error_code ec; // a folder that cannot be looked into fails when the file is created
    for (int n = 2; std::filesystem::exists(path, ec); ++n)
        path = base.string() + "-" + std::to_string(n) + ".pcapng";
    return path;
}

std::string captureBytes(const std::vector<ExchangeRecord>& records,
                         const std::string& application, const CapturePort& port)
{
    std::string out = headerBlocks(application, port);
    for (const ExchangeRecord& rec : records)
        out += exchangeBlocks(rec);
    return out;
}

CaptureFile::CaptureFile(const ExchangeRecorder& recorder, QObject* parent)
    : QObject(parent), m_recorder(recorder)
{
    connect(&recorder, &ExchangeRecorder::recordChanged, this, &CaptureFile::writeJudged);
    connect(&recorder, &ExchangeRecorder::cleared, this, [this] { m_next = 0; });
}

CaptureFile::~CaptureFile()
{
    close();
}

WriteResult CaptureFile::open(const std::string& path, const std::string& application,
                              const CapturePort& port)
{
    close();
    m_failure = {};
    m_path = path;
    m_next = m_recorder.records().size();
    if (const std::string why = streamedFileRefusal(path); !why.empty()) {
        m_failure = {false, "Failed to create capture file " + path + ".", why};
        return m_failure;
    }
    m_file = std::fopen(path.c_str(), "wb");
    if (!m_file) {
        m_failure = {false, "Failed to create capture file " + path + ".", systemReason()};
        return m_failure;
    }
    put(headerBlocks(application, port));
    return m_failure;
}

WriteResult CaptureFile::close()
{
    if (!m_file)
        return m_failure;
    if (std::fclose(m_file) != 0 && m_failure.ok)
        m_failure = {false, "Failed to write to capture file " + m_path + ".", systemReason()};
    m_file = nullptr;
    return m_failure;
}

bool CaptureFile::put(const std::string& bytes)
{
    if (!m_file || !m_failure.ok)
        return false;
    // Flushed at once: what happened is in the file even if the program is killed next.
    if (std::fwrite(bytes.data(), 1, bytes.size(), m_file) != bytes.size()
        || std::fflush(m_file) != 0) {
        m_failure = {false, "Failed to write to capture file " + m_path + ".", systemReason()};
        return false;
    }
    return true;
}

void CaptureFile::writeJudged()
{
    // Exchanges are judged in order; one judged twice is written once.
    const std::vector<ExchangeRecord>& records = m_recorder.records();
    std::string bytes;
    while (m_next < records.size() && records[m_next].evaluated)
        bytes += exchangeBlocks(records[m_next++]);
    if (!bytes.empty())
        put(bytes);
}

} // namespace lmx
