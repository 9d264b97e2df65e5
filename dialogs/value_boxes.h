#pragma once
// The value records the one-, two- and three-value dialogs fill. The caller sets the title,
// label, bounds and initial value; on Ok the dialog sets CurrentValue and CurrValStr.

#include <string>

struct ValueBox {
    std::string Header;   // dialog title (the two- and three-value dialogs use the first)
    std::string BoxLabel; // label above the field
    long long MaxValue = 0;
    long long MinValue = 0;
    long long CurrentValue = 0; // in: initial value; out: the confirmed value
    std::string CurrValStr;     // out: the confirmed field text
};

struct TSingleBox : ValueBox {};
struct TDoubleBox : ValueBox {};

struct TTripleBox : ValueBox {
    bool HexInput = false; // the field is entered as hex digits
    bool InError = false;  // set by the dialog while the field's text is invalid
};
