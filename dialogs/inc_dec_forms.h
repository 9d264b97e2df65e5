#pragma once
// The one-, two- and three-value dialogs. Each is created per use with its records; on Ok
// it fills them (CurrentValue, CurrValStr) and accepts. Cancel, Escape and closing the window
// cancel and leave the records as they were.

#include "field_grid_dialog.h"
#include "inc_dec_rules.h"
#include "triple_rules.h"

#include <array>
#include <vector>

// One or two decimal fields: TSingleIncDec and TDoubleIncDec. Enter confirms, Escape cancels.
class IncDecForm : public FieldGridDialog {
    Q_OBJECT
public:
    const IncDecRules& rules() const { return m_rules; }

protected:
    IncDecForm(std::vector<ValueBox*> boxes, UserDialogs& dialogs, QWidget* parent);

private:
    KeyOutcome fieldKey(size_t i, char c) const override { return m_rules.key(i, c); }
    void fieldEdited(size_t i, const std::string& text) override { m_rules.setText(i, text); }
    void fieldUp(size_t i) override { m_rules.stepUp(i); }
    void fieldDown(size_t i) override { m_rules.stepDown(i); }
    std::string fieldText(size_t i) const override { return m_rules.field(i).text(); }
    bool fieldInvalid(size_t i) const override { return !m_rules.field(i).valid(); }
    bool okEnabled() const override { return m_rules.okEnabled(); }
    std::string message() const override { return m_rules.message(); }
    void confirmed() override;

    std::vector<ValueBox*> m_boxes;
    IncDecRules m_rules;
};

class TSingleIncDec : public IncDecForm {
    Q_OBJECT
public:
    TSingleIncDec(TSingleBox& box, UserDialogs& dialogs, QWidget* parent = nullptr);
};

class TDoubleIncDec : public IncDecForm {
    Q_OBJECT
public:
    TDoubleIncDec(TDoubleBox& left, TDoubleBox& right, UserDialogs& dialogs,
                  QWidget* parent = nullptr);
};

// Three hex or decimal fields. Enter does nothing here: only the Ok button confirms. Escape
// cancels, as Cancel and closing the window do.
class TTripleIncDec : public FieldGridDialog {
    Q_OBJECT
public:
    TTripleIncDec(TTripleBox& first, TTripleBox& second, TTripleBox& third,
                  UserDialogs& dialogs, QWidget* parent = nullptr);

    const TripleRules& rules() const { return m_rules; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    KeyOutcome fieldKey(size_t i, char c) const override { return m_rules.key(i, c); }
    void fieldEdited(size_t i, const std::string& text) override;
    void fieldUp(size_t i) override;
    void fieldDown(size_t i) override;
    std::string fieldText(size_t i) const override { return m_rules.field(i).text(); }
    bool fieldInvalid(size_t i) const override { return m_rules.field(i).inError(); }
    bool okEnabled() const override { return m_rules.okEnabled(); }
    std::string message() const override { return m_rules.message(); }
    void confirmed() override;
    void syncErrors();

    std::array<TTripleBox*, TripleRules::kFields> m_boxes;
    TripleRules m_rules;
};
