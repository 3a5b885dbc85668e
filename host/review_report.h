#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "diagram/model_review.h"

// The review of a diagram (diagram/model_review.h) as the commands print it.

// One line per finding, "kzr40: warning: FILE: entity ...: problem", or "kzr40: error: ..." when
// `strict` makes findings errors.
void print_findings(std::ostream& out, const Diagram& diagram, const std::vector<ReviewFinding>& findings,
                    const std::string& file, bool strict);

// "FILE: 2 findings, which --strict makes errors": what a command ends with when --strict refuses.
std::string strict_refusal(const std::string& file, std::size_t findings);

// For the commands that generate: prints the findings on standard error and goes on; with `strict`
// and any finding, throws std::runtime_error before anything is written.
void report_review(const Diagram& diagram, const std::string& file, bool strict, const ReviewOptions& options = {});

// The --strict flag of those commands (with its help for them) and of `check`.
inline constexpr const char* kStrictHelp =
    "Treat the findings of 'kzr40 check' as errors: report them and end with status 1, writing nothing";
void add_strict_flag(CLI::App& command, bool& strict, const char* help = kStrictHelp);
