#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/line_sink.h"

class HostStringList;

// Appends each line to a host string list.
class HostListSink final : public LineSink {
public:
    explicit HostListSink(HostStringList& list) : list_(list) {}
    using LineSink::write_line;
    void write_line(std::span<const std::string_view> pieces) override;

private:
    HostStringList& list_;
    std::string scratch_;  // the line as a C string
};

// A variable name in a form that compares in one step: its length and up to its first seven
// characters. Names of up to seven characters compare by the code alone.
inline constexpr std::size_t kNameCodeChars = 7;
constexpr std::uint64_t variable_name_code(std::string_view name) {
    std::uint64_t code = static_cast<std::uint64_t>(name.size() < 255 ? name.size() : 255) << 56;
    for (std::size_t i = 0; i < name.size() && i < kNameCodeChars; ++i)
        code |= static_cast<std::uint64_t>(static_cast<unsigned char>(name[i])) << (8 * i);
    return code;
}

// The text a Printer prints: the generated text itself, with `$name$` where a variable's value goes
// and `$$` for a dollar sign. Every "\n" ends a line, so a template is one or more whole lines and ends
// with "\n" (or is empty).
//
// A template written in the code is a string literal with the suffix `_tpl`, split once when the code
// is compiled (a "$" without its closing "$" on the same line, or a missing last "\n", does not
// compile):
//
//     out.print("procedure Criar$table$(Diretorio:string);\n"_tpl, {{"table", table}});
//
// Text made while the program runs goes through `Template::parse`, which raises std::invalid_argument
// for the same faults; the template refers to that text, which must outlive it.
class Template {
public:
    static constexpr std::size_t kMaxPieces = 96;     // runs of text and variables in the whole template
    static constexpr std::size_t kMaxLines = 48;
    static constexpr std::size_t kMaxNames = 12;      // different variables
    static constexpr std::size_t kMaxLinePieces = 24;  // runs of text and variables in one line

    static constexpr Template parse(std::string_view text) { return Template(text); }

    // A run of the template's text, or the variable `name` (an index into names()).
    struct Piece {
        std::uint16_t offset = 0;
        std::uint16_t length = 0;
        std::int8_t name = -1;  // -1 for text
    };
    struct Name {
        std::uint16_t offset = 0;
        std::uint16_t length = 0;
        std::uint64_t code = 0;  // variable_name_code
    };

    constexpr std::string_view text() const { return text_; }
    constexpr std::span<const Piece> pieces() const { return {pieces_.data(), piece_count_}; }
    // For each line, the end of its pieces in pieces().
    constexpr std::span<const std::uint16_t> line_ends() const { return {line_ends_.data(), line_count_}; }
    constexpr std::span<const Name> names() const { return {names_.data(), name_count_}; }

private:
    constexpr explicit Template(std::string_view text);
    constexpr void add_piece(Piece piece, std::size_t line_start);

    std::string_view text_;
    std::array<Piece, kMaxPieces> pieces_{};
    std::size_t piece_count_ = 0;
    std::array<std::uint16_t, kMaxLines> line_ends_{};
    std::size_t line_count_ = 0;
    std::array<Name, kMaxNames> names_{};
    std::size_t name_count_ = 0;
};

constexpr void Template::add_piece(Piece piece, std::size_t line_start) {
    if (piece_count_ == kMaxPieces || piece_count_ - line_start == kMaxLinePieces)
        throw std::invalid_argument("a template holds at most 96 runs of text and variables, 24 in a line");
    pieces_[piece_count_++] = piece;
}

constexpr Template::Template(std::string_view text) : text_(text) {
    if (!text.empty() && text.back() != '\n') throw std::invalid_argument("a template must end with a line end");
    if (text.size() > UINT16_MAX) throw std::invalid_argument("a template must be shorter than 64 KiB");
    std::size_t line_start = 0;  // first piece of the current line
    std::size_t run = 0;         // start of the current run of text
    auto end_run = [&](std::size_t at) {
        if (at > run)
            add_piece({static_cast<std::uint16_t>(run), static_cast<std::uint16_t>(at - run), -1}, line_start);
    };
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '\n') {
            end_run(at);
            if (line_count_ == kMaxLines) throw std::invalid_argument("a template holds at most 48 lines");
            line_ends_[line_count_++] = static_cast<std::uint16_t>(piece_count_);
            line_start = piece_count_;
            run = at + 1;
        } else if (text[at] == '$') {
            end_run(at);
            std::size_t close = at + 1;
            while (close < text.size() && text[close] != '$' && text[close] != '\n') ++close;
            if (close == text.size() || text[close] != '$')
                throw std::invalid_argument("a \"$\" in a template needs its closing \"$\" on the same line");
            const std::string_view name = text.substr(at + 1, close - at - 1);
            if (name.empty()) {
                add_piece({static_cast<std::uint16_t>(at), 1, -1}, line_start);  // "$$": one "$"
            } else {
                std::size_t index = 0;
                while (index < name_count_ && text.substr(names_[index].offset, names_[index].length) != name) ++index;
                if (index == name_count_) {
                    if (name_count_ == kMaxNames) throw std::invalid_argument("a template holds at most 12 variables");
                    names_[name_count_++] = {static_cast<std::uint16_t>(at + 1), static_cast<std::uint16_t>(name.size()),
                                             variable_name_code(name)};
                }
                add_piece({0, 0, static_cast<std::int8_t>(index)}, line_start);
            }
            at = close;
            run = close + 1;
        }
    }
}

// A string literal as a template argument, for `_tpl`.
template <std::size_t N>
struct TemplateLiteral {
    char chars[N];
    consteval TemplateLiteral(const char (&text)[N]) {
        for (std::size_t i = 0; i < N; ++i) chars[i] = text[i];
    }
};

template <TemplateLiteral L>
inline constexpr Template kSplitTemplate = Template::parse(std::string_view(L.chars, sizeof L.chars - 1));

// The template of a string literal, split when the code is compiled.
template <TemplateLiteral L>
constexpr const Template& operator""_tpl() {
    return kSplitTemplate<L>;
}

// A whole number as decimal text, kept in the object: a printer variable's value without a string.
class DecimalText {
public:
    explicit DecimalText(std::int64_t value);
    std::string_view view() const { return {chars_, size_}; }
    operator std::string_view() const { return view(); }

private:
    char chars_[20];
    std::uint8_t size_;
};

// The one way generated text is written, after protobuf's io::Printer:
//
//     out.print("procedure Criar$table$(Diretorio:string);\n"_tpl, {{"table", table}});
//
// Values are inserted as they are (they are not split at line ends). A variable scope
// (`Printer::WithVars`) gives variables to every print while it lives, so that a function passes what
// all its templates use (the table, its extension) once; a call's own variables come first, then the
// innermost scope's. A variable that neither gives is an error in the generator and raises
// std::invalid_argument before anything is written. Indentation scopes (`Printer::Indent`) add blanks
// at the start of every line that is not empty.
class Printer {
public:
    // A variable's name, written as a string literal.
    class Name {
    public:
        template <std::size_t N>
        consteval Name(const char (&name)[N]) : text_(name, N - 1), code_(variable_name_code(text_)) {}
        std::string_view text() const { return text_; }
        std::uint64_t code() const { return code_; }

    private:
        std::string_view text_;
        std::uint64_t code_;
    };
    struct Var {
        Name name;
        std::string_view value;
    };

    explicit Printer(LineSink& sink) : sink_(sink) {}
    Printer(const Printer&) = delete;
    Printer& operator=(const Printer&) = delete;

    void print(const Template& text, std::initializer_list<Var> vars = {});

    // Gives `vars` to every print while it lives; the values must outlive it. Scopes end in the
    // reverse order of their start, as blocks do.
    class WithVars {
    public:
        WithVars(Printer& printer, std::initializer_list<Var> vars) : printer_(printer), start_(printer.scoped_.size()) {
            printer_.scoped_.insert(printer_.scoped_.end(), vars.begin(), vars.end());
        }
        ~WithVars() { printer_.scoped_.erase(printer_.scoped_.begin() + static_cast<std::ptrdiff_t>(start_), printer_.scoped_.end()); }
        WithVars(const WithVars&) = delete;
        WithVars& operator=(const WithVars&) = delete;

    private:
        Printer& printer_;
        std::size_t start_;
    };

    // Adds `blanks` to the indentation of the lines printed while it lives.
    class Indent {
    public:
        Indent(Printer& printer, std::size_t blanks) : printer_(printer), blanks_(blanks) {
            printer_.set_indent(printer_.indent_ + blanks_);
        }
        ~Indent() { printer_.set_indent(printer_.indent_ - blanks_); }
        Indent(const Indent&) = delete;
        Indent& operator=(const Indent&) = delete;

    private:
        Printer& printer_;
        std::size_t blanks_;
    };

private:
    void set_indent(std::size_t indent) {
        indent_ = indent;
        blanks_.assign(indent, ' ');
    }

    // The value of a template variable the call does not give, from the innermost scope; null if none.
    const Var* scoped(std::uint64_t code, std::string_view name) const;

    LineSink& sink_;
    std::vector<Var> scoped_;  // the variables of the living scopes, innermost last
    std::size_t indent_ = 0;
    std::string blanks_;  // `indent_` blanks
    // Scratch of `print`, left uninitialised (every slot is written before it is read): the values of
    // the template's variables, and the pieces of a line after a slot for its indentation.
    template <std::size_t N>
    union Slots {
        Slots() {}
        std::string_view at[N];
    };
    Slots<Template::kMaxNames> values_;
    Slots<1 + Template::kMaxLinePieces> line_;
};
