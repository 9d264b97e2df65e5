#pragma once
// The main window's own actions with their captions, hints and shortcuts, and the main menu
// and tool bar built from them (and from the key actions). Each action serves its menu
// item, its tool button and its shortcut; the window connects and enables them.

#include <QObject>

class KeyActions;
class QAction;
class QMenu;
class QMenuBar;
class QToolBar;
class QWidget;

class MainActions : public QObject {
    Q_OBJECT
public:
    // The actions are created with `owner` as parent, so their shortcuts work in its window.
    explicit MainActions(QWidget* owner);

    QAction* DoNewFile;
    QAction* DoImportLmx;
    QAction* DoExportLmx;
    QAction* DoExportTxt;
    QAction* DoExportPackets;
    QAction* DoSaveCapture;
    QAction* DoTransmit;
    QAction* DoTransmitToDisplays;
    // The list again and again, as the Repeat Transmission dialog asks.
    QAction* DoRepeatTransmission;
    // Esc: ends the running transmission after the exchange in progress.
    QAction* DoStopTransmission;
    QAction* DoExitProgram;
    QAction* DoCutText;
    QAction* DoCopyText;
    QAction* DoPasteText;
    QAction* DoUndoText;
    QAction* DoRedoText;
    QAction* DoGeneralSettings;
    QAction* DoDisplaySettings;
    QAction* DoSerialSettings;
    QAction* DoScanBus;
    QAction* DoPacketSize;
    QAction* DoHelp;
    QAction* DoAbout;

    // "File", "Edit", "Transmit", "Settings", "Help". The File menu keeps Transmit and
    // Transmit to Displays where they always were; the Transmit menu holds every transmission.
    void buildMenus(QMenuBar* bar, KeyActions& keys);
    void buildToolBar(QToolBar* bar);

    QMenu* fileMenu() const { return m_file; }
    QMenu* editMenu() const { return m_edit; }
    QMenu* transmitMenu() const { return m_transmit; }
    QMenu* settingsMenu() const { return m_settings; }
    QMenu* helpMenu() const { return m_help; }

private:
    QAction* make(const char* name, const QString& caption, const QString& hint,
                  const QKeySequence& shortcut, const QIcon& icon);

    QWidget* m_owner;
    QMenu* m_file = nullptr;
    QMenu* m_edit = nullptr;
    QMenu* m_transmit = nullptr;
    QMenu* m_settings = nullptr;
    QMenu* m_help = nullptr;
};
