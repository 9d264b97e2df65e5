#pragma once
// What lmx send and lmx scan share: the window program's settings and where the port came
// from, message boxes as lines on stderr, SIGINT and SIGTERM as an event, number options.

#include "files/settings.h"
#include "files/settings_places.h"
#include "platform/user_dialogs.h"

#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

namespace cli {

void writeLine(FILE* out, const std::string& text);
// A message-box text for a console: its line breaks (CR LF, LF CR) as plain LF, so no line
// starts or ends with a stray CR.
std::string consoleText(std::string text);

// The window program's settings as lmx takes them, with the port and baud rate options over
// them. The port in use is named on stderr ("lmx send: port ...") unless it was given. A
// settings file that is there but does not read stops lmx (empty result, said on stderr)
// unless --port was given: the default port is never taken in its place.
struct Settings {
    lmx::SettingsPlaces places;
    lmx::TSerialSettings serial;
    lmx::TDisplaySettings display;
    lmx::TGeneralSettings general;
};
std::optional<Settings> loadSettings(const char* command, const std::optional<std::string>& port,
                                     const std::optional<std::string>& baud);

// Every message-box text goes to stderr; questions are answered the safe way.
class ConsoleDialogs : public UserDialogs {
public:
    void message(const QString& text, const QString&, Icon) override;
    void detailedMessage(const QString& text, const QString& detail, const QString& title,
                         Icon icon) override;
    Answer askYesNo(const QString&, const QString&, Icon) override { return Answer::No; }
    Answer askYesNoCancel(const QString&, const QString&, Icon) override { return Answer::Cancel; }
    QString openFileName(const FileRequest&) override { return {}; }
    QString saveFileName(const FileRequest&) override { return {}; }
    void beep() override {}
};

// SIGINT and SIGTERM reach the event loop through a pipe: the handler only writes a byte.
// One at a time, while it lives.
class InterruptPipe {
public:
    InterruptPipe();
    ~InterruptPipe();
    InterruptPipe(const InterruptPipe&) = delete;
    InterruptPipe& operator=(const InterruptPipe&) = delete;

    QSocketNotifier* notifier() const { return m_notifier.get(); }
    static bool interrupted() { return s_interrupted != 0; }
    static int drain(); // the signals that came since the last call

private:
    static void onSignal(int);

    static inline int s_fds[2] = {-1, -1};
    static inline volatile std::sig_atomic_t s_interrupted = 0;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace cli
