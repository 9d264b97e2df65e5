#include "capture_actions.h"

#include "file_actions.h"
#include "files/settings.h"
#include "packets/exchange_recorder.h"
#include "packets/exchange_reports.h"
#include "platform/user_dialogs.h"
#include "platform/wall_clock.h"

#include <QDir>

CaptureActions::CaptureActions(Parts parts, QObject* parent)
    : QObject(parent), m_parts(parts), m_file(parts.recorder)
{
    lmx::ExchangeRecorder* recorder = &m_parts.recorder;
    connect(recorder, &lmx::ExchangeRecorder::cleared, this, &CaptureActions::recordsCleared);
    connect(recorder, &lmx::ExchangeRecorder::started, this,
            &CaptureActions::transmissionStarted);
    connect(recorder, &lmx::ExchangeRecorder::finished, this,
            &CaptureActions::transmissionFinished);
}

void CaptureActions::recordsCleared()
{
    // The records of the next transmission go to a file of their own.
    m_file.close();
    m_tried = false;
    m_warned = false;
}

void CaptureActions::transmissionStarted()
{
    // Before the first packet: the port as this transmission uses it. A run to many
    // displays starts one transmission per display, all into the file of the first.
    m_port = lmx::capturePortOf(m_parts.serial);
    const std::string& folder = m_parts.general.CaptureFolder;
    if (m_tried || folder.empty())
        return;
    m_tried = true;
    const std::string problem = lmx::captureFolderProblem(folder);
    if (!problem.empty()) {
        warn({false, problem, {}}, "The transmission is not captured.");
        return;
    }
    warn(m_file.open(lmx::captureFilePath(folder, m_parts.clock.now()),
                     lmx::captureApplication("orvanta"), m_port),
         "The transmission is not captured.");
}

void CaptureActions::transmissionFinished()
{
    // A write that failed in mid-run is told once it has ended, not between two exchanges.
    warn(m_file.failure(), "The capture ends before the failure.");
}

void CaptureActions::warn(const lmx::WriteResult& failure, const char* consequence)
{
    if (failure.ok || m_warned)
        return;
    m_warned = true;
    m_parts.dialogs.detailedWarning(localText(failure.message + "\n" + consequence),
                                    localText(failure.detail));
}

void CaptureActions::saveCapture()
{
    const std::vector<lmx::ExchangeRecord>& records = m_parts.recorder.records();
    if (records.empty())
        return;
    UserDialogs::FileRequest request;
    request.title = QStringLiteral("Save Capture");
    request.filter = QStringLiteral("Wireshark Captures (*.pcapng)");
    request.defaultSuffix = QStringLiteral("pcapng");
    request.directory = QDir::currentPath();
    request.confirmOverwrite = m_parts.general.CheckFileReplace;
    const QString path = m_parts.dialogs.saveFileName(request);
    if (path.isEmpty())
        return;
    const lmx::WriteResult result = lmx::writeReportFile(
            localPath(path),
            lmx::captureBytes(records, lmx::captureApplication("orvanta"), m_port));
    if (!result.ok)
        m_parts.dialogs.detailedWarning(localText(result.message), localText(result.detail));
}
