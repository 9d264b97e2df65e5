#include "general_settings_apply.h"

#include "editor/commands_frame.h"
#include "keys/key_actions.h"
#include "transmission/packet_exchange.h"
#include "transmission/transmission_engine.h"

#include <QAction>
#include <QTabWidget>
#include <QToolBar>

void GeneralSettingsApply::apply(const lmx::TGeneralSettings& s)
{
    const Targets& t = m_targets;
    if (t.toolBar)
        t.toolBar->setVisible(s.ShowMainToolBar);
    if (t.exchange) {
        t.exchange->SetDebugView(s.ShowSerialDebug);
        // The answer's end differs between the two framings.
        t.exchange->SetExtendedLmx(s.ExtendedLmx);
    }
    if (t.engine)
        t.engine->SetDebugFile(s.DebugFile);
    if (t.commands)
        t.commands->SetExtendedLmx(s.ExtendedLmx);
    if (t.tabs && t.answerTab) {
        const int index = t.tabs->indexOf(t.answerTab);
        if (!s.ExtendedLmx && t.tabs->currentIndex() == index && t.hexTab)
            t.tabs->setCurrentWidget(t.hexTab);
        t.tabs->setTabVisible(index, s.ExtendedLmx);
    }
    if (t.packetSize)
        t.packetSize->setEnabled(s.ExtendedLmx);
    if (t.keys)
        t.keys->setCheckFileReplace(s.CheckFileReplace);
}
