#include "import/postgresql_source.h"

#include <pg_query.h>

#include <algorithm>
#include <map>
#include <memory>

#include <nlohmann/json.hpp>

#include "import/field_types.h"

namespace {

using json = nlohmann::json;

std::string in_quotes(const std::string& name) { return "\"" + name + "\""; }

// The parse tree's text value of {"String": {"sval": ...}}.
std::string string_node(const json& node) {
    if (node.contains("String")) return node["String"].value("sval", "");
    return {};
}

std::vector<std::string> string_list(const json& node, const char* key) {
    std::vector<std::string> values;
    if (node.contains(key))
        for (const json& item : node[key]) values.push_back(string_node(item));
    return values;
}

class Reader {
public:
    Reader(std::string_view script, const std::string& source) : script_(script), source_(source) {}

    SourceSchema read() {
        const std::string text(script_);
        PgQueryParseResult result = pg_query_parse(text.c_str());
        struct Free {
            PgQueryParseResult& r;
            ~Free() { pg_query_free_parse_result(r); }
        } free_result{result};
        if (result.error) {
            const std::size_t offset = result.error->cursorpos > 0 ? static_cast<std::size_t>(result.error->cursorpos - 1) : 0;
            throw ImportError(source_ + ": line " + std::to_string(line_at(offset)) +
                              ": PostgreSQL's parser refuses the script: " + result.error->message);
        }
        const json tree = json::parse(result.parse_tree);
        if (tree.contains("stmts"))
            for (const json& entry : tree["stmts"]) {
                line_ = line_of_statement(entry.value("stmt_location", 0));
                statement(entry["stmt"]);
            }
        SourceSchema schema;
        for (Table& table : tables_) {
            if (table.skipped) continue;
            schema.tables.push_back(std::move(table.table));
        }
        schema.skipped = std::move(notes_);
        return schema;
    }

private:
    struct Table {
        SourceTable table;
        std::size_t line = 0;
        bool skipped = false;
    };

    std::size_t line_at(std::size_t offset) const {
        offset = std::min(offset, script_.size());
        return 1 + static_cast<std::size_t>(std::count(script_.begin(), script_.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
    }
    // The statement's location is where the previous one ended; its line is that of its first word.
    std::size_t line_of_statement(std::size_t offset) const {
        while (offset < script_.size()) {
            if (script_.substr(offset, 2) == "--") {
                const std::size_t end = script_.find('\n', offset);
                offset = end == std::string_view::npos ? script_.size() : end + 1;
            } else if (script_.substr(offset, 2) == "/*") {
                const std::size_t end = script_.find("*/", offset + 2);
                offset = end == std::string_view::npos ? script_.size() : end + 2;
            } else if (std::string_view(" \t\r\n;").find(script_[offset]) != std::string_view::npos) {
                ++offset;
            } else {
                break;
            }
        }
        return line_at(offset);
    }
    std::string at_line() const { return source_ + ": line " + std::to_string(line_); }
    void note(const std::string& message) { notes_.push_back(at_line() + ": " + message); }

    Table* table_named(const std::string& name) {
        const auto found = by_name_.find(name);
        return found == by_name_.end() ? nullptr : &tables_[found->second];
    }
    Table* table_of(const json& relation, const std::string& what) {
        const std::string name = relation.value("relname", "");
        Table* table = table_named(name);
        if (!table) note(what + " of " + in_quotes(name) + ", which the script does not create before: not imported");
        return table && !table->skipped ? table : nullptr;
    }
    void skip_table(Table& table, const std::string& why) {
        if (table.skipped) return;
        table.skipped = true;
        note("table " + in_quotes(table.table.name) + ": skipped: " + why);
    }
    SourceColumn* column_of(Table& table, const std::string& name) {
        for (SourceColumn& column : table.table.columns)
            if (column.name == name) return &column;
        return nullptr;
    }

    void statement(const json& node) {
        if (node.contains("CreateStmt")) return create_table(node["CreateStmt"]);
        if (node.contains("AlterTableStmt")) return alter_table(node["AlterTableStmt"]);
        if (node.contains("IndexStmt")) return create_index(node["IndexStmt"]);
        if (node.contains("CommentStmt")) return comment(node["CommentStmt"]);
        if (node.contains("CreateDomainStmt")) return create_domain(node["CreateDomainStmt"]);
        if (node.contains("CreateEnumStmt")) return create_enum(node["CreateEnumStmt"]);
        if (node.contains("DropStmt")) return drop(node["DropStmt"]);
        if (node.contains("ViewStmt"))
            return note("view " + in_quotes(node["ViewStmt"]["view"].value("relname", "")) + ": skipped (only tables are imported)");
        if (node.contains("CreateTableAsStmt")) return note("CREATE TABLE ... AS: skipped (its columns come from a query)");
        if (node.contains("CreateForeignTableStmt")) return note("a foreign table: skipped (only tables are imported)");
        // Everything else defines no table: SET, BEGIN, GRANT, sequences, functions, types, ownership.
    }

    // The field type of a column's type name, or the reason there is none.
    std::optional<MappedType> type_of(const json& type_name, std::string& shown) {
        std::vector<std::string> names = string_list(type_name, "names");
        if (names.size() == 2 && names[0] == "pg_catalog") names.erase(names.begin());
        shown.clear();
        for (const std::string& n : names) shown += (shown.empty() ? "" : ".") + n;
        if (type_name.contains("arrayBounds")) {
            shown += "[]";
            return std::nullopt;
        }
        std::vector<std::int32_t> modifiers;
        if (type_name.contains("typmods"))
            for (const json& mod : type_name["typmods"]) {
                if (!mod.contains("A_Const")) return std::nullopt;
                const json& constant = mod["A_Const"];
                if (!constant.contains("ival")) return std::nullopt;
                modifiers.push_back(constant["ival"].value("ival", 0));
            }
        if (names.size() != 1) {
            if (names.size() == 2) names.erase(names.begin());  // a schema-qualified domain
            else return std::nullopt;
        }
        if (const auto domain = domains_.find(names[0]); domain != domains_.end() && modifiers.empty()) return domain->second;
        // The parser's internal names of the types with a name of several words.
        static const std::map<std::string, std::string, std::less<>> kInternal = {{"timetz", "time"}};
        if (const auto internal = kInternal.find(names[0]); internal != kInternal.end()) names[0] = internal->second;
        // A time or timestamp precision is no size of the field type.
        if (names[0] == "time" || names[0] == "timestamp" || names[0] == "timestamptz") modifiers.clear();
        return sql_field_type(names[0], modifiers);
    }

    // A column's own constraints. Returns false when the table cannot be imported.
    bool column_constraints(Table& table, SourceColumn& column, const json& definition) {
        if (!definition.contains("constraints")) return true;
        for (const json& item : definition["constraints"]) {
            const json& c = item["Constraint"];
            const std::string type = c.value("contype", "");
            if (type == "CONSTR_NOTNULL") column.nullable = false;
            else if (type == "CONSTR_NULL") column.nullable = true;
            else if (type == "CONSTR_PRIMARY") {
                table.table.primary_key = {column.name};
                column.nullable = false;
            } else if (type == "CONSTR_UNIQUE") {
                unique(table, c, {column.name});
            } else if (type == "CONSTR_IDENTITY") {
                if (column.tipo != field_type::kInteger && column.tipo != field_type::kSmallInt) {
                    skip_table(table, "column " + in_quotes(column.name) + " counts (identity) but is no integer the catalogue holds");
                    return false;
                }
                column.tipo = field_type::kAutoInc;
                column.nullable = false;
            } else if (type == "CONSTR_FOREIGN") {
                SourceForeignKey key;
                key.name = c.value("conname", "");
                key.columns = {column.name};
                key.parent_table = c["pktable"].value("relname", "");
                key.parent_columns = string_list(c, "pk_attrs");
                table.table.foreign_keys.push_back(std::move(key));
            }
            // DEFAULT, CHECK and GENERATED expressions are no part of the model.
        }
        return true;
    }

    void unique(Table& table, const json& c, std::vector<std::string> columns) {
        SourceIndex index;
        index.name = c.value("conname", "");
        if (index.name.empty()) {
            // PostgreSQL's own name for it: table_columns_key.
            index.name = table.table.name;
            for (const std::string& column : columns) index.name += "_" + column;
            index.name += "_key";
        }
        index.columns = std::move(columns);
        index.unique = true;
        index.case_sensitive = false;
        table.table.indexes.push_back(std::move(index));
    }

    void table_constraint(Table& table, const json& c) {
        const std::string type = c.value("contype", "");
        if (type == "CONSTR_PRIMARY") {
            table.table.primary_key = string_list(c, "keys");
            for (const std::string& name : table.table.primary_key)
                if (SourceColumn* column = column_of(table, name)) column->nullable = false;
        } else if (type == "CONSTR_UNIQUE") {
            unique(table, c, string_list(c, "keys"));
        } else if (type == "CONSTR_FOREIGN") {
            SourceForeignKey key;
            key.name = c.value("conname", "");
            key.columns = string_list(c, "fk_attrs");
            key.parent_table = c["pktable"].value("relname", "");
            key.parent_columns = string_list(c, "pk_attrs");
            table.table.foreign_keys.push_back(std::move(key));
        }
        // CHECK and EXCLUDE constraints are no part of the model.
    }

    void add_column(Table& table, const json& definition) {
        SourceColumn column;
        column.name = definition.value("colname", "");
        std::string shown;
        const auto type = type_of(definition["typeName"], shown);
        if (!type) return skip_table(table, "column " + in_quotes(column.name) + " has the type " + in_quotes(shown) +
                                                ", for which the catalogue has no field type");
        column.tipo = type->tipo;
        column.tamanho = type->tamanho;
        column.decimais = type->decimais;
        if (column.tipo == field_type::kAutoInc) column.nullable = false;  // serial
        if (!column_constraints(table, column, definition)) return;
        table.table.columns.push_back(std::move(column));
    }

    void create_table(const json& node) {
        const std::string name = node["relation"].value("relname", "");
        if (table_named(name)) return note("table " + in_quotes(name) + ": created a second time: the second is not imported");
        by_name_.emplace(name, tables_.size());
        tables_.push_back(Table{});
        Table& table = tables_.back();
        table.table.name = name;
        table.line = line_;
        // A partitioned table is the model's table; its partitions and inheriting tables are no tables of their own.
        if (node.contains("partbound")) {
            const std::vector<std::string> parents = [&] {
                std::vector<std::string> names;
                for (const json& parent : node.value("inhRelations", json::array()))
                    if (parent.contains("RangeVar")) names.push_back(parent["RangeVar"].value("relname", ""));
                return names;
            }();
            return skip_table(table, "a partition" + (parents.empty() ? std::string() : " of " + in_quotes(parents[0])));
        }
        if (node.contains("inhRelations")) return skip_table(table, "it inherits from another table, which the model has no counterpart for");
        if (node.contains("ofTypename")) return skip_table(table, "a typed table (OF type)");
        if (!node.contains("tableElts")) return;
        for (const json& element : node["tableElts"]) {
            if (table.skipped) return;
            if (element.contains("ColumnDef")) add_column(table, element["ColumnDef"]);
            else if (element.contains("Constraint")) table_constraint(table, element["Constraint"]);
            else if (element.contains("TableLikeClause")) return skip_table(table, "its columns come LIKE another table's");
        }
    }

    void alter_table(const json& node) {
        if (node.value("objtype", "") != "OBJECT_TABLE" || !node.contains("cmds")) return;
        // ALTER TABLE ... OWNER TO and the defaults of sequences say nothing of the model: no note.
        static const std::vector<std::string> kSilent = {"AT_ChangeOwner", "AT_ColumnDefault", "AT_SetStatistics",
                                                         "AT_SetStorage", "AT_ClusterOn", "AT_EnableTrig",
                                                         "AT_DisableTrig", "AT_EnableRowSecurity", "AT_ReplicaIdentity",
                                                         "AT_AddIdentity", "AT_SetRelOptions", "AT_ValidateConstraint"};
        for (const json& item : node["cmds"]) {
            const json& command = item["AlterTableCmd"];
            const std::string subtype = command.value("subtype", "");
            if (std::find(kSilent.begin(), kSilent.end(), subtype) != kSilent.end() && subtype != "AT_AddIdentity") continue;
            if (node.value("missing_ok", false) && !table_named(node["relation"].value("relname", ""))) return;
            Table* table = table_of(node["relation"], "ALTER TABLE");
            if (!table) return;
            if (subtype == "AT_AttachPartition") {
                const json& partition = command["def"]["PartitionCmd"]["name"];
                if (Table* part = table_named(partition.value("relname", "")))
                    skip_table(*part, "a partition of " + in_quotes(table->table.name));
            } else if (subtype == "AT_DropConstraint") {
                drop_constraint(*table, command.value("name", ""));
            } else if (subtype == "AT_AddConstraint") {
                table_constraint(*table, command["def"]["Constraint"]);
            } else if (subtype == "AT_AddColumn") {
                add_column(*table, command["def"]["ColumnDef"]);
            } else if (subtype == "AT_SetNotNull" || subtype == "AT_DropNotNull") {
                if (SourceColumn* column = column_of(*table, command.value("name", "")))
                    column->nullable = subtype == "AT_DropNotNull";
            } else if (subtype == "AT_AddIdentity") {
                if (SourceColumn* column = column_of(*table, command.value("name", "")))
                    if (column->tipo == field_type::kInteger || column->tipo == field_type::kSmallInt) {
                        column->tipo = field_type::kAutoInc;
                        column->nullable = false;
                    }
            } else {
                note("table " + in_quotes(table->table.name) + ": ALTER TABLE (" + subtype.substr(3) + ") not imported");
            }
        }
    }

    void create_index(const json& node) {
        Table* table = table_of(node["relation"], "CREATE INDEX");
        if (!table) return;
        SourceIndex index;
        index.name = node.value("idxname", "");
        index.unique = node.value("unique", false);
        const std::string where = "table " + in_quotes(table->table.name) + ", index " + in_quotes(index.name);
        if (node.contains("whereClause")) return note(where + ": skipped: a partial index (with WHERE)");
        if (node.value("accessMethod", "btree") != "btree")
            return note(where + ": skipped: a " + node.value("accessMethod", "") + " index (only B-tree indexes have a counterpart)");
        int descending = 0;
        std::string generated = table->table.name;
        for (const json& item : node["indexParams"]) {
            const json& element = item["IndexElem"];
            if (!element.contains("name")) return note(where + ": skipped: it indexes an expression");
            index.columns.push_back(element.value("name", ""));
            generated += "_" + index.columns.back();
            descending += element.value("ordering", "") == "SORTBY_DESC";
        }
        if (descending > 0 && descending != static_cast<int>(index.columns.size()))
            return note(where + ": skipped: only some of its columns are descending");
        index.descending = descending > 0;
        if (index.name.empty()) index.name = generated + "_idx";  // PostgreSQL's own name for it
        table->table.indexes.push_back(std::move(index));
    }

    void comment(const json& node) {
        const std::string type = node.value("objtype", "");
        if (type != "OBJECT_TABLE" && type != "OBJECT_COLUMN") return;
        std::vector<std::string> names;
        if (node["object"].contains("List")) names = string_list(node["object"]["List"], "items");
        const std::string text = node.contains("comment") ? node.value("comment", "") : "";
        if (type == "OBJECT_TABLE" && !names.empty()) {
            if (Table* table = table_of(json{{"relname", names.back()}}, "COMMENT ON TABLE")) table->table.comment = text;
        } else if (type == "OBJECT_COLUMN" && names.size() >= 2) {
            Table* table = table_of(json{{"relname", names[names.size() - 2]}}, "COMMENT ON COLUMN");
            if (!table) return;
            if (SourceColumn* column = column_of(*table, names.back())) column->comment = text;
        }
    }

    // DROP TABLE: a table dropped is not imported (a script that drops before it creates is the usual case).
    void drop(const json& node) {
        if (node.value("removeType", "") != "OBJECT_TABLE" || !node.contains("objects")) return;
        for (const json& object : node["objects"]) {
            const std::vector<std::string> names = object.contains("List") ? string_list(object["List"], "items") : std::vector<std::string>{};
            if (names.empty()) continue;
            const auto found = by_name_.find(names.back());
            if (found == by_name_.end()) continue;
            tables_[found->second].skipped = true;
            by_name_.erase(found);
        }
    }

    void drop_constraint(Table& table, const std::string& name) {
        auto& keys = table.table.foreign_keys;
        keys.erase(std::remove_if(keys.begin(), keys.end(), [&](const SourceForeignKey& k) { return k.name == name; }), keys.end());
        auto& indexes = table.table.indexes;
        indexes.erase(std::remove_if(indexes.begin(), indexes.end(), [&](const SourceIndex& i) { return i.name == name; }),
                      indexes.end());
    }

    // An enumeration holds one of its labels: a string as long as the longest.
    void create_enum(const json& node) {
        const std::vector<std::string> names = string_list(node, "typeName");
        if (names.empty()) return;
        std::int32_t longest = 1;
        for (const std::string& label : string_list(node, "vals")) longest = std::max(longest, static_cast<std::int32_t>(label.size()));
        domains_[names.back()] = MappedType{field_type::kString, longest, 0};
    }

    void create_domain(const json& node) {
        std::vector<std::string> names = string_list(node, "domainname");
        if (names.empty()) return;
        std::string shown;
        if (const auto type = type_of(node["typeName"], shown)) domains_[names.back()] = *type;
    }

    std::string_view script_;
    const std::string& source_;
    std::size_t line_ = 1;
    std::vector<Table> tables_;
    std::map<std::string, std::size_t> by_name_;
    std::map<std::string, MappedType> domains_;
    std::vector<std::string> notes_;
};

}  // namespace

SourceSchema import_postgresql_script(std::string_view script, const std::string& source) {
    if (script.find('\0') != std::string_view::npos) throw ImportError(source + ": holds a NUL byte; is it an SQL script?");
    return Reader(script, source).read();
}
