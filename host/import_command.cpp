// `kzr40 import`: a diagram from an existing database, its DDL, or a folder of dBase and Paradox tables.

#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "diagram/diagram_form.h"
#include "host/commands.h"
#include "import/build_diagram.h"
#include "import/import_sources.h"
#include "platform/files/output.h"

namespace {

struct ImportArguments {
    std::vector<std::string> sources;
    std::string output;
    std::string from;
    std::string layout = "auto";
    bool rename = false;
    bool strict = false;
    bool store = false;
    bool text = false;
    bool lf = false;
};

const std::map<std::string, LayoutEngine> kEngines = {
    {"auto", LayoutEngine::automatic}, {"dot", LayoutEngine::dot}, {"sfdp", LayoutEngine::sfdp}};

void run_import(const ImportArguments& arguments) {
    const std::optional<SourceKind> kind =
        arguments.from.empty() ? std::nullopt : source_kind_named(arguments.from);
    const SourceSchema schema = read_sources(arguments.sources, kind);
    const std::string source = arguments.sources.size() == 1 ? (arguments.sources[0] == "-" ? std::string("standard input")
                                                                                            : arguments.sources[0])
                                                             : "the sources";
    std::vector<std::string> notes;
    ImportOptions options;
    options.rename = arguments.rename;
    options.strict = arguments.strict;
    Diagram diagram = [&] {
        try {
            return build_diagram(schema, source, options, notes);
        } catch (...) {
            // What was skipped before the error is still worth reading.
            for (const std::string& note : notes) std::cerr << "kzr40: " << note << "\n";
            throw;
        }
    }();
    for (const std::string& note : notes) std::cerr << "kzr40: " << note << "\n";
    lay_out_imported(diagram, kEngines.at(arguments.layout));
    DiagramForm form;
    if (arguments.store) {
        form.kind = arguments.text ? DiagramFileKind::StoredText : DiagramFileKind::StoredBinary;
        form.lf = arguments.lf;
    }
    const std::string destination = arguments.output == "-" ? std::string("standard output") : arguments.output;
    write_output(arguments.output, diagram_bytes(diagram, form, destination));
}

}  // namespace

void register_import_command(CLI::App& app) {
    auto arguments = std::make_shared<ImportArguments>();
    CLI::App* command = app.add_subcommand(
        "import", "Make a diagram from a SQLite database, an SQL or PostgreSQL script, or dBase and Paradox tables");
    command->add_option("SOURCE", arguments->sources,
                        "A SQLite database file, an .sql script (- reads it from standard input), or a directory or "
                        "files of .DBF or .DB tables")
        ->required();
    command->add_option("-o,--output", arguments->output, "The diagram to write; - writes it to standard output")->required();
    command->add_option("--from", arguments->from,
                        "What the sources are: sqlite, sql (a script run in SQLite), postgresql (a script read with "
                        "PostgreSQL's parser), dbase or paradox; told from the content when absent")
        ->check(CLI::IsMember({"sqlite", "sql", "postgresql", "dbase", "paradox"}));
    command->add_option("--layout", arguments->layout,
                        "Place the entities with this Graphviz engine: auto (dot up to 300 boxes, 2,000 with groups, sfdp above), dot or sfdp")
        ->check(CLI::IsMember({"auto", "dot", "sfdp"}))
        ->capture_default_str();
    command->add_flag("--rename", arguments->rename,
                      "Change names the diagram cannot hold (characters outside Windows-1252, names taken twice) and "
                      "list each change on standard error, instead of refusing them");
    command->add_flag("--strict", arguments->strict, "Refuse, instead of skipping with a note, anything that cannot be imported");
    command->add_flag("--store", arguments->store, "Write a stored diagram (binary) instead of a JSON diagram");
    command->add_flag("--text", arguments->text, "With --store: the stored diagram's text form")->needs("--store");
    command->add_flag("--lf", arguments->lf, "End the text form's lines with LF instead of CR LF")->needs("--text");
    command->callback([arguments] { run_import(*arguments); });
}
