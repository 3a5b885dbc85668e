#include "tests/dialects/catalogue.h"

#include <sqlite3.h>

#include <algorithm>
#include <iterator>

#include "diagram/diagram.h"
#include "diagram/model_keys.h"
#include "tests/dialects/scratch_server.h"
#include "platform/utf8_cp1252.h"
#include "plugin/registros.h"

namespace dialect_tests {
namespace {

std::string utf8(std::string_view cp1252) { return cp1252_to_utf8(cp1252); }

std::string join(const std::vector<std::string>& parts) {
    std::string text = "(";
    for (std::size_t i = 0; i < parts.size(); ++i) text += (i ? ", " : "") + parts[i];
    return text + ")";
}

// The type as each catalogue names it (docs/sql-dialects.md has the table these follow).
std::string catalogue_type(Dialect dialect, const TAtributo& a) {
    const std::int32_t size = a.tamanho, scale = a.decimais;
    const std::string n = std::to_string(size);
    const bool pg = dialect == Dialect::postgresql, my = dialect == Dialect::mysql;
    switch (a.tipo) {
        case 1:
            if (size == 0 || size > (my ? 16383 : 10485760)) return pg ? "text" : my ? "longtext" : "TEXT";
            return (pg ? "character varying(" : my ? "varchar(" : "VARCHAR(") + n + ")";
        case 2: return pg ? "smallint" : my ? "smallint(6)" : "SMALLINT";
        case 3:
        case 14: return pg ? "integer" : my ? "int(11)" : "INTEGER";
        case 4: return pg ? "integer" : my ? "smallint(5) unsigned" : "INTEGER";
        case 5: return pg ? "boolean" : my ? "tinyint(1)" : "BOOLEAN";
        case 6: return pg ? "double precision" : my ? "double" : "REAL";
        case 7: return pg ? "numeric(19,4)" : my ? "decimal(19,4)" : "NUMERIC(19,4)";
        case 8: {
            // Precision up to 1,000 digits (65 in MySQL), scale up to the precision (and 30 in MySQL).
            if (size == 0) return pg ? "numeric" : my ? "decimal(65,30)" : "NUMERIC";
            const std::int32_t precision = std::min(size, my ? 65 : 1000);
            const std::int32_t places = std::min({scale, precision, my ? 30 : precision});
            const std::string digits = std::to_string(precision) + "," + std::to_string(places) + ")";
            return (pg ? "numeric(" : my ? "decimal(" : "NUMERIC(") + digits;
        }
        case 9: return pg ? "date" : my ? "date" : "DATE";
        case 10: return pg ? "time without time zone" : my ? "time" : "TIME";
        case 11: return pg ? "timestamp without time zone" : my ? "datetime" : "TIMESTAMP";
        case 12:
            if (my && size > 0 && size <= 255) return "binary(" + n + ")";
            [[fallthrough]];
        case 13:
            if (my && size > 0 && size <= 65532) return "varbinary(" + n + ")";
            return pg ? "bytea" : my ? "longblob" : "BLOB";
        case 16: return pg ? "text" : my ? "longtext" : "TEXT";
        default: return pg ? "bytea" : my ? "longblob" : "BLOB";
    }
}

std::vector<std::string> sorted(std::vector<std::string> lines) {
    std::sort(lines.begin(), lines.end());
    return lines;
}

}  // namespace

Catalogue expected_catalogue(const Diagram& diagram, Dialect dialect) {
    Catalogue lines;
    for (const DiagramEntity& item : diagram.entities) {
        const TEntidade& e = *item.entity;
        const std::string table = utf8(e.tabela().view());
        lines.push_back("table " + table);
        std::vector<std::string> key;
        std::size_t key_columns = 0;
        for (int i = 0; i < e.atributos().Count(); ++i)
            key_columns += (static_cast<const TAtributo*>(e.atributos().Objects(i))->chave & kChavePrimaria) != 0;
        for (int i = 0; i < e.atributos().Count(); ++i) {
            const auto& a = *static_cast<const TAtributo*>(e.atributos().Objects(i));
            const bool is_key = (a.chave & kChavePrimaria) != 0;
            // AutoInc counts: every one in PostgreSQL, the one leading the key in MySQL; SQLite's
            // counter shows in no catalogue column.
            const bool counter = a.tipo == 14 && (dialect == Dialect::postgresql ||
                                                  (dialect == Dialect::mysql && is_key && key.empty()));
            const bool not_null = (a.opcoes & kOpcaoAceitaNulo) == 0 || is_key || counter ||
                                  (dialect == Dialect::sqlite && a.tipo == 14 && is_key && key_columns == 1);
            lines.push_back("column " + table + " #" + std::to_string(i + 1) + " " + utf8(a.nome.view()) + " " +
                            catalogue_type(dialect, a) + (not_null ? " not null" : " null") + (counter ? " counter" : ""));
            if (is_key) key.push_back(utf8(a.nome.view()));
        }
        // PostgreSQL keeps no order in a key; SQLite's shows only where the key has an index of its own.
        const bool descending = (e.Primaria() & kPrimariaDescendente) != 0 && dialect == Dialect::mysql;
        if (!key.empty()) lines.push_back("key " + table + " " + join(key) + (descending ? " desc" : ""));
        const StringList& indexes = e.ChavesSecundarias();
        for (int k = 0; k < indexes.Count(); ++k) {
            const auto& x = *static_cast<const TChaveSecundaria*>(indexes.Objects(k));
            std::vector<std::string> parts;
            const std::string fields = utf8(x.campos.view());
            for (std::size_t start = 0;;) {
                const std::size_t end = std::min(fields.find('+', start), fields.size());
                parts.push_back(fields.substr(start, end - start) + ((x.tipo_indice & kIndiceDescendente) ? " desc" : ""));
                if (end == fields.size()) break;
                start = end + 1;
            }
            lines.push_back("index " + table + "." + utf8(indexes.Get(k)) +
                            ((x.tipo_indice & kIndiceDuplicados) ? " duplicates " : " unique ") + join(parts));
        }
    }
    for (const ModelForeignKey& key : model_keys(diagram).foreign_keys) {
        if (!key.complete()) continue;
        const TEntidade& child = *diagram.entities[key.child].entity;
        const TEntidade& parent = *diagram.entities[key.parent].entity;
        std::vector<std::string> from, to;
        for (const auto& pair : key.columns) {
            from.push_back(utf8(static_cast<const TAtributo*>(child.atributos().Objects(static_cast<int>(pair.child_attribute)))->nome.view()));
            to.push_back(utf8(static_cast<const TAtributo*>(parent.atributos().Objects(static_cast<int>(pair.parent_attribute)))->nome.view()));
        }
        const std::string name = dialect == Dialect::sqlite ? "" : utf8(diagram.relationships[key.relationship].name) + " ";
        lines.push_back("foreign " + utf8(child.tabela().view()) + " " + name + join(from) + " -> " +
                        utf8(parent.tabela().view()) + " " + join(to));
    }
    return sorted(std::move(lines));
}

std::string catalogue_difference(const Catalogue& found, const Catalogue& expected) {
    std::vector<std::string> missing, extra;
    std::set_difference(expected.begin(), expected.end(), found.begin(), found.end(), std::back_inserter(missing));
    std::set_difference(found.begin(), found.end(), expected.begin(), expected.end(), std::back_inserter(extra));
    std::string text;
    for (const std::string& line : missing) text += "missing:    " + line + "\n";
    for (const std::string& line : extra) text += "unexpected: " + line + "\n";
    return text;
}

namespace {

std::vector<std::vector<std::string>> sqlite_rows(sqlite3* db, const std::string& sql) {
    std::vector<std::vector<std::string>> rows;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
        return {{"error: " + std::string(sqlite3_errmsg(db))}};
    while (sqlite3_step(statement) == SQLITE_ROW) {
        auto& row = rows.emplace_back();
        for (int c = 0; c < sqlite3_column_count(statement); ++c) {
            const auto* text = sqlite3_column_text(statement, c);
            row.push_back(text ? reinterpret_cast<const char*>(text) : "");
        }
    }
    sqlite3_finalize(statement);
    return rows;
}

std::string sqlite_text(const std::string& text) {
    std::string literal = "'";
    for (char c : text) literal += c == '\'' ? std::string("''") : std::string(1, c);
    return literal + "'";
}

}  // namespace

Catalogue sqlite_catalogue(sqlite3* db) {
    Catalogue lines;
    for (const auto& t : sqlite_rows(db, "SELECT name FROM sqlite_schema WHERE type = 'table' AND name NOT LIKE 'sqlite_%'")) {
        const std::string& table = t[0];
        const std::string quoted = sqlite_text(table);
        lines.push_back("table " + table);
        std::vector<std::pair<int, std::string>> key;
        for (const auto& c : sqlite_rows(db, "SELECT cid, name, type, \"notnull\", pk FROM pragma_table_info(" + quoted + ")")) {
            lines.push_back("column " + table + " #" + std::to_string(std::stoi(c[0]) + 1) + " " + c[1] + " " + c[2] +
                            (c[3] == "1" ? " not null" : " null"));
            if (c[4] != "0") key.emplace_back(std::stoi(c[4]), c[1]);
        }
        std::sort(key.begin(), key.end());
        std::vector<std::string> key_names;
        for (const auto& [position, name] : key) key_names.push_back(name);
        if (!key_names.empty()) lines.push_back("key " + table + " " + join(key_names));
        for (const auto& x : sqlite_rows(db, "SELECT name, \"unique\" FROM pragma_index_list(" + quoted + ") WHERE origin = 'c'")) {
            std::vector<std::string> parts;
            for (const auto& p : sqlite_rows(db, "SELECT name, \"desc\" FROM pragma_index_xinfo(" + sqlite_text(x[0]) +
                                                     ") WHERE key = 1 ORDER BY seqno"))
                parts.push_back(p[0] + (p[1] == "1" ? " desc" : ""));
            lines.push_back("index " + table + "." + x[0] + (x[1] == "1" ? " unique " : " duplicates ") + join(parts));
        }
        std::map<int, std::pair<std::string, std::vector<std::string>>> from, to;
        for (const auto& f : sqlite_rows(db, "SELECT id, \"table\", \"from\", \"to\" FROM pragma_foreign_key_list(" + quoted +
                                                 ") ORDER BY id, seq")) {
            const int id = std::stoi(f[0]);
            from[id].second.push_back(f[2]);
            to[id].first = f[1];
            to[id].second.push_back(f[3]);
        }
        for (const auto& [id, parts] : from)
            lines.push_back("foreign " + table + " " + join(parts.second) + " -> " + to[id].first + " " + join(to[id].second));
    }
    return sorted(std::move(lines));
}

std::map<std::string, Catalogue> postgresql_catalogues(ScratchPostgresql& server, const std::string& prefix) {
    std::map<std::string, Catalogue> schemas;
    const std::string in_schemas = " LIKE '" + prefix + "%'";
    std::string errors;
    const auto rows = [&](const std::string& sql) {
        auto result = server.query({}, sql, &errors);
        if (!errors.empty()) schemas["error"].push_back(errors);
        return result;
    };
    for (const auto& r : rows("SELECT table_schema, table_name FROM information_schema.tables WHERE table_schema" + in_schemas))
        schemas[r[0]].push_back("table " + r[1]);
    for (const auto& r : rows("SELECT table_schema, table_name, ordinal_position, column_name, data_type || "
                              "coalesce('(' || character_maximum_length || ')', '') || CASE WHEN data_type = 'numeric' AND "
                              "numeric_precision IS NOT NULL THEN '(' || numeric_precision || ',' || numeric_scale || ')' "
                              "ELSE '' END, is_nullable, is_identity FROM information_schema.columns WHERE table_schema" +
                              in_schemas))
        schemas[r[0]].push_back("column " + r[1] + " #" + r[2] + " " + r[3] + " " + r[4] +
                                (r[5] == "NO" ? " not null" : " null") + (r[6] == "YES" ? " counter" : ""));
    // The key's columns in key order, from information_schema.
    for (const auto& r : rows("SELECT c.table_schema, c.table_name, string_agg(k.column_name, ', ' ORDER BY k.ordinal_position) "
                              "FROM information_schema.table_constraints c JOIN information_schema.key_column_usage k "
                              "ON k.constraint_schema = c.constraint_schema AND k.constraint_name = c.constraint_name "
                              "AND k.table_name = c.table_name WHERE c.constraint_type = 'PRIMARY KEY' AND c.table_schema" +
                              in_schemas + " GROUP BY c.table_schema, c.table_name, c.constraint_name"))
        schemas[r[0]].push_back("key " + r[1] + " (" + r[2] + ")");
    // information_schema has no indexes, nor the column pairs of a foreign key: pg_catalog has.
    for (const auto& r : rows("SELECT n.nspname, t.relname, i.relname, x.indisunique, string_agg(a.attname || "
                              "CASE WHEN x.indoption[k.ord - 1] & 1 = 1 THEN ' desc' ELSE '' END, ', ' ORDER BY k.ord) "
                              "FROM pg_index x JOIN pg_class i ON i.oid = x.indexrelid JOIN pg_class t ON t.oid = x.indrelid "
                              "JOIN pg_namespace n ON n.oid = t.relnamespace "
                              "CROSS JOIN LATERAL unnest(x.indkey) WITH ORDINALITY k(attnum, ord) "
                              "JOIN pg_attribute a ON a.attrelid = t.oid AND a.attnum = k.attnum "
                              "WHERE NOT x.indisprimary AND n.nspname" + in_schemas +
                              " GROUP BY n.nspname, t.relname, i.relname, x.indisunique"))
        schemas[r[0]].push_back("index " + r[1] + "." + r[2] + (r[3] == "t" ? " unique (" : " duplicates (") + r[4] + ")");
    for (const auto& r : rows("SELECT n.nspname, t.relname, c.conname, string_agg(ta.attname, ', ' ORDER BY k.ord), p.relname, "
                              "string_agg(pa.attname, ', ' ORDER BY k.ord) FROM pg_constraint c "
                              "JOIN pg_class t ON t.oid = c.conrelid JOIN pg_class p ON p.oid = c.confrelid "
                              "JOIN pg_namespace n ON n.oid = c.connamespace "
                              "CROSS JOIN LATERAL unnest(c.conkey, c.confkey) WITH ORDINALITY k(ck, fk, ord) "
                              "JOIN pg_attribute ta ON ta.attrelid = t.oid AND ta.attnum = k.ck "
                              "JOIN pg_attribute pa ON pa.attrelid = p.oid AND pa.attnum = k.fk "
                              "WHERE c.contype = 'f' AND n.nspname" + in_schemas +
                              " GROUP BY n.nspname, t.relname, c.conname, p.relname"))
        schemas[r[0]].push_back("foreign " + r[1] + " " + r[2] + " (" + r[3] + ") -> " + r[4] + " (" + r[5] + ")");
    for (auto& [schema, lines] : schemas) lines = sorted(std::move(lines));
    return schemas;
}

std::map<std::string, Catalogue> mariadb_catalogues(ScratchMariadb& server, const std::string& prefix) {
    std::map<std::string, Catalogue> databases;
    const std::string in_databases = " LIKE '" + prefix + "%'";
    std::string errors;
    const auto rows = [&](const std::string& sql) {
        auto result = server.query({}, sql, &errors);
        if (!errors.empty()) databases["error"].push_back(errors);
        return result;
    };
    for (const auto& r : rows("SELECT TABLE_SCHEMA, TABLE_NAME FROM information_schema.TABLES WHERE TABLE_SCHEMA" + in_databases))
        databases[r[0]].push_back("table " + r[1]);
    for (const auto& r : rows("SELECT TABLE_SCHEMA, TABLE_NAME, ORDINAL_POSITION, COLUMN_NAME, COLUMN_TYPE, IS_NULLABLE, EXTRA "
                              "FROM information_schema.COLUMNS WHERE TABLE_SCHEMA" + in_databases))
        databases[r[0]].push_back("column " + r[1] + " #" + r[2] + " " + r[3] + " " + r[4] +
                                  (r[5] == "NO" ? " not null" : " null") +
                                  (r[6].find("auto_increment") != std::string::npos ? " counter" : ""));
    // The indexes InnoDB makes for a foreign key carry the constraint's name; they are the key's, not the diagram's.
    for (const auto& r : rows("SELECT s.TABLE_SCHEMA, s.TABLE_NAME, s.INDEX_NAME, MIN(s.NON_UNIQUE), GROUP_CONCAT(s.COLUMN_NAME, "
                              "IF(s.COLLATION = 'D', ' desc', '') ORDER BY s.SEQ_IN_INDEX SEPARATOR ', '), GROUP_CONCAT("
                              "s.COLUMN_NAME ORDER BY s.SEQ_IN_INDEX SEPARATOR ', '), MAX(s.COLLATION = 'D') "
                              "FROM information_schema.STATISTICS s WHERE s.TABLE_SCHEMA" + in_databases +
                              " AND NOT EXISTS (SELECT 1 FROM information_schema.REFERENTIAL_CONSTRAINTS f WHERE "
                              "f.CONSTRAINT_SCHEMA = s.TABLE_SCHEMA AND f.TABLE_NAME = s.TABLE_NAME AND "
                              "f.CONSTRAINT_NAME = s.INDEX_NAME) GROUP BY s.TABLE_SCHEMA, s.TABLE_NAME, s.INDEX_NAME")) {
        if (r[2] == "PRIMARY")
            databases[r[0]].push_back("key " + r[1] + " (" + r[5] + ")" + (r[6] == "1" ? " desc" : ""));
        else
            databases[r[0]].push_back("index " + r[1] + "." + r[2] + (r[3] == "0" ? " unique (" : " duplicates (") + r[4] + ")");
    }
    for (const auto& r : rows("SELECT TABLE_SCHEMA, TABLE_NAME, CONSTRAINT_NAME, GROUP_CONCAT(COLUMN_NAME ORDER BY ORDINAL_POSITION "
                              "SEPARATOR ', '), MIN(REFERENCED_TABLE_NAME), GROUP_CONCAT(REFERENCED_COLUMN_NAME ORDER BY "
                              "ORDINAL_POSITION SEPARATOR ', ') FROM information_schema.KEY_COLUMN_USAGE WHERE "
                              "REFERENCED_TABLE_NAME IS NOT NULL AND TABLE_SCHEMA" + in_databases +
                              " GROUP BY TABLE_SCHEMA, TABLE_NAME, CONSTRAINT_NAME"))
        databases[r[0]].push_back("foreign " + r[1] + " " + r[2] + " (" + r[3] + ") -> " + r[4] + " (" + r[5] + ")");
    for (auto& [database, lines] : databases) lines = sorted(std::move(lines));
    return databases;
}

}  // namespace dialect_tests
