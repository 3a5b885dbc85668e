// `kzr40 forms` and `kzr40 generate`: maintenance forms, and the whole application in one run.

#include <unistd.h>

#include <iostream>
#include <memory>
#include <string>

#include "host/application_run.h"
#include "host/commands.h"
#include "host/cp1252.h"
#include "host/diagram.h"
#include "host/memory_tuning.h"
#include "host/output.h"
#include "host/schema_run.h"
#include "plugin/nomes.h"
#include "platform/string_list.h"

namespace fs = std::filesystem;

namespace {

const char* const kKindHelp = "Database kind: paradox (default), dbase, oracle, or its number (other numbers act as paradox)";

// Creates `directory` (and its parents) when missing; the error names the directory.
void ensure_directory(const fs::path& directory) {
    std::error_code error;
    fs::create_directories(directory, error);
    if (error || !fs::is_directory(directory))
        throw std::runtime_error(directory.string() + ": cannot create the output directory" +
                                 (error ? ": " + error.message() : ": a file of that name is in the way"));
}

// Reports each entity's forms; answers whether every entity succeeded.
bool report_forms(const std::vector<FormOutcome>& outcomes, const fs::path& directory) {
    bool all = true;
    for (const FormOutcome& outcome : outcomes) {
        if (outcome.error.empty()) {
            for (const std::string& file : outcome.files) std::cout << "wrote " << (directory / file).string() << "\n";
        } else {
            all = false;
            std::cerr << "kzr40: entity \"" << cp1252_to_utf8(outcome.entity)
                      << "\": form not generated: " << cp1252_to_utf8(outcome.error) << "\n";
        }
    }
    return all;
}

struct FormsArguments {
    std::string file;
    std::string directory;
    std::string kind = "paradox";
};

// Every entity gets its chance: a failing one is reported and the next goes on; the exit status
// tells whether all succeeded.
void run_forms(const FormsArguments& arguments) {
    const std::int32_t kind = parse_database_kind(arguments.kind);
    const Diagram diagram = load_diagram(arguments.file);
    ensure_directory(arguments.directory);
    const bool all = report_forms(generate_forms(diagram, arguments.directory, kind), arguments.directory);
    std::cout.flush();
    if (!all) throw std::runtime_error("some forms were not generated (see above); the others were written");
}

struct GenerateArguments {
    std::string file;
    std::string directory;
    std::string title;
    std::string kind = "paradox";
    bool drop = false;
};

// A scratch directory beside the output directory (so that its files can be renamed into place),
// removed with whatever is still in it when the run ends.
class StagingDirectory {
public:
    explicit StagingDirectory(const fs::path& target) {
        const fs::path parent = fs::absolute(target).parent_path();
        ensure_directory(parent);
        std::string pattern = (parent / ("." + target.filename().string() + ".kzr40-XXXXXX")).string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error(parent.string() + ": cannot create a scratch directory");
        path_ = pattern;
    }
    ~StagingDirectory() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    StagingDirectory(const StagingDirectory&) = delete;
    StagingDirectory& operator=(const StagingDirectory&) = delete;
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
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

void run_generate(const GenerateArguments& arguments) {
    tune_allocator_for_large_runs();
    const std::int32_t kind = parse_database_kind(arguments.kind);
    check_source_date_epoch();
    const Diagram diagram = load_diagram(arguments.file);
    require_table_names(diagram, arguments.file);
    const std::string title = arguments.title.empty() ? default_title(diagram) : utf8_to_cp1252(arguments.title);
    warn_about_title(title);
    const fs::path target = arguments.directory;

    StagingDirectory staging(target);
    std::vector<std::string> files = {"schema.sql", "GerarDBs.pas"};
    write_listing(diagram, kLanguageSql, kind, arguments.drop, staging.path() / files[0]);
    write_listing(diagram, kLanguageUnit, kind, arguments.drop, staging.path() / files[1]);
    for (const FormOutcome& outcome : generate_forms(diagram, staging.path(), kind)) {
        if (!outcome.error.empty())
            throw std::runtime_error("entity \"" + cp1252_to_utf8(outcome.entity) +
                                     "\": form not generated: " + cp1252_to_utf8(outcome.error) +
                                     "; nothing was written to " + target.string());
        files.insert(files.end(), outcome.files.begin(), outcome.files.end());
    }
    try {
        for (const std::string& file : generate_main_project(diagram, staging.path(), kind, title)) files.push_back(file);
    } catch (const std::exception& e) {
        throw std::runtime_error("main project not generated: " + cp1252_to_utf8(e.what()) + "; nothing was written to " +
                                 target.string());
    }

    ensure_directory(target);
    // Moving the files in must not stop halfway: what could stop a rename is checked first.
    for (const std::string& file : files)
        if (fs::is_directory(target / file))
            throw std::runtime_error((target / file).string() + ": is a directory; nothing was written to " +
                                     target.string());
    for (const std::string& file : files) {
        std::error_code error;
        fs::rename(staging.path() / file, target / file, error);
        if (error) throw std::runtime_error((target / file).string() + ": cannot write: " + error.message());
        std::cout << "wrote " << (target / file).string() << "\n";
    }
    std::cout.flush();
}

}  // namespace

void register_forms_command(CLI::App& app) {
    auto arguments = std::make_shared<FormsArguments>();
    CLI::App* command = app.add_subcommand("forms", "Write one maintenance form (unit and form file) per entity");
    command->add_option("FILE", arguments->file, "Diagram file (JSON, see docs/diagram-format.md)")->required();
    command->add_option("--dir", arguments->directory, "Output directory, created when missing")->required();
    command->add_option("--kind", arguments->kind, kKindHelp);
    command->callback([arguments] { run_forms(*arguments); });
}

void register_generate_command(CLI::App& app) {
    auto arguments = std::make_shared<GenerateArguments>();
    CLI::App* command = app.add_subcommand(
        "generate", "Write the whole application: SQL script, GerarDBs unit, maintenance forms and main project");
    command->add_option("FILE", arguments->file, "Diagram file (JSON, see docs/diagram-format.md)")->required();
    command->add_option("--dir", arguments->directory, "Output directory, created when missing")->required();
    command->add_option("--title", arguments->title, "Application title (default: the diagram's project name)");
    command->add_option("--kind", arguments->kind, kKindHelp);
    command->add_flag("--drop", arguments->drop, "Put a DROP TABLE before each CREATE TABLE in the SQL script");
    command->callback([arguments] { run_generate(*arguments); });
}
