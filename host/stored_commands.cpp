// `kzr40 store` and `kzr40 convert`: a diagram written as a stored diagram, or as JSON, whichever form
// it was read from.

#include <memory>
#include <string>

#include "host/commands.h"
#include "host/memory_tuning.h"
#include "diagram/diagram.h"
#include "diagram/json_writer.h"
#include "host/option_texts.h"
#include "platform/files/output.h"
#include "platform/files/whole_file.h"
#include "diagram/stored_diagram.h"

namespace {

struct StoreArguments {
    std::string file;
    std::string output;
    bool text = false;
    bool lf = false;
};

void store(const StoreArguments& arguments) {
    // A stored diagram is built as a tree of small objects, then a stream of them, then freed.
    tune_allocator_for_large_runs();
    const Diagram diagram = load_diagram(arguments.file);
    // Made whole before anything is written, so that a diagram the stored form cannot hold leaves no
    // file; what it cannot hold is an item of the input, which the message names.
    const std::string source = input_name(arguments.file);
    const std::string content = arguments.text ? stored_diagram_text(diagram, source, arguments.lf)
                                               : stored_diagram_bytes(diagram, source);
    write_output(arguments.output, content);
}

void convert(const std::string& file, const std::string& output) {
    tune_allocator_for_large_runs();
    const std::string json = diagram_to_json(load_diagram(file), input_name(file));
    write_output(output, json);
}

}  // namespace

void register_store_command(CLI::App& app) {
    auto arguments = std::make_shared<StoreArguments>();
    CLI::App* command = app.add_subcommand(
        "store", "Write a diagram as a stored diagram: a component stream, binary (\"TPF0\") or as text");
    command->add_option("FILE", arguments->file, kDiagramFileHelp)->required();
    command->add_option("-o,--output", arguments->output,
                        "Write the stored diagram to this file; standard output when absent or -");
    command->add_flag("--text", arguments->text, "Write the text form instead of the binary stream");
    command->add_flag("--lf", arguments->lf, "End the text form's lines with LF instead of CR LF")->needs("--text");
    command->callback([arguments] { store(*arguments); });
}

void register_convert_command(CLI::App& app) {
    auto file = std::make_shared<std::string>();
    auto output = std::make_shared<std::string>();
    CLI::App* command = app.add_subcommand("convert", "Write a diagram, JSON or stored, as a JSON diagram file");
    command->add_option("FILE", *file, kDiagramFileHelp)->required();
    command->add_option("-o,--output", *output, "Write the JSON to this file; standard output when absent or -");
    command->callback([file, output] { convert(*file, *output); });
}
