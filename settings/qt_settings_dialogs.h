#pragma once
// The program's SettingsDialogs: TGeneralSettForm, TDisplaySettForm, TSerialSettForm and the
// bus's BusScanForm, DisplayListForm and RepeatForm, each created for the call, shown modally over the
// window and freed.

#include "settings_dialogs.h"

#include <QPointer>
#include <QWidget>

class UserDialogs;

class QtSettingsDialogs : public SettingsDialogs {
public:
    QtSettingsDialogs(UserDialogs& dialogs, QWidget* parent);

    bool editGeneral(lmx::TGeneralSettings& record) override;
    bool editDisplay(lmx::TDisplaySettings& record) override;
    bool editSerial(lmx::TSerialSettings& record) override;
    bool scanBus(lmx::TDisplaySettings& record, lmx::PacketExchange& exchange,
                 bool extended) override;
    bool editDisplayList(lmx::TDisplaySettings& record) override;
    bool editRepeat(lmx::RepeatRequest& request, const std::string& displayList) override;

private:
    UserDialogs& m_dialogs;
    QPointer<QWidget> m_parent;
};
