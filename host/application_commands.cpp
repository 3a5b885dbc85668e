// `kzr40 forms` and `kzr40 generate`: maintenance forms, and the whole application in one run.

#include <iostream>
#include <memory>
#include <string>

#include "host/application_run.h"
#include "host/lazarus_run.h"
#include "host/commands.h"
#include "platform/utf8_cp1252.h"
#include "diagram/diagram.h"
#include "host/memory_tuning.h"
#include "host/option_texts.h"
#include "host/review_report.h"
#include "platform/files/output.h"
#include "platform/files/whole_file.h"
#include "host/schema_run.h"
#include "platform/files/staging_directory.h"
#include "plugin/nomes.h"
#include "platform/string_list.h"

namespace fs = std::filesystem;

namespace {

std::string count(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

struct FormsArguments {
    std::string file;
    std::string directory;
    std::string kind = "paradox";
};

// Every entity gets its chance: a failing one is reported and the next goes on; the exit status
// tells whether all succeeded. An entity's unit and form file go into place together or not at all.
void run_forms(const FormsArguments& arguments) {
    const std::int32_t kind = parse_database_kind(arguments.kind);
    const Diagram diagram = load_diagram(arguments.file);
    StagingDirectory staging(arguments.directory);
    const std::vector<FormOutcome> outcomes = generate_forms(diagram, {staging.path(), arguments.directory}, kind);
    std::size_t failed = 0;
    for (const FormOutcome& outcome : outcomes) {
        std::string error = outcome.error;
        if (error.empty()) {
            try {
                staging.move_into_place(outcome.files);
            } catch (const std::exception& e) {
                error = e.what();
            }
        }
        if (error.empty()) {
            for (const std::string& file : outcome.files) std::cout << "wrote " << (staging.output() / file).string() << "\n";
        } else {
            ++failed;
            std::cerr << "kzr40: entity \"" << cp1252_to_utf8(outcome.entity) << "\": form not generated: " << error << "\n";
        }
    }
    std::cout.flush();
    if (failed == 0) return;
    const std::size_t written = outcomes.size() - failed;
    throw std::runtime_error(count(failed, "form was", "forms were") + " not generated (see above); " +
                             (written == 0 ? std::string("no form was written")
                                           : "the " + count(written, "other was", "others were") + " written"));
}

struct GenerateArguments {
    std::string file;
    std::string directory;
    std::string title;
    std::string kind = "paradox";
    bool drop = false;
    bool strict = false;
    std::string target = "delphi5";
    bool kind_given = false;
};

void write_listing(const Diagram& diagram, std::int32_t language, std::int32_t kind, bool drop, const fs::path& file) {
    SchemaRunOptions options;
    options.language = language;
    options.kind = kind;
    options.drop = drop;
    StringList listing;
    run_schema(diagram, options, listing);
    write_file_atomically(file, listing_text(listing));
}

// The main project names each table in a menu entry whose fields are separated by ";"; an empty table
// name would shift the fields and make the project open a unit that was never written.
void require_table_names(const Diagram& diagram, const std::string& file) {
    for (std::size_t i = 0; i < diagram.entities.size(); ++i) {
        const TEntidade& entity = *diagram.entities[i].entity;
        if (entity.tabela().view().find_first_not_of(" \t") == std::string_view::npos)
            throw std::runtime_error(file + ": entity \"" + cp1252_to_utf8(entity.entidade().view()) + "\" (#" +
                                     std::to_string(i + 1) +
                                     ") has no table name; the application needs one to name its form and menu item");
    }
}

// Titles the project source cannot carry: it becomes the program name and a quoted string.
void warn_about_title(const std::string& title) {
    std::string program = title;
    limpa_identificador(0, program);
    if (program.empty() || (program[0] >= '0' && program[0] <= '9'))
        std::cerr << "kzr40: warning: the title \"" << cp1252_to_utf8(title) << "\" gives the program name \""
                  << program << "\", which Pascal does not accept as an identifier\n";
    if (title.find('\'') != std::string::npos)
        std::cerr << "kzr40: warning: the apostrophe in the title \"" << cp1252_to_utf8(title)
                  << "\" ends the quoted Application.Title early; the project will not compile as written\n";
}

// The application title: --title, else the diagram's project name (checked here, as the option is
// checked on the command line), else "Projeto".
std::string run_title(const GenerateArguments& arguments, const Diagram& diagram) {
    if (!arguments.title.empty()) return utf8_to_cp1252(arguments.title);
    const std::string problem = title_problem(diagram.project);
    if (!problem.empty())
        throw std::runtime_error(input_name(arguments.file) + ": the project name \"" + cp1252_to_utf8(diagram.project) +
                                 "\" cannot be the application title: " + problem + "; give one with --title");
    return default_title(diagram);
}

// `--target lazarus`: the application for Free Pascal and the LCL on dBase tables (docs/application.md).
// What both targets do before they write: the diagram read and reviewed, its tables named, the title.
struct GenerateInput {
    Diagram diagram;
    std::string title;
};

GenerateInput read_generate_input(const GenerateArguments& arguments) {
    check_source_date_epoch();
    GenerateInput input{load_diagram(arguments.file), {}};
    report_review(input.diagram, input_name(arguments.file), arguments.strict);
    require_table_names(input.diagram, input_name(arguments.file));
    input.title = run_title(arguments, input.diagram);
    warn_about_title(input.title);
    return input;
}

// Moves the staged files into place, all or (when a move fails midway) those before it, and lists them.
void publish_generated(StagingDirectory& staging, const std::vector<std::string>& files, const fs::path& target,
                       const std::string& nothing_written) {
    // Whatever could stop a move is checked before the first one.
    try {
        staging.move_into_place(files);
    } catch (const std::exception& e) {
        throw std::runtime_error(e.what() + (staging.moved() ? "; the files before it were written" : nothing_written));
    }
    for (const std::string& file : files) std::cout << "wrote " << (target / file).string() << "\n";
    std::cout.flush();
}

void run_generate_lazarus(const GenerateArguments& arguments) {
    if (arguments.kind_given && parse_database_kind(arguments.kind) != 1)
        throw std::runtime_error("--kind " + arguments.kind +
                                 ": the Lazarus target keeps its tables in dBase files (TDbf); give --kind dbase or leave it out");
    if (arguments.drop)
        throw std::runtime_error("--drop: the Lazarus target writes no SQL script; leave it out");
    const GenerateInput input = read_generate_input(arguments);
    const fs::path target = arguments.directory;
    StagingDirectory staging(target);
    const std::string nothing_written = "; nothing was written to " + target.string();
    std::vector<std::string> files;
    try {
        files = generate_lazarus(input.diagram, staging.path(), target, input.title);
    } catch (const std::exception& e) {
        throw std::runtime_error(input_name(arguments.file) + ": " + e.what() + nothing_written);
    }
    publish_generated(staging, files, target, nothing_written);
}

void run_generate(const GenerateArguments& arguments) {
    tune_allocator_for_large_runs();
    if (arguments.target == "lazarus") return run_generate_lazarus(arguments);
    const std::int32_t kind = parse_database_kind(arguments.kind);
    const GenerateInput input = read_generate_input(arguments);
    const Diagram& diagram = input.diagram;
    const std::string& title = input.title;
    const fs::path target = arguments.directory;

    StagingDirectory staging(target);
    const std::string nothing_written = "; nothing was written to " + target.string();
    std::vector<std::string> files = {"schema.sql", "GerarDBs.pas"};
    write_listing(diagram, kLanguageSql, kind, arguments.drop, staging.path() / files[0]);
    write_listing(diagram, kLanguageUnit, kind, arguments.drop, staging.path() / files[1]);
    const ApplicationPaths paths{staging.path(), target};
    for (const FormOutcome& outcome : generate_forms(diagram, paths, kind)) {
        if (!outcome.error.empty())
            throw std::runtime_error("entity \"" + cp1252_to_utf8(outcome.entity) + "\": form not generated: " +
                                     outcome.error + nothing_written);
        files.insert(files.end(), outcome.files.begin(), outcome.files.end());
    }
    try {
        for (const std::string& file : generate_main_project(diagram, paths, kind, title)) files.push_back(file);
    } catch (const std::exception& e) {
        throw std::runtime_error("main project not generated: " + std::string(e.what()) + nothing_written);
    }
    publish_generated(staging, files, target, nothing_written);
}

}  // namespace

void register_forms_command(CLI::App& app) {
    auto arguments = std::make_shared<FormsArguments>();
    CLI::App* command = app.add_subcommand("forms", "Write one maintenance form (unit and form file) per entity");
    command->add_option("FILE", arguments->file, kDiagramFileHelp)->required();
    command->add_option("--dir", arguments->directory, "Output directory, created when missing")
        ->required()
        ->check(non_empty())
        ->check(windows_1252());
    add_kind_option(*command, arguments->kind);
    command->callback([arguments] { run_forms(*arguments); });
}

void register_generate_command(CLI::App& app) {
    auto arguments = std::make_shared<GenerateArguments>();
    CLI::App* command = app.add_subcommand(
        "generate", "Write the whole application: SQL script, GerarDBs unit, maintenance forms and main project");
    command->add_option("FILE", arguments->file, kDiagramFileHelp)->required();
    command->add_option("--dir", arguments->directory, "Output directory, created when missing")
        ->required()
        ->check(non_empty())
        ->check(windows_1252());
    command->add_option("--title", arguments->title, "Application title (default: the diagram's project name)")
        ->check(application_title());
    CLI::Option* kind = add_kind_option(*command, arguments->kind);
    command->add_flag("--drop", arguments->drop, "Put a DROP TABLE before each CREATE TABLE in the SQL script");
    add_strict_flag(*command, arguments->strict);
    command
        ->add_option("--target", arguments->target,
                     "What the application is written for: delphi5 (default: the faithful Delphi 5 sources and "
                     "form files) or lazarus (a Lazarus project on dBase tables through TDbf, docs/application.md)")
        ->check(CLI::IsMember({"delphi5", "lazarus"}));
    command->callback([arguments, kind] {
        arguments->kind_given = kind->count() > 0;
        run_generate(*arguments);
    });
}
