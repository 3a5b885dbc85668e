#include "host/schema_run.h"

#include <cerrno>
#include <cstdlib>
#include <stdexcept>

#include "platform/files/output.h"
#include "platform/ascii_case.h"
#include "platform/clock.h"
#include "platform/string_list.h"
#include "platform/utf8_cp1252.h"
#include "plugin/exports.h"

std::int32_t parse_database_kind(const std::string& text) {
    const std::string lower = AsciiLowerCase(text);
    if (lower == "paradox") return 0;
    if (lower == "dbase") return 1;
    if (lower == "oracle") return 2;
    char* end = nullptr;
    errno = 0;
    const long number = std::strtol(text.c_str(), &end, 10);
    if (!text.empty() && *end == '\0' && errno == 0 && number >= INT32_MIN && number <= INT32_MAX)
        return static_cast<std::int32_t>(number);
    throw std::runtime_error("--kind: expected paradox, dbase, oracle or a number, not \"" + text + "\"");
}

void check_source_date_epoch() {
    const char* value = std::getenv("SOURCE_DATE_EPOCH");
    if (value && !parse_source_date_epoch(value))
        throw std::runtime_error(std::string("SOURCE_DATE_EPOCH must be a whole number of seconds since 1970, not \"") +
                                 value + "\"");
}

void run_schema(const Diagram& diagram, const SchemaRunOptions& options, StringList& listing) {
    set_var(diagram.project.c_str(), diagram.server.c_str());
    gerar_cabecalho(options.language);
    for (const DiagramEntity& item : diagram.entities)
        gera_fonte(item.entity.get(), options.language, options.kind, options.drop);
    montar_listagem(&listing, options.language == kLanguageUnit ? 0 : 1);
    finalizar();
}

std::string listing_text(const StringList& listing) {
    std::size_t size = 0;
    for (int i = 0; i < listing.Count(); ++i) size += listing.Text(i).size() + 2;
    std::string text;
    text.reserve(size);
    for (int i = 0; i < listing.Count(); ++i) {
        text += listing.Text(i).view();
        text += "\r\n";
    }
    return text;
}

void write_listing(const StringList& listing, ByteSink& sink, bool utf8) {
    for (int i = 0; i < listing.Count(); ++i) {
        if (utf8)
            sink.write(cp1252_to_utf8(listing.Text(i).view()));
        else
            sink.write(listing.Text(i).view());
        sink.write("\r\n");
    }
}
