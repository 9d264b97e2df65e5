#include "qt_settings_dialogs.h"

#include "display_sett_form.h"
#include "general_sett_form.h"
#include "serial_sett_form.h"

QtSettingsDialogs::QtSettingsDialogs(UserDialogs& dialogs, QWidget* parent)
    : m_dialogs(dialogs), m_parent(parent)
{
}

bool QtSettingsDialogs::editGeneral(lmx::TGeneralSettings& record)
{
    lmx::TGeneralSettForm form(record, m_parent);
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
