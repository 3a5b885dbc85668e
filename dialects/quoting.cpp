#include "dialects/quoting.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "dialects/reserved_words.h"
#include "platform/ascii_case.h"
#include "platform/utf8_cp1252.h"
#include "platform/windows_1252.h"

namespace {

constexpr std::size_t kPostgresqlMaxNameBytes = 63;  // NAMEDATALEN - 1: longer names are cut short
constexpr std::size_t kMysqlMaxNameCharacters = 64;

std::size_t utf8_size(std::string_view cp1252) {
    std::size_t size = cp1252.size();
    for (char c : cp1252)
        if (static_cast<unsigned char>(c) >= 0x80) size += Windows1252ToUnicode(static_cast<unsigned char>(c)) < 0x800 ? 1 : 2;
    return size;
}

unsigned char key_byte(Dialect dialect, NameKind kind, char c) {
    switch (dialect) {
        case Dialect::sqlite: return static_cast<unsigned char>(AsciiUpper(c));
        case Dialect::postgresql: break;
        case Dialect::mysql:
            if (kind != NameKind::table) return Windows1252UpperCase(static_cast<unsigned char>(c));
            break;
    }
    return static_cast<unsigned char>(c);
}

// What a name's bytes are, for telling at once how it is written: a name is plain when it holds only
// kPlain bytes (and kUpper ones outside PostgreSQL).
enum : unsigned char { kPlain = 1, kUpper = 2, kOther = 4, kHigh = 8, kDoubleQuote = 16, kBacktick = 32 };

constexpr auto kCharacterClasses = [] {
    std::array<unsigned char, 256> classes{};
    for (int c = 0; c < 256; ++c) {
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_') classes[c] = kPlain;
        else if (c >= 'A' && c <= 'Z') classes[c] = kUpper;
        else if (c >= 0x80) classes[c] = kHigh;
        else if (c == '"') classes[c] = kOther | kDoubleQuote;
        else if (c == '`') classes[c] = kOther | kBacktick;
        else classes[c] = kOther;
    }
    return classes;
}();

// Room for `bytes` more at the end of `out`, to be filled by the caller.
char* grow(std::string& out, std::size_t bytes) {
    const std::size_t at = out.size();
    out.resize(at + bytes);
    return out.data() + at;
}
char* grow(ScriptText& out, std::size_t bytes) { return out.room(bytes); }

template <class Out>
void write_utf8(Out& out, std::string_view cp1252) {
    // Most names and texts are ASCII: each run of it is copied whole, not byte by byte.
    for (std::size_t start = 0; start < cp1252.size();) {
        std::size_t end = start;
        while (end < cp1252.size() && static_cast<unsigned char>(cp1252[end]) < 0x80) ++end;
        out += cp1252.substr(start, end - start);
        if (end == cp1252.size()) break;
        start = end + 1;
        const char32_t code = Windows1252ToUnicode(static_cast<unsigned char>(cp1252[end]));
        if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
        } else {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        }
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

template <class Out>
void write_identifier(Out& out, Dialect dialect, std::string_view name) {
    const IdentifierForm form = identifier_form(dialect, name);
    if (form == IdentifierForm::bare) {
        out += name;
        return;
    }
    if (form == IdentifierForm::quoted) {
        fill_quoted(grow(out, name.size() + 2), dialect, name);
        return;
    }
    const char quote = identifier_quote(dialect);
    out += quote;
    std::size_t start = 0;
    for (std::size_t at; (at = name.find(quote, start)) != std::string_view::npos; start = at + 1) {
        write_utf8(out, name.substr(start, at + 1 - start));
        out += quote;
    }
    write_utf8(out, name.substr(start));
    out += quote;
}

}  // namespace

IdentifierForm identifier_form(Dialect dialect, std::string_view name) {
    // One pass says which of the three ways the name takes: most names are plain, or ASCII without
    // the quote (upper-case letters in PostgreSQL).
    unsigned seen = 0;
    for (char c : name) seen |= kCharacterClasses[static_cast<unsigned char>(c)];
    const unsigned quote_class = dialect == Dialect::mysql ? kBacktick : kDoubleQuote;
    const bool plain = !name.empty() && !(name.front() >= '0' && name.front() <= '9') &&
                       (seen & (kOther | kHigh | kDoubleQuote | kBacktick | (dialect == Dialect::postgresql ? unsigned{kUpper} : 0u))) == 0;
    if (plain && !is_reserved_word(dialect, name)) return IdentifierForm::bare;
    return (seen & (kHigh | quote_class)) == 0 ? IdentifierForm::quoted : IdentifierForm::escaped;
}

void append_utf8(std::string& out, std::string_view cp1252) { write_utf8(out, cp1252); }
void append_utf8(ScriptText& out, std::string_view cp1252) { write_utf8(out, cp1252); }
void append_identifier(std::string& out, Dialect dialect, std::string_view name) { write_identifier(out, dialect, name); }
void append_identifier(ScriptText& out, Dialect dialect, std::string_view name) { write_identifier(out, dialect, name); }

std::string quoted_identifier(Dialect dialect, std::string_view name) {
    std::string text;
    append_identifier(text, dialect, name);
    return text;
}

std::optional<std::string> identifier_problem(Dialect dialect, std::string_view name) {
    if (name.empty()) return "is empty";
    switch (dialect) {
        case Dialect::sqlite: break;
        case Dialect::postgresql:
            if (utf8_size(name) > kPostgresqlMaxNameBytes)
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
    for (char& c : key) c = static_cast<char>(key_byte(dialect, kind, c));
    return key;
}

namespace {

// How identifier_key folds a name's bytes.
enum class Fold { none, ascii, cp1252 };

template <Fold fold>
std::uint64_t folded(std::uint64_t word) {
    if constexpr (fold == Fold::none) {
        return word;
    } else {
        constexpr std::uint64_t kHighBits = 0x8080808080808080u;
        if (fold == Fold::cp1252 && (word & kHighBits) != 0) {
            std::uint64_t upper = 0;
            for (int shift = 0; shift < 64; shift += 8)
                upper |= std::uint64_t{Windows1252UpperCase(static_cast<unsigned char>(word >> shift))} << shift;
            return upper;
        }
        // The bytes from 'a' to 'z' (high bit clear) lose their 0x20: each test is a carry into the
        // byte's high bit, which no byte passes on to the next.
        const std::uint64_t low = word & ~kHighBits;
        const std::uint64_t from_a = low + 0x1F1F1F1F1F1F1F1Fu, past_z = low + 0x0505050505050505u;
        return word ^ ((from_a & ~past_z & ~word & kHighBits) >> 2);
    }
}

std::uint64_t load(const char* at, std::size_t bytes) {
    std::uint64_t word = 0;
    std::memcpy(&word, at, bytes);
    return word;
}

std::uint64_t mix(std::uint64_t hash, std::uint64_t word) {
    hash = (hash ^ word) * 0x9E3779B97F4A7C15u;
    return hash ^ (hash >> 32);
}

// Eight bytes at a time, each word folded as identifier_key folds its bytes: a large diagram hashes
// every column name, and a byte at a time makes each byte wait for the one before.
template <Fold fold>
std::uint64_t hash_words(std::string_view name) {
    // The length mixed in first, on its own: xored into a word of the bytes, it could cancel them
    // (the last bytes of a short name are loaded more than once).
    std::uint64_t hash = mix(0x243F6A8885A308D3u, name.size());
    const char* at = name.data();
    std::size_t left = name.size();
    for (; left > 8; left -= 8, at += 8) hash = mix(hash, folded<fold>(load(at, 8)));
    // The last one to eight bytes.
    if (left >= 4) hash = mix(hash, folded<fold>(load(at, 4) | load(at + left - 4, 4) << 32));
    else if (left > 0) hash = mix(hash, folded<fold>(load(at, 1) | load(at + left / 2, 1) << 8 | load(at + left - 1, 1) << 16));
    // murmur3's finaliser, so that the low bits that pick a slot depend on every byte.
    hash = (hash ^ (hash >> 33)) * 0xFF51AFD7ED558CCDu;
    hash = (hash ^ (hash >> 33)) * 0xC4CEB9FE1A85EC53u;
    return hash ^ (hash >> 33);
}

}  // namespace

std::uint64_t identifier_hash(Dialect dialect, NameKind kind, std::string_view name) {
    if (dialect == Dialect::sqlite) return hash_words<Fold::ascii>(name);
    if (dialect == Dialect::mysql && kind != NameKind::table) return hash_words<Fold::cp1252>(name);
    return hash_words<Fold::none>(name);
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
