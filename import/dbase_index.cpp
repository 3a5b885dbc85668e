#include "import/dbase_index.h"

#include <cctype>
#include <cstdint>

#include "import/field_types.h"
#include "platform/utf8_cp1252.h"

// A reader of our own: the Debian library for dBase (xbase64 3) reads .NDX and .NTX index files but
// no .MDX, and what an import needs of one is its header and one header page per tag, a layout
// documented since dBase IV and unchanged in dBase 7.

namespace {

// The file header: 544 bytes, then the tag table.
constexpr std::size_t kHeaderSize = 544;
constexpr std::size_t kPageSize = 512;  // tag header pages are numbered in 512-byte pages
// A tag header: its key format flags at byte 8, the key expression from byte 24 (at most 220 bytes).
constexpr std::size_t kKeyFormatAt = 8, kExpressionAt = 24, kExpressionSize = 220;
constexpr unsigned char kDescending = 0x08, kUnique = 0x40;
constexpr std::size_t kMostTags = 48;

std::uint32_t u32(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

std::string_view until_nul(std::string_view bytes) { return bytes.substr(0, bytes.find('\0')); }

std::string trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return std::string(text);
}

std::string upper(std::string_view text) {
    std::string result(text);
    for (char& c : result) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return result;
}

// The field a piece of a key expression orders by, or empty.
std::string field_of(std::string piece, bool& through_upper) {
    piece = trimmed(piece);
    const std::size_t open = piece.find('(');
    if (open == std::string::npos) return piece.find_first_of(" ,'\"") == std::string::npos ? piece : std::string();
    if (piece.back() != ')') return {};
    const std::string function = upper(trimmed(std::string_view(piece).substr(0, open)));
    std::string inside = piece.substr(open + 1, piece.size() - open - 2);
    std::string first = trimmed(inside.substr(0, inside.find(',')));
    if (first.find_first_of("() '\"") != std::string::npos || first.empty()) return {};
    if (function == "DTOS" || function == "STR") return inside.find('(') == std::string::npos ? first : std::string();
    if (function == "UPPER" && inside.find(',') == std::string::npos) {
        through_upper = true;
        return first;
    }
    // A Boolean field as a key: IIF(FIELD,'T','F').
    if (function == "IIF" && upper(inside).find(",'T','F'") != std::string::npos) return first;
    return {};
}

}  // namespace

std::vector<DbaseTag> read_mdx_tags(std::string_view content, const std::string& source) {
    if (content.size() < kHeaderSize) throw ImportError(source + ": ends inside the index header (truncated?)");
    const int version = static_cast<unsigned char>(content[0]);
    if (version != 2 && version != 3) throw ImportError(source + ": is no dBase production index (.MDX)");
    const std::size_t tag_size = static_cast<unsigned char>(content[26]);
    const std::size_t used = static_cast<unsigned char>(content[28]) | static_cast<unsigned char>(content[29]) << 8;
    if (tag_size < 32 || used > kMostTags)
        throw ImportError(source + ": the index header is damaged (" + std::to_string(used) + " tags of " +
                          std::to_string(tag_size) + " bytes)");
    // As dBase reads it: a tag entry longer than 32 bytes starts that much later.
    const std::size_t table_at = kHeaderSize + tag_size - 32;
    // dBase 7 keeps names of up to 32 characters, dBase IV of 10; an entry holds no more than its size.
    const std::size_t name_size = std::min<std::size_t>(version == 3 ? 33 : 11, tag_size - 4);
    if (table_at + used * tag_size > content.size()) throw ImportError(source + ": ends inside the tag table (truncated?)");
    std::vector<DbaseTag> tags;
    for (std::size_t i = 0; i < used; ++i) {
        const std::size_t entry = table_at + i * tag_size;
        DbaseTag tag;
        tag.name = cp1252_to_utf8(trimmed(until_nul(content.substr(entry + 4, name_size))));
        const std::uint64_t header = static_cast<std::uint64_t>(u32(content, entry)) * kPageSize;
        if (tag.name.empty()) throw ImportError(source + ": tag " + std::to_string(i + 1) + " has no name");
        if (header < kHeaderSize || header + kExpressionAt + kExpressionSize > content.size())
            throw ImportError(source + ": tag \"" + tag.name + "\": its header lies beyond the end of the file (truncated?)");
        const auto flags = static_cast<unsigned char>(content[header + kKeyFormatAt]);
        tag.unique = (flags & kUnique) != 0;
        tag.descending = (flags & kDescending) != 0;
        tag.expression = cp1252_to_utf8(trimmed(until_nul(content.substr(header + kExpressionAt, kExpressionSize))));
        tags.push_back(std::move(tag));
    }
    return tags;
}

std::vector<std::string> key_fields(std::string_view expression, bool& through_upper) {
    through_upper = false;
    std::vector<std::string> fields;
    int depth = 0;
    bool quoted = false;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= expression.size(); ++i) {
        const char c = i < expression.size() ? expression[i] : '+';
        if (c == '\'') quoted = !quoted;
        if (quoted) continue;
        if (c == '(') ++depth;
        if (c == ')' && --depth < 0) return {};
        if (c != '+' || depth != 0) continue;
        std::string field = field_of(std::string(expression.substr(start, i - start)), through_upper);
        if (field.empty()) return {};
        fields.push_back(std::move(field));
        start = i + 1;
    }
    if (depth != 0 || quoted) return {};
    return fields;
}

void apply_mdx_tags(const std::vector<DbaseTag>& tags, SourceTable& table, const std::string& source,
                    std::vector<std::string>& skipped) {
    for (const DbaseTag& tag : tags) {
        const std::string where = source + ": tag \"" + tag.name + "\"";
        bool through_upper = false;
        std::vector<std::string> fields = key_fields(tag.expression, through_upper);
        // Expression fields name the table's fields without letter case.
        bool known = !fields.empty();
        for (std::string& field : fields) {
            const std::string wanted = upper(field);
            known = false;
            for (const SourceColumn& column : table.columns)
                if (upper(column.name) == wanted) {
                    field = column.name;
                    known = true;
                    break;
                }
            if (!known) break;
        }
        if (!known) {
            skipped.push_back(where + ": skipped: its key " + tag.expression + " is no list of the table's fields");
            continue;
        }
        if (tag.unique && upper(tag.name) == "PRIMARY" && table.primary_key.empty()) {
            table.primary_key = std::move(fields);
            table.primary_descending = tag.descending;
            continue;
        }
        SourceIndex index;
        index.name = tag.name;
        index.columns = std::move(fields);
        index.unique = tag.unique;
        index.descending = tag.descending;
        // A dBase key tells upper from lower case unless it goes through UPPER; only text has case.
        bool text = false;
        for (const std::string& field : index.columns)
            for (const SourceColumn& column : table.columns)
                if (column.name == field && column.tipo == field_type::kString) text = true;
        index.case_sensitive = text && !through_upper;
        table.indexes.push_back(std::move(index));
    }
}
