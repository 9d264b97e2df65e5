#include "eoc_form.h"

#include "widgets/dialog_style.h"

namespace {
constexpr int kColumns = 6;
}

TEocFrm::TEocFrm(UserDialogs& dialogs, QWidget* parent)
    : FieldGridDialog(dialogs, kEocFields, kColumns, true, parent)
{
    start(std::string(), BoxConfigs{});
}

void TEocFrm::start(const std::string& title, const BoxConfigs& configs)
{
    m_answer = {};
    m_rules.open(title, configs);
    setWindowTitle(latin1(title));
    for (size_t i = 0; i < kEocFields; ++i) {
        const TBoxConfig& c = m_rules.configs()[i];
        setCell(i, c.BoxCaption, c.Visible, EocRules::entryLength(c));
    }
    refresh();
    adjustSize();
}

AskResult TEocFrm::AskFields(const std::string& title, const BoxConfigs& configs)
{
    start(title, configs);
    exec();
    return m_answer;
}

void TEocFrm::confirmed()
{
    m_answer = m_rules.result();
    if (m_answer.confirmed)
        accept();
}
