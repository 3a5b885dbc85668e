#include "dialects/quoting.h"

#include "dialects/reserved_words.h"
#include "platform/ascii_case.h"
#include "platform/utf8_cp1252.h"
#include "platform/windows_1252.h"

namespace {

constexpr std::size_t kPostgresqlMaxNameBytes = 63;  // NAMEDATALEN - 1: longer names are cut short
constexpr std::size_t kMysqlMaxNameCharacters = 64;

bool plain_identifier(Dialect dialect, std::string_view name) {
    if (name.empty()) return false;
    const auto letter = [dialect](char c) {
        if (c >= 'a' && c <= 'z') return true;
        if (c >= 'A' && c <= 'Z') return dialect != Dialect::postgresql;
        return c == '_';
    };
    if (!letter(name.front())) return false;
    for (char c : name)
        if (!letter(c) && !(c >= '0' && c <= '9')) return false;
    return !is_reserved_word(dialect, name);
}

}  // namespace

std::string quoted_identifier(Dialect dialect, std::string_view name) {
    if (plain_identifier(dialect, name)) return std::string(name);
    const char quote = dialect == Dialect::mysql ? '`' : '"';
    std::string text(1, quote);
    for (char c : cp1252_to_utf8(name)) {
        if (c == quote) text += quote;
        text += c;
    }
    text += quote;
    return text;
}

std::optional<std::string> identifier_problem(Dialect dialect, std::string_view name) {
    if (name.empty()) return "is empty";
    switch (dialect) {
        case Dialect::sqlite: break;
        case Dialect::postgresql:
            if (cp1252_to_utf8(name).size() > kPostgresqlMaxNameBytes)
                return "is longer than the 63 bytes (in UTF-8) PostgreSQL keeps of a name";
            break;
        case Dialect::mysql:
            if (name.size() > kMysqlMaxNameCharacters) return "is longer than the 64 characters MySQL takes in a name";
            if (name.back() == ' ') return "ends with a blank, which MySQL refuses in a name";
            break;
    }
    return std::nullopt;
}

std::string identifier_key(Dialect dialect, NameKind kind, std::string_view name) {
    std::string key(name);
    switch (dialect) {
        case Dialect::sqlite:
            for (char& c : key) c = AsciiUpper(c);
            break;
        case Dialect::postgresql: break;
        case Dialect::mysql:
            if (kind == NameKind::table) break;
            for (char& c : key) c = static_cast<char>(Windows1252UpperCase(static_cast<unsigned char>(c)));
            break;
    }
    return key;
}

std::string string_literal(Dialect dialect, std::string_view text) {
    std::string literal = "'";
    for (char c : text) {
        if (c == '\'' || (c == '\\' && dialect == Dialect::mysql)) literal += c;
        literal += c;
    }
    literal += '\'';
    return literal;
}
