#pragma once
// The EOC dialog: seventeen labelled fields with spins in three rows of six, shown or hidden
// by the caller's TBoxConfig records. Created once and reused; every call sets every field
// again. start() sets it up without showing it; AskFields() runs it modally.

#include "eoc_rules.h"
#include "field_grid_dialog.h"

class TEocFrm : public FieldGridDialog {
    Q_OBJECT
public:
    explicit TEocFrm(UserDialogs& dialogs, QWidget* parent = nullptr);

    void start(const std::string& title, const BoxConfigs& configs);
    AskResult AskFields(const std::string& title, const BoxConfigs& configs);
    const AskResult& answer() const { return m_answer; }
    const EocRules& rules() const { return m_rules; }

private:
    KeyOutcome fieldKey(size_t i, char c) const override { return m_rules.key(i, c); }
    void fieldEdited(size_t i, const std::string& text) override { m_rules.setText(i, text); }
    void fieldUp(size_t i) override { m_rules.spinUp(i); }
    void fieldDown(size_t i) override { m_rules.spinDown(i); }
    std::string fieldText(size_t i) const override { return m_rules.field(i).text(); }
    bool fieldInvalid(size_t i) const override { return m_rules.configs()[i].InError; }
    bool okEnabled() const override { return m_rules.okEnabled(); }
    std::string message() const override { return m_rules.message(); }
    void confirmed() override;

    EocRules m_rules;
    AskResult m_answer;
};
