#include "platform/formfile/text.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <limits>
#include <span>

#include "platform/formfile/printable.h"
#include "platform/utf8_cp1252.h"
#include "platform/windows_1252.h"

namespace formfile {

namespace {

// Every Windows-1252 character is in the Basic Multilingual Plane: one UTF-16 unit.
char16_t cp1252_to_utf16(unsigned char byte) { return static_cast<char16_t>(Windows1252ToUnicode(byte)); }

bool is_letter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool is_digit(unsigned char c) { return c >= '0' && c <= '9'; }
bool is_hex(unsigned char c) { return is_digit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }


// An identifier, optionally dotted ("Font.Height", "Form1.DataSource1").
bool is_dotted_ident(std::string_view s) {
    if (s.empty()) return false;
    bool start = true;
    for (unsigned char c : s) {
        if (start) {
            if (!is_letter(c)) return false;
            start = false;
        } else if (c == '.') {
            start = true;
        } else if (!is_letter(c) && !is_digit(c)) {
            return false;
        }
    }
    return !start;
}

// ---------------------------------------------------------------------------------------------
// Writing

constexpr std::size_t kStringChunk = 64;  // characters of a literal per line before " +"
constexpr std::size_t kBinaryChunk = 32;  // bytes per line of binary data

template <class Float>
std::string shortest_float(Float v, const char* conversion, int max_digits) {
    char buffer[64];
    for (int digits = 1; digits <= max_digits; ++digits) {
        std::snprintf(buffer, sizeof buffer, conversion, digits, v);
        Float back;
        if constexpr (std::is_same_v<Float, long double>) back = std::strtold(buffer, nullptr);
        else if constexpr (std::is_same_v<Float, double>) back = std::strtod(buffer, nullptr);
        else back = std::strtof(buffer, nullptr);
        if (std::memcmp(&back, &v, std::is_same_v<Float, long double> ? 10 : sizeof(Float)) == 0) break;
    }
    // "%g" style -> the form text's style: upper-case exponent without "+" and leading zeros, and a
    // decimal point so that the value does not read back as an integer.
    std::string text = buffer;
    std::string mantissa = text, exponent;
    if (const auto e = text.find_first_of("eE"); e != std::string::npos) {
        mantissa = text.substr(0, e);
        std::string digits = text.substr(e + 1);
        bool negative = false;
        if (!digits.empty() && (digits[0] == '+' || digits[0] == '-')) {
            negative = digits[0] == '-';
            digits.erase(0, 1);
        }
        while (digits.size() > 1 && digits[0] == '0') digits.erase(0, 1);
        exponent = std::string("E") + (negative ? "-" : "") + digits;
    }
    if (mantissa.find('.') == std::string::npos) mantissa += ".0";
    return mantissa + exponent;
}

class TextWriter {
public:
    // With a sink, the text goes out in pieces of about kPiece bytes, so that a large form is never
    // held whole; without one it collects in `out`.
    TextWriter(bool crlf, const TextSink* sink) : eol_(crlf ? "\r\n" : "\n"), sink_(sink) {}
    std::string out;

    void finish() {
        if (sink_ && !out.empty()) (*sink_)(out);
        if (sink_) out.clear();
    }

    void object(const ObjectNode& node, int level) {
        indent(level);
        if (node.flags & kInherited) out += "inherited ";
        else if (node.flags & kInline) out += "inline ";
        else out += "object ";
        if (!node.name.empty()) {
            check_ident(node.name, "object name", false);
            out += node.name + ": ";
        }
        check_ident(node.class_name, "class name", false);
        out += node.class_name;
        if (node.flags & kChildPos) out += " [" + std::to_string(node.child_pos.integer()) + "]";
        line_end();
        properties(node.properties, level + 1);
        for (const ObjectNode& child : node.children) object(child, level + 1);
        indent(level);
        out += "end";
        line_end();
    }

private:
    static constexpr std::size_t kPiece = 1 << 16;

    void indent(int level) { out.append(static_cast<std::size_t>(level) * 2, ' '); }

    // Ends a line; only here, between lines, may a piece go out.
    void line_end() {
        out += eol_;
        if (sink_ && out.size() >= kPiece) {
            (*sink_)(out);
            out.clear();
        }
    }

    static void check_ident(std::string_view s, std::string_view what, bool dotted) {
        if (dotted ? !is_dotted_ident(s) : !(is_dotted_ident(s) && s.find('.') == std::string_view::npos))
            throw FormFileError("cannot write " + std::string(what) + " '" + printable(s.substr(0, 64)) +
                                "' as form text: it is not an identifier");
    }

    // `in_item`: the properties of a collection item, whose body holds no objects, so that only "end"
    // is read there as a keyword.
    void properties(const std::vector<PropertyEntry>& entries, int level, bool in_item = false) {
        static constexpr std::string_view kObjectWords[] = {"object", "inherited", "inline", "end"};
        const std::span<const std::string_view> keywords =
            in_item ? std::span<const std::string_view>(kObjectWords).last(1) : std::span<const std::string_view>(kObjectWords);
        for (const PropertyEntry& entry : entries) {
            check_ident(entry.name, "property name", true);
            // The reader takes these words, at the start of a line of an object's body, for a child
            // object or the body's end, as the target's reader does: such a property has no text form.
            for (std::string_view keyword : keywords)
                if (same_ident(entry.name, keyword))
                    throw FormFileError("cannot write property '" + entry.name.str() +
                                        "' as form text: the text reads that word as the start or end of an object");
            indent(level);
            out += entry.name;
            out += " = ";
            value(entry.value, level, entry.name);
            line_end();
        }
    }

    // One literal made of code units; `wide` decides whether units above 127 are #nnn of a byte or of a
    // UTF-16 unit (both print as #nnn: the reader tells them apart by the value).
    void literal(std::u16string_view units, int level) {
        if (units.empty()) {
            out += "''";
            return;
        }
        std::size_t line_start = out.size();
        bool quoted = false;
        for (std::size_t i = 0; i < units.size(); ++i) {
            const char16_t c = units[i];
            if (out.size() - line_start >= kStringChunk) {
                if (quoted) out += '\'';
                quoted = false;
                out += " +";
                out += eol_;
                indent(level + 1);
                line_start = out.size();
            }
            if (c >= 32 && c < 127) {
                if (!quoted) out += '\'';
                quoted = true;
                out += static_cast<char>(c);
                if (c == '\'') out += '\'';
            } else {
                if (quoted) out += '\'';
                quoted = false;
                out += '#' + std::to_string(static_cast<unsigned>(c));
            }
        }
        if (quoted) out += '\'';
    }

    void byte_string(std::string_view bytes, int level) {
        std::u16string units;
        units.reserve(bytes.size());
        for (unsigned char c : bytes) units.push_back(c);
        literal(units, level);
    }

    static std::u16string utf8_to_utf16(std::string_view bytes, std::string_view property) {
        std::u16string units;
        for (std::size_t i = 0; i < bytes.size();) {
            std::size_t length = 0;
            char32_t cp = decode_utf8(bytes.substr(i), length);
            if (length == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
                throw FormFileError("cannot write the UTF-8 string of property '" + std::string(property) +
                                    "' as form text: it is not valid UTF-8");
            if (cp >= 0x10000) {
                cp -= 0x10000;
                units.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
                units.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
            } else {
                units.push_back(static_cast<char16_t>(cp));
            }
            i += length;
        }
        return units;
    }

    void value(const Value& v, int level, std::string_view property) {
        switch (v.type()) {
            case ValueType::Int8:
            case ValueType::Int16:
            case ValueType::Int32:
            case ValueType::Int64: out += std::to_string(v.integer()); return;
            case ValueType::Extended: {
                const auto stored = v.extended();
                long double x;
                std::memcpy(&x, stored.data(), stored.size());
                if (!std::isfinite(x))
                    throw FormFileError("cannot write the floating-point value of property '" + std::string(property) +
                                        "' as form text: it is not a finite number");
                const std::string text = shortest_float(x, "%.*Lg", 21);
                // Encodings that no decimal text reproduces (unnormals, pseudo-denormals) are refused.
                const long double back = std::strtold(text.c_str(), nullptr);
                if (std::memcmp(&back, stored.data(), stored.size()) != 0)
                    throw FormFileError("cannot write the floating-point value of property '" + std::string(property) +
                                        "' as form text: it has no exact decimal form");
                out += text;
                return;
            }
            case ValueType::Single:
                if (!std::isfinite(v.single()))
                    throw FormFileError("cannot write the value of property '" + std::string(property) +
                                        "' as form text: it is not a finite number");
                out += shortest_float(v.single(), "%.*g", 9) + "s";
                return;
            case ValueType::Date:
                if (!std::isfinite(v.date()))
                    throw FormFileError("cannot write the value of property '" + std::string(property) +
                                        "' as form text: it is not a finite number");
                out += shortest_float(v.date(), "%.*g", 17) + "d";
                return;
            case ValueType::Currency:
                // The stored integer (the value times 10000), as the target's converter writes it; exact
                // where the target's goes through a float.
                out += std::to_string(v.integer());
                out += 'c';
                return;
            case ValueType::String:
            case ValueType::LString: byte_string(v.bytes(), level); return;
            case ValueType::WString: literal(v.wide(), level); return;
            case ValueType::UTF8String: literal(utf8_to_utf16(v.bytes(), property), level); return;
            case ValueType::Ident:
                if (!is_dotted_ident(v.bytes()) || Value::ident(v.bytes()).type() != ValueType::Ident)
                    throw FormFileError("cannot write the identifier '" + printable(v.bytes().substr(0, 64)) +
                                        "' of property '" + printable(property) + "' as form text");
                out += v.bytes();
                return;
            case ValueType::Null:
            case ValueType::False:
            case ValueType::True:
            case ValueType::Nil: out += v.ident_name(); return;
            case ValueType::Set:
                out += '[';
                for (std::size_t i = 0; i < v.set().size(); ++i) {
                    check_ident(v.set()[i], "set member", false);
                    if (i) out += ", ";
                    out += v.set()[i];
                }
                out += ']';
                return;
            case ValueType::List:
                out += '(';
                for (const Value& element : v.list()) {
                    line_end();
                    indent(level + 1);
                    value(element, level + 1, property);
                }
                out += ')';
                return;
            case ValueType::Collection:
                out += '<';
                for (const CollectionItem& item : v.items()) {
                    line_end();
                    indent(level + 1);
                    out += "item";
                    if (item.has_order) out += " [" + std::to_string(item.order.integer()) + "]";
                    line_end();
                    properties(item.properties, level + 2, true);
                    indent(level + 1);
                    out += "end";
                }
                out += '>';
                return;
            case ValueType::Binary: {
                static constexpr char hex[] = "0123456789ABCDEF";
                const std::string_view data = v.bytes();
                out += '{';
                for (std::size_t i = 0; i < data.size(); ++i) {
                    if (i % kBinaryChunk == 0) {
                        line_end();
                        indent(level + 1);
                    }
                    const unsigned char c = static_cast<unsigned char>(data[i]);
                    out += hex[c >> 4];
                    out += hex[c & 15];
                }
                out += '}';
                return;
            }
        }
        throw FormFileError("cannot write property '" + std::string(property) + "': unknown value type");
    }

    std::string eol_;
    const TextSink* sink_;
};

// ---------------------------------------------------------------------------------------------
// Reading

enum class Tok { End, Symbol, Integer, Float, String, Char };

// Where a string literal starts, to decode it once its whole value is known.
struct LiteralPlace {
    std::size_t begin = 0;
    std::size_t line = 1;
};

struct Token {
    Tok kind = Tok::End;
    std::size_t line = 1;
    std::string text;            // Symbol: the name; Integer/Float: the digits; Char: the character
    std::int64_t integer = 0;
    char suffix = 0;             // Float: 's', 'c', 'd' or 0
    // String: where the literal stands in the text (decoded when the value is built, so that a long
    // literal is held once), and whether a #nnn above 255 makes it wide.
    std::size_t begin = 0, end = 0;
    bool wide = false;
};

class Lexer {
public:
    // A text that starts with a UTF-8 byte-order mark is UTF-8: the mark is skipped and the characters
    // inside quotes become their Windows-1252 bytes. Without the mark each byte is one Windows-1252
    // character, as the target reads its form text.
    Lexer(std::string_view text, UnmarkedUtf8 unmarked) : text_(text), unmarked_(unmarked) {
        if (text_.starts_with(kUtf8Mark)) {
            pos_ = kUtf8Mark.size();
            utf8_ = true;
        }
    }

    [[noreturn]] void fail(std::size_t line, const std::string& problem) const {
        throw FormFileError("line " + std::to_string(line) + ": " + problem);
    }

    Token next() {
        skip_blanks();
        Token t;
        t.line = line_;
        if (pos_ >= text_.size()) return t;
        const unsigned char c = static_cast<unsigned char>(text_[pos_]);
        if (is_letter(c)) {
            t.kind = Tok::Symbol;
            const std::size_t start = pos_;
            while (pos_ < text_.size()) {
                const unsigned char d = static_cast<unsigned char>(text_[pos_]);
                if (is_letter(d) || is_digit(d)) {
                    ++pos_;
                } else if (d == '.' && pos_ + 1 < text_.size() && is_letter(static_cast<unsigned char>(text_[pos_ + 1]))) {
                    ++pos_;
                } else {
                    break;
                }
            }
            t.text = std::string(text_.substr(start, pos_ - start));
            return t;
        }
        if (c == '\'' || c == '#') {
            string_literal(t);
            return t;
        }
        if (is_digit(c) || c == '$' || (c == '-' && pos_ + 1 < text_.size() &&
                                        (is_digit(static_cast<unsigned char>(text_[pos_ + 1])) || text_[pos_ + 1] == '$'))) {
            number(t);
            return t;
        }
        if (std::strchr("=:[](){}<>,+", c) && c != 0) {
            t.kind = Tok::Char;
            t.text = std::string(1, static_cast<char>(c));
            ++pos_;
            return t;
        }
        fail(line_, "unexpected character " + describe(c));
    }

    // Hex digits of binary data up to the closing brace (blanks and line breaks allowed between).
    std::string binary(std::size_t open_line) {
        std::string data;
        int pending = -1;
        for (;;) {
            skip_blanks();
            if (pos_ >= text_.size()) fail(open_line, "binary data opened with { is not closed with }");
            const unsigned char c = static_cast<unsigned char>(text_[pos_++]);
            if (c == '}') break;
            if (!is_hex(c)) fail(line_, "binary data holds " + describe(c) + ", not a hexadecimal digit");
            const int nibble = is_digit(c) ? c - '0' : (c | 0x20) - 'a' + 10;
            if (pending < 0) {
                pending = nibble;
            } else {
                data.push_back(static_cast<char>(pending * 16 + nibble));
                pending = -1;
            }
        }
        if (pending >= 0) fail(line_, "binary data has an odd number of hexadecimal digits");
        return data;
    }

    std::size_t line() const { return line_; }

    // How many names stand between here and the next `close`: a set's members, counted before they are
    // read so that they are held at their exact number.
    std::size_t names_before(char close) const {
        std::size_t names = 0;
        bool in_name = false;
        for (std::size_t i = pos_; i < text_.size() && text_[i] != close; ++i) {
            const unsigned char c = static_cast<unsigned char>(text_[i]);
            const bool name_char = is_letter(c) || is_digit(c);
            if (name_char && !in_name) ++names;
            in_name = name_char;
        }
        return names;
    }

    // Calls `unit(code, raw)` for each character of the literal that starts at `t` (already checked);
    // `raw` characters stand inside quotes (file bytes), the others are #nnn codes.
    template <class Unit>
    void literal_units(const LiteralPlace& t, Unit&& unit) {
        const std::size_t pos = pos_, line = line_;
        pos_ = t.begin;
        scan_literal(t.line, unit);
        pos_ = pos;
        line_ = line;
    }


private:
    static std::string describe(unsigned char c) {
        if (c >= 32 && c < 127) return std::string("'") + static_cast<char>(c) + "'";
        return "#" + std::to_string(c);
    }

    void skip_blanks() {
        while (pos_ < text_.size()) {
            const unsigned char c = static_cast<unsigned char>(text_[pos_]);
            if (c == '\n') ++line_;
            if (c > ' ') break;
            ++pos_;
        }
    }

    void string_literal(Token& t) {
        t.kind = Tok::String;
        t.begin = pos_;
        scan_literal(t.line, [&t](std::uint32_t code, bool raw) { t.wide = t.wide || (!raw && code > 255); });
        t.end = pos_;
    }

    template <class Unit>
    void scan_literal(std::size_t line, Unit&& unit) {
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (c == '\'') {
                ++pos_;
                for (;;) {
                    if (pos_ >= text_.size() || text_[pos_] == '\n' || text_[pos_] == '\r')
                        fail(line, "unterminated string");
                    const unsigned char d = static_cast<unsigned char>(text_[pos_++]);
                    if (d == '\'') {
                        if (pos_ < text_.size() && text_[pos_] == '\'') {
                            ++pos_;
                        } else {
                            break;
                        }
                    }
                    unit(d < 0x80 ? d : quoted_character(line), true);
                }
            } else if (c == '#') {
                ++pos_;
                std::uint32_t code = 0;
                std::size_t digits = 0;
                if (pos_ < text_.size() && text_[pos_] == '$') {
                    ++pos_;
                    while (pos_ < text_.size() && is_hex(static_cast<unsigned char>(text_[pos_]))) {
                        const unsigned char d = static_cast<unsigned char>(text_[pos_++]);
                        code = code * 16 + static_cast<std::uint32_t>(is_digit(d) ? d - '0' : (d | 0x20) - 'a' + 10);
                        if (++digits > 4 || code > 0xFFFF) fail(line_, "character code #$... above 65535");
                    }
                } else {
                    while (pos_ < text_.size() && is_digit(static_cast<unsigned char>(text_[pos_]))) {
                        code = code * 10 + static_cast<std::uint32_t>(text_[pos_++] - '0');
                        if (++digits > 5 || code > 0xFFFF) fail(line_, "character code #... above 65535");
                    }
                }
                if (digits == 0) fail(line_, "# is not followed by a character code");
                unit(code, false);
            } else {
                break;
            }
        }
    }

    void number(Token& t) {
        const std::size_t start = pos_;
        bool negative = false;
        if (text_[pos_] == '-') {
            negative = true;
            ++pos_;
        }
        if (pos_ < text_.size() && text_[pos_] == '$') {
            ++pos_;
            std::uint64_t v = 0;
            std::size_t digits = 0;
            while (pos_ < text_.size() && is_hex(static_cast<unsigned char>(text_[pos_]))) {
                const unsigned char d = static_cast<unsigned char>(text_[pos_++]);
                if (++digits > 16) fail(line_, "hexadecimal number too long");
                v = v * 16 + static_cast<std::uint64_t>(is_digit(d) ? d - '0' : (d | 0x20) - 'a' + 10);
            }
            if (digits == 0) fail(line_, "$ is not followed by hexadecimal digits");
            t.kind = Tok::Integer;
            t.integer = static_cast<std::int64_t>(v);  // $FFFFFFFFFFFFFFFF is -1, as the target reads it
            if (negative) t.integer = static_cast<std::int64_t>(0ull - v);
            t.text = std::string(text_.substr(start, pos_ - start));
        } else {
            bool is_float = false;
            while (pos_ < text_.size() && is_digit(static_cast<unsigned char>(text_[pos_]))) ++pos_;
            // A point after the digits makes a float even without a fraction: the target writes `2.`.
            if (pos_ < text_.size() && text_[pos_] == '.') {
                is_float = true;
                ++pos_;
                while (pos_ < text_.size() && is_digit(static_cast<unsigned char>(text_[pos_]))) ++pos_;
            }
            if (pos_ < text_.size() && (text_[pos_] == 'E' || text_[pos_] == 'e')) {
                std::size_t p = pos_ + 1;
                if (p < text_.size() && (text_[p] == '+' || text_[p] == '-')) ++p;
                if (p < text_.size() && is_digit(static_cast<unsigned char>(text_[p]))) {
                    is_float = true;
                    pos_ = p;
                    while (pos_ < text_.size() && is_digit(static_cast<unsigned char>(text_[pos_]))) ++pos_;
                }
            }
            t.text = std::string(text_.substr(start, pos_ - start));
            // A suffix makes a Single, Currency or Date of whole numbers too (`38353d`, `25000c`).
            if (pos_ < text_.size() && text_[pos_] != 0 && std::strchr("scdSCD", text_[pos_])) {
                t.suffix = static_cast<char>(text_[pos_++] | 0x20);
                is_float = true;
            }
            if (is_float) {
                t.kind = Tok::Float;
            } else {
                t.kind = Tok::Integer;
                errno = 0;
                char* end = nullptr;
                const long long v = std::strtoll(t.text.c_str(), &end, 10);
                if (errno == ERANGE || *end != 0) fail(t.line, t.text + " is not a valid integer");
                t.integer = v;
            }
        }
        if (pos_ < text_.size() && (is_letter(static_cast<unsigned char>(text_[pos_])) ||
                                    is_digit(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '.'))
            fail(line_, "malformed number " + printable(text_.substr(start, pos_ + 1 - start)));
    }

    // The Windows-1252 byte of the character whose first byte, from $80, was just read inside quotes.
    unsigned char quoted_character(std::size_t line) {
        const std::size_t at = pos_ - 1;
        const unsigned char byte = static_cast<unsigned char>(text_[at]);
        std::size_t length = 0;
        const char32_t c = decode_utf8(text_.substr(at), length);
        const bool utf8 = length > 1 && c >= 0x80 && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF) &&
                          length == (c < 0x800 ? 2u : c < 0x10000 ? 3u : 4u);
        if (!utf8_) {
            // Bytes that spell UTF-8 would be read as two to four characters of another text.
            if (utf8 && unmarked_ == UnmarkedUtf8::Refused)
                fail(line, "a string holds the UTF-8 character " + code_point(c) +
                               ", which a text without a UTF-8 byte-order mark reads as " + std::to_string(length) +
                               " Windows-1252 characters: start the text with the mark (EF BB BF), or write "
                               "the character as #nnn");
            return byte;
        }
        if (!utf8) fail(line, "a string holds byte #" + std::to_string(byte) + ", which is not UTF-8 (the text starts with a UTF-8 byte-order mark)");
        const int mapped = UnicodeToWindows1252(c);
        if (mapped < 0)
            fail(line, "a string holds the character " + code_point(c) +
                           ", which Windows-1252 cannot hold (a wide string writes it as #" + std::to_string(c) + ")");
        pos_ = at + length;
        return static_cast<unsigned char>(mapped);
    }

    static std::string code_point(char32_t c) {
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
        return code;
    }

    static constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

    std::string_view text_;
    UnmarkedUtf8 unmarked_;
    bool utf8_ = false;
    std::size_t pos_ = 0;
    std::size_t line_ = 1;
};

// `text` (a decimal number, optionally signed, with fraction and exponent) times 10^decimals, rounded
// half away from zero, computed exactly; false when it does not fit 64 bits.
bool scaled_decimal(const std::string& text, int decimals, std::int64_t& result) {
    std::size_t i = 0;
    const bool negative = text[0] == '-';
    if (negative) ++i;
    std::string digits;
    int exponent = decimals;
    for (; i < text.size() && (is_digit(static_cast<unsigned char>(text[i])) || text[i] == '.'); ++i) {
        if (text[i] == '.') continue;
        digits.push_back(text[i]);
    }
    if (const auto dot = text.find('.'); dot != std::string::npos) {
        const auto end = text.find_first_of("eE");
        exponent -= static_cast<int>((end == std::string::npos ? text.size() : end) - dot - 1);
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        const long e = std::strtol(text.c_str() + i + 1, nullptr, 10);
        if (e > 100 || e < -100) return e < 0 ? (result = 0, true) : false;
        exponent += static_cast<int>(e);
    }
    // limit <= 2^63, so a value that passed the checks still has room for one more digit.
    const std::uint64_t limit = static_cast<std::uint64_t>(INT64_MAX) + (negative ? 1 : 0);
    std::uint64_t value = 0;
    std::size_t kept = digits.size();
    if (exponent < 0) kept = static_cast<std::size_t>(std::max<long>(0, static_cast<long>(digits.size()) + exponent));
    const auto push = [&](unsigned digit) {
        if (value > (limit - digit) / 10) return false;
        value = value * 10 + digit;
        return true;
    };
    for (std::size_t k = 0; k < kept; ++k)
        if (!push(static_cast<unsigned>(digits[k] - '0'))) return false;
    for (int k = 0; k < exponent; ++k)
        if (!push(0)) return false;
    if (kept < digits.size() && digits[kept] >= '5') {
        if (value == limit) return false;
        ++value;
    }
    result = negative ? static_cast<std::int64_t>(0 - value) : static_cast<std::int64_t>(value);
    return true;
}

class TextReader {
public:
    TextReader(std::string_view text, UnmarkedUtf8 unmarked) : lex_(text, unmarked) { advance(); }

    ObjectNode root() {
        ObjectNode node = object();
        if (tok_.kind != Tok::End) fail("text after the end of the root object: " + show(tok_));
        return node;
    }

private:
    [[noreturn]] void fail(const std::string& problem) const { lex_.fail(tok_.line, problem); }

    static std::string show(const Token& t) {
        switch (t.kind) {
            case Tok::End: return "the end of the text";
            case Tok::String: return "a string";
            default: return "'" + t.text + "'";
        }
    }

    void advance() { tok_ = lex_.next(); }
    bool is_char(char c) const { return tok_.kind == Tok::Char && tok_.text[0] == c; }
    bool is_word(std::string_view word) const { return tok_.kind == Tok::Symbol && same_ident(tok_.text, word); }
    void expect_char(char c, std::string_view where) {
        if (!is_char(c)) fail(std::string("expected '") + c + "' " + std::string(where) + ", found " + show(tok_));
        advance();
    }
    std::string symbol(std::string_view what) {
        if (tok_.kind != Tok::Symbol) fail("expected " + std::string(what) + ", found " + show(tok_));
        std::string s = std::move(tok_.text);
        advance();
        return s;
    }
    void enter() {
        if (++depth_ > kMaxNestingDepth) fail("nesting deeper than " + std::to_string(kMaxNestingDepth) + " levels");
    }

    bool at_object_keyword() const { return is_word("object") || is_word("inherited") || is_word("inline"); }

    ObjectNode object() {
        enter();
        ObjectNode node;
        if (is_word("inherited")) node.flags |= kInherited;
        else if (is_word("inline")) node.flags |= kInline;
        else if (!is_word("object")) fail("expected 'object', found " + show(tok_));
        advance();
        std::string first = symbol("an object name or class name");
        if (first.find('.') != std::string::npos) fail("'" + first + "' is not a valid name");
        if (is_char(':')) {
            advance();
            node.name = std::move(first);
            node.class_name = symbol("a class name");
        } else {
            node.class_name = std::move(first);
        }
        if (node.class_name.find('.') != std::string::npos) fail("'" + node.class_name + "' is not a valid class name");
        if (is_char('[')) {
            advance();
            if (tok_.kind != Tok::Integer) fail("expected the object's position after '[', found " + show(tok_));
            node.child_pos = Value::integer_value(tok_.integer);
            if (node.child_pos.type() == ValueType::Int64) fail("the object's position " + tok_.text + " is too large");
            node.flags |= kChildPos;
            advance();
            expect_char(']', "after the object's position");
        }
        std::vector<PropertyEntry> properties;
        std::vector<ObjectNode> children;
        while (!is_word("end")) {
            if (tok_.kind == Tok::End) fail("object '" + node.name + "' is not closed with 'end'");
            if (at_object_keyword()) {
                children.push_back(object());
            } else {
                properties.push_back(property());
            }
        }
        node.properties = std::move(properties);
        node.children = std::move(children);
        advance();
        --depth_;
        return node;
    }

    PropertyEntry property() {
        PropertyEntry entry;
        entry.name = symbol("a property name");
        expect_char('=', "after property '" + entry.name.str() + "'");
        entry.value = value(entry.name);
        return entry;
    }

    Value string_value() {
        std::vector<LiteralPlace> pieces;
        std::size_t units = 0;
        bool wide = false;
        for (;;) {
            units += tok_.end - tok_.begin;  // at least the number of characters
            wide = wide || tok_.wide;
            pieces.push_back({tok_.begin, tok_.line});
            advance();
            if (!is_char('+')) break;
            advance();
            if (tok_.kind != Tok::String) fail("expected a string after '+', found " + show(tok_));
        }
        if (wide) {
            std::u16string text;
            text.reserve(units);
            for (const LiteralPlace& piece : pieces)
                lex_.literal_units(piece, [&text](std::uint32_t code, bool raw) {
                    text.push_back(raw ? cp1252_to_utf16(static_cast<unsigned char>(code)) : static_cast<char16_t>(code));
                });
            return Value::wide_value(text);
        }
        std::string bytes;
        bytes.reserve(units);
        for (const LiteralPlace& piece : pieces)
            lex_.literal_units(piece, [&bytes](std::uint32_t code, bool) { bytes.push_back(static_cast<char>(code)); });
        return Value::string_value(bytes);
    }

    // Single and Date values that their type cannot hold are refused as the Extended ones are: the
    // binary form would hold an infinity that no text can carry back. Currency text is the stored
    // integer (the value times 10000), rounded half away from zero.
    Value float_value() {
        const std::string text = tok_.text;
        const char suffix = tok_.suffix;
        const std::size_t line = tok_.line;
        advance();
        const auto out_of_range = [&](std::string_view type) {
            lex_.fail(line, std::string(type) + " value " + text + " out of range");
        };
        switch (suffix) {
            case 's': {
                const float v = std::strtof(text.c_str(), nullptr);
                if (!std::isfinite(v)) out_of_range("Single");
                return Value::single_value(v);
            }
            case 'd': {
                const double v = std::strtod(text.c_str(), nullptr);
                if (!std::isfinite(v)) out_of_range("Date");
                return Value::date_value(v);
            }
            case 'c': {
                std::int64_t stored = 0;
                if (!scaled_decimal(text, 0, stored)) out_of_range("currency");
                return Value::currency_value(stored);
            }
            default: {
                const long double v = std::strtold(text.c_str(), nullptr);
                if (!std::isfinite(v)) out_of_range("floating-point");
                return Value::extended_value(v);
            }
        }
    }

    Value value(std::string_view property) {
        switch (tok_.kind) {
            case Tok::Integer: {
                Value v = Value::integer_value(tok_.integer);
                advance();
                return v;
            }
            case Tok::Float: return float_value();
            case Tok::String: return string_value();
            case Tok::Symbol: {
                Value v = Value::ident(tok_.text);
                advance();
                return v;
            }
            case Tok::End: fail("the text ends where the value of '" + std::string(property) + "' should be");
            case Tok::Char: break;
        }
        const std::size_t open_line = tok_.line;
        const char c = tok_.text[0];
        if (c == '[') {
            std::vector<std::string> members;
            members.reserve(lex_.names_before(']'));
            advance();
            bool first = true;
            while (!is_char(']')) {
                if (!first) expect_char(',', "between set members");
                first = false;
                std::string member = symbol("a set member");
                if (member.find('.') != std::string::npos) fail("'" + member + "' is not a valid set member");
                members.push_back(std::move(member));
            }
            advance();
            return Value::set_value(std::move(members));
        }
        if (c == '(') {
            enter();
            advance();
            std::vector<Value> elements;
            while (!is_char(')')) {
                if (tok_.kind == Tok::End) lex_.fail(open_line, "list of '" + std::string(property) + "' is not closed with ')'");
                Value element = value(property);
                if (element.type() == ValueType::Null) fail("a list cannot hold Null");
                elements.push_back(std::move(element));
            }
            advance();
            --depth_;
            return Value::list_value(std::move(elements));
        }
        if (c == '<') {
            enter();
            advance();
            std::vector<CollectionItem> items;
            while (!is_char('>')) {
                if (!is_word("item")) fail("expected 'item' or '>' in collection '" + std::string(property) + "', found " + show(tok_));
                advance();
                CollectionItem item;
                if (is_char('[')) {
                    advance();
                    if (tok_.kind != Tok::Integer) fail("expected the item's order after '[', found " + show(tok_));
                    item.has_order = true;
                    item.order = Value::integer_value(tok_.integer);
                    if (item.order.type() == ValueType::Int64) fail("the item's order " + tok_.text + " is too large");
                    advance();
                    expect_char(']', "after the item's order");
                }
                std::vector<PropertyEntry> properties;
                while (!is_word("end")) {
                    if (tok_.kind == Tok::End) fail("collection item of '" + std::string(property) + "' is not closed with 'end'");
                    properties.push_back(this->property());  // the member, not the parameter
                }
                item.properties = std::move(properties);
                advance();
                items.push_back(std::move(item));
            }
            advance();
            --depth_;
            return Value::collection(std::move(items));
        }
        if (c == '{') {
            Value v = Value::binary(lex_.binary(open_line));
            advance();
            return v;
        }
        fail("unexpected '" + tok_.text + "' as the value of '" + std::string(property) + "'");
    }

    Lexer lex_;
    Token tok_;
    int depth_ = 0;
};

}  // namespace

std::string write_text(const ObjectNode& root, bool crlf) {
    TextWriter writer(crlf, nullptr);
    writer.object(root, 0);
    return std::move(writer.out);
}

void write_text(const ObjectNode& root, bool crlf, const TextSink& sink) {
    TextWriter writer(crlf, &sink);
    writer.object(root, 0);
    writer.finish();
}

ObjectNode read_text(std::string_view text, UnmarkedUtf8 unmarked) {
    if (text.size() > kMaxFormFileSize) throw FormFileError("the form text has " + too_large_message(text.size()));
    TextReader reader(text, unmarked);
    return reader.root();
}

}  // namespace formfile
