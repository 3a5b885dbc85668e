// `kzr40 check`: the review of a diagram's model, as warnings or, with --strict, errors.

#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>

#include "diagram/diagram.h"
#include "diagram/model_review.h"
#include "dialects/reserved_words.h"
#include "host/commands.h"
#include "host/memory_tuning.h"
#include "host/option_texts.h"
#include "host/review_report.h"
#include "platform/files/whole_file.h"

namespace {

struct CheckArguments {
    std::string file;
    bool strict = false;
    std::string dialect;
};

// The reserved words of the dialect the scripts are meant for; none without --dialect.
ReviewOptions review_options(const std::string& dialect_option) {
    ReviewOptions options;
    if (dialect_option.empty()) return options;
    const Dialect dialect = *parse_dialect(dialect_option);  // the option's check lets only dialects pass
    options.reserved_word = [dialect](std::string_view word) { return is_reserved_word(dialect, word); };
    options.dialect = dialect_title(dialect);
    return options;
}

void run_check(const CheckArguments& arguments) {
    tune_allocator_for_large_runs();
    // The process ends right after the report: the diagram is left for the system to take back at once
    // rather than freed record by record (a good part of a large check). It stays reachable from here,
    // so leak checkers do not count it.
    static const Diagram* loaded = nullptr;
    loaded = new Diagram(load_diagram(arguments.file));
    const Diagram& diagram = *loaded;
    const std::vector<ReviewFinding> findings = review_model(diagram, review_options(arguments.dialect));
    const std::string source = input_name(arguments.file);
    print_findings(std::cout, diagram, findings, source, arguments.strict);
    if (arguments.strict && !findings.empty()) {
        std::cout.flush();
        throw std::runtime_error(strict_refusal(source, findings.size()));
    }
    if (findings.empty()) std::cout << source << ": no findings\n";
    else std::cout << source << ": " << findings.size() << (findings.size() == 1 ? " warning\n" : " warnings\n");
    std::cout.flush();
    if (!std::cout) throw std::runtime_error("cannot write to standard output");
}

}  // namespace

void register_check_command(CLI::App& app) {
    auto arguments = std::make_shared<CheckArguments>();
    CLI::App* command = app.add_subcommand(
        "check", "Review a diagram's model: keys, foreign keys, types, indexes and names (docs/check.md)");
    command->add_option("FILE", arguments->file, kDiagramFileHelp)->required();
    add_strict_flag(*command, arguments->strict, "Treat the findings as errors: end with status 1 when there is one");
    command
        ->add_option("--dialect", arguments->dialect,
                     "Also report table and column names that are reserved words of this database (mysql and "
                     "mariadb are one)")
        ->check(CLI::IsMember({"sqlite", "postgresql", "mysql", "mariadb"}, CLI::ignore_case));
    command->callback([arguments] { run_check(*arguments); });
}
