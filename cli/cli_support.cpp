#include "cli_support.h"

#include "files/file_bytes.h"
#include "files/settings_file.h"
#include "platform/program_folders.h"
#include "port/serial_backend.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <fcntl.h>
#include <unistd.h>

namespace cli {

namespace {

// The window program's folder, whose settings lmx takes: lmx lies beside the window program
// once installed, while a build tree makes each program in a folder of its own.
QString windowProgramFolder()
{
    const QString own = QCoreApplication::applicationDirPath();
#ifdef LMX_BUILD_FOLDER
    if (QFileInfo(own).canonicalFilePath() == QFileInfo(QStringLiteral(LMX_BUILD_FOLDER)).canonicalFilePath())
        return QStringLiteral(LMX_WINDOW_BUILD_FOLDER);
#endif
    return own;
}

// Which port is used when --port was not given, and where that came from.
std::string portNotice(const char* command, const std::string& port, const std::string& fromFile,
                       const std::string& ownFile)
{
    const std::string name = lmx::trimmedBlanks(port);
    const std::string device = lmx::devicePathOf(name);
    std::string text = std::string("lmx ") + command + ": port " + name;
    if (device != name)
        text += " (" + device + ")";
    if (!fromFile.empty())
        return text + " from " + fromFile;
    return text + ", the default: no --port and no " + ownFile;
}

} // namespace

void writeLine(FILE* out, const std::string& text)
{
    std::fwrite(text.data(), 1, text.size(), out);
    std::fputc('\n', out);
    std::fflush(out);
}

std::string consoleText(std::string text)
{
    for (const char* pair : {"\r\n", "\n\r"})
        for (size_t at; (at = text.find(pair)) != std::string::npos;)
            text.replace(at, 2, "\n");
    return text;
}

std::optional<Settings> loadSettings(const char* command, const std::optional<std::string>& port,
                                     const std::optional<std::string>& baud)
{
    Settings s;
    s.places = lmx::programSettingsPlaces(windowProgramFolder());
    // Unlike the window, lmx keeps quiet about a missing settings file: the defaults then
    // apply, and the port says so below.
    const std::string ownFile = lmx::settingsFilePath(s.places.settingsFolder);
    std::string portFrom;
    if (!lmx::fileMissing(ownFile)
        || (!s.places.besideProgram() && !lmx::fileMissing(s.places.siteDefaultsFile))) {
        // lmx never writes the settings file, so nothing needs keeping.
        const lmx::SettingsLoad load = lmx::loadSettings(s.places, s.serial, s.display, s.general, false);
        const std::string detail = load.detail.empty() ? "" : "\n" + load.detail;
        if (!load.warning.empty() && !port) {
            // "Using Default Settings" is not what happens here.
            writeLine(stderr, consoleText(load.warning.substr(0, load.warning.find('\n')) + detail));
            writeLine(stderr, std::string("lmx ") + command + ": no --port was given and "
                                  + load.failedFile + " does not read: stopped rather than use "
                                  "the default port. Give --port NAME or repair the file.");
            return std::nullopt;
        }
        if (!load.warning.empty())
            writeLine(stderr, consoleText(load.warning + detail));
        if (!load.files.empty())
            portFrom = load.files.back();
    }
    if (port)
        s.serial.PortName = *port;
    else
        writeLine(stderr, portNotice(command, s.serial.PortName, portFrom, ownFile));
    if (baud)
        s.serial.Baudrate = *baud;
    return s;
}

void ConsoleDialogs::message(const QString& text, const QString&, Icon)
{
    const QByteArray bytes = text.toLatin1();
    writeLine(stderr, consoleText(std::string(bytes.constData(), static_cast<size_t>(bytes.size()))));
}

void ConsoleDialogs::detailedMessage(const QString& text, const QString& detail,
                                     const QString& title, Icon icon)
{
    message(text, title, icon);
    if (!detail.isEmpty())
        message(detail, title, icon);
}

InterruptPipe::InterruptPipe()
{
    if (pipe(s_fds) != 0)
        return;
    for (int fd : s_fds)
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    struct sigaction action {};
    action.sa_handler = &InterruptPipe::onSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    m_notifier = std::make_unique<QSocketNotifier>(s_fds[0], QSocketNotifier::Read);
}

InterruptPipe::~InterruptPipe()
{
    m_notifier.reset();
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    for (int& fd : s_fds) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

int InterruptPipe::drain()
{
    char buffer[16];
    int count = 0;
    ssize_t n = 0;
    while (s_fds[0] >= 0 && (n = ::read(s_fds[0], buffer, sizeof buffer)) > 0)
        count += static_cast<int>(n);
    return count;
}

void InterruptPipe::onSignal(int)
{
    s_interrupted = 1;
    const char byte = 1;
    if (s_fds[1] >= 0) {
        const ssize_t ignored = ::write(s_fds[1], &byte, 1);
        (void)ignored;
    }
}

} // namespace cli
