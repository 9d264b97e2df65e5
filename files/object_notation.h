#pragma once
// The text notation of ORVANTA.SET and the key files: blocks of
//
//     object TClassName
//       Name = value
//     end
//
// with integers, identifiers (True, False), and strings built from pieces: 'text' between
// apostrophes and #nn for a single character by its decimal code. A long string is split
// after every 64 characters with " +" and continues on the next line.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lmx {

struct NotationValue {
    enum class Kind { Integer, Float, Identifier, String, Set };
    Kind kind = Kind::Integer;
    // Integer and Float: the literal as written; Identifier: the name; String: the
    // characters; Set: the members separated by commas.
    std::string text;
};

struct NotationProperty {
    std::string name; // dotted names ("Font.Name") as one name
    NotationValue value;
    int line = 0; // where the name stands, from 1
};

struct NotationObject {
    std::string className;
    std::vector<NotationProperty> properties;
};

// Parses the whole text; false on any syntax error (objects is then unspecified), with the
// line of the error in errorLine when given (one past the last line when the text ends early).
bool parseObjectNotation(std::string_view text, std::vector<NotationObject>& objects,
                         int* errorLine = nullptr);

// Reading a value as a field of a record; false when the value is of another kind or out of
// range.
bool notationInt32(const NotationValue& value, int32_t& out);
bool notationBool(const NotationValue& value, bool& out);
bool notationString(const NotationValue& value, std::string& out);

// How an apostrophe inside a string is written: doubled inside the quoted piece ('it''s') or
// as the coded character #39 ('it'#39's). The reader accepts both.
enum class ApostropheStyle { Doubled, Coded };

class ObjectNotationWriter {
public:
    explicit ObjectNotationWriter(ApostropheStyle style)
        : m_style(style)
    {
    }

    void beginObject(std::string_view className);
    void integer(std::string_view name, long long value);
    void boolean(std::string_view name, bool value);
    void string(std::string_view name, std::string_view value);
    void endObject();

    const std::string& text() const { return m_text; }

private:
    void propertyStart(std::string_view name);

    ApostropheStyle m_style;
    std::string m_text;
};

constexpr size_t kNotationLineLength = 64;

} // namespace lmx
