#pragma once

#include <cstddef>
#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "diagram/diagram.h"
#include "diagram/model_keys.h"

// The review of a loaded diagram as a reviewer of its schema would do it: what loads but gives a
// script, a unit or a foreign key that is wrong or surprising (docs/check.md lists every rule). Each
// finding names the item it is about, so that a command can print it and the editor or an importer can
// point at it.

inline constexpr std::size_t kNoItem = std::numeric_limits<std::size_t>::max();

struct ReviewFinding {
    std::string_view rule;              // the rule's name in docs/check.md, e.g. "no-key"
    std::size_t entity = kNoItem;       // index into Diagram::entities
    int attribute = -1;                 // index into the entity's atributos()
    int secondary_key = -1;             // index into the entity's ChavesSecundarias()
    std::size_t relationship = kNoItem;  // index into Diagram::relationships
    std::string problem;                // UTF-8: what is wrong and what to do
};

struct ReviewOptions {
    // Whether a table or column name, as the database sees it (sanitised), is a reserved word of the
    // database the scripts are meant for; none: reserved words are not looked at.
    std::function<bool(std::string_view identifier)> reserved_word;
    std::string dialect;  // that database's name in messages ("PostgreSQL")
};

// The findings in diagram order: each entity with its attributes and secondary keys, then the
// relationships.
std::vector<ReviewFinding> review_model(const Diagram& diagram, const ModelKeys& keys, const ReviewOptions& options = {});
std::vector<ReviewFinding> review_model(const Diagram& diagram, const ReviewOptions& options = {});

// `source: entity "Pedido" (#3), attribute "TOTAL" (#4): PROBLEM`, the form of the loader's errors.
std::string describe_finding(const Diagram& diagram, const ReviewFinding& finding, const std::string& source);
