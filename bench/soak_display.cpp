#include "soak_display.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

namespace lmx::soak {

SoakDisplay::SoakDisplay(QString program, QStringList arguments, SoakTally& tally)
    : m_program(std::move(program)), m_arguments(std::move(arguments)), m_tally(tally)
{
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    connect(&m_process, &QProcess::readyReadStandardOutput, this, &SoakDisplay::readLines);
}

SoakDisplay::~SoakDisplay()
{
    if (m_process.state() != QProcess::NotRunning)
        stop(3000);
}

std::string SoakDisplay::start(int timeoutMs)
{
    m_process.start(m_program, m_arguments);
    if (!m_process.waitForStarted(timeoutMs)) {
        m_error = "cannot start " + m_program.toStdString() + ": " +
                  m_process.errorString().toStdString();
        return {};
    }
    const bool ready = waitUntil(
        [this] { return !m_path.empty() || m_process.state() == QProcess::NotRunning; }, timeoutMs);
    if (!ready || m_path.empty()) {
        m_error = m_process.state() == QProcess::NotRunning
                      ? "the virtual display ended at once (exit code " +
                            std::to_string(m_process.exitCode()) + ")"
                      : "the virtual display named no terminal within " +
                            std::to_string(timeoutMs) + " ms";
        return {};
    }
    return m_path;
}

bool SoakDisplay::waitForPackets(size_t count, int timeoutMs)
{
    return waitUntil([&] { return m_tally.displayPackets() >= count; }, timeoutMs);
}

bool SoakDisplay::stop(int timeoutMs)
{
    if (m_process.state() == QProcess::NotRunning) {
        readLines();
        return m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0;
    }
    m_process.terminate();
    if (!m_process.waitForFinished(timeoutMs)) {
        m_error = "the virtual display did not end on SIGTERM";
        m_process.kill();
        m_process.waitForFinished(timeoutMs);
        return false;
    }
    readLines();
    if (m_process.exitStatus() != QProcess::NormalExit || m_process.exitCode() != 0) {
        m_error =
            "the virtual display ended with exit code " + std::to_string(m_process.exitCode());
        return false;
    }
    return true;
}

void SoakDisplay::readLines()
{
    while (m_process.canReadLine()) {
        QByteArray line = m_process.readLine();
        while (!line.isEmpty() && (line.endsWith('\n') || line.endsWith('\r')))
            line.chop(1);
        const std::string_view text(line.constData(), static_cast<size_t>(line.size()));
        if (m_path.empty())
            m_path = std::string(text);
        else
            m_tally.addDisplayLine(text);
    }
}

bool SoakDisplay::waitUntil(const std::function<bool()>& done, int timeoutMs)
{
    if (done())
        return true;
    const QDeadlineTimer deadline(timeoutMs);
    QEventLoop loop;
    QTimer tick;
    connect(&tick, &QTimer::timeout, &loop, [&] {
        if (done() || deadline.hasExpired())
            loop.quit();
    });
    tick.start(10);
    loop.exec();
    return done();
}

} // namespace lmx::soak
