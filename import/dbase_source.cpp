#include "import/dbase_source.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>
#include <unordered_set>

#include "import/dbase_index.h"
#include "import/field_types.h"
#include "platform/utf8_cp1252.h"

// A reader of our own: the structure of a dBase table is its 32-byte header and one descriptor per
// field, documented and fixed since dBase III. The Debian library for the format (xbase64) opens a
// table to read and write its rows, refuses the variants it does not know, and gives no access to
// the descriptor's production-index flag; reading only the header also keeps a folder of a thousand
// tables quick.

namespace {

using namespace field_type;

std::uint16_t u16(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8);
}

struct Variant {
    bool foxpro = false;   // Visual FoxPro: B is a double, field flags say what takes null
    bool level7 = false;   // dBase 7: 48-byte descriptors with 32-byte names after a 68-byte header
};

std::optional<Variant> variant_of(unsigned char version) {
    switch (version) {
        case 0x02: case 0x03: case 0x83: case 0x43: case 0x63: case 0x8B: case 0xCB: case 0xF5: case 0xFB: return Variant{};
        case 0x30: case 0x31: case 0x32: return Variant{true, false};
        case 0x04: case 0x8C: return Variant{false, true};
        default: return std::nullopt;
    }
}

std::string in_quotes(const std::string& name) { return "\"" + name + "\""; }

// A name in the tables' code page, Windows-1252 (what their applications wrote), as UTF-8.
std::string field_name(std::string_view raw) {
    raw = raw.substr(0, raw.find('\0'));
    while (!raw.empty() && raw.back() == ' ') raw.remove_suffix(1);
    return cp1252_to_utf8(raw);
}

}  // namespace

bool looks_like_dbase(std::string_view content) {
    if (content.size() < 32) return false;
    const auto variant = variant_of(static_cast<unsigned char>(content[0]));
    if (!variant) return false;
    const std::size_t descriptor = variant->level7 ? 48 : 32;
    const std::size_t header = variant->level7 ? 68 : 32;
    const int month = static_cast<unsigned char>(content[2]), day = static_cast<unsigned char>(content[3]);
    return u16(content, 8) >= header + descriptor + 1 && month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

SourceTable read_dbase_table(std::string_view content, const std::string& name, const std::string& source,
                             std::vector<std::string>& skipped) {
    if (content.size() < 32) throw ImportError(source + ": ends inside the dBase header (" + std::to_string(content.size()) + " bytes)");
    const auto variant = variant_of(static_cast<unsigned char>(content[0]));
    if (!variant) {
        char code[8];
        std::snprintf(code, sizeof code, "0x%02X", static_cast<unsigned char>(content[0]));
        throw ImportError(source + ": is no dBase table (its first byte, " + std::string(code) + ", names no dBase version)");
    }
    const std::size_t descriptor = variant->level7 ? 48 : 32;
    const std::size_t first = variant->level7 ? 68 : 32;
    const std::size_t name_length = variant->level7 ? 32 : 11;
    const std::size_t header_length = u16(content, 8);
    if (header_length < first + 1)
        throw ImportError(source + ": the dBase header says it is " + std::to_string(header_length) + " bytes long, too short for a field");
    SourceTable table;
    table.name = name;
    std::size_t at = first;
    for (;;) {
        if (at >= content.size()) throw ImportError(source + ": ends inside the field descriptors (truncated?)");
        if (content[at] == '\x0D') break;
        if (at + descriptor > content.size() || at + descriptor > header_length)
            throw ImportError(source + ": ends inside the field descriptors (truncated?)");
        const std::string_view d = content.substr(at, descriptor);
        at += descriptor;
        SourceColumn column;
        column.name = field_name(d.substr(0, name_length));
        const char type = d[name_length];
        const std::size_t size_at = variant->level7 ? 33 : 16;  // dBase 7: the type at 32, the length at 33
        const int length = static_cast<unsigned char>(d[size_at]);
        const int decimals = static_cast<unsigned char>(d[size_at + 1]);
        const unsigned char flags = variant->foxpro ? static_cast<unsigned char>(d[18]) : 0;
        column.nullable = variant->foxpro ? (flags & 0x02) != 0 : true;
        const std::string where = source + ": field " + in_quotes(column.name);
        if (column.name.empty()) throw ImportError(source + ": a field descriptor at byte " + std::to_string(at - descriptor) + " has no name");
        switch (type) {
            case 'C': column.tipo = kString; column.tamanho = length | (variant->foxpro ? 0 : decimals << 8); break;  // Clipper keeps long sizes in the decimals
            case 'V': column.tipo = kString; column.tamanho = length; break;
            case 'N':
                if (decimals > 0) { column.tipo = kBcd; column.tamanho = length; column.decimais = decimals; }
                else if (length <= 4) column.tipo = kSmallInt;
                else if (length <= 9) column.tipo = kInteger;
                else { column.tipo = kBcd; column.tamanho = length; }
                break;
            case 'F': column.tipo = kFloat; break;
            case 'O': column.tipo = kFloat; break;
            case 'B': column.tipo = variant->foxpro ? kFloat : kBlob; break;
            case 'I': column.tipo = kInteger; break;
            case '+': column.tipo = kAutoInc; column.nullable = false; break;
            case 'Y': column.tipo = kCurrency; break;
            case 'L': column.tipo = kBoolean; break;
            case 'D': column.tipo = kDate; break;
            case 'T': case '@': column.tipo = kDateTime; break;
            case 'M': column.tipo = kMemo; break;
            case 'W': column.tipo = kBlob; break;
            case 'Q': column.tipo = kVarBytes; column.tamanho = length; break;
            case 'G': column.tipo = kParadoxOle; break;  // OLE object
            case 'P': column.tipo = kGraphic; break;
            case '0': continue;  // FoxPro's hidden _NullFlags
            default: {
                const std::string shown = type >= 0x20 && type < 0x7F ? std::string(1, type) : "#" + std::to_string(static_cast<unsigned char>(type));
                skipped.push_back(where + ": the table is skipped: the field type " + in_quotes(shown) + " has no field type in the catalogue");
                return SourceTable{};
            }
        }
        // dBase IV and later mark a field that has a tag of its own in the production index (.MDX).
        if (!variant->foxpro && !variant->level7 && d[31] == '\x01') {
            SourceIndex index;
            index.name = name + "_" + column.name;
            index.columns = {column.name};
            table.indexes.push_back(std::move(index));
        }
        table.columns.push_back(std::move(column));
    }
    if (table.columns.empty()) throw ImportError(source + ": the dBase table has no fields");
    return table;
}

namespace {

std::optional<std::filesystem::path> production_index_of(const std::filesystem::path& table) {
    for (const char* extension : {".mdx", ".MDX", ".Mdx"}) {
        std::filesystem::path index = table;
        index.replace_extension(extension);
        std::error_code error;
        if (std::filesystem::is_regular_file(index, error)) return index;
    }
    return std::nullopt;
}

std::string lower_case(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// The table's key and indexes from its production index; they replace the descriptors' index flags,
// which say only that a field has a tag of its own.
void read_production_index(const std::filesystem::path& file, SourceTable& table, std::vector<std::string>& skipped) {
    const std::optional<std::filesystem::path> index = production_index_of(file);
    if (!index) {
        skipped.push_back(file.string() + ": its production index (" + file.stem().string() +
                          ".mdx) is missing; the table's key and indexes are not imported");
        table.indexes.clear();
        return;
    }
    std::ifstream in(*index, std::ios::binary);
    if (!in) throw ImportError(index->string() + ": cannot be opened");
    const std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::vector<DbaseTag> tags = read_mdx_tags(content, index->string());
    table.indexes.clear();
    apply_mdx_tags(tags, table, index->string(), skipped);
}

}  // namespace

SourceSchema import_dbase_files(const std::vector<std::filesystem::path>& files) {
    SourceSchema schema;
    std::unordered_set<std::string> index_names;  // letter case ignored
    for (const std::filesystem::path& file : files) {
        const std::string source = file.string();
        std::ifstream in(file, std::ios::binary);
        if (!in) throw ImportError(source + ": cannot be opened");
        // The header alone: its length is in bytes 8 and 9, at most 65,535.
        std::string head(32, '\0');
        in.read(head.data(), 32);
        head.resize(static_cast<std::size_t>(in.gcount()));
        if (head.size() == 32) {
            const std::size_t header_length = u16(head, 8);
            head.resize(std::max<std::size_t>(header_length, 32));
            in.read(head.data() + 32, static_cast<std::streamsize>(head.size() - 32));
            head.resize(32 + static_cast<std::size_t>(in.gcount()));
        }
        SourceTable table = read_dbase_table(head, file.stem().string(), source, schema.skipped);
        if (table.name.empty()) continue;
        // The header's byte 28 says the table has a production index: the .MDX of the same name.
        if (static_cast<unsigned char>(head[28]) & 0x01) read_production_index(file, table, schema.skipped);
        // A tag's name is the table's own, a diagram's index names are the schema's: a name that an
        // earlier table has already becomes TABLE_TAG.
        for (SourceIndex& index : table.indexes)
            if (!index_names.insert(lower_case(index.name)).second) {
                index.name = table.name + "_" + index.name;
                index_names.insert(lower_case(index.name));
            }
        schema.tables.push_back(std::move(table));
    }
    return schema;
}
