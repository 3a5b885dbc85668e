#include "diagram/json_syntax_error.h"

#include <algorithm>

#include <nlohmann/json.hpp>

namespace {

// Takes every event and keeps nothing: only the first error and its place matter.
struct FirstError : nlohmann::json_sax<nlohmann::json> {
    std::size_t position = 0;
    std::string what;
    bool failed = false;

    bool null() override { return true; }
    bool boolean(bool) override { return true; }
    bool number_integer(number_integer_t) override { return true; }
    bool number_unsigned(number_unsigned_t) override { return true; }
    bool number_float(number_float_t, const string_t&) override { return true; }
    bool string(string_t&) override { return true; }
    bool binary(binary_t&) override { return true; }
    bool start_object(std::size_t) override { return true; }
    bool key(string_t&) override { return true; }
    bool end_object() override { return true; }
    bool start_array(std::size_t) override { return true; }
    bool end_array() override { return true; }
    bool parse_error(std::size_t at, const std::string&, const nlohmann::json::exception& ex) override {
        position = at;
        what = ex.what();
        failed = true;
        return false;
    }
};

// The message's own account of the problem: "unexpected '}'; expected string literal", without its
// opening ("[json.exception...] parse error at line L, column C: syntax error while parsing object - ",
// whose column counts bytes) and without the text it last read, which may run far back.
std::string problem_of(const std::string& what) {
    std::size_t start = what.find("column ");
    start = start == std::string::npos ? what.find("] ") : what.find(": ", start);
    std::string problem = start == std::string::npos ? what : what.substr(start + 2);
    if (problem.starts_with("syntax error while parsing "))
        if (const std::size_t dash = problem.find(" - "); dash != std::string::npos) problem.erase(0, dash + 3);
    if (const std::size_t last = problem.rfind("; last read: "); last != std::string::npos) problem.erase(last);
    return problem;
}

// Where the string whose closing quote is at `end` opens.
std::size_t string_start(std::string_view text, std::size_t end) {
    for (std::size_t i = end; i-- > 0;) {
        if (text[i] != '"') continue;
        std::size_t backslashes = 0;
        while (backslashes < i && text[i - 1 - backslashes] == '\\') ++backslashes;
        if (backslashes % 2 == 0) return i;
    }
    return end;
}

}  // namespace

std::string json_syntax_error(std::string_view text) {
    FirstError sax;
    nlohmann::json::sax_parse(text.begin(), text.end(), &sax, nlohmann::json::input_format_t::json, true, false);
    if (!sax.failed) return {};
    // The position counts the bytes read, the offending one included; an unexpected string is shown
    // where it opens.
    std::size_t at = std::min(sax.position > 0 ? sax.position - 1 : 0, text.size());
    if (at < text.size() && text[at] == '"' && sax.what.find("unexpected string literal") != std::string::npos)
        at = string_start(text, at);
    std::size_t line = 1, column = 1;
    for (std::size_t i = 0; i < at; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte == '\n') {
            ++line;
            column = 1;
        } else if ((byte & 0xC0) != 0x80) {  // a continuation byte adds nothing to a character
            ++column;
        }
    }
    return "line " + std::to_string(line) + ", column " + std::to_string(column) + ": " + problem_of(sax.what);
}
