// `kzr40 check`: the review of a diagram's model, as warnings or, with --strict, errors.

#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>

#include "diagram/diagram.h"
#include "diagram/model_review.h"
#include "host/commands.h"
#include "host/option_texts.h"
#include "host/review_report.h"

namespace {

struct CheckArguments {
    std::string file;
    bool strict = false;
};

void run_check(const CheckArguments& arguments) {
    const Diagram diagram = load_diagram(arguments.file);
    const std::vector<ReviewFinding> findings = review_model(diagram);
    print_findings(std::cout, diagram, findings, arguments.file, arguments.strict);
    if (arguments.strict && !findings.empty()) {
        std::cout.flush();
        throw std::runtime_error(strict_refusal(arguments.file, findings.size()));
    }
    if (findings.empty()) std::cout << arguments.file << ": no findings\n";
    else std::cout << arguments.file << ": " << findings.size() << (findings.size() == 1 ? " warning\n" : " warnings\n");
    std::cout.flush();
    if (!std::cout) throw std::runtime_error("cannot write to standard output");
}

}  // namespace

void register_check_command(CLI::App& app) {
    auto arguments = std::make_shared<CheckArguments>();
    CLI::App* command = app.add_subcommand(
        "check", "Review a diagram's model: keys, foreign keys, types, indexes and names (docs/check.md)");
    command->add_option("FILE", arguments->file, kDiagramFileHelp)->required();
    add_strict_flag(*command, arguments->strict);
    command->callback([arguments] { run_check(*arguments); });
}
