#include "dialects/schema_plan.h"

#include <algorithm>
#include <optional>
#include <span>
#include <stdexcept>

#include "diagram/diagram.h"
#include "diagram/model_keys.h"
#include "dialects/column_types.h"
#include "dialects/quoting.h"
#include "dialects/script_text.h"
#include "dialects/table_order.h"
#include "dialects/table_statements.h"
#include "platform/ascii_case.h"
#include "platform/utf8_cp1252.h"
#include "plugin/entidade.h"
#include "plugin/entity_view.h"
#include "plugin/registros.h"

namespace {

// MySQL refuses longer comments in its strict mode and cuts them short in the other.
constexpr std::size_t kMysqlMaxTableComment = 2048;
constexpr std::size_t kMysqlMaxColumnComment = 1024;

std::string in_quotes(std::string_view cp1252) { return "\"" + cp1252_to_utf8(cp1252) + "\""; }

// Names by their identifier_hash, each with a value: open addressing over one array, since a large
// diagram looks up tens of thousands of names and a node per name costs a cache miss each.
template <class Value>
class NameTable {
public:
    void reserve(std::size_t names) {
        std::size_t size = 16;
        while (size < names * 2) size *= 2;
        slots_.assign(size, Slot{});
    }
    // The value of the first name with the hash, or null.
    const Value* find(std::uint64_t hash) const {
        if (slots_.empty()) return nullptr;
        for (std::size_t at = hash & (slots_.size() - 1);; at = (at + 1) & (slots_.size() - 1)) {
            if (!slots_[at].used) return nullptr;
            if (slots_[at].hash == hash) return &slots_[at].value;
        }
    }
    // Adds the name unless one with the hash is there; the value held for the hash.
    const Value& insert(std::uint64_t hash, Value value) {
        if ((count_ + 1) * 2 > slots_.size()) grow();
        for (std::size_t at = hash & (slots_.size() - 1);; at = (at + 1) & (slots_.size() - 1)) {
            Slot& slot = slots_[at];
            if (slot.used && slot.hash == hash) return slot.value;
            if (slot.used) continue;
            slot = Slot{hash, std::move(value), true};
            ++count_;
            return slot.value;
        }
    }

private:
    struct Slot {
        std::uint64_t hash = 0;
        Value value{};
        bool used = false;
    };
    void grow() {
        std::vector<Slot> old = std::move(slots_);
        reserve(std::max<std::size_t>(16, old.size()));
        count_ = 0;
        for (Slot& slot : old)
            if (slot.used) insert(slot.hash, std::move(slot.value));
    }
    std::vector<Slot> slots_;
    std::size_t count_ = 0;
};

// The column names of the table being planned, by identifier_hash, to find two that the dialect takes
// for one: open addressing over a few slots, which a new table takes over by a new generation instead
// of clearing them.
class ColumnNames {
public:
    void start_table(std::size_t columns) {
        std::size_t size = 16;
        while (size < columns * 2) size *= 2;
        if (size > slots_.size()) slots_.assign(size, Slot{});
        ++generation_;
        twice_.reset();
    }
    // Column `c`, whose name has `hash`; `same(earlier)` says whether an earlier column with the same
    // hash has the same name.
    template <class Same>
    void add(std::uint64_t hash, std::size_t c, const Same& same) {
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
            Slot& slot = slots_[at];
            if (slot.generation != generation_) {
                slot = Slot{hash, c, generation_};
                return;
            }
            if (slot.hash == hash && same(slot.column)) {
                // The first column whose name an earlier one has is told, with that earlier one.
                if (!twice_) twice_ = std::pair{slot.column, c};
                return;
            }
        }
    }
    // The first column, in column order, whose name an earlier column has, and that column; if any.
    const std::optional<std::pair<std::size_t, std::size_t>>& first_twice() const { return twice_; }

private:
    struct Slot {
        std::uint64_t hash = 0;
        std::size_t column = 0;
        std::uint64_t generation = 0;
    };
    std::vector<Slot> slots_;
    std::uint64_t generation_ = 0;
    std::optional<std::pair<std::size_t, std::size_t>> twice_;
};

class Planner {
public:
    Planner(const Diagram& diagram, Dialect dialect, const std::string& source)
        : diagram_(diagram), source_(source) {
        plan_.dialect = dialect;
    }

    SchemaPlan run(const ModelKeys& keys) {
        reserve(keys);
        for (std::size_t e = 0; e < diagram_.entities.size(); ++e) plan_table(e, keys);
        for (const PlannedTable& table : plan_.tables)
            for (const PlannedIndex& index : table.indexes) claim_index_name(table, index.name);
        plan_foreign_keys(keys);
        if (storage() != reserved_)
            throw std::logic_error("the schema plan outgrew the storage reserved for it, to which its spans refer");
        order();
        plan_.text = std::move(text_).take();
        return std::move(plan_);
    }

private:
    Dialect dialect() const { return plan_.dialect; }

    // Room for all the plan holds, taken once: the spans of the plan refer into its arrays, which
    // therefore never grow past what is reserved here.
    void reserve(const ModelKeys& keys) {
        const std::size_t entities = diagram_.entities.size();
        std::size_t attributes = 0, indexes = 0, positions = 0;
        for (std::size_t e = 0; e < entities; ++e) {
            const TEntidade& entity = *diagram_.entities[e].entity;
            attributes += static_cast<std::size_t>(entity.atributos().Count());
            positions += keys.primary_keys[e].size();
            const StringList& secondary = entity.ChavesSecundarias();
            indexes += static_cast<std::size_t>(secondary.Count());
            for (int k = 0; k < secondary.Count(); ++k)
                if (const auto* key = static_cast<const TChaveSecundaria*>(secondary.Objects(k))) {
                    const std::string_view fields = key->campos.view();
                    positions += 1 + static_cast<std::size_t>(std::count(fields.begin(), fields.end(), '+'));
                }
        }
        for (const ModelForeignKey& key : keys.foreign_keys) positions += 2 * key.columns.size();
        plan_.tables.reserve(entities);
        plan_.columns.reserve(attributes);
        plan_.indexes.reserve(indexes);
        plan_.positions.reserve(positions);
        plan_.foreign_keys.reserve(keys.foreign_keys.size());
        reserved_ = storage();
        table_names_.reserve(entities);
        index_names_.reserve(indexes + diagram_.relationships.size());
        // The statements take some forty bytes a column and a few hundred a table.
        text_.reserve(attributes * 48 + entities * 256);
    }

    // Where the arrays that spans and claimed names refer into stand: as reserved, unless a count of
    // reserve() fell short.
    struct Storage {
        const void* columns;
        const void* indexes;
        const void* positions;
        const void* foreign_keys;
        bool operator==(const Storage&) const = default;
    };
    Storage storage() const {
        return {plan_.columns.data(), plan_.indexes.data(), plan_.positions.data(), plan_.foreign_keys.data()};
    }

    std::string entity_place(std::size_t e) const {
        return source_ + ": entity " + in_quotes(diagram_.entities[e].entity->entidade().view()) + " (#" + std::to_string(e + 1) + ")";
    }
    std::string attribute_place(std::size_t e, const TAtributo& attribute, int entry) const {
        return entity_place(e) + ", attribute " + in_quotes(attribute.nome.view()) + " (#" + std::to_string(entry + 1) + ")";
    }
    std::string index_place(const PlannedTable& table, std::string_view name, std::size_t k) const {
        return entity_place(table.entity) + ", secondary key " + in_quotes(name) + " (#" + std::to_string(k + 1) + ")";
    }
    [[noreturn]] void refuse(const std::string& place, const std::string& problem) const {
        throw DialectError(place + ": " + problem);
    }
    // `place` makes the message's place only when there is something to say (most names are fine).
    template <class Place>
    void check_name(const Place& place, const char* what, std::string_view name) const {
        if (identifier_fine_at_a_glance(dialect(), name)) return;
        if (const auto problem = identifier_problem(dialect(), name))
            refuse(place(), std::string("the ") + what + " name " + problem->c_str() + " (" + std::string(dialect_title(dialect())) + ")");
    }
    template <class Place>
    std::string comment(const Place& place, std::string_view text, std::size_t mysql_limit) {
        if (dialect() == Dialect::mysql && text.size() > mysql_limit) {
            plan_.warnings.push_back(place() + ": the description is cut to the " + std::to_string(mysql_limit) +
                                     " characters MySQL keeps");
            text = text.substr(0, mysql_limit);
        }
        std::string utf8;
        append_utf8(utf8, text);
        for (char& c : utf8)
            if (static_cast<unsigned char>(c) < 0x20 && c != '\n') c = ' ';
        return utf8;
    }

    // The column of an entity's attribute (an index into its atributos()). The columns stand in list
    // order, one per entry with a record: the column is the entry's, or one of the few before it.
    std::size_t column_of_attribute(std::size_t e, int attribute) const {
        const std::span<const PlannedColumn> columns = plan_.tables[e].columns;
        const auto at = static_cast<std::size_t>(attribute);
        if (at < columns.size() && columns[at].entry == attribute) return at;
        const auto before = std::partition_point(columns.begin(), columns.end(),
                                                 [attribute](const PlannedColumn& c) { return c.entry < attribute; });
        if (before != columns.end() && before->entry == attribute) return static_cast<std::size_t>(before - columns.begin());
        throw DialectError(entity_place(e) + ": attribute #" + std::to_string(attribute + 1) + " has no record");
    }

    void plan_table(std::size_t e, const ModelKeys& keys) {
        const TEntidade& entity = *diagram_.entities[e].entity;
        PlannedTable& table = plan_.tables.emplace_back();
        table.entity = e;
        table.name = entity.tabela().view();
        table.name_form = identifier_form(dialect(), table.name);
        const auto at_entity = [this, e] { return entity_place(e); };
        check_name(at_entity, "table", table.name);
        const std::size_t other = table_names_.insert(identifier_hash(dialect(), NameKind::table, table.name), e);
        if (other != e && same_name(NameKind::table, plan_.tables[other].name, table.name))
            refuse(entity_place(e), "its table " + in_quotes(table.name) + " is also the table of entity " +
                                        in_quotes(diagram_.entities[other].entity->entidade().view()) + " (#" +
                                        std::to_string(other + 1) + ")");
        if (entity.descricao().Count() > 0) {
            std::string description;
            for (int i = 0; i < entity.descricao().Count(); ++i) {
                if (i) description += '\n';
                description += entity.descricao().Get(i);
            }
            table.comment = comment(at_entity, description, kMysqlMaxTableComment);
        }

        // One column per entry with a record, in list order, as the generators' entity view has them.
        const std::size_t first_column = plan_.columns.size();
        const StringList& attributes = entity.atributos();
        column_names_.start_table(static_cast<std::size_t>(attributes.Count()));
        for (int i = 0; i < attributes.Count(); ++i) {
            const auto* record = static_cast<const TAtributo*>(attributes.Objects(i));
            if (!record) continue;
            const TAtributo& a = *record;
            const auto at_attribute = [this, e, &a, i] { return attribute_place(e, a, i); };
            if (!column_accepted(0, a)) refuse(at_attribute(), "its type is not in the field-type catalogue");
            check_name(at_attribute, "column", a.nome.view());
            const std::size_t c = plan_.columns.size() - first_column;
            PlannedColumn& planned = plan_.columns.emplace_back();
            planned.name = a.nome.view();
            planned.name_form = identifier_form(dialect(), planned.name);
            planned.record = &a;
            planned.entry = i;
            planned.type = column_type(dialect(), a.tipo, a.tamanho, a.decimais);
            planned.not_null = (a.opcoes & kOpcaoAceitaNulo) == 0 || (a.chave & kChavePrimaria) != 0;
            if (!a.titulo.empty())
                planned.comment = plan_.comments.emplace_back(comment(at_attribute, a.titulo.view(), kMysqlMaxColumnComment));
            column_names_.add(identifier_hash(dialect(), NameKind::column, planned.name), c,
                              [&](std::size_t earlier) { return same_name(NameKind::column, plan_.columns[first_column + earlier].name, planned.name); });
        }
        const std::span<PlannedColumn> columns(plan_.columns.data() + first_column, plan_.columns.size() - first_column);
        table.columns = columns;
        if (const auto twice = column_names_.first_twice())
            refuse(entity_place(e) + ", attribute " + in_quotes(columns[twice->second].name),
                   "the attribute " + in_quotes(columns[twice->first].name) + " has the same column name in " + std::string(dialect_title(dialect())));
        const std::size_t first_key = plan_.positions.size();
        for (int attribute : keys.primary_keys[e]) plan_.positions.push_back(column_of_attribute(e, attribute));
        table.primary_key = std::span<const std::size_t>(plan_.positions.data() + first_key, plan_.positions.size() - first_key);
        if (table.columns.empty() && dialect() != Dialect::postgresql)
            refuse(entity_place(e), "the entity has no attributes, and " + std::string(dialect_title(dialect())) +
                                        " makes no table without columns");
        for (std::size_t k : table.primary_key)
            require_indexable(e, table.columns[k], "the primary key");
        table.primary_descending = (entity.Primaria() & kPrimariaDescendente) != 0;
        plan_counters(table, columns);

        const std::size_t first_index = plan_.indexes.size();
        const StringList& secondary = entity.ChavesSecundarias();
        for (int k = 0, used = 0; k < secondary.Count(); ++k)
            if (const auto* key = static_cast<const TChaveSecundaria*>(secondary.Objects(k)))
                plan_index(table, secondary.Text(k).view(), *key, static_cast<std::size_t>(used++));
        table.indexes = std::span<const PlannedIndex>(plan_.indexes.data() + first_index, plan_.indexes.size() - first_index);
        if (dialect() == Dialect::mysql) fit_mysql_row(table, columns);
        append_table_statements(text_, dialect(), table);
    }

    // MySQL refuses a table whose columns may take more than 65,535 bytes of a row: the widest string
    // columns that no key or index needs move out of the row (LONGTEXT, LONGBLOB) until it fits.
    void fit_mysql_row(const PlannedTable& table, std::span<PlannedColumn> columns) {
        std::int64_t bytes = static_cast<std::int64_t>(table.columns.size());  // the null flags, and more
        for (const PlannedColumn& column : table.columns) bytes += mysql_row_bytes(column.type);
        if (bytes <= kMysqlMaxRowBytes) return;
        std::vector<bool> indexed(table.columns.size(), false);
        for (std::size_t c : table.primary_key) indexed[c] = true;
        for (const PlannedIndex& index : table.indexes)
            for (std::size_t c : index.columns) indexed[c] = true;
        while (bytes > kMysqlMaxRowBytes) {
            std::size_t widest = table.columns.size();
            std::int64_t widest_bytes = 12;
            for (std::size_t c = 0; c < table.columns.size(); ++c) {
                const std::int64_t b = mysql_row_bytes(table.columns[c].type);
                if (!indexed[c] && b > widest_bytes && (table.columns[c].type.starts_with("VARCHAR(") ||
                                                        table.columns[c].type.find("BINARY(") != std::string::npos))
                    widest = c, widest_bytes = b;
            }
            if (widest == table.columns.size()) return;  // only keys and indexes left: MySQL will say so
            PlannedColumn& column = columns[widest];
            const std::string_view large = mysql_large_object(column.type);
            plan_.warnings.push_back(entity_place(table.entity) + ", attribute " + in_quotes(column.name) + ": written as " +
                                     std::string(large) + " instead of " + std::string(column.type) + ", since MySQL keeps no more than 65,535 bytes "
                                     "of a row in its columns");
            bytes -= widest_bytes - mysql_row_bytes(large);
            column.type = large;
        }
    }

    void require_indexable(std::size_t e, const PlannedColumn& column, const std::string& what) const {
        const TAtributo& a = *column.record;
        if (indexable_type(dialect(), a.tipo, a.tamanho)) return;
        refuse(entity_place(e) + ", attribute " + in_quotes(a.nome.view()),
               "a column of type " + std::string(column.type) + " cannot be part of " + what + " in " + std::string(dialect_title(dialect())));
    }

    // Which AutoInc columns the database counts: in PostgreSQL every one (an identity column); in
    // MySQL one, which must lead the key; in SQLite only the table's single key column, which then
    // stands for the row number.
    void plan_counters(PlannedTable& table, std::span<PlannedColumn> columns) const {
        for (std::size_t c = 0; c < columns.size(); ++c) {
            PlannedColumn& column = columns[c];
            if (column.record->tipo != kAutoIncType) continue;
            switch (dialect()) {
                case Dialect::postgresql: column.counter = true; break;
                case Dialect::mysql: column.counter = !table.primary_key.empty() && table.primary_key.front() == c; break;
                case Dialect::sqlite:
                    column.counter = table.primary_key.size() == 1 && table.primary_key.front() == c;
                    if (column.counter) table.key_on_counter = true;
                    break;
            }
            if (column.counter) column.not_null = true;
        }
    }

    // The column an index part names: its name exactly, or else in another letter case (the table
    // layer compares field names so).
    std::optional<std::size_t> column_named(const PlannedTable& table, std::string_view part) const {
        for (std::size_t c = 0; c < table.columns.size(); ++c)
            if (table.columns[c].name == part) return c;
        const std::string wanted = AsciiUpperCase(part);
        for (std::size_t c = 0; c < table.columns.size(); ++c)
            if (AsciiUpperCase(table.columns[c].name) == wanted) return c;
        return std::nullopt;
    }

    void plan_index(const PlannedTable& table, std::string_view name, const TChaveSecundaria& key, std::size_t k) {
        const auto place = [&] { return index_place(table, name, k); };
        const IndexOptions options = decode_index_options(key.tipo_indice);
        const std::size_t first = plan_.positions.size();
        const std::string_view fields = key.campos.view();
        for (std::size_t start = 0;;) {
            const std::size_t end = std::min(fields.find('+', start), fields.size());
            const std::string_view part = fields.substr(start, end - start);
            const auto column = column_named(table, part);
            if (!column) {
                // An expression is the table layer's own language: it is left to it unless it is a plain
                // list of the entity's columns.
                if (options.expression) {
                    plan_.warnings.push_back(place() + ": no index written: its expression " + in_quotes(fields) +
                                             " is not a list of the entity's attributes");
                    plan_.positions.resize(first);
                    return;
                }
                refuse(place(), "\"campos\" names " + in_quotes(part) + ", which is no attribute of the entity");
            }
            for (std::size_t i = first; i < plan_.positions.size(); ++i)
                if (plan_.positions[i] == *column) refuse(place(), "\"campos\" names the attribute " + in_quotes(part) + " twice");
            plan_.positions.push_back(*column);
            if (end == fields.size()) break;
            start = end + 1;
        }
        PlannedIndex& index = plan_.indexes.emplace_back();
        index.name = name;
        index.unique = options.unique;
        index.descending = options.descending;
        index.columns = std::span<const std::size_t>(plan_.positions.data() + first, plan_.positions.size() - first);
        for (std::size_t c : index.columns) require_indexable(table.entity, table.columns[c], "an index");
        check_name(place, "index", index.name);
    }

    // Index and constraint names: one namespace with the tables in PostgreSQL and SQLite, and the
    // constraint names per database in MySQL; every script keeps them apart from all of these.
    bool same_name(NameKind kind, std::string_view a, std::string_view b) const {
        return identifier_key(dialect(), kind, a) == identifier_key(dialect(), kind, b);
    }
    bool table_named(std::string_view name) const {
        const std::size_t* found = table_names_.find(identifier_hash(dialect(), NameKind::table, name));
        return found && same_name(NameKind::table, plan_.tables[*found].name, name);
    }
    // Whether an index or constraint may have the name: no table, index or constraint has it.
    bool name_free(std::string_view name) const {
        if (table_named(name)) return false;
        const std::string_view* found = index_names_.find(identifier_hash(dialect(), NameKind::index, name));
        return !found || !same_name(NameKind::index, *found, name);
    }
    // Takes the name, which must stay where it is for the plan's life.
    void claim(std::string_view name) { index_names_.insert(identifier_hash(dialect(), NameKind::index, name), name); }

    void claim_index_name(const PlannedTable& table, std::string_view name) {
        const bool free = name_free(name);
        claim(name);
        if (!free)
            refuse(entity_place(table.entity) + ", secondary key " + in_quotes(name),
                   std::string("another index or a table of the diagram has the same name in ") +
                       std::string(dialect_title(dialect())));
    }

    std::string constraint_name(std::string_view relationship) {
        std::string base(relationship);
        if (identifier_problem(dialect(), base)) base = "FK";
        for (int n = 1;; ++n) {
            std::string name = n == 1 ? base : base + "_" + std::to_string(n);
            if (n > 1 && identifier_problem(dialect(), name)) name = "FK_" + std::to_string(plan_.foreign_keys.size() + 1) + "_" + std::to_string(n);
            if (name_free(name)) return name;
        }
    }

    void plan_foreign_keys(const ModelKeys& keys);

    void order() {
        std::vector<TableReference> references;
        references.reserve(plan_.foreign_keys.size());
        for (const PlannedForeignKey& key : plan_.foreign_keys) references.push_back({key.parent, key.child});
        TableOrder order = order_tables(plan_.tables.size(), references);
        plan_.creation_order = std::move(order.tables);
        // SQLite checks a foreign key only when rows change, so it takes every key with its table.
        if (dialect() != Dialect::sqlite)
            for (std::size_t k = 0; k < plan_.foreign_keys.size(); ++k) plan_.foreign_keys[k].after_tables = order.after_tables[k];
    }

    const Diagram& diagram_;
    const std::string& source_;
    SchemaPlan plan_;
    // Names by identifier_hash: tables (the entity), and indexes and constraints (the name).
    NameTable<std::size_t> table_names_;
    NameTable<std::string_view> index_names_;
    Storage reserved_{};        // the plan's storage as reserve() left it
    ColumnNames column_names_;  // of the table being planned
    ScriptText text_;           // every table's statements, until the plan is complete
};

// Each foreign key of the model's keys that the dialect can hold: the whole of the start entity's key,
// column for column of a matching type. A relationship whose end entity holds none of its attributes
// gives no key and no warning here (the review names it).
void Planner::plan_foreign_keys(const ModelKeys& keys) {
    for (const ModelForeignKey& model : keys.foreign_keys) {
        if (model.columns.empty()) continue;
        const DiagramRelationship& relationship = diagram_.relationships[model.relationship];
        const auto place = [&] {
            return source_ + ": relationship " + in_quotes(relationship.name) + " (#" + std::to_string(model.relationship + 1) +
                   "): no foreign key written: ";
        };
        const PlannedTable& child = plan_.tables[model.child];
        const PlannedTable& parent = plan_.tables[model.parent];
        if (!model.unmatched_parent.empty()) {
            plan_.warnings.push_back(place() + "its end entity holds attributes for " + std::to_string(model.columns.size()) +
                                     " of the " + std::to_string(parent.primary_key.size()) + " key attributes of its start entity");
            continue;
        }
        if (!model.complete()) {
            plan_.warnings.push_back(place() + "its end entity holds " + std::to_string(model.surplus_child.size()) +
                                     " attributes more that name it than its start entity has key attributes");
            continue;
        }
        PlannedForeignKey key;
        key.relationship = model.relationship;
        key.child = model.child;
        key.parent = model.parent;
        const std::size_t first = plan_.positions.size(), pairs = model.columns.size();
        for (const ForeignKeyColumn& pair : model.columns) plan_.positions.push_back(column_of_attribute(model.child, pair.child_attribute));
        for (const ForeignKeyColumn& pair : model.columns) plan_.positions.push_back(column_of_attribute(model.parent, pair.parent_attribute));
        key.child_columns = std::span<const std::size_t>(plan_.positions.data() + first, pairs);
        key.parent_columns = std::span<const std::size_t>(plan_.positions.data() + first + pairs, pairs);
        bool types_match = true;
        for (std::size_t i = 0; i < key.child_columns.size() && types_match; ++i) {
            const PlannedColumn& c = child.columns[key.child_columns[i]];
            const PlannedColumn& p = parent.columns[key.parent_columns[i]];
            if (foreign_key_types_match(p.type, c.type)) continue;
            types_match = false;
            plan_.warnings.push_back(place() + "its attribute " + in_quotes(c.name) + " is " + std::string(c.type) + " in " +
                                     std::string(dialect_title(dialect())) + ", and the key attribute " + in_quotes(p.name) +
                                     " it refers to " + std::string(p.type));
        }
        if (!types_match) {
            plan_.positions.resize(first);
            continue;
        }
        key.name = constraint_name(relationship.name);
        claim(plan_.foreign_keys.emplace_back(std::move(key)).name);  // reserved: the name stays where it is
    }
}

}  // namespace

SchemaPlan plan_schema(const Diagram& diagram, const ModelKeys& keys, Dialect dialect, const std::string& source) {
    return Planner(diagram, dialect, source).run(keys);
}
