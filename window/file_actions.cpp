#include "file_actions.h"

#include "editor/command_editor.h"
#include "editor/command_file_io.h"
#include "files/command_file_reader.h"
#include "files/command_file_writer.h"
#include "files/settings.h"
#include "files/text_export.h"
#include "frames/answer_frame.h"
#include "frames/main_status_bar.h"
#include "frames/send_receive_frame.h"
#include "keys/key_actions.h"
#include "packets/exchange_recorder.h"
#include "packets/exchange_reports.h"
#include "platform/user_dialogs.h"
#include "transmit_actions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const char* const kLmxFilter = "ORVANTA TextFiles (*.lmx)";
const char* const kTxtFilter = "ORVANTA TextFiles (*.txt)";
const char* const kCsvFilter = "CSV Files (*.csv)";

// A save dialog's request: the dialog starts in the current folder and asks before replacing a
// file when the general settings say so.
UserDialogs::FileRequest saveRequest(const char* title, const char* filter, const char* suffix,
                                     bool confirmOverwrite)
{
    UserDialogs::FileRequest request;
    request.title = QString::fromLatin1(title);
    request.filter = QString::fromLatin1(filter);
    request.defaultSuffix = QString::fromLatin1(suffix);
    request.directory = QDir::currentPath();
    request.confirmOverwrite = confirmOverwrite;
    return request;
}

} // namespace

QString localText(const std::string& s)
{
    return QString::fromLocal8Bit(s.data(), static_cast<qsizetype>(s.size()));
}

std::string localPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

FileActions::FileActions(Parts parts, std::function<void()> updateActions,
                         std::function<void()> updateTitle)
    : m_parts(parts), m_updateActions(std::move(updateActions)),
      m_updateTitle(std::move(updateTitle))
{
}

void FileActions::setStatus(const char* text)
{
    m_parts.statusBar.setStatusText(QString::fromLatin1(text));
}

void FileActions::ready()
{
    setStatus(TMainStatusBar::kReady);
}

void FileActions::clearToNewFile()
{
    m_parts.editor.box().newFile();
    m_parts.answers.newFile();
    // What a running transmission writes stays, and so does the end of one this New
    // stopped: the receive box says why it ended.
    if (!m_parts.transmit.transmitting() && !m_parts.transmit.runningAfterStop()) {
        m_parts.sendReceive.ClearReceiveBox();
        m_parts.recorder.clear();
    }
    m_parts.editor.updateActions();
    m_updateTitle();
}

bool FileActions::changesSavedOrDropped()
{
    CommandBox& box = m_parts.editor.box();
    if (!box.Changed())
        return true;
    setStatus("Save Changes ?");
    const UserDialogs::Answer answer = m_parts.dialogs.askYesNoCancel(
            changedQuestion(), QString(), UserDialogs::Icon::Question);
    // Yes goes on only once the list is saved; a save cancelled or failed keeps it all.
    const bool goOn = answer == UserDialogs::Answer::No
            || (answer == UserDialogs::Answer::Yes && save());
    ready();
    return goOn;
}

QString FileActions::changedQuestion() const
{
    return QStringLiteral("File ") + localText(m_parts.editor.box().fileName())
            + QStringLiteral(" has changed.\n\rSave changes ?");
}

void FileActions::newFile()
{
    if (!changesSavedOrDropped())
        return;
    m_parts.transmit.stopThen([this] {
        setStatus("Creating New File");
        clearToNewFile();
        ready();
        m_updateActions();
    });
}

bool FileActions::load()
{
    if (!changesSavedOrDropped())
        return false;
    setStatus("Load LMX File");
    UserDialogs::FileRequest request;
    request.title = QStringLiteral("Load File");
    request.filter = QString::fromLatin1(kLmxFilter);
    request.defaultSuffix = QStringLiteral("lmx");
    request.directory = QDir::currentPath();
    const QString path = m_parts.dialogs.openFileName(request);
    bool loaded = false;
    // A transmission goes on while the user chooses; a chosen file ends it.
    if (!path.isEmpty() && m_parts.transmit.transmitting())
        m_parts.transmit.stopThen([this, path] {
            read(path);
            m_updateActions();
        });
    else if (!path.isEmpty())
        loaded = read(path);
    ready();
    m_updateActions();
    return loaded;
}

bool FileActions::loadFile(const QString& path)
{
    setStatus("Load LMX File");
    const bool loaded = read(QFileInfo(path).absoluteFilePath());
    ready();
    m_updateActions();
    return loaded;
}

bool FileActions::read(const QString& path)
{
    clearToNewFile();
    if (m_parts.general.ClearKeys)
        m_parts.keys.ClearKeyList();
    CommandBox& box = m_parts.editor.box();
    const lmx::CommandFileReadResult file =
            loadCommandFile(localPath(path), m_parts.keys.keySet(), box, m_parts.answers.editor());
    bool loaded = false;
    if (file.ok()) {
        m_parts.answers.refresh();
        box.setFileName(localPath(path));
        box.SetChanged(false);
        loaded = true;
    } else {
        m_parts.dialogs.error(localText(file.message));
        clearToNewFile();
    }
    m_parts.keys.update();
    return loaded;
}

bool FileActions::blocksBalanceOrSaveAnyway()
{
    const int line = unbalancedBlockLine(m_parts.editor.box());
    return line == 0
        || m_parts.dialogs.askYesNo(
                   QStringLiteral("The blocks of this list do not balance (line %1). "
                                  "A file like this cannot be loaded again. "
                                  "Save anyway ?")
                           .arg(line),
                   QString(), UserDialogs::Icon::Warning)
            == UserDialogs::Answer::Yes;
}

bool FileActions::save()
{
    return saveAs(true);
}

bool FileActions::saveAs(bool checkBlocks)
{
    setStatus("Save to LMX File");
    if (checkBlocks && !blocksBalanceOrSaveAnyway()) {
        ready();
        return false;
    }
    UserDialogs::FileRequest request =
            saveRequest("Save File", kLmxFilter, "lmx", m_parts.general.CheckFileReplace);
    request.directory.clear(); // the system's default: where the last file went
    const QString path = m_parts.dialogs.saveFileName(request);
    bool saved = false;
    if (!path.isEmpty()) {
        CommandBox& box = m_parts.editor.box();
        const AnswerBoxEditor& answers = m_parts.answers.editor();
        const lmx::WriteResult result = lmx::writeCommandFile(
                localPath(path), commandFileLines(box),
                answers.holdsMoreThanEndMarker() ? answers.templateTexts()
                                                 : std::vector<std::string>{},
                m_parts.general.SaveKeys);
        if (result.ok) {
            box.setFileName(localPath(path));
            box.SetChanged(false);
            saved = true;
        } else {
            // The list keeps its name and stays marked as changed.
            m_parts.dialogs.detailedWarning(localText(result.message), localText(result.detail));
        }
    }
    ready();
    m_updateActions();
    return saved;
}

void FileActions::exportText()
{
    if (m_parts.editor.box().list().count() <= 1)
        return;
    setStatus("Export to TXT File");
    const QString path = m_parts.dialogs.saveFileName(saveRequest(
            "ORVANTA Export to txt file", kTxtFilter, "TXT", m_parts.general.CheckFileReplace));
    if (!path.isEmpty()) {
        const lmx::WriteResult result = lmx::writeTextExport(
                localPath(path), exportLists(m_parts.editor.box(), m_parts.answers.editor(),
                                             m_parts.sendReceive.receiveLines()));
        if (!result.ok)
            m_parts.dialogs.detailedWarning(localText(result.message), localText(result.detail));
    }
    ready();
}

void FileActions::exportPackets()
{
    if (m_parts.recorder.records().empty())
        return;
    setStatus("Export Packets to CSV File");
    const QString path = m_parts.dialogs.saveFileName(saveRequest(
            "Export Packets", kCsvFilter, "csv", m_parts.general.CheckFileReplace));
    if (!path.isEmpty()) {
        const lmx::WriteResult result = lmx::writeReportFile(
                localPath(path), lmx::packetsCsv(m_parts.recorder.records()));
        if (!result.ok)
            m_parts.dialogs.warning(localText(result.message));
    }
    ready();
}

bool FileActions::saveChangesBeforeClose()
{
    setStatus("Save Changes ?");
    CommandBox& box = m_parts.editor.box();
    if (!box.Changed())
        return true;
    if (m_parts.dialogs.askYesNo(changedQuestion(), QString(), UserDialogs::Icon::Question)
        == UserDialogs::Answer::Yes) {
        // A list that would not load again is not saved, and not lost either: the window
        // stays open with it.
        if (!blocksBalanceOrSaveAnyway()) {
            ready();
            return false;
        }
        saveAs(false);
    }
    setStatus("Save Changes ?");
    return true;
}
