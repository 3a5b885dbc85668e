#pragma once

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "dialects/dialect.h"
#include "dialects/script_text.h"

// Names and texts as a dialect's script writes them. Names come in Windows-1252, as the diagram holds
// them; what the functions return is UTF-8, the text of the scripts.

// The name as the dialect reads it back exactly: left bare when it is a plain identifier that is no
// reserved word (in PostgreSQL also all in lower case, since a bare name folds to it), quoted
// otherwise ("..." in SQLite and PostgreSQL, `...` in MySQL, the quote doubled inside).
std::string quoted_identifier(Dialect dialect, std::string_view name);
// The same, appended to `out`.
void append_identifier(std::string& out, Dialect dialect, std::string_view name);
void append_identifier(ScriptText& out, Dialect dialect, std::string_view name);

// Which of its three ways quoted_identifier writes a name: as it is, in quotes, or in quotes with the
// quote doubled and the bytes past ASCII converted. Told once for a name written many times (a column
// stands on its line, in its table's key and indexes, and in the foreign keys that refer to it).
enum class IdentifierForm : unsigned char { bare, quoted, escaped };
IdentifierForm identifier_form(Dialect dialect, std::string_view name);
inline char identifier_quote(Dialect dialect) { return dialect == Dialect::mysql ? '`' : '"'; }
// The name of the quoted form into the name's size + 2 bytes at `text`: one piece for the three, since
// a script quotes tens of thousands of names.
inline void fill_quoted(char* text, Dialect dialect, std::string_view name) {
    text[0] = identifier_quote(dialect);
    if (!name.empty()) std::memcpy(text + 1, name.data(), name.size());
    text[name.size() + 1] = identifier_quote(dialect);
}
// The name appended as append_identifier does, in the form identifier_form gave for it.
inline void append_identifier(ScriptText& out, Dialect dialect, std::string_view name, IdentifierForm form) {
    switch (form) {
        case IdentifierForm::bare: out.append(name); return;
        case IdentifierForm::quoted: fill_quoted(out.room(name.size() + 2), dialect, name); return;
        case IdentifierForm::escaped: break;
    }
    append_identifier(out, dialect, name);
}
// The Windows-1252 text as UTF-8, appended to `out`.
void append_utf8(std::string& out, std::string_view cp1252);
void append_utf8(ScriptText& out, std::string_view cp1252);

// What the dialect cannot take in a name whatever the quoting, or nothing: an empty name, a name
// longer than PostgreSQL's 63 bytes or MySQL's 64 characters, a MySQL name ending in a blank.
std::optional<std::string> identifier_problem(Dialect dialect, std::string_view name);
// Whether the name is one that identifier_problem accepts, told from its length and last byte alone:
// most names are, and are not read whole. False says nothing (ask identifier_problem).
inline bool identifier_fine_at_a_glance(Dialect dialect, std::string_view name) {
    // A Windows-1252 byte takes at most three bytes in UTF-8: 21 of them stay within PostgreSQL's 63.
    return !name.empty() && name.size() <= 21 && (dialect != Dialect::mysql || name.back() != ' ');
}

// The kinds of name whose letter case a dialect may ignore.
enum class NameKind { table, column, index };
// A key under which the names the dialect takes for the same object are equal: SQLite ignores the
// case of ASCII letters in every name, MySQL the case of letters in column, index and constraint names
// (table names keep their case on Linux), PostgreSQL compares quoted names exactly.
std::string identifier_key(Dialect dialect, NameKind kind, std::string_view name);
// A hash of identifier_key, made without it: equal keys, equal hashes.
std::uint64_t identifier_hash(Dialect dialect, NameKind kind, std::string_view name);

// A string literal of the text (UTF-8): '...' with the apostrophe doubled, and in MySQL, where a
// backslash escapes, the backslash doubled too.
std::string string_literal(Dialect dialect, std::string_view text);
