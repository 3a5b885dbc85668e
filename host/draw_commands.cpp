// `kzr40 draw` and `kzr40 layout`: a diagram as a picture, and a diagram laid out automatically.

#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/commands.h"
#include "diagram/diagram.h"
#include "diagram/diagram_form.h"
#include "diagram/scene.h"
#include "host/option_texts.h"
#include "platform/files/output.h"
#include "platform/files/whole_file.h"
#include "diagram/layout_measure.h"
#include "diagram/scene_layout.h"
#include "diagram/scene_picture.h"
#include "diagram/type_texts.h"
#include "plugin/enum_names.h"

namespace {

// The modes --mode takes by a readable name, beside the names the files use (kModoNames).
const std::pair<const char*, tmodo> kReadableModes[] = {{"attributes", tmodo::tmAtributo},
                                                        {"schema", tmodo::tmEsquema},
                                                        {"keys", tmodo::tmChave},
                                                        {"entity", tmodo::tmEntidade},
                                                        {"table", tmodo::tmTabela}};
const std::map<std::string, tmodo> kModes = [] {
    std::map<std::string, tmodo> modes(std::begin(kReadableModes), std::end(kReadableModes));
    for (std::size_t i = 0; i < kModoNames.size(); ++i) modes.emplace(kModoNames[i], static_cast<tmodo>(i));
    return modes;
}();

// "attributes (tmAtributo), ..., or tmdelete, tmload": the readable names first, then the others.
std::string mode_choices() {
    std::string text;
    std::vector<bool> named(kModoNames.size());
    for (const auto& [name, mode] : kReadableModes) {
        text += std::string(name) + " (" + std::string(kModoNames[static_cast<std::size_t>(mode)]) + "), ";
        named[static_cast<std::size_t>(mode)] = true;
    }
    text += "or";
    for (std::size_t i = 0; i < kModoNames.size(); ++i)
        if (!named[i]) text += (text.ends_with("or") ? " " : ", ") + std::string(kModoNames[i]);
    return text;
}
const std::map<std::string, LayoutEngine> kEngines = {
    {"auto", LayoutEngine::automatic}, {"dot", LayoutEngine::dot}, {"sfdp", LayoutEngine::sfdp}};

const char* const kTypesHelp =
    "Generator whose type texts the boxes show in the modes tmEsquema and tmTabela: KZR40 (the plug-in's "
    "program types, the default) or SQL (the script's column types); any other name shows empty type texts";
const char* const kLayoutHelp =
    "Place the boxes automatically with this Graphviz engine: auto (dot up to 300 boxes, 2,000 with groups, sfdp above), dot or sfdp";

CLI::Validator picture_file() {
    return CLI::Validator(
        [](std::string& value) -> std::string {
            if (picture_format_of(value)) return {};
            return "\"" + value + "\": the picture type follows the extension: .png, .svg or .pdf";
        },
        "OUT.png|.svg|.pdf");
}

void add_types_option(CLI::App& command, std::string& types) {
    command.add_option("--types", types, kTypesHelp)->default_str(default_type_texts())->check(windows_1252());
}

// The scene of a loaded diagram; what its shapes cannot show is reported against the file.
DiagramScene build_scene(Diagram& diagram, const DiagramScene::Options& options, const std::string& file) {
    try {
        return DiagramScene(diagram, options);
    } catch (const DiagramError& e) {
        throw DiagramError(file + ": " + e.what());
    }
}

struct DrawArguments {
    std::string file;
    std::string output;
    int zoom = 0;  // 0: the file's Escala
    std::string mode;
    std::string types = default_type_texts();
    std::string layout;
    std::string style;  // empty: the file's
    std::string theme;
};

void run_draw(const DrawArguments& arguments) {
    const PictureFormat format = *picture_format_of(arguments.output);
    select_type_texts(arguments.types);
    Diagram diagram = load_diagram(arguments.file);
    DiagramScene::Options options;
    if (!arguments.mode.empty()) options.mode = kModes.at(arguments.mode);
    DiagramScene scene = build_scene(diagram, options, input_name(arguments.file));
    if (!arguments.layout.empty() || needs_layout(diagram)) {
        LayoutOptions layout;
        if (!arguments.layout.empty()) layout.engine = kEngines.at(arguments.layout);
        lay_out_scene(scene, diagram, layout);
    }
    scene.zoom(arguments.zoom != 0 ? arguments.zoom : diagram.escala);
    const std::string bytes = [&] {
        try {
            PictureLook look{diagram.style, diagram.theme};
            if (!arguments.style.empty()) look.style = arguments.style == "modern" ? DiagramStyle::modern : DiagramStyle::faithful;
            if (!arguments.theme.empty()) look.theme = arguments.theme == "dark" ? DiagramTheme::dark : DiagramTheme::light;
            return draw_picture(scene, format, look);
        } catch (const std::runtime_error& e) {
            throw std::runtime_error(input_name(arguments.file) + ": " + e.what());
        }
    }();
    write_output(arguments.output, bytes);
}

struct LayoutArguments {
    std::string file;
    std::string output;
    std::string types = default_type_texts();
    std::string layout = "auto";
    bool report = false;
};

void run_layout(const LayoutArguments& arguments) {
    select_type_texts(arguments.types);
    DiagramForm form;
    Diagram diagram = load_diagram(arguments.file, &form);
    {
        DiagramScene scene = build_scene(diagram, {}, input_name(arguments.file));
        LayoutOptions layout;
        layout.engine = kEngines.at(arguments.layout);
        // Every entity is placed anew, whatever the file says; free texts the file places stay.
        for (DiagramEntity& entity : diagram.entities) entity.shape.left = entity.shape.top = 0;
        lay_out_scene(scene, diagram, layout);
        scene.zoom(diagram.escala);
        scene.store();
        if (arguments.report) std::cerr << describe_layout_measure(measure_layout(scene));
    }
    // What the written form cannot hold lies in the diagram as laid out: the message names the input.
    const std::string bytes = [&] {
        try {
            return diagram_bytes(diagram, form_written_back(form, arguments.output), input_name(arguments.file));
        } catch (const DiagramError& e) {
            throw DiagramError(e.what() + std::string(" once laid out"));
        }
    }();
    write_output(arguments.output, bytes);
}

}  // namespace

void register_draw_command(CLI::App& app) {
    auto arguments = std::make_shared<DrawArguments>();
    CLI::App* command = app.add_subcommand(
        "draw", "Draw a diagram as a PNG, SVG or PDF picture: its entities, relationships, captions and free texts");
    command->add_option("FILE", arguments->file, kDiagramFileHelp)->required();
    command->add_option("-o,--output", arguments->output, "Picture file; .png, .svg or .pdf gives its type")
        ->required()
        ->check(picture_file());
    command->add_option("--zoom", arguments->zoom, "Zoom in percent, 10..1000, instead of the file's Escala")
        ->check(whole_number())
        ->check(CLI::Range(kMinEscala, kMaxEscala));
    command->add_option("--mode", arguments->mode, "Display mode of every entity, instead of the file's Modo: " + mode_choices())
        ->check(CLI::IsMember([] {
            std::vector<std::string> names;
            for (const auto& [name, mode] : kModes) names.push_back(name);
            return names;
        }()));
    add_types_option(*command, arguments->types);
    command->add_option("--layout", arguments->layout,
                        std::string(kLayoutHelp) + ", even when the file places them (without this option only a "
                                                   "diagram that places no entity is laid out, by auto)")
        ->check(CLI::IsMember({"auto", "dot", "sfdp"}));
    command->add_option("--style", arguments->style,
                        "faithful (the boxes as the editor draws them) or modern (header bands in the colours of the "
                        "Menu groups, key markers, types right-aligned, group areas); instead of the file's style")
        ->check(CLI::IsMember({"faithful", "modern"}));
    command->add_option("--theme", arguments->theme, "light or dark ground for the modern style; instead of the file's theme")
        ->check(CLI::IsMember({"light", "dark"}));
    command->callback([arguments] { run_draw(*arguments); });
}

void register_layout_command(CLI::App& app) {
    auto arguments = std::make_shared<LayoutArguments>();
    CLI::App* command = app.add_subcommand(
        "layout", "Place every entity of a diagram automatically and write the diagram back with those positions");
    command->add_option("FILE", arguments->file, kDiagramFileHelp)->required();
    command->add_option("-o,--output", arguments->output,
                        "Write the diagram to this file; standard output when absent or -. It keeps the form it was read "
                        "in (JSON, or a stored diagram, binary or text with its line ends), unless the name ends in "
                        ".json, which gives JSON");
    add_types_option(*command, arguments->types);
    command->add_option("--layout", arguments->layout, kLayoutHelp)
        ->check(CLI::IsMember({"auto", "dot", "sfdp"}))
        ->capture_default_str();
    command->add_flag("--report", arguments->report,
                      "Print on standard error how the placed diagram reads: captions overlapping boxes or each other, "
                      "lines through boxes they do not join, lines and marks drawn on one another, crossings, the "
                      "aspect ratio and how far the free texts stand from the entities");
    command->callback([arguments] { run_layout(*arguments); });
}
