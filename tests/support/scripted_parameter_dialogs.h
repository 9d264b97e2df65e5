#pragma once
// A ParameterDialogs that records every call (a copy of its arguments) and answers from one
// queue of replies, in call order. A reply cancels, confirms what the dialog opened with, or
// types texts into the fields first. The typed texts go through the dialogs' own rules, so a
// reply the real dialog would not accept (Ok disabled) comes back unconfirmed and is counted
// as refused. A call with nothing queued is cancelled and counted as unexpected.

#include "dialogs/inc_dec_rules.h"
#include "dialogs/parameter_dialogs.h"
#include "dialogs/triple_rules.h"

#include <array>
#include <deque>
#include <string>
#include <utility>
#include <vector>

class ScriptedParameterDialogs : public ParameterDialogs {
public:
    struct Reply {
        enum class Kind { Cancel, Ok, Type };
        Kind kind = Kind::Cancel;
        // Type: one text per field in field order (the EOC dialog: per visible field).
        std::vector<std::string> texts;
    };
    static Reply cancel() { return {}; }
    static Reply ok() { return {Reply::Kind::Ok, {}}; }
    static Reply type(std::vector<std::string> texts)
    {
        return {Reply::Kind::Type, std::move(texts)};
    }

    void setNextReply(Reply r) { m_replies.push_back(std::move(r)); }

    // Every call in order: "AskValue", "AskSingle", "AskDouble", "AskTriple", "AskFields",
    // "AskBrightness", "AskHexData".
    const std::vector<std::string>& calls() const { return m_calls; }
    const std::vector<AskValueRequest>& askValueCalls() const { return m_askValue; }
    const std::vector<TSingleBox>& singleCalls() const { return m_single; }
    const std::vector<std::array<TDoubleBox, 2>>& doubleCalls() const { return m_double; }
    const std::vector<std::array<TTripleBox, 3>>& tripleCalls() const { return m_triple; }
    const std::vector<std::pair<std::string, BoxConfigs>>& fieldsCalls() const { return m_fields; }
    const std::vector<TBrightData>& brightnessCalls() const { return m_bright; }
    const std::vector<THexData>& hexCalls() const { return m_hex; }
    int unexpected() const { return m_unexpected; }
    int refused() const { return m_refused; }

    AskResult AskValue(const AskValueRequest& request) override
    {
        m_calls.emplace_back("AskValue");
        m_askValue.push_back(request);
        const Reply r = take();
        AskDataRules rules;
        if (r.kind == Reply::Kind::Cancel || !rules.open(request))
            return {};
        if (r.kind == Reply::Kind::Type && !r.texts.empty())
            rules.setText(r.texts[0]);
        return counted(rules.result());
    }

    bool AskSingle(TSingleBox& box) override
    {
        m_calls.emplace_back("AskSingle");
        m_single.push_back(box);
        return incDec({&box});
    }

    bool AskDouble(TDoubleBox& left, TDoubleBox& right) override
    {
        m_calls.emplace_back("AskDouble");
        m_double.push_back({left, right});
        return incDec({&left, &right});
    }

    bool AskTriple(TTripleBox& first, TTripleBox& second, TTripleBox& third) override
    {
        m_calls.emplace_back("AskTriple");
        m_triple.push_back({first, second, third});
        const Reply r = take();
        if (r.kind == Reply::Kind::Cancel)
            return false;
        TripleRules rules;
        rules.open({first, second, third});
        for (size_t i = 0; i < r.texts.size() && i < TripleRules::kFields; ++i)
            rules.setText(i, r.texts[i]);
        return counted(rules.fill({&first, &second, &third}));
    }

    AskResult AskFields(const std::string& title, const BoxConfigs& configs) override
    {
        m_calls.emplace_back("AskFields");
        m_fields.emplace_back(title, configs);
        const Reply r = take();
        if (r.kind == Reply::Kind::Cancel)
            return {};
        EocRules rules;
        rules.open(title, configs);
        size_t next = 0;
        for (size_t i = 0; i < kEocFields && next < r.texts.size(); ++i)
            if (configs[i].Visible)
                rules.setText(i, r.texts[next++]);
        return counted(rules.result());
    }

    bool AskBrightness(TBrightData& data) override
    {
        m_calls.emplace_back("AskBrightness");
        m_bright.push_back(data);
        const Reply r = take();
        if (r.kind == Reply::Kind::Cancel)
            return false;
        BrightnessTable table;
        table.load(data);
        table.store(data);
        return true;
    }

    bool AskHexData(THexData& data) override
    {
        m_calls.emplace_back("AskHexData");
        m_hex.push_back(data);
        const Reply r = take();
        if (r.kind == Reply::Kind::Cancel)
            return false;
        HexEntryRules rules;
        rules.open(data);
        if (r.kind == Reply::Kind::Type && !r.texts.empty())
            rules.setText(r.texts[0]);
        return counted(rules.fill(data));
    }

private:
    Reply take()
    {
        if (m_replies.empty()) {
            ++m_unexpected;
            return cancel();
        }
        Reply r = std::move(m_replies.front());
        m_replies.pop_front();
        return r;
    }

    AskResult counted(AskResult result)
    {
        counted(result.confirmed);
        return result;
    }

    bool counted(bool confirmed)
    {
        if (!confirmed)
            ++m_refused;
        return confirmed;
    }

    bool incDec(std::vector<ValueBox*> boxes)
    {
        const Reply r = take();
        if (r.kind == Reply::Kind::Cancel)
            return false;
        std::vector<ValueBox> copies;
        for (const ValueBox* b : boxes)
            copies.push_back(*b);
        IncDecRules rules;
        rules.open(copies);
        for (size_t i = 0; i < r.texts.size() && i < boxes.size(); ++i)
            rules.setText(i, r.texts[i]);
        return counted(rules.fill(boxes));
    }

    std::deque<Reply> m_replies;
    std::vector<std::string> m_calls;
    std::vector<AskValueRequest> m_askValue;
    std::vector<TSingleBox> m_single;
    std::vector<std::array<TDoubleBox, 2>> m_double;
    std::vector<std::array<TTripleBox, 3>> m_triple;
    std::vector<std::pair<std::string, BoxConfigs>> m_fields;
    std::vector<TBrightData> m_bright;
    std::vector<THexData> m_hex;
    int m_unexpected = 0;
    int m_refused = 0;
};
