#include "platform/printer.h"

#include <array>
#include <charconv>

#include "platform/string_list.h"

void HostListSink::write_line(std::span<const std::string_view> pieces) {
    scratch_.clear();
    for (std::string_view piece : pieces) scratch_.append(piece);
    list_.Add(scratch_.c_str());
}

DecimalText::DecimalText(std::int64_t value) {
    size_ = static_cast<std::uint8_t>(std::to_chars(chars_, chars_ + sizeof chars_, value).ptr - chars_);
}

const Printer::Var* Printer::scoped(std::uint64_t code, std::string_view name) const {
    for (auto var = scoped_.rbegin(); var != scoped_.rend(); ++var)
        if (var->name.code() == code && (name.size() <= kNameCodeChars || var->name.text() == name)) return &*var;
    return nullptr;
}

void Printer::print(const Template& text, std::initializer_list<Var> vars) {
    const std::string_view t = text.text();

    // Each variable of the template is looked up once. Calls usually give the variables in the order
    // the template first uses them: the search starts after the variable found last.
    const std::span<const Template::Name> names = text.names();
    std::string_view* const values = values_.at;
    const Var* next = vars.begin();
    for (std::size_t n = 0; n < names.size(); ++n) {
        const std::string_view name(t.data() + names[n].offset, names[n].length);
        const Var* var = next;
        for (std::size_t tried = 0;; ++tried, ++var) {
            if (tried == vars.size()) {
                var = scoped(names[n].code, name);
                if (!var)
                    throw std::invalid_argument("unknown variable $" + std::string(name) + "$ in template \"" + std::string(t) + "\"");
                break;
            }
            if (var == vars.end()) var = vars.begin();
            if (var->name.code() == names[n].code && (name.size() <= kNameCodeChars || var->name.text() == name)) {
                next = var + 1;
                break;
            }
        }
        values[n] = var->value;
    }

    // Slot 0 is kept for the indentation.
    std::string_view* const line = line_.at;
    const std::span<const Template::Piece> pieces = text.pieces();
    std::size_t first = 0;
    for (const std::uint16_t end : text.line_ends()) {
        std::size_t count = 1;
        for (std::size_t p = first; p < end; ++p) {
            const Template::Piece& piece = pieces[p];
            line[count++] = piece.name < 0 ? std::string_view(t.data() + piece.offset, piece.length) : values[piece.name];
        }
        first = end;
        // Indentation goes before a line that is not empty; an empty line stays empty.
        std::size_t start = 1;
        if (indent_ != 0) {
            for (std::size_t p = 1; p < count; ++p) {
                if (!line[p].empty()) {
                    line[0] = blanks_;
                    start = 0;
                    break;
                }
            }
        }
        sink_.write_line(std::span<const std::string_view>(line + start, count - start));
    }
}
