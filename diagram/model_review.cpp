#include "diagram/model_review.h"

#include <algorithm>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

#include "diagram/diagram_checks.h"
#include "diagram/json_objects.h"
#include "diagram/stored_diagram.h"
#include "platform/ascii_case.h"
#include "platform/identifier.h"
#include "platform/utf8_cp1252.h"
#include "plugin/catalogo.h"
#include "plugin/entity_view.h"
#include "plugin/nomes.h"
#include "plugin/registros.h"

namespace {

// Field types by catalogue index.
constexpr std::int32_t kTipoDesconhecido = 0;
constexpr std::int32_t kTipoString = 1;
constexpr std::int32_t kTipoInteger = 3;
constexpr std::int32_t kTipoFloat = 6;
constexpr std::int32_t kTipoBCD = 8;
constexpr std::int32_t kTipoBytes = 12;
constexpr std::int32_t kTipoVarBytes = 13;
constexpr std::int32_t kTipoAutoInc = 14;

// The types whose size is part of the column itself. The large objects (Blob, Memo, ...) also take
// one, but there it is only the part kept in the record, and 0 is a sound choice.
bool needs_size(std::int32_t tipo) {
    return tipo == kTipoString || tipo == kTipoFloat || tipo == kTipoBCD || tipo == kTipoBytes || tipo == kTipoVarBytes;
}
bool takes_decimals(std::int32_t tipo) { return tipo == kTipoFloat || tipo == kTipoBCD; }

// A name as a message shows it: UTF-8, control characters escaped, in quotes.
std::string shown(std::string_view cp1252) { return diagram_json::printable(cp1252_to_utf8(cp1252)); }
std::string in_quotes(std::string_view cp1252) { return "\"" + shown(cp1252) + "\""; }

// The ASCII letter a Windows-1252 letter outside ASCII is written as without its accent; 0 for a byte
// that is no such letter.
char plain_letter(unsigned char byte) {
    static constexpr std::string_view kFrom0xC0 = "AAAAAAACEEEEIIIIDNOOOOO_OUUUUYTsaaaaaaaceeeeiiiidnooooo_ouuuuyty";
    if (byte >= 0xC0) return kFrom0xC0[byte - 0xC0] == '_' ? 0 : kFrom0xC0[byte - 0xC0];
    switch (byte) {
        case 0x8A: return 'S';
        case 0x8C: return 'O';
        case 0x8E: return 'Z';
        case 0x9A: return 's';
        case 0x9C: return 'o';
        case 0x9E: return 'z';
        case 0x9F: return 'Y';
        default: return 0;
    }
}
bool has_plain_letter(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return plain_letter(static_cast<unsigned char>(c)) != 0; });
}
// What a name could be so that nothing of it is lost: accents dropped, the rest sanitised.
std::string plain_name(std::string_view text) {
    std::string name;
    for (char c : text)
        if (const char plain = plain_letter(static_cast<unsigned char>(c))) name += plain;
        else name += c;
    limpa_identificador(0, name);
    return name;
}

const TAtributo* record_of(const TEntidade& entity, int index) {
    return static_cast<const TAtributo*>(entity.atributos().Objects(index));
}

std::string type_shown(const TAtributo& a) { return tipo_programa(a); }

// "CODIGO, NOME" from attribute indices.
std::string attribute_names(const TEntidade& entity, const std::vector<int>& indices) {
    std::string text;
    for (int i : indices) {
        if (!text.empty()) text += ", ";
        const TAtributo* a = record_of(entity, i);
        text += a ? shown(a->nome.view()) : "#" + std::to_string(i + 1);
    }
    return text;
}

std::string entity_named(const Diagram& diagram, std::size_t e) {
    return "entity " + in_quotes(diagram.entities[e].entity->entidade().view()) + " (#" + std::to_string(e + 1) + ")";
}
std::string relationship_named(const Diagram& diagram, std::size_t r) {
    return "relationship " + in_quotes(diagram.relationships[r].name) + " (#" + std::to_string(r + 1) + ")";
}

class Review {
public:
    Review(const Diagram& diagram, const ModelKeys& keys, const ReviewOptions& options)
        : diagram_(diagram), keys_(keys), options_(options) {
        relationship_by_name_.reserve(diagram.relationships.size());
        relationship_by_ident_.reserve(diagram.relationships.size());
        first_of_ident_.reserve(diagram.relationships.size());
        for (std::size_t r = 0; r < diagram.relationships.size(); ++r) {
            relationship_by_name_.try_emplace(diagram.relationships[r].name, r);
            first_of_ident_.push_back(relationship_by_ident_.try_emplace(IdentKey(diagram.relationships[r].name), r).first->second);
        }
    }

    std::vector<ReviewFinding> run() {
        std::unordered_map<std::string_view, std::size_t> entity_by_name;
        entity_by_name.reserve(diagram_.entities.size());
        EntityView view;
        for (std::size_t e = 0; e < diagram_.entities.size(); ++e) {
            const TEntidade& entity = *diagram_.entities[e].entity;
            const auto [first, added] = entity_by_name.try_emplace(entity.entidade().view(), e);
            if (!added)
                add("duplicate-entity-name", e, -1, -1,
                    "has the name of " + entity_named(diagram_, first->second) +
                        ": a relationship that names its entities by name means the first; give each entity its own name");
            view.read(entity, 0);
            review_entity(e, view);
        }
        for (const StrayOrigin& stray : keys_.stray_origins) review_stray_origin(stray);
        for (std::size_t r = 0; r < diagram_.relationships.size(); ++r) review_relationship(r);
        std::stable_sort(findings_.begin(), findings_.end(), [](const ReviewFinding& a, const ReviewFinding& b) {
            return order(a) < order(b);
        });
        return std::move(findings_);
    }

private:
    // Diagram order: the entities, each itself first, then its attributes and its secondary keys; then
    // the relationships.
    static std::tuple<int, std::size_t, int, int> order(const ReviewFinding& f) {
        if (f.relationship != kNoItem) return {1, f.relationship, 0, 0};
        if (f.attribute >= 0) return {0, f.entity, 1, f.attribute};
        if (f.secondary_key >= 0) return {0, f.entity, 2, f.secondary_key};
        return {0, f.entity, 0, 0};
    }

    void add(std::string_view rule, std::size_t entity, int attribute, int key, std::string problem) {
        findings_.push_back({rule, entity, attribute, key, kNoItem, std::move(problem)});
    }
    void add_relationship(std::string_view rule, std::size_t r, std::string problem) {
        findings_.push_back({rule, kNoItem, -1, -1, r, std::move(problem)});
    }

    bool reserved(std::string_view identifier) const {
        return options_.reserved_word && !identifier.empty() && options_.reserved_word(identifier);
    }
    std::string reserved_problem(std::string_view key, std::string_view what, std::string_view identifier) const {
        return "\"" + std::string(key) + "\" gives the " + std::string(what) + " " + std::string(identifier) +
               ", a reserved word in " + options_.dialect + ": rename it, or every statement must quote it";
    }
    static std::string lost_letters_problem(std::string_view key, std::string_view name, std::string_view what) {
        std::string sanitised(name);
        limpa_identificador(0, sanitised);
        return "\"" + std::string(key) + "\" " + in_quotes(name) + " gives the " + std::string(what) + " " + sanitised +
               ": letters outside ASCII become _ in the generated code and scripts; write it as " + plain_name(name) +
               " to keep it readable";
    }

    void review_entity(std::size_t e, const EntityView& view) {
        const TEntidade& entity = view.entity();
        if (keys_.primary_keys[e].empty())
            add("no-key", e, -1, -1,
                "has no key attribute: its table's primary key is empty (the script says PRIMARY KEY (  )) and no "
                "relationship can refer to it; mark the attributes that tell its rows apart with \"key\": true");
        const std::string_view table = entity.tabela().view();
        if (table.empty())
            add("no-table-name", e, -1, -1,
                "has no table name: the table is named by its file extension alone; give \"tabela\" a name");
        if (has_plain_letter(table)) add("lost-letters", e, -1, -1, lost_letters_problem("tabela", table, "table"));
        if (reserved(view.table())) add("reserved-word", e, -1, -1, reserved_problem("tabela", "table", view.table()));

        for (const ColumnView& column : view.columns()) review_attribute(e, column);
        review_secondary_keys(e, view);
    }

    void review_attribute(std::size_t e, const ColumnView& column) {
        const TAtributo& a = *column.record;
        const int i = column.entry;
        if (a.tipo == kTipoDesconhecido)
            add("no-type", e, i, -1,
                "has the field type Desconhecido: the scripts give it the type Unknow, which no database knows; "
                "choose its \"tipo\"");
        if (needs_size(a.tipo) && a.tamanho == 0)
            add("no-size", e, i, -1,
                "is " + nome_tipo(a.tipo) + ", which takes a size, and \"tamanho\" is 0: the script says " +
                    tipo_clausula_sql(a) + "; give its \"tamanho\"");
        if (takes_decimals(a.tipo) && a.tamanho > 0 && a.decimais > a.tamanho)
            add("decimals-exceed-size", e, i, -1,
                "has more decimals than digits (" + tipo_clausula_sql(a) +
                    "), which no database takes: \"decimais\" must not exceed \"tamanho\"");
        if (column.key && column.nullable)
            add("nullable-key", e, i, -1,
                "is part of the primary key and \"nullable\": no database takes null in a primary key; drop \"nullable\"");
        if (has_plain_letter(a.nome.view())) add("lost-letters", e, i, -1, lost_letters_problem("nome", a.nome.view(), "column"));
        if (reserved(column.name)) add("reserved-word", e, i, -1, reserved_problem("nome", "column", column.name));
        if ((a.chave & kChaveEstrangeira) != 0 && a.origem.empty())
            add("foreign-key-without-origem", e, i, -1,
                "is marked \"foreign_key\", but \"origem\" names no relationship, so it belongs to no foreign key: set "
                "\"origem\" to the name of the relationship that brings it, or drop \"foreign_key\"");
    }

    static constexpr std::size_t kColumnsWorthHashing = 64;

    void review_secondary_keys(std::size_t e, const EntityView& view) {
        const TEntidade& entity = view.entity();
        if (view.secondary_keys().empty()) return;
        // Most entities have a few dozen columns, looked through faster than hashed.
        std::unordered_set<std::string> many_columns;
        if (view.columns().size() > kColumnsWorthHashing)
            for (const ColumnView& column : view.columns()) many_columns.insert(AsciiUpperCase(column.name));
        const auto is_column = [&](std::string_view field) {
            if (view.columns().size() > kColumnsWorthHashing) return many_columns.contains(AsciiUpperCase(field));
            return std::any_of(view.columns().begin(), view.columns().end(),
                               [&](const ColumnView& column) { return SameIgnoringAsciiCase(column.name, field); });
        };
        const StringList& list = entity.ChavesSecundarias();
        int k = -1;
        for (const SecondaryKeyView& key : view.secondary_keys()) {
            // The view holds the entries with a record, in list order.
            while (++k < list.Count() && list.Objects(k) != key.record) {
            }
            const auto [first, added] = index_names_.try_emplace(AsciiUpperCase(key.name), std::pair{e, k});
            if (!added) {
                const auto [other_entity, other_key] = first->second;
                add_key("duplicate-index-name", e, k,
                        "has the name of secondary key " +
                            in_quotes(diagram_.entities[other_entity].entity->ChavesSecundarias().Get(other_key)) + " of " +
                            entity_named(diagram_, other_entity) +
                            " (letter case ignored): an index name serves one index of a table, and in SQLite and "
                            "PostgreSQL one of the whole database; rename one");
            }
            if (key.options.expression) continue;
            const std::string_view fields = key.fields;
            for (std::size_t start = 0; start <= fields.size();) {
                const std::size_t plus = std::min(fields.find('+', start), fields.size());
                const std::string_view field = fields.substr(start, plus - start);
                if (field.empty())
                    add_key("index-unknown-field", e, k, "\"campos\" " + in_quotes(key.record->campos.view()) +
                                      " holds an empty field name (a + at an end or two together); name each field once");
                else if (!is_column(field))
                    add_key("index-unknown-field", e, k, "\"campos\" names " + shown(field) +
                                      ", which is no column of the entity: name one of its attributes, or mark the key "
                                      "\"expression\" if it is one");
                start = plus + 1;
            }
        }
    }
    void add_key(std::string_view rule, std::size_t e, int k, std::string problem) {
        findings_.push_back({rule, e, -1, k, kNoItem, std::move(problem)});
    }

    void review_stray_origin(const StrayOrigin& stray) {
        const TEntidade& entity = *diagram_.entities[stray.entity].entity;
        const std::string& origem = record_of(entity, stray.attribute)->origem.str();
        std::string problem = "\"origem\" " + in_quotes(origem);
        if (const auto exact = relationship_by_name_.find(origem); exact != relationship_by_name_.end()) {
            const DiagramRelationship& r = diagram_.relationships[exact->second];
            problem += " names " + relationship_named(diagram_, exact->second) + ", which ends at " +
                       entity_named(diagram_, r.to) +
                       ": a relationship's foreign key lives in its end entity; move the attribute there, or correct "
                       "\"origem\"";
        } else if (const auto like = relationship_by_ident_.find(IdentKey(origem)); like != relationship_by_ident_.end()) {
            problem += " names no relationship; " + relationship_named(diagram_, like->second) +
                       " differs only in letter case, which counts here: write \"origem\" as the relationship's name";
        } else {
            problem += " names no relationship of the diagram, so the attribute belongs to no foreign key: add the "
                       "relationship, or clear \"origem\"";
        }
        add("unknown-origem", stray.entity, stray.attribute, -1, std::move(problem));
    }

    void review_relationship(std::size_t r) {
        const DiagramRelationship& rel = diagram_.relationships[r];
        if (const std::size_t first = first_of_ident_[r]; first != r) {
            const bool same = diagram_.relationships[first].name == rel.name;
            add_relationship(
                "duplicate-relationship", r,
                (same ? "has the name of " : "differs only in letter case from ") + relationship_named(diagram_, first) +
                    (same ? ": the \"origem\" of their foreign-key attributes cannot tell them apart"
                          : ": a stored diagram and the editor tell relationships apart ignoring case") +
                    "; rename one, and the \"origem\" of its attributes with it");
        }
        if (SameIdent(rel.name, kStoredDiagramRootName)) {
            add_relationship("unstorable-name", r,
                             "has the name of a stored diagram's root: kzr40 store refuses it; rename it (" + rel.name +
                                 "1, say) and the \"origem\" of its attributes with it");
        } else if (!IsValidIdent(rel.name) || rel.name.size() > 255) {
            std::string suggestion = plain_name(rel.name.substr(0, 255));
            if (suggestion.empty() || (suggestion[0] >= '0' && suggestion[0] <= '9')) suggestion.insert(0, "_");
            add_relationship("unstorable-name", r,
                             "is not an identifier (a letter or _, then letters, digits and _, at most 255): a stored "
                             "diagram cannot hold it, and the editor names the line otherwise, so deleting the line "
                             "would leave its foreign-key attributes behind; rename it (" +
                                 suggestion + ", say) and the \"origem\" of its attributes with it");
        }
        review_foreign_key(keys_.foreign_keys[r]);
    }

    void review_foreign_key(const ModelForeignKey& fk) {
        const std::size_t r = fk.relationship;
        const DiagramRelationship& rel = diagram_.relationships[r];
        const TEntidade& parent = *diagram_.entities[fk.parent].entity;
        const TEntidade& child = *diagram_.entities[fk.child].entity;
        const std::vector<int>& key = keys_.primary_keys[fk.parent];
        const auto origem = [&] { return "\"origem\": " + in_quotes(rel.name); };
        if (key.empty()) {
            add_relationship("no-foreign-key", r,
                             "starts at " + entity_named(diagram_, fk.parent) +
                                 ", which has no key: its foreign key has nothing to refer to; give that entity a key");
            return;
        }
        if (fk.columns.empty()) {
            add_relationship("no-foreign-key", r,
                             "ends at " + entity_named(diagram_, fk.child) +
                                 ", which holds none of its foreign-key attributes: add there, with " + origem() +
                                 ", an attribute for each key attribute of " + entity_named(diagram_, fk.parent) + " (" +
                                 attribute_names(parent, key) + ")");
            return;
        }
        if (!fk.unmatched_parent.empty() || !fk.surplus_child.empty()) {
            std::vector<int> held;
            for (const ForeignKeyColumn& c : fk.columns) held.push_back(c.child_attribute);
            held.insert(held.end(), fk.surplus_child.begin(), fk.surplus_child.end());
            std::sort(held.begin(), held.end());
            std::string problem = "has " + std::to_string(held.size()) + " foreign-key attribute" +
                                  (held.size() == 1 ? "" : "s") + " in " + entity_named(diagram_, fk.child) + " (" +
                                  attribute_names(child, held) + ") for a key of " + std::to_string(key.size()) + " in " +
                                  entity_named(diagram_, fk.parent) + " (" + attribute_names(parent, key) + "): ";
            problem += fk.unmatched_parent.empty()
                           ? "remove " + attribute_names(child, fk.surplus_child) + " or correct its \"origem\""
                           : "add an attribute with " + origem() + " for " + attribute_names(parent, fk.unmatched_parent);
            add_relationship("foreign-key-count", r, std::move(problem));
        }
        for (std::size_t n = 0; n < fk.columns.size(); ++n) {
            const TAtributo& k = *record_of(parent, fk.columns[n].parent_attribute);
            const TAtributo& a = *record_of(child, fk.columns[n].child_attribute);
            const bool same_type = a.tipo == k.tipo || (k.tipo == kTipoAutoInc && a.tipo == kTipoInteger);
            const TypeDescriptor* type = type_descriptor(a.tipo);
            const bool same_size = !same_type || k.tipo != a.tipo || !type ||
                                   ((!type->sql.sized || a.tamanho == k.tamanho) &&
                                    (!type->sql.decimals || a.decimais == k.decimais));
            if (same_type && same_size) continue;
            add_relationship("foreign-key-type", r,
                             "brings attribute " + in_quotes(a.nome.view()) + " of " + entity_named(diagram_, fk.child) +
                                 ", which is " + type_shown(a) + ", for key attribute " + in_quotes(k.nome.view()) + " of " +
                                 entity_named(diagram_, fk.parent) + ", which is " + type_shown(k) +
                                 ": give it the key attribute's " + (same_type ? "size" : "type and size"));
        }
    }

    const Diagram& diagram_;
    const ModelKeys& keys_;
    const ReviewOptions& options_;
    std::unordered_map<std::string_view, std::size_t> relationship_by_name_;   // the first of each name
    std::unordered_map<std::string, std::size_t> relationship_by_ident_;       // letter case ignored
    std::vector<std::size_t> first_of_ident_;  // per relationship, the first one of its name, case ignored
    std::unordered_map<std::string, std::pair<std::size_t, int>> index_names_;  // upper case -> first entity, key
    std::vector<ReviewFinding> findings_;
};

}  // namespace

std::vector<ReviewFinding> review_model(const Diagram& diagram, const ModelKeys& keys, const ReviewOptions& options) {
    return Review(diagram, keys, options).run();
}

std::vector<ReviewFinding> review_model(const Diagram& diagram, const ReviewOptions& options) {
    return review_model(diagram, model_keys(diagram), options);
}

std::string describe_finding(const Diagram& diagram, const ReviewFinding& finding, const std::string& source) {
    std::string text = source;
    if (finding.relationship != kNoItem) {
        text += ": " + relationship_named(diagram, finding.relationship);
    } else if (finding.entity != kNoItem) {
        const TEntidade& entity = *diagram.entities[finding.entity].entity;
        text += ": " + entity_named(diagram, finding.entity);
        if (finding.attribute >= 0)
            text += ", attribute " + in_quotes(entity.atributos().Get(finding.attribute)) + " (#" +
                    std::to_string(finding.attribute + 1) + ")";
        if (finding.secondary_key >= 0)
            text += ", secondary key " + in_quotes(entity.ChavesSecundarias().Get(finding.secondary_key)) + " (#" +
                    std::to_string(finding.secondary_key + 1) + ")";
    }
    return text + ": " + finding.problem;
}
