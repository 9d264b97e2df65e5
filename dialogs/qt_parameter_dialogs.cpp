#include "qt_parameter_dialogs.h"

#include "ask_data_form.h"
#include "brightness/brightness_form.h"
#include "edit_hex_form.h"
#include "eoc_form.h"
#include "inc_dec_forms.h"

QtParameterDialogs::QtParameterDialogs(UserDialogs& dialogs, QWidget* parent)
    : m_dialogs(dialogs),
      m_parent(parent),
      m_askData(std::make_unique<TAskDataFrm>(dialogs, parent)),
      m_eoc(std::make_unique<TEocFrm>(dialogs, parent))
{
}

QtParameterDialogs::~QtParameterDialogs() = default;

AskResult QtParameterDialogs::AskValue(const AskValueRequest& request)
{
    return m_askData->AskValue(request);
}

bool QtParameterDialogs::AskSingle(TSingleBox& box)
{
    TSingleIncDec dialog(box, m_dialogs, m_parent);
    return dialog.exec() == QDialog::Accepted;
}

bool QtParameterDialogs::AskDouble(TDoubleBox& left, TDoubleBox& right)
{
    TDoubleIncDec dialog(left, right, m_dialogs, m_parent);
    return dialog.exec() == QDialog::Accepted;
}

bool QtParameterDialogs::AskTriple(TTripleBox& first, TTripleBox& second, TTripleBox& third)
{
    TTripleIncDec dialog(first, second, third, m_dialogs, m_parent);
    return dialog.exec() == QDialog::Accepted;
}

AskResult QtParameterDialogs::AskFields(const std::string& title, const BoxConfigs& configs)
{
    return m_eoc->AskFields(title, configs);
}

bool QtParameterDialogs::AskBrightness(TBrightData& data)
{
    TBrightNessFrm dialog(data, m_parent);
    return dialog.exec() == QDialog::Accepted;
}

bool QtParameterDialogs::AskHexData(THexData& data)
{
    TEditHexForm dialog(data, m_dialogs, m_parent);
    return dialog.exec() == QDialog::Accepted;
}
