#pragma once
// The parameter dialogs as their callers use them: one call per dialog, each modal, each
// returning values and never touching a list. The program uses QtParameterDialogs; tests of
// the callers use ScriptedParameterDialogs (tests/support).

#include "ask_data_rules.h"
#include "brightness/brightness_rules.h"
#include "eoc_rules.h"
#include "hex_entry_rules.h"
#include "value_boxes.h"

#include <string>

class ParameterDialogs {
public:
    virtual ~ParameterDialogs() = default;

    // Insert Data: one text or hex field. On confirmation raw is the text as entered and
    // quoted the same between apostrophes.
    virtual AskResult AskValue(const AskValueRequest& request) = 0;
    // The one-, two- and three-value dialogs: true on Ok, with every record's CurrentValue
    // and CurrValStr set (the one- and two-value dialogs zero-pad CurrValStr).
    virtual bool AskSingle(TSingleBox& box) = 0;
    virtual bool AskDouble(TDoubleBox& left, TDoubleBox& right) = 0;
    virtual bool AskTriple(TTripleBox& first, TTripleBox& second, TTripleBox& third) = 0;
    // The EOC dialog: the visible fields' texts joined in field order.
    virtual AskResult AskFields(const std::string& title, const BoxConfigs& configs) = 0;
    // The brightness editor: true on Ok, with Data holding the table in the record's form.
    virtual bool AskBrightness(TBrightData& data) = 0;
    // The hex entry: true on Ok, with HexData holding the normalised hex text.
    virtual bool AskHexData(THexData& data) = 0;
};
