// `kzr40 sql`, `kzr40 unit` and `kzr40 tables`: the schema outputs of a diagram file.

#include <iostream>
#include <memory>
#include <string>

#include "host/commands.h"
#include "platform/utf8_cp1252.h"
#include "diagram/diagram.h"
#include "diagram/model_keys.h"
#include "dialects/dialect.h"
#include "dialects/schema_plan.h"
#include "dialects/script_writer.h"
#include "host/memory_tuning.h"
#include "host/option_texts.h"
#include "host/review_report.h"
#include "platform/files/output.h"
#include "platform/files/whole_file.h"
#include "host/schema_run.h"
#include "platform/message_box.h"
#include "platform/string_list.h"
#include "platform/table.h"
#include "plugin/catalogo.h"
#include "plugin/entity_view.h"
#include "plugin/exports.h"
#include "plugin/registros.h"

namespace {

struct ListingArguments {
    std::string file;
    std::string kind = "paradox";
    std::string dialect;  // sql only: a script of ours for today's databases instead of the plug-in's
    bool drop = false;
    bool strict = false;
    std::string output;
    std::string encoding = "windows-1252";
};

void add_common_options(CLI::App& command, ListingArguments& arguments) {
    command.add_option("FILE", arguments.file, kDiagramFileHelp)->required();
    add_kind_option(command, arguments.kind);
    command.add_option("-o,--output", arguments.output,
                       "Write the listing to this file; standard output when absent or -. It is Windows-1252 text with "
                       "CR LF line ends, as the target's compilers and database tools expect");
    command.add_option("--encoding", arguments.encoding,
                       "Character encoding of the listing: windows-1252, or utf-8 to read it on a terminal (the line "
                       "ends stay CR LF)")
        ->transform(CLI::IsMember({"windows-1252", "utf-8"}, CLI::ignore_case))
        ->capture_default_str();
    add_strict_flag(command, arguments.strict);
}

// The unit quotes each secondary key's name, and an expression index's text as typed, in Pascal
// strings: an apostrophe in them ends the string early, as the plug-in writes it.
void warn_about_unit_strings(const Diagram& diagram, const std::string& file) {
    for (std::size_t i = 0; i < diagram.entities.size(); ++i) {
        const TEntidade& entity = *diagram.entities[i].entity;
        const StringList& keys = entity.ChavesSecundarias();
        for (int k = 0; k < keys.Count(); ++k) {
            const auto* record = static_cast<const TChaveSecundaria*>(keys.Objects(k));
            const bool in_name = std::string_view(keys.Get(k)).find('\'') != std::string_view::npos;
            const bool in_expression = record && decode_index_options(record->tipo_indice).expression &&
                                       record->campos.view().find('\'') != std::string_view::npos;
            if (!in_name && !in_expression) continue;
            std::cerr << "kzr40: warning: " << file << ": entity \"" << cp1252_to_utf8(entity.entidade().view()) << "\" (#"
                      << i + 1 << "), secondary key \"" << cp1252_to_utf8(keys.Get(k)) << "\": the apostrophe in its "
                      << (in_name ? "name" : "expression")
                      << " ends a quoted string of the unit early; the unit will not compile as written\n";
        }
    }
}

void produce_listing(const ListingArguments& arguments, std::int32_t language) {
    tune_allocator_for_large_runs();
    SchemaRunOptions options;
    options.language = language;
    options.kind = parse_database_kind(arguments.kind);
    options.drop = arguments.drop;
    check_source_date_epoch();
    // The process ends right after the listing is written: the diagram and the listing are left for
    // the system to take back at once rather than freed record by record at exit (a tenth of a large
    // run). They stay reachable from here, so leak checkers do not count them.
    static Diagram* diagram = nullptr;
    static StringList* listing = nullptr;
    diagram = new Diagram(load_diagram(arguments.file));
    listing = new StringList();
    report_review(*diagram, input_name(arguments.file), arguments.strict);
    if (language == kLanguageUnit) warn_about_unit_strings(*diagram, input_name(arguments.file));
    run_schema(*diagram, options, *listing);
    const bool utf8 = arguments.encoding == "utf-8";
    const auto produce = [utf8](ByteSink& sink) { write_listing(*listing, sink, utf8); };
    write_output(arguments.output, produce);
}

// `sql --dialect`: the script for today's databases, from the diagram and its model keys.
void produce_dialect_script(const ListingArguments& arguments) {
    tune_allocator_for_large_runs();
    const Dialect dialect = *parse_dialect(arguments.dialect);
    check_source_date_epoch();
    // Left for the system to take back at exit, as the plug-in's listing is (see produce_listing).
    static Diagram* loaded = nullptr;
    loaded = new Diagram(load_diagram(arguments.file));
    const Diagram& diagram = *loaded;
    const std::string source = input_name(arguments.file);
    const ModelKeys keys = model_keys(diagram);
    // These scripts keep every name as it is, quoted where it must be: letters outside ASCII are not lost.
    std::vector<ReviewFinding> findings = review_model(diagram, keys);
    std::erase_if(findings, [](const ReviewFinding& finding) { return finding.rule == "lost-letters"; });
    print_findings(std::cerr, diagram, findings, source, arguments.strict);
    if (arguments.strict && !findings.empty())
        throw std::runtime_error(strict_refusal(source, findings.size()) + "; nothing was written");
    const SchemaPlan plan = plan_schema(diagram, keys, dialect, source);
    for (const std::string& warning : plan.warnings) std::cerr << "kzr40: warning: " << warning << "\n";
    const std::string script = write_script(diagram, plan, arguments.drop);
    write_output(arguments.output, [&script](ByteSink& sink) { sink.write(script); });
}

// Sends gera_tab's message boxes to standard error, naming the entity they concern, for as long as it lives.
class EntityMessages {
public:
    EntityMessages()
        : previous_(set_message_reporter([this](std::string_view text) {
              std::cerr << "kzr40: entity \"" << cp1252_to_utf8(entity_) << "\": " << cp1252_to_utf8(text) << "\n";
          })) {}
    ~EntityMessages() { set_message_reporter(std::move(previous_)); }
    EntityMessages(const EntityMessages&) = delete;
    EntityMessages& operator=(const EntityMessages&) = delete;
    void about(std::string_view entity) { entity_ = entity; }

private:
    std::string entity_;
    MessageReporter previous_;
};

void print_table(std::ostream& out, const TTable& table) {
    out << "  table " << cp1252_to_utf8(table.TableName()) << ", type " << to_string(table.TableType()) << ", directory \""
        << cp1252_to_utf8(table.DatabaseName()) << "\"\n";
    const TFieldDefs& fields = table.FieldDefs();
    for (int i = 0; i < fields.Count(); ++i) {
        const TFieldDef& f = fields[i];
        out << "    field " << cp1252_to_utf8(f.Name) << ": " << nome_tipo(f.DataType);
        if (f.Size != 0) out << ", size " << f.Size;
        out << (f.Required ? ", required" : "") << "\n";
    }
    const TIndexDefs& indexes = table.IndexDefs();
    for (int i = 0; i < indexes.Count(); ++i) {
        const TIndexDef& x = indexes[i];
        out << "    index " << (x.Name.empty() ? "(primary)" : cp1252_to_utf8(x.Name)) << " on \"" << cp1252_to_utf8(x.Fields)
            << "\" " << to_string(x.Options) << "\n";
    }
}

void show_tables(const std::string& file, const std::string& kind_text, std::string directory, bool keep) {
    const std::int32_t kind = parse_database_kind(kind_text);
    const Diagram diagram = load_diagram(file);
    if (!directory.empty() && directory.back() != '/') directory += '/';
    const std::string plugin_directory = utf8_to_cp1252(directory);
    EntityMessages messages;
    std::string text;
    for (const DiagramEntity& item : diagram.entities) {
        const TEntidade& entity = *item.entity;
        messages.about(entity.entidade().view());
        TTable table;
        gera_tab(&table, item.entity.get(), plugin_directory.c_str(), kind, !keep);
        std::cout << "entity " << cp1252_to_utf8(entity.entidade().view()) << "\n";
        if (table.TableName().empty())
            std::cout << "  left alone: its table file exists in \"" << directory << "\"\n";
        else
            print_table(std::cout, table);
    }
    std::cout.flush();
    if (!std::cout) throw std::runtime_error("cannot write to standard output");
}

}  // namespace

void register_sql_command(CLI::App& app) {
    auto arguments = std::make_shared<ListingArguments>();
    CLI::App* command = app.add_subcommand("sql", "Write the SQL data-definition script of a diagram");
    add_common_options(*command, *arguments);
    command
        ->add_option("--dialect", arguments->dialect,
                     "Write a script for this database instead of the plug-in's (mysql and mariadb are one): "
                     "types of the database, foreign keys from the relationships, UTF-8 with LF line ends "
                     "(docs/sql-dialects.md)")
        ->check(CLI::IsMember({"sqlite", "postgresql", "mysql", "mariadb"}, CLI::ignore_case));
    command->add_flag("--drop", arguments->drop,
                      "Put a DROP TABLE before each CREATE TABLE; with --dialect, drop every table first, in the "
                      "reverse order, where it exists");
    command->callback([arguments, command] {
        // --kind chooses among the plug-in's scripts, --dialect writes ours: one or the other.
        if (!arguments->dialect.empty() && command->count("--kind") > 0)
            throw CLI::ValidationError("--dialect", "cannot be given with --kind: --kind chooses one of the plug-in's "
                                                    "scripts, --dialect writes one of ours for that database");
        if (!arguments->dialect.empty() && arguments->encoding != "utf-8" && command->count("--encoding") > 0)
            throw CLI::ValidationError("--encoding", "a --dialect script is always UTF-8, as today's databases read it");
        if (arguments->dialect.empty())
            produce_listing(*arguments, kLanguageSql);
        else
            produce_dialect_script(*arguments);
    });
}

void register_unit_command(CLI::App& app) {
    auto arguments = std::make_shared<ListingArguments>();
    CLI::App* command = app.add_subcommand("unit", "Write the Object Pascal unit GerarDBs that creates the diagram's tables");
    add_common_options(*command, *arguments);
    command->callback([arguments] { produce_listing(*arguments, kLanguageUnit); });
}

void register_tables_command(CLI::App& app) {
    struct Arguments {
        std::string file, kind = "paradox", directory;
        bool keep = false;
    };
    auto arguments = std::make_shared<Arguments>();
    CLI::App* command = app.add_subcommand(
        "tables", "Show the table definitions (fields, indexes) that the plug-in sets up on a table object per entity");
    command->add_option("FILE", arguments->file, kDiagramFileHelp)->required();
    add_kind_option(*command, arguments->kind);
    command->add_option("--dir", arguments->directory, "Database directory the tables belong to (default: the current one)")
        ->check(windows_1252());
    command->add_flag("--keep", arguments->keep, "Leave alone the tables whose file already exists in the directory");
    command->callback([arguments] { show_tables(arguments->file, arguments->kind, arguments->directory, arguments->keep); });
}
