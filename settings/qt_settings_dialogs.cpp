#include "qt_settings_dialogs.h"

#include "bus/bus_scan_form.h"
#include "bus/display_list_form.h"
#include "bus/repeat_form.h"
#include "display_sett_form.h"
#include "general_sett_form.h"
#include "serial_sett_form.h"

QtSettingsDialogs::QtSettingsDialogs(UserDialogs& dialogs, QWidget* parent)
    : m_dialogs(dialogs), m_parent(parent)
{
}

bool QtSettingsDialogs::editGeneral(lmx::TGeneralSettings& record)
{
    lmx::TGeneralSettForm form(record, &m_dialogs, m_parent);
    return form.exec() == QDialog::Accepted;
}

bool QtSettingsDialogs::editDisplay(lmx::TDisplaySettings& record)
{
    lmx::TDisplaySettForm form(record, m_parent);
    return form.exec() == QDialog::Accepted;
}

bool QtSettingsDialogs::editSerial(lmx::TSerialSettings& record)
{
    lmx::TSerialSettForm form(record, m_dialogs, m_parent);
    return form.exec() == QDialog::Accepted;
}

bool QtSettingsDialogs::scanBus(lmx::TDisplaySettings& record, lmx::PacketExchange& exchange,
                                bool extended)
{
    lmx::BusScanForm form(record, exchange, extended, m_parent);
    return form.exec() == QDialog::Accepted;
}

bool QtSettingsDialogs::editDisplayList(lmx::TDisplaySettings& record)
{
    lmx::DisplayListForm form(record, m_parent);
    return form.exec() == QDialog::Accepted;
}

bool QtSettingsDialogs::editRepeat(lmx::RepeatRequest& request, const std::string& displayList)
{
    lmx::RepeatForm form(request, displayList, m_parent);
    return form.exec() == QDialog::Accepted;
}
