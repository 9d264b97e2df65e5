#pragma once
// Applying the general settings to the window: the tool bar, the serial debug view, the
// extended protocol (the extended command group, the "Answer Data" tab, Force/New Packet,
// Change Packet Size, the answer framing), the debug log and the save dialogs' overwrite
// question of the key files. The window's own save dialogs read CheckFileReplace when they
// open.

#include "files/settings.h"

#include <QPointer>

class KeyActions;
class QAction;
class QTabWidget;
class QToolBar;
class QWidget;
class TCommandsFrame;

namespace lmx {
class PacketExchange;
class TransmissionEngine;
} // namespace lmx

class GeneralSettingsApply {
public:
    struct Targets {
        QToolBar* toolBar = nullptr;
        lmx::PacketExchange* exchange = nullptr;
        lmx::TransmissionEngine* engine = nullptr;
        TCommandsFrame* commands = nullptr;
        QTabWidget* tabs = nullptr;
        QWidget* answerTab = nullptr;
        QWidget* hexTab = nullptr;
        KeyActions* keys = nullptr;
        QAction* packetSize = nullptr;
    };

    explicit GeneralSettingsApply(const Targets& targets) : m_targets(targets) {}

    void apply(const lmx::TGeneralSettings& settings);

private:
    Targets m_targets;
};
