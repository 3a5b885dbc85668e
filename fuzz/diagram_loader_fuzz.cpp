// libFuzzer target: the diagram loader (JSON and stored diagrams alike) on arbitrary bytes, and every
// generator on each diagram it accepts. A refused diagram must be a clean DiagramError; an accepted one
// must be written back to JSON that reads as the same diagram (the second writing gives the same bytes),
// and go through the SQL script and the table-creation unit for every database kind, the table set-up,
// the maintenance forms and the main project without a fault. Forms and project are written to a
// scratch directory in memory (/dev/shm where there is one); the listings stay in memory. Last, the
// diagram's shapes are built and painted at the smallest and the largest zoom.

#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "host/application_run.h"
#include "diagram/diagram.h"
#include "diagram/scene.h"
#include "diagram/json_writer.h"
#include "diagram/scene_picture.h"
#include "diagram/stored_diagram.h"
#include "host/schema_run.h"
#include "platform/graphics/cairo_canvas.h"
#include "platform/string_list.h"
#include "platform/table.h"
#include "plugin/exports.h"
#include "plugin/registros.h"

namespace {

// Made on first use and removed when the fuzzer ends.
struct ScratchDirectory {
    std::filesystem::path path;
    ScratchDirectory() {
        const std::filesystem::path base =
            std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
        std::string pattern = (base / "kzr40-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) ::abort();
        path = pattern;
    }
    ~ScratchDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

const std::filesystem::path& scratch() {
    static const ScratchDirectory directory;
    return directory.path;
}

void run_every_generator(const Diagram& diagram) {
    for (const std::int32_t kind : {0, 1, 2}) {
        for (const std::int32_t language : {kLanguageSql, kLanguageUnit}) {
            StringList listing;
            run_schema(diagram, SchemaRunOptions{language, kind, kind == 0}, listing);
            if (listing_text(listing).empty()) ::abort();  // a run always writes its banner
        }
        for (const DiagramEntity& item : diagram.entities) {
            TTable table;
            gera_tab(&table, item.entity.get(), "", kind, true);
        }
    }
    // What the host reports as a failed form or project (a clashing component name, a file that cannot
    // be written) is a refusal, not a fault.
    generate_forms(diagram, scratch(), 0);
    try {
        generate_main_project(diagram, scratch(), 0, default_title(diagram));
    } catch (const std::exception&) {
    }
    std::error_code ignored;
    for (const auto& file : std::filesystem::directory_iterator(scratch(), ignored))
        std::filesystem::remove(file.path(), ignored);
}

// Every shape measured, routed and painted: a small canvas suffices, the shapes draw all of themselves
// whatever the clip. A font without a face to measure in is a refusal.
void draw_every_shape(Diagram& diagram) {
    try {
        DiagramScene scene(diagram);
        for (const int zoom : {kMaxEscala, kMinEscala}) {
            scene.zoom(zoom);
            ImageCanvas canvas(16, 16);
            paint_scene(scene, canvas, picture_area(scene));
        }
    } catch (const DiagramError&) {
    }
}

// The records' reserved fields, which a stored diagram keeps and the JSON form refuses.
bool holds_reserved_fields(const Diagram& diagram) {
    for (const DiagramEntity& item : diagram.entities) {
        const StringList& attributes = item.entity->atributos();
        for (int i = 0; i < attributes.Count(); ++i) {
            const auto& a = *static_cast<const TAtributo*>(attributes.Objects(i));
            if (a.reservado_12 || a.reservado_56) return true;
            for (const std::uint8_t byte : a.reservado_36)
                if (byte) return true;
        }
        const StringList& keys = item.entity->ChavesSecundarias();
        for (int i = 0; i < keys.Count(); ++i)
            if (static_cast<const TChaveSecundaria*>(keys.Objects(i))->reservado_8) return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    ::setenv("SOURCE_DATE_EPOCH", "0", 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Diagram diagram;
    try {
        diagram = parse_diagram(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.json");
    } catch (const DiagramError&) {
        return 0;
    }
    // Whatever was read can be written, and what was written reads back the same: as JSON, or as a
    // stored diagram when it holds what only a stored diagram keeps.
    if (holds_reserved_fields(diagram)) {
        const std::string stored = stored_diagram_bytes(diagram, "fuzz.kzd");
        if (stored_diagram_bytes(parse_stored_diagram(stored, "written.kzd"), "fuzz.kzd") != stored) ::abort();
    } else {
        const std::string written = diagram_to_json(diagram, "fuzz.json");
        if (diagram_to_json(parse_diagram(written, "written.json"), "fuzz.json") != written) ::abort();
    }
    run_every_generator(diagram);
    draw_every_shape(diagram);
    return 0;
}
