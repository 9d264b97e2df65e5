#pragma once
// The virtual display of a soak run: `lmx sim` as a process of its own, so that its memory
// is not ours and its line is a real pseudo-terminal. Every line it prints goes to the
// tally as it comes; what it writes to stderr (a sanitizer's report) goes to ours.

#include "soak_tally.h"

#include <QObject>
#include <QProcess>
#include <QStringList>

#include <functional>
#include <string>

namespace lmx::soak {

class SoakDisplay : public QObject {
    Q_OBJECT

  public:
    SoakDisplay(QString program, QStringList arguments, SoakTally& tally);
    ~SoakDisplay() override; // stops it
    SoakDisplay(const SoakDisplay&) = delete;
    SoakDisplay& operator=(const SoakDisplay&) = delete;

    // Starts the process and waits for the terminal's path on its first line. Returns the
    // path, or an empty string (errorText() says why).
    std::string start(int timeoutMs);
    // Waits until the display has reported `count` packets; false after timeoutMs.
    bool waitForPackets(size_t count, int timeoutMs);
    // Ends it with SIGTERM and reads what it printed last. True when it ended by itself with
    // exit code 0 (its sanitizers found nothing).
    bool stop(int timeoutMs);

    const std::string& errorText() const { return m_error; }

  private:
    void readLines();
    // Runs the event loop until `done` holds or timeoutMs passed; returns done().
    bool waitUntil(const std::function<bool()>& done, int timeoutMs);

    QString m_program;
    QStringList m_arguments;
    SoakTally& m_tally;
    QProcess m_process;
    std::string m_path;
    std::string m_error;
};

} // namespace lmx::soak
