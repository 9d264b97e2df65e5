#pragma once
// Binding the properties of an object block to the fields of a record, both ways.

#include "object_notation.h"

#include <climits>
#include <string>
#include <variant>
#include <vector>

namespace lmx {

struct RecordField {
    const char* name;
    std::variant<int*, bool*, std::string*> target;
    int minValue = INT_MIN; // integers outside the range are refused like a wrong kind
    int maxValue = INT_MAX;
};

enum class AssignStatus { Ok, UnknownField, WrongValue };

// Assigns every property of the block to the field of that name (names compare without
// regard to case); fields without a property keep their values. On failure some fields may
// already be assigned: callers assign to a copy. The property that failed goes to `failed`
// when given.
AssignStatus assignFields(const NotationObject& block, const std::vector<RecordField>& fields,
                          const NotationProperty** failed = nullptr);

// Writes the block: every integer and boolean, every string that is not empty.
void writeFields(ObjectNotationWriter& writer, const char* className,
                 const std::vector<RecordField>& fields);

} // namespace lmx
