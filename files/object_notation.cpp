#include "object_notation.h"

#include "protocol/hex.h"

#include <limits>

namespace lmx {

namespace {

enum class TokenKind { End, Identifier, Integer, Float, String, Symbol, Error };

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text;
    char symbol = 0;
    int line = 1;
};

bool isIdentStart(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isIdentChar(char c) { return isIdentStart(c) || isDigit(c); }
bool isHexDigit(char c)
{
    return isDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameWord(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i]))
            return false;
    return true;
}

class Lexer {
public:
    explicit Lexer(std::string_view text)
        : m_s(text)
    {
    }

    Token next()
    {
        skipBlanks();
        Token t;
        t.line = m_line;
        if (m_p >= m_s.size())
            return t;
        const char c = m_s[m_p];
        if (isIdentStart(c)) {
            const size_t start = m_p;
            while (m_p < m_s.size() && isIdentChar(m_s[m_p]))
                ++m_p;
            t.kind = TokenKind::Identifier;
            t.text = m_s.substr(start, m_p - start);
        } else if (isDigit(c) || ((c == '-' || c == '+') && m_p + 1 < m_s.size()
                                  && isDigit(m_s[m_p + 1]))) {
            number(t);
        } else if (c == '$') {
            const size_t start = m_p++;
            while (m_p < m_s.size() && isHexDigit(m_s[m_p]))
                ++m_p;
            t.kind = m_p - start > 1 ? TokenKind::Integer : TokenKind::Error;
            t.text = m_s.substr(start, m_p - start);
        } else if (c == '\'' || c == '#') {
            string(t);
        } else if (c == '=' || c == '+' || c == ':' || c == '.' || c == '[' || c == ']'
                   || c == ',') {
            ++m_p;
            t.kind = TokenKind::Symbol;
            t.symbol = c;
        } else {
            t.kind = TokenKind::Error;
        }
        return t;
    }

private:
    void skipBlanks()
    {
        while (m_p < m_s.size()
               && (m_s[m_p] == ' ' || m_s[m_p] == '\t' || m_s[m_p] == '\r' || m_s[m_p] == '\n'))
            m_line += m_s[m_p++] == '\n' ? 1 : 0;
    }

    void number(Token& t)
    {
        const size_t start = m_p++;
        while (m_p < m_s.size() && isDigit(m_s[m_p]))
            ++m_p;
        t.kind = TokenKind::Integer;
        if (m_p + 1 < m_s.size() && m_s[m_p] == '.' && isDigit(m_s[m_p + 1])) {
            t.kind = TokenKind::Float;
            ++m_p;
            while (m_p < m_s.size() && isDigit(m_s[m_p]))
                ++m_p;
        }
        if (m_p < m_s.size() && (m_s[m_p] == 'e' || m_s[m_p] == 'E')) {
            size_t q = m_p + 1;
            if (q < m_s.size() && (m_s[q] == '+' || m_s[q] == '-'))
                ++q;
            if (q < m_s.size() && isDigit(m_s[q])) {
                t.kind = TokenKind::Float;
                m_p = q;
                while (m_p < m_s.size() && isDigit(m_s[m_p]))
                    ++m_p;
            }
        }
        t.text = m_s.substr(start, m_p - start);
    }

    // Adjacent pieces form one string: 'abc'#13#10'def'.
    void string(Token& t)
    {
        t.kind = TokenKind::String;
        while (m_p < m_s.size() && (m_s[m_p] == '\'' || m_s[m_p] == '#')) {
            if (m_s[m_p] == '\'') {
                ++m_p;
                for (;;) {
                    if (m_p >= m_s.size() || m_s[m_p] == '\r' || m_s[m_p] == '\n') {
                        t.kind = TokenKind::Error; // a string never runs over a line end
                        return;
                    }
                    if (m_s[m_p] == '\'') {
                        if (m_p + 1 < m_s.size() && m_s[m_p + 1] == '\'') {
                            t.text += '\'';
                            m_p += 2;
                            continue;
                        }
                        ++m_p;
                        break;
                    }
                    t.text += m_s[m_p++];
                }
            } else {
                ++m_p;
                unsigned code = 0;
                size_t digits = 0;
                while (m_p < m_s.size() && isDigit(m_s[m_p])) {
                    code = code * 10 + static_cast<unsigned>(m_s[m_p] - '0');
                    ++m_p;
                    if (++digits > 3 || code > 255) {
                        t.kind = TokenKind::Error; // only 8-bit characters
                        return;
                    }
                }
                if (digits == 0) {
                    t.kind = TokenKind::Error;
                    return;
                }
                t.text += static_cast<char>(code);
            }
        }
    }

    std::string_view m_s;
    size_t m_p = 0;
    int m_line = 1;
};

class Parser {
public:
    explicit Parser(std::string_view text)
        : m_lexer(text)
    {
        advance();
    }

    int line() const { return m_token.line; }

    bool document(std::vector<NotationObject>& objects)
    {
        objects.clear();
        while (m_token.kind != TokenKind::End) {
            NotationObject object;
            if (!objectBlock(object))
                return false;
            objects.push_back(std::move(object));
        }
        return true;
    }

private:
    void advance() { m_token = m_lexer.next(); }
    bool isWord(std::string_view word) const
    {
        return m_token.kind == TokenKind::Identifier && sameWord(m_token.text, word);
    }
    bool isSymbol(char c) const { return m_token.kind == TokenKind::Symbol && m_token.symbol == c; }

    bool objectBlock(NotationObject& object)
    {
        if (!isWord("object"))
            return false;
        advance();
        if (m_token.kind != TokenKind::Identifier)
            return false;
        object.className = m_token.text;
        advance();
        if (isSymbol(':')) { // "object Name: TClass"
            advance();
            if (m_token.kind != TokenKind::Identifier)
                return false;
            object.className = m_token.text;
            advance();
        }
        while (!isWord("end")) {
            NotationProperty property;
            if (!propertyLine(property))
                return false;
            object.properties.push_back(std::move(property));
        }
        advance();
        return true;
    }

    bool propertyLine(NotationProperty& property)
    {
        if (m_token.kind != TokenKind::Identifier || isWord("object"))
            return false;
        property.name = m_token.text;
        property.line = m_token.line;
        advance();
        while (isSymbol('.')) {
            advance();
            if (m_token.kind != TokenKind::Identifier)
                return false;
            property.name += '.';
            property.name += m_token.text;
            advance();
        }
        if (!isSymbol('='))
            return false;
        advance();
        return value(property.value);
    }

    bool value(NotationValue& v)
    {
        switch (m_token.kind) {
        case TokenKind::Integer:
        case TokenKind::Float:
        case TokenKind::Identifier:
            v.kind = m_token.kind == TokenKind::Integer ? NotationValue::Kind::Integer
                   : m_token.kind == TokenKind::Float ? NotationValue::Kind::Float
                                                       : NotationValue::Kind::Identifier;
            v.text = std::move(m_token.text);
            advance();
            return true;
        case TokenKind::String:
            v.kind = NotationValue::Kind::String;
            v.text = std::move(m_token.text);
            advance();
            while (isSymbol('+')) {
                advance();
                if (m_token.kind != TokenKind::String)
                    return false;
                v.text += m_token.text;
                advance();
            }
            return true;
        case TokenKind::Symbol:
            if (m_token.symbol == '[')
                return set(v);
            return false;
        default:
            return false;
        }
    }

    bool set(NotationValue& v)
    {
        v.kind = NotationValue::Kind::Set;
        advance();
        while (!isSymbol(']')) {
            if (m_token.kind != TokenKind::Identifier)
                return false;
            if (!v.text.empty())
                v.text += ',';
            v.text += m_token.text;
            advance();
            if (isSymbol(','))
                advance();
            else if (!isSymbol(']'))
                return false;
        }
        advance();
        return true;
    }

    Lexer m_lexer;
    Token m_token;
};

} // namespace

bool parseObjectNotation(std::string_view text, std::vector<NotationObject>& objects,
                         int* errorLine)
{
    Parser parser(text);
    const bool ok = parser.document(objects);
    if (!ok && errorLine)
        *errorLine = parser.line();
    return ok;
}

bool notationInt32(const NotationValue& value, int32_t& out)
{
    if (value.kind != NotationValue::Kind::Integer || value.text.empty())
        return false;
    long long v = 0;
    std::string_view t = value.text;
    if (t[0] == '$') {
        t.remove_prefix(1);
        if (t.size() > 8 || !hexToInt(t, v))
            return false;
        out = static_cast<int32_t>(static_cast<uint32_t>(v)); // $FFFFFFFF is -1
        return true;
    }
    const bool negative = t[0] == '-';
    if (t[0] == '-' || t[0] == '+')
        t.remove_prefix(1);
    if (!decToInt(t, v))
        return false;
    if (negative)
        v = -v;
    if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max())
        return false;
    out = static_cast<int32_t>(v);
    return true;
}

bool notationBool(const NotationValue& value, bool& out)
{
    if (value.kind != NotationValue::Kind::Identifier)
        return false;
    if (sameWord(value.text, "True")) {
        out = true;
        return true;
    }
    if (sameWord(value.text, "False")) {
        out = false;
        return true;
    }
    return false;
}

bool notationString(const NotationValue& value, std::string& out)
{
    if (value.kind != NotationValue::Kind::String)
        return false;
    out = value.text;
    return true;
}

void ObjectNotationWriter::beginObject(std::string_view className)
{
    m_text += "object ";
    m_text += className;
    m_text += "\r\n";
}

void ObjectNotationWriter::endObject() { m_text += "end\r\n"; }

void ObjectNotationWriter::propertyStart(std::string_view name)
{
    m_text += "  ";
    m_text += name;
    m_text += " = ";
}

void ObjectNotationWriter::integer(std::string_view name, long long value)
{
    propertyStart(name);
    m_text += std::to_string(value);
    m_text += "\r\n";
}

void ObjectNotationWriter::boolean(std::string_view name, bool value)
{
    propertyStart(name);
    m_text += value ? "True" : "False";
    m_text += "\r\n";
}

void ObjectNotationWriter::string(std::string_view name, std::string_view value)
{
    static constexpr std::string_view kContinuation = "\r\n    ";
    propertyStart(name);
    if (value.empty()) {
        m_text += "''\r\n";
        return;
    }
    if (value.size() > kNotationLineLength)
        m_text += kContinuation;
    auto quotable = [&](char c) {
        return static_cast<unsigned char>(c) >= 32
            && (c != '\'' || m_style == ApostropheStyle::Doubled);
    };
    const size_t length = value.size();
    size_t i = 0;
    size_t lineStart = 0;
    while (i < length) {
        if (quotable(value[i])) {
            m_text += '\'';
            do {
                if (value[i] == '\'')
                    m_text += '\'';
                m_text += value[i];
                ++i;
            } while (i < length && quotable(value[i]) && i - lineStart < kNotationLineLength);
            m_text += '\'';
        } else {
            m_text += '#';
            m_text += std::to_string(static_cast<unsigned char>(value[i]));
            ++i;
        }
        if (i - lineStart >= kNotationLineLength && i < length) {
            m_text += " +";
            m_text += kContinuation;
            lineStart = i;
        }
    }
    m_text += "\r\n";
}

} // namespace lmx
