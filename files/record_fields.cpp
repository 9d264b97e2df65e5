#include "record_fields.h"

namespace lmx {

namespace {

char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameName(const std::string& a, const char* b)
{
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (asciiLower(a[i]) != asciiLower(b[i]))
            return false;
    return i == a.size() && !b[i];
}

const RecordField* findField(const std::vector<RecordField>& fields, const std::string& name)
{
    for (const RecordField& f : fields)
        if (sameName(name, f.name))
            return &f;
    return nullptr;
}

bool assign(const RecordField& field, const NotationValue& value)
{
    if (auto* i = std::get_if<int*>(&field.target)) {
        int32_t v = 0;
        if (!notationInt32(value, v) || v < field.minValue || v > field.maxValue)
            return false;
        **i = v;
        return true;
    }
    if (auto* b = std::get_if<bool*>(&field.target))
        return notationBool(value, **b);
    return notationString(value, **std::get_if<std::string*>(&field.target));
}

} // namespace

AssignStatus assignFields(const NotationObject& block, const std::vector<RecordField>& fields,
                          const NotationProperty** failed)
{
    for (const NotationProperty& property : block.properties) {
        const RecordField* field = findField(fields, property.name);
        const AssignStatus status = !field                          ? AssignStatus::UnknownField
                                  : !assign(*field, property.value) ? AssignStatus::WrongValue
                                                                    : AssignStatus::Ok;
        if (status != AssignStatus::Ok) {
            if (failed)
                *failed = &property;
            return status;
        }
    }
    return AssignStatus::Ok;
}

void writeFields(ObjectNotationWriter& writer, const char* className,
                 const std::vector<RecordField>& fields)
{
    writer.beginObject(className);
    for (const RecordField& field : fields) {
        if (auto* i = std::get_if<int*>(&field.target))
            writer.integer(field.name, **i);
        else if (auto* b = std::get_if<bool*>(&field.target))
            writer.boolean(field.name, **b);
        else if (const std::string& s = **std::get_if<std::string*>(&field.target); !s.empty())
            writer.string(field.name, s);
    }
    writer.endObject();
}

} // namespace lmx
