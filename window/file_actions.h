#pragma once
// The File menu's work on the command list: New, Load (from the dialog or a name on the
// command line), Save, Export as text, Export Packets, and the question whether to save a
// changed list when the window closes. What would throw the list away while a transmission
// runs waits for it to stop (TransmitActions::stopThen).

#include <QString>

#include <functional>
#include <string>

class CommandEditor;
class KeyActions;
class TAnswerFrame;
class TMainStatusBar;
class TSendReceiveFrame;
class TransmitActions;
class UserDialogs;

namespace lmx {
class ExchangeRecorder;
struct TGeneralSettings;
} // namespace lmx

class FileActions {
public:
    // The window's parts the files touch; all outlive this object.
    struct Parts {
        UserDialogs& dialogs;
        CommandEditor& editor;
        TAnswerFrame& answers;
        KeyActions& keys;
        TSendReceiveFrame& sendReceive;
        lmx::ExchangeRecorder& recorder;
        TMainStatusBar& statusBar;
        TransmitActions& transmit;
        const lmx::TGeneralSettings& general;
    };

    // `updateActions` recomputes the window's action enabling after a file step;
    // `updateTitle` shows the list's name and changed mark in the title bar.
    FileActions(Parts parts, std::function<void()> updateActions,
                std::function<void()> updateTitle);

    // A new, unchanged list and answer box; the receive box and the Packets tab are emptied
    // unless a transmission is running or has just been stopped for this.
    void clearToNewFile();
    // File > New: a changed list is offered for saving first (Yes, No, Cancel: Cancel, or a
    // save that does not happen, leaves the list, its name and its undo as they are); then
    // a running transmission is stopped.
    void newFile();
    // File > Load: the same question first; false when cancelled or failed (or left to run
    // after a stop).
    bool load();
    // Load without the dialog, for a file named on the command line.
    bool loadFile(const QString& path);
    // File > Save: false when cancelled, refused or failed.
    bool save();
    void exportText();
    // File > Export Packets...: the Packets tab as CSV.
    void exportPackets();
    // Closing with a changed list: asks whether to save it; false when the window must stay
    // open (a list whose blocks do not balance that the user chose not to save anyway).
    bool saveChangesBeforeClose();

private:
    // Asks whether to save a changed list; true to go on (saved, or not to be saved).
    bool changesSavedOrDropped();
    QString changedQuestion() const;
    bool read(const QString& path);
    bool saveAs(bool checkBlocks);
    // Asks before a list whose blocks do not balance is saved; true to go on saving.
    bool blocksBalanceOrSaveAnyway();
    void setStatus(const char* text);
    void ready();

    Parts m_parts;
    std::function<void()> m_updateActions;
    std::function<void()> m_updateTitle;
};

// Texts that hold a file name: the name's bytes are those of the file system.
QString localText(const std::string& s);
// A path as the file system's bytes.
std::string localPath(const QString& path);
