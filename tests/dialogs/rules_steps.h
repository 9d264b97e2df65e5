#pragma once
// One table shape for the value dialogs' rules: each step types into a field or presses one of
// its arrows, then checks what the field shows, the message line and Ok. What a step leaves
// out (nullptr, Any) is not checked.

#include "dialogs/ask_data_rules.h"
#include "dialogs/inc_dec_rules.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace steps {

enum class Act { Type, Up, Down };
enum Ok { Any = -1, Off = 0, On = 1 };

struct Step {
    size_t field;
    Act act;
    const char* typed;
    const char* shown;
    const char* message;
    Ok ok;
};

inline Step type(size_t field, const char* text, const char* shown = nullptr,
                 const char* message = nullptr, Ok ok = Any)
{
    return {field, Act::Type, text, shown, message, ok};
}
inline Step up(size_t field, const char* shown = nullptr, const char* message = nullptr)
{
    return {field, Act::Up, nullptr, shown, message, Any};
}
inline Step down(size_t field, const char* shown = nullptr, const char* message = nullptr)
{
    return {field, Act::Down, nullptr, shown, message, Any};
}

// How each dialog's rules take a text and an arrow: the Insert Data dialog has one field, the
// single and double value dialogs step where the others spin.
struct Drive {
    static void text(AskDataRules& r, size_t, const char* t) { r.setText(t); }
    template <class R> static void text(R& r, size_t i, const char* t) { r.setText(i, t); }
    static void arrow(AskDataRules& r, size_t, bool up) { up ? r.spinUp() : r.spinDown(); }
    static void arrow(IncDecRules& r, size_t i, bool up) { up ? r.stepUp(i) : r.stepDown(i); }
    template <class R> static void arrow(R& r, size_t i, bool up)
    {
        up ? r.spinUp(i) : r.spinDown(i);
    }
    static std::string shown(const AskDataRules& r, size_t) { return r.text(); }
    template <class R> static std::string shown(const R& r, size_t i) { return r.field(i).text(); }
};

template <class Rules> void play(Rules& r, std::initializer_list<Step> steps)
{
    int n = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE("step " + std::to_string(++n));
        if (s.act == Act::Type)
            Drive::text(r, s.field, s.typed);
        else
            Drive::arrow(r, s.field, s.act == Act::Up);
        if (s.shown) {
            EXPECT_EQ(Drive::shown(r, s.field), s.shown);
        }
        if (s.message) {
            EXPECT_EQ(r.message(), s.message);
        }
        if (s.ok != Any) {
            EXPECT_EQ(r.okEnabled(), s.ok == On);
        }
    }
}

} // namespace steps
