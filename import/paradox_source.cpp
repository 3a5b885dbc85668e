#include "import/paradox_source.h"

extern "C" {  // pxlib's header declares C functions without saying so
#include <paradox.h>
}

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <memory>
#include <mutex>
#include <unordered_set>

#include "import/field_types.h"
#include "platform/utf8_cp1252.h"

namespace {

using namespace field_type;

std::string in_quotes(const std::string& name) { return "\"" + name + "\""; }

void keep_message(pxdoc_t*, int, const char* message, void* data) {
    auto* kept = static_cast<std::string*>(data);
    if (kept->empty() && message) *kept = message;
}

// pxlib frees parts of a header it could not read and then frees them again when the document goes
// (found by fuzzing with a damaged header). Every block it takes goes through these, which free a block
// once only and free what pxlib left when the document is gone.
thread_local std::unordered_set<void*>* live_blocks = nullptr;

void* take_block(pxdoc_t*, std::size_t size, const char*) {
    void* block = std::malloc(size ? size : 1);
    if (block && live_blocks) live_blocks->insert(block);
    return block;
}
void* resize_block(pxdoc_t*, void* block, std::size_t size, const char*) {
    if (block && live_blocks && !live_blocks->count(block)) return nullptr;  // freed already
    void* resized = std::realloc(block, size ? size : 1);
    if (resized && live_blocks) {
        if (block) live_blocks->erase(block);
        live_blocks->insert(resized);
    }
    return resized;
}
void give_block(pxdoc_t*, void* block) {
    if (block && live_blocks && live_blocks->erase(block)) std::free(block);
}

struct Document {
    std::unordered_set<void*> blocks;
    pxdoc_t* doc = nullptr;
    bool open = false;
    Document() { live_blocks = &blocks; }
    ~Document() {
        if (open) PX_close(doc);
        if (doc) PX_delete(doc);
        for (void* block : blocks) std::free(block);
        live_blocks = nullptr;
    }
};

std::optional<std::int32_t> field_type_of(char type) {
    switch (type) {
        case pxfAlpha: return kString;
        case pxfDate: return kDate;
        case pxfShort: return kSmallInt;
        case pxfLong: return kInteger;
        case pxfCurrency: return kCurrency;
        case pxfNumber: return kFloat;
        case pxfLogical: return kBoolean;
        case pxfMemoBLOb: return kMemo;
        case pxfBLOb: return kBlob;
        case pxfFmtMemoBLOb: return kFmtMemo;
        case pxfOLE: return kParadoxOle;
        case pxfGraphic: return kGraphic;
        case pxfTime: return kTime;
        case pxfTimestamp: return kDateTime;
        case pxfAutoInc: return kAutoInc;
        case pxfBCD: return kBcd;
        case pxfBytes: return kBytes;
        default: return std::nullopt;
    }
}

std::uint16_t u16(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8);
}

}  // namespace

bool looks_like_paradox(std::string_view content) {
    if (content.size() < 0x58) return false;
    const int type = static_cast<unsigned char>(content[4]);
    const int block = static_cast<unsigned char>(content[5]);
    const int version = static_cast<unsigned char>(content[0x39]);
    const bool known_block = block == 1 || block == 2 || block == 3 || block == 4 || block == 8 || block == 16 || block == 32;
    return (type == 0 || type == 2) && known_block && version >= 3 && version <= 12 && u16(content, 0) > 0 &&
           u16(content, 2) >= 0x58;
}

SourceTable read_paradox_table(std::FILE* stream, const std::string& name, const std::string& source,
                               std::vector<std::string>& skipped) {
    static std::once_flag booted;
    std::call_once(booted, [] { PX_boot(); });
    std::string message;
    Document px;
    px.doc = PX_new3(keep_message, take_block, resize_block, give_block, &message);
    if (!px.doc) throw ImportError(source + ": pxlib could not start");
    if (PX_open_fp(px.doc, stream) < 0)
        throw ImportError(source + ": is no Paradox table" + (message.empty() ? std::string() : " (pxlib: " + message + ")"));
    px.open = true;
    const px_head* head = px.doc->px_head;
    if (!head || (head->px_filetype != pxfFileTypIndexDB && head->px_filetype != pxfFileTypNonIndexDB))
        throw ImportError(source + ": is a Paradox index, not a table");
    SourceTable table;
    table.name = name;
    const pxfield_t* fields = PX_get_fields(px.doc);
    const int count = PX_get_num_fields(px.doc);
    if (!fields || count <= 0) throw ImportError(source + ": the Paradox table has no fields");
    for (int i = 0; i < count; ++i) {
        SourceColumn column;
        column.name = cp1252_to_utf8(fields[i].px_fname ? fields[i].px_fname : "");
        const auto tipo = field_type_of(fields[i].px_ftype);
        if (!tipo) {
            skipped.push_back(source + ": field " + in_quotes(column.name) + ": the table is skipped: the field type #" +
                              std::to_string(static_cast<unsigned char>(fields[i].px_ftype)) +
                              " has no field type in the catalogue");
            return SourceTable{};
        }
        column.tipo = *tipo;
        // Sizes as the catalogue counts them: characters and bytes for Alpha and Bytes, the part kept in
        // the record for the memos and BLOBs, digits after the point for BCD (32 digits in all).
        switch (column.tipo) {
            case kString:
            case kBytes:
            case kMemo:
            case kBlob:
            case kFmtMemo:
            case kParadoxOle:
            case kGraphic: column.tamanho = std::max(fields[i].px_flen, 0); break;
            case kBcd:
                column.tamanho = 32;
                column.decimais = std::clamp(fields[i].px_fdc, 0, 32);
                break;
            default: break;
        }
        // Paradox has no NULL constraint in the table's header ("required" lives in the .VAL file).
        column.nullable = true;
        if (i < head->px_primarykeyfields) table.primary_key.push_back(column.name);
        table.columns.push_back(std::move(column));
    }
    return table;
}

SourceSchema import_paradox_files(const std::vector<std::filesystem::path>& files) {
    SourceSchema schema;
    for (const std::filesystem::path& file : files) {
        const std::string source = file.string();
        std::unique_ptr<std::FILE, int (*)(std::FILE*)> stream(std::fopen(file.c_str(), "rb"), std::fclose);
        if (!stream) throw ImportError(source + ": cannot be opened");
        SourceTable table = read_paradox_table(stream.get(), file.stem().string(), source, schema.skipped);
        if (!table.name.empty()) schema.tables.push_back(std::move(table));
    }
    return schema;
}
