#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/formfile/form_file_error.h"
#include "platform/formfile/reader_limits.h"
#include "platform/formfile/value.h"

// The form text: `object Name: TClass` ... `end`, two blanks per nesting level, one property per line.

namespace formfile {

// Writes the form text of `root` with CR LF line ends (as the target's own converter does when
// `crlf` is true) or LF.
std::string write_text(const ObjectNode& root, bool crlf = true);

// The same text handed to `sink` in pieces as it is made. When writing fails (FormFileError), the
// pieces handed over so far are not the whole text.
using TextSink = std::function<void(std::string_view)>;
void write_text(const ObjectNode& root, bool crlf, const TextSink& sink);

// What a text without a UTF-8 byte-order mark does with quoted bytes from $80 that spell UTF-8.
enum class UnmarkedUtf8 {
    AsWindows1252,  // reads each byte as one Windows-1252 character, as the target does
    Refused,        // refuses them: the text was saved as UTF-8 and would read as other characters
};

// Reads a form text. Keywords (object, inherited, inline, end, item) are read without regard to
// letter case; `#nnn` up to 255 stands for one byte of a one-byte string, above 255 for a UTF-16 unit
// of a wide string; string literals may continue with `+` across lines. Quoted bytes from $80 are
// Windows-1252 characters, unless the text starts with a UTF-8 byte-order mark: then it is UTF-8, and
// each quoted character becomes its Windows-1252 byte (one that Windows-1252 lacks is refused). Errors
// (FormFileError) name the line and the problem.
ObjectNode read_text(std::string_view text, UnmarkedUtf8 unmarked = UnmarkedUtf8::AsWindows1252);

}  // namespace formfile
