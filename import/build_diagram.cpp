#include "import/build_diagram.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <type_traits>
#include <unordered_map>
#include <unordered_set>

#include "diagram/diagram_checks.h"
#include "diagram/scene.h"
#include "diagram/scene_layout.h"
#include "import/field_types.h"
#include "platform/ascii_case.h"
#include "platform/utf8_cp1252.h"
#include "plugin/registros.h"

namespace {

// Editors of the maintenance forms, by field type: what a user would pick first.
constexpr std::int32_t kEdit = 1, kCheckBox = 2, kMemo = 3, kLookupComboBox = 5, kImage = 10;

std::int32_t editor_for(std::int32_t tipo) {
    switch (tipo) {
        case field_type::kBoolean: return kCheckBox;
        case field_type::kMemo:
        case field_type::kFmtMemo: return kMemo;
        case field_type::kGraphic: return kImage;
        default: return kEdit;
    }
}

bool unholdable_byte(unsigned char byte) {
    return byte < 0x20 || byte == 0x7F || byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
}

// `utf8` one character at a time: a character with a Windows-1252 byte that `keep` takes stays,
// any other (and every byte that is no UTF-8) becomes `stand_in`.
template <typename Keep>
std::string per_character_cp1252(const std::string& utf8, char stand_in, const Keep& keep) {
    std::string result;
    std::string_view rest = utf8;
    while (!rest.empty()) {
        std::size_t length = 0;
        decode_utf8(rest, length);
        if (length == 0) length = 1;
        try {
            const std::string byte = utf8_to_cp1252(rest.substr(0, length));
            result += byte.size() == 1 && keep(static_cast<unsigned char>(byte[0])) ? byte[0] : stand_in;
        } catch (const std::runtime_error&) {
            result += stand_in;
        }
        rest.remove_prefix(length);
    }
    return result;
}

std::string in_quotes(const std::string& utf8) { return "\"" + utf8 + "\""; }

bool same_without_case(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

class Builder {
public:
    Builder(const std::string& source, const ImportOptions& options, std::vector<std::string>& notes)
        : source_(source), options_(options), notes_(notes) {}

    // A name as the diagram holds it (Windows-1252, no control character, not empty), or an error that
    // names `where`; with --rename what cannot be held becomes '_'.
    template <typename Where>
    std::string name(const std::string& utf8, const Where& where) {
        std::string result;
        std::string problem;
        try {
            result = utf8_to_cp1252(utf8);
            for (char c : result)
                if (unholdable_byte(static_cast<unsigned char>(c))) {
                    char code[16];
                    std::snprintf(code, sizeof code, "0x%02X", static_cast<unsigned char>(c));
                    problem = std::string("holds the byte ") + code + ", which a diagram name cannot hold";
                    break;
                }
        } catch (const UnmappableCharacter& e) {
            problem = "holds " + describe_character(e) + ", which Windows-1252 has no byte for";
        } catch (const std::runtime_error&) {
            problem = "is not valid UTF-8";
        }
        if (result.empty() && problem.empty()) problem = "is empty";
        if (problem.empty()) return result;
        if (!options_.rename)
            throw ImportError(source_ + ": " + said(where) + ": the name " + problem + " (--rename replaces what it cannot hold)");
        result = replaced(utf8);
        if (result.empty()) result = "_";
        notes_.push_back(source_ + ": " + said(where) + ": renamed to " + in_quotes(cp1252_to_utf8(result)) + ": the name " + problem);
        return result;
    }

    // `wanted` made unique among `taken` by the identity `identity` gives; the second of two names
    // that collide is an error without --rename, else gets _2, _3, ...
    template <typename Where, typename Identity>
    std::string unique(std::string wanted, std::unordered_set<std::string>& taken, const Where& where,
                       const std::string& what, Identity identity) {
        if (taken.insert(identity(wanted)).second) return wanted;
        if (!options_.rename)
            throw ImportError(source_ + ": " + said(where) + ": " + what + " " + in_quotes(cp1252_to_utf8(wanted)) +
                              " is taken already (the generated code compares names without letter case and with "
                              "every character but letters and digits as '_'; --rename makes it unique)");
        for (int n = 2;; ++n) {
            std::string candidate = wanted + "_" + std::to_string(n);
            if (taken.insert(identity(candidate)).second) {
                notes_.push_back(source_ + ": " + said(where) + ": renamed to " + in_quotes(cp1252_to_utf8(candidate)) + ": " +
                                 what + " " + in_quotes(cp1252_to_utf8(wanted)) + " is taken already");
                return candidate;
            }
        }
    }

    void skip(std::string message) {
        if (options_.strict) throw ImportError(message + " (--strict)");
        notes_.push_back(std::move(message));
    }

    const std::string& source() const { return source_; }

private:
    // Where a message points: a text, or a callable that makes it, as most names need no message.
    template <typename Where>
    static std::string said(const Where& where) {
        if constexpr (std::is_invocable_v<Where>)
            return where();
        else
            return std::string(where);
    }

    static std::string replaced(const std::string& utf8) {
        return per_character_cp1252(utf8, '_', [](unsigned char byte) { return !unholdable_byte(byte); });
    }

    const std::string& source_;
    const ImportOptions& options_;
    std::vector<std::string>& notes_;
};

// One table on its way into an entity: the attribute records in list order (key first) by column name.
struct TableDraft {
    const SourceTable* table = nullptr;
    std::string tabela;  // Windows-1252
    std::vector<std::unique_ptr<TAtributo>> attributes;
    std::vector<const std::string*> names;  // the source name of each attribute
    std::vector<std::pair<std::string, std::unique_ptr<TChaveSecundaria>>> keys;
    std::size_t key_count = 0;

    // The attribute of a source column, the name as written or else without letter case (SQLite's rule).
    // A table has a few dozen columns and is asked a few times: a walk costs less than maps would.
    std::optional<std::size_t> column(const std::string& name) const {
        for (std::size_t i = 0; i < names.size(); ++i)
            if (*names[i] == name) return i;
        for (std::size_t i = 0; i < names.size(); ++i)
            if (same_without_case(*names[i], name)) return i;
        return std::nullopt;
    }
};

std::string where_table(const SourceTable& table) { return "table " + in_quotes(table.name); }

std::string single_line(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    return text;
}

// A comment as Windows-1252 text; a character it has no byte for becomes '?', since a comment is
// no name and need not round-trip.
std::string comment_text(const std::string& utf8) {
    try {
        return utf8_to_cp1252(utf8);
    } catch (const std::runtime_error&) {
        return per_character_cp1252(utf8, '?', [](unsigned char) { return true; });
    }
}

std::string cleaned_comment(std::string text) {
    text = comment_text(text);
    for (char& c : text)
        if (unholdable_byte(static_cast<unsigned char>(c)) && c != '\n') c = ' ';
    return text;
}

void draft_columns(Builder& b, TableDraft& draft) {
    const SourceTable& table = *draft.table;
    std::unordered_set<std::string> taken;
    taken.reserve(table.columns.size());  // no rehash while the columns go in
    std::vector<std::size_t> order;  // into table.columns: key columns in key order, then the others
    std::vector<bool> in_key(table.columns.size());
    for (const std::string& key : table.primary_key) {
        for (std::size_t i = 0; i < table.columns.size(); ++i)
            if (table.columns[i].name == key && !in_key[i]) {
                in_key[i] = true;
                order.push_back(i);
                break;
            }
    }
    draft.key_count = order.size();
    for (std::size_t i = 0; i < table.columns.size(); ++i)
        if (!in_key[i]) order.push_back(i);
    for (std::size_t i : order) {
        const SourceColumn& column = table.columns[i];
        const auto where = [&] { return where_table(table) + ", column " + in_quotes(column.name); };
        auto record = std::make_unique<TAtributo>();
        record->nome = b.unique(b.name(column.name, where), taken, where, "the column name", generated_name_identity);
        if (!column.comment.empty()) record->titulo = single_line(cleaned_comment(column.comment));
        record->tipo = column.tipo;
        record->tamanho = std::max(column.tamanho, 0);
        record->decimais = std::max(column.decimais, 0);
        record->componente = editor_for(column.tipo);
        record->chave = in_key[i] ? kChavePrimaria : 0;
        record->opcoes = column.nullable && !in_key[i] ? kOpcaoAceitaNulo : 0;
        draft.names.push_back(&column.name);
        draft.attributes.push_back(std::move(record));
    }
}

void draft_indexes(Builder& b, TableDraft& draft, std::unordered_set<std::string>& index_names) {
    const SourceTable& table = *draft.table;
    for (const SourceIndex& index : table.indexes) {
        const std::string where = where_table(table) + ", index " + in_quotes(index.name);
        std::string fields;
        bool complete = !index.columns.empty();
        for (const std::string& name : index.columns) {
            const std::optional<std::size_t> at = draft.column(name);
            if (!at) {
                complete = false;
                break;
            }
            if (!fields.empty()) fields += '+';
            fields += draft.attributes[*at]->nome.str();
        }
        if (!complete) {
            b.skip(b.source() + ": " + where + ": skipped: it indexes no column of the table by name (an expression?)");
            continue;
        }
        auto record = std::make_unique<TChaveSecundaria>();
        record->campos = fields;
        record->tipo_indice = (index.unique ? 0 : kIndiceDuplicados) | (index.case_sensitive ? kIndiceMaiusculas : 0) |
                              (index.descending ? kIndiceDescendente : 0);
        std::string name = b.unique(b.name(index.name, where), index_names, where, "the index name",
                                    [](const std::string& n) { return AsciiLowerCase(n); });
        draft.keys.emplace_back(std::move(name), std::move(record));
    }
}

// The relationship of one foreign key, or a reason why the model cannot hold it.
void relate(Builder& b, std::vector<TableDraft>& drafts, std::size_t child,
            const std::unordered_map<std::string, std::size_t>& tables,
            const std::unordered_map<std::string, std::size_t>& folded_tables, const SourceForeignKey& key,
            std::unordered_set<std::string>& relationship_names, Diagram& diagram) {
    TableDraft& end = drafts[child];
    std::string columns;
    for (const std::string& column : key.columns) columns += (columns.empty() ? "" : ", ") + column;
    const std::string where =
        where_table(*end.table) + ", foreign key " + (key.name.empty() ? "(" + columns + ")" : in_quotes(key.name));
    const auto refuse = [&](const std::string& why) { b.skip(b.source() + ": " + where + ": skipped: " + why); };
    std::size_t parent = 0;
    if (auto exact = tables.find(key.parent_table); exact != tables.end())
        parent = exact->second;
    else if (auto folded = folded_tables.find(AsciiLowerCase(key.parent_table)); folded != folded_tables.end())
        parent = folded->second;
    else
        return refuse("it refers to " + in_quotes(key.parent_table) + ", which is no imported table");
    TableDraft& start = drafts[parent];
    if (start.key_count == 0) return refuse("the table it refers to, " + in_quotes(key.parent_table) + ", has no primary key");
    if (key.columns.empty() || (!key.parent_columns.empty() && key.parent_columns.size() != key.columns.size()))
        return refuse("its columns and those it refers to do not pair up");
    // Child column of each parent key attribute, in the parent's key order.
    std::vector<std::size_t> child_of(start.key_count, SIZE_MAX);
    for (std::size_t i = 0; i < key.columns.size(); ++i) {
        std::size_t parent_attribute = i;
        if (!key.parent_columns.empty()) {
            const std::optional<std::size_t> at = start.column(key.parent_columns[i]);
            if (!at || *at >= start.key_count)
                return refuse("it refers to " + in_quotes(key.parent_columns[i]) + ", which is not in the primary key of " +
                              in_quotes(key.parent_table) + " (the model's foreign keys refer to keys)");
            parent_attribute = *at;
        }
        if (parent_attribute >= start.key_count || child_of[parent_attribute] != SIZE_MAX)
            return refuse("its columns do not match the primary key of " + in_quotes(key.parent_table));
        const std::optional<std::size_t> at = end.column(key.columns[i]);
        if (!at) return refuse("it names " + in_quotes(key.columns[i]) + ", which is no column of the table");
        child_of[parent_attribute] = *at;
    }
    if (std::find(child_of.begin(), child_of.end(), SIZE_MAX) != child_of.end())
        return refuse("it holds only part of the primary key of " + in_quotes(key.parent_table));
    for (std::size_t i = 0; i < child_of.size(); ++i) {
        if (!end.attributes[child_of[i]]->origem.empty())
            return refuse("its column " + in_quotes(cp1252_to_utf8(end.attributes[child_of[i]]->nome.str())) +
                          " belongs to another foreign key already (an attribute has one origin)");
        if (i > 0 && child_of[i] <= child_of[i - 1])
            return refuse("its columns stand in another order than the key of " + in_quotes(key.parent_table) +
                          " they refer to, which the model pairs in list order");
    }
    DiagramRelationship relationship;
    if (key.name.empty()) {
        // A name of our own (SQLite keeps none): parent_child, made unique without ado.
        const std::string wanted = b.name(start.table->name + "_" + end.table->name, where);
        relationship.name = wanted;
        for (int n = 2; !relationship_names.insert(relationship.name).second; ++n)
            relationship.name = wanted + "_" + std::to_string(n);
    } else {
        relationship.name = b.unique(b.name(key.name, where), relationship_names, where, "the relationship name",
                                     [](const std::string& n) { return n; });
    }
    relationship.from = parent;
    relationship.to = child;
    // Cardinality: one end row per start row when the foreign key is the end's key or a unique index;
    // optional when one of its columns takes null.
    std::vector<std::size_t> sorted = child_of;
    std::sort(sorted.begin(), sorted.end());
    bool unique = end.key_count == sorted.size() && sorted.back() < end.key_count;
    for (const SourceIndex& index : end.table->indexes) {
        if (!index.unique || index.columns.size() != sorted.size()) continue;
        std::vector<std::size_t> columns;
        for (const std::string& name : index.columns)
            if (const std::optional<std::size_t> at = end.column(name)) columns.push_back(*at);
        std::sort(columns.begin(), columns.end());
        unique = unique || columns == sorted;
    }
    bool optional = false, all_key = true;
    for (std::size_t at : child_of) {
        TAtributo& record = *end.attributes[at];
        optional = optional || (record.opcoes & kOpcaoAceitaNulo);
        all_key = all_key && (record.chave & kChavePrimaria);
        record.origem = relationship.name;
        record.chave |= kChaveEstrangeira;
        if (!(record.chave & kChavePrimaria)) record.componente = kLookupComboBox;
    }
    relationship.relacao = unique ? (optional ? trelacao::tr0x1 : trelacao::tr1x1) : (optional ? trelacao::tr0xn : trelacao::tr1xn);
    relationship.chave = all_key ? tchave::tckey : tchave::tcatrib;
    diagram.relationships.push_back(std::move(relationship));
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return lines;
}

}  // namespace

Diagram build_diagram(const SourceSchema& schema, const std::string& source, const ImportOptions& options,
                      std::vector<std::string>& notes) {
    Builder b(source, options, notes);
    for (const std::string& message : schema.skipped) b.skip(message);
    if (schema.tables.empty()) throw ImportError(source + ": holds no table that can be imported");

    Diagram diagram;
    std::vector<TableDraft> drafts(schema.tables.size());
    std::unordered_set<std::string> table_names, index_names, relationship_names;
    std::unordered_map<std::string, std::size_t> tables, folded_tables;
    // Sized once: a large schema otherwise rehashes each of them a dozen times.
    std::size_t index_count = 0, key_count = 0;
    for (const SourceTable& table : schema.tables) {
        index_count += table.indexes.size();
        key_count += table.foreign_keys.size();
    }
    table_names.reserve(schema.tables.size());
    index_names.reserve(index_count);
    relationship_names.reserve(key_count);
    tables.reserve(schema.tables.size());
    folded_tables.reserve(schema.tables.size());
    for (std::size_t t = 0; t < schema.tables.size(); ++t) {
        const SourceTable& table = schema.tables[t];
        TableDraft& draft = drafts[t];
        draft.table = &table;
        draft.tabela = b.unique(b.name(table.name, where_table(table)), table_names, where_table(table), "the table name",
                                generated_name_identity);
        tables.emplace(table.name, t);
        folded_tables.emplace(AsciiLowerCase(table.name), t);
        draft_columns(b, draft);
    }
    for (TableDraft& draft : drafts) draft_indexes(b, draft, index_names);
    for (std::size_t t = 0; t < drafts.size(); ++t)
        for (const SourceForeignKey& key : schema.tables[t].foreign_keys)
            relate(b, drafts, t, tables, folded_tables, key, relationship_names, diagram);

    diagram.entities.reserve(drafts.size());
    for (TableDraft& draft : drafts) {
        DiagramEntity result{std::make_unique<TEntidade>(), {}, std::nullopt, std::nullopt};
        TEntidade& entity = *result.entity;
        entity.SetEntidade(draft.tabela);
        entity.SetTabela(draft.tabela);
        entity.SetAlturaform(TEntidade::kAlturaformPadrao);
        entity.SetLarguraform(TEntidade::kLarguraformPadrao);
        entity.SetPrimaria(draft.table->primary_descending ? kPrimariaDescendente : 0);
        if (!draft.table->comment.empty()) {
            auto description = std::make_unique<StringList>();
            for (const std::string& line : lines_of(cleaned_comment(draft.table->comment))) description->Add(line.c_str());
            entity.SetDescricao(std::move(description));
        }
        StringList attribute_list;
        for (auto& record : draft.attributes) attribute_list.AddObject(record->nome, record.get());
        entity.SetAtributos(attribute_list);
        for (auto& record : draft.attributes) record.release();  // the entity owns them now
        StringList key_list;
        for (auto& [name, record] : draft.keys) key_list.AddObject(name, record.get());
        entity.SetChavesSecundarias(key_list);
        for (auto& entry : draft.keys) entry.second.release();
        diagram.entities.push_back(std::move(result));
    }
    check_diagram(diagram, source);
    return diagram;
}

void lay_out_imported(Diagram& diagram, LayoutEngine engine) {
    DiagramScene scene(diagram, {});
    LayoutOptions layout;
    layout.engine = engine;
    lay_out_scene(scene, diagram, layout);
    scene.zoom(diagram.escala);
    scene.store();
}
