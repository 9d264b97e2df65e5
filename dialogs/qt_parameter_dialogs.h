#pragma once
// The program's ParameterDialogs: runs the real dialogs modally. The Insert Data dialog and
// the EOC dialog are created once and reused; the others are created per call. Destroy this
// object before the parent widget it was given (a member of that widget is).

#include "parameter_dialogs.h"

#include <memory>

class QWidget;
class TAskDataFrm;
class TEocFrm;
class UserDialogs;

class QtParameterDialogs : public ParameterDialogs {
public:
    QtParameterDialogs(UserDialogs& dialogs, QWidget* parent = nullptr);
    ~QtParameterDialogs() override;

    AskResult AskValue(const AskValueRequest& request) override;
    bool AskSingle(TSingleBox& box) override;
    bool AskDouble(TDoubleBox& left, TDoubleBox& right) override;
    bool AskTriple(TTripleBox& first, TTripleBox& second, TTripleBox& third) override;
    AskResult AskFields(const std::string& title, const BoxConfigs& configs) override;
    bool AskBrightness(TBrightData& data) override;
    bool AskHexData(THexData& data) override;

    TAskDataFrm& askDataForm() { return *m_askData; }
    TEocFrm& eocForm() { return *m_eoc; }

private:
    UserDialogs& m_dialogs;
    QWidget* m_parent;
    std::unique_ptr<TAskDataFrm> m_askData;
    std::unique_ptr<TEocFrm> m_eoc;
};
