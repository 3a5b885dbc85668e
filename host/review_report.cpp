#include "host/review_report.h"

#include <iostream>
#include <stdexcept>

void print_findings(std::ostream& out, const Diagram& diagram, const std::vector<ReviewFinding>& findings,
                    const std::string& file, bool strict) {
    const char* severity = strict ? "kzr40: error: " : "kzr40: warning: ";
    for (const ReviewFinding& finding : findings) out << severity << describe_finding(diagram, finding, file) << "\n";
}

std::string strict_refusal(const std::string& file, std::size_t findings) {
    return file + ": " + std::to_string(findings) + (findings == 1 ? " finding" : " findings") +
           ", which --strict makes errors";
}

void report_review(const Diagram& diagram, const std::string& file, bool strict, const ReviewOptions& options) {
    const std::vector<ReviewFinding> findings = review_model(diagram, options);
    print_findings(std::cerr, diagram, findings, file, strict);
    if (strict && !findings.empty()) throw std::runtime_error(strict_refusal(file, findings.size()) + "; nothing was written");
}

void add_strict_flag(CLI::App& command, bool& strict, const char* help) { command.add_flag("--strict", strict, help); }
