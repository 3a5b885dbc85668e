#include "dialects/script_writer.h"

#include <span>
#include <vector>

#include "diagram/diagram.h"
#include "dialects/grouped_indices.h"
#include "dialects/quoting.h"
#include "dialects/script_text.h"
#include "dialects/table_statements.h"
#include "platform/clock.h"
#include "platform/utf8_cp1252.h"

namespace {

constexpr std::string_view kIndent = "    ";

class ScriptWriter {
public:
    ScriptWriter(const Diagram& diagram, const SchemaPlan& plan)
        : diagram_(diagram), plan_(plan), held_(keys_held_by_tables()) {}

    std::string write(bool drop) {
        // The tables' statements, and some room for the foreign keys and the drops.
        out_.reserve(plan_.text.size() + (plan_.foreign_keys.size() + plan_.tables.size()) * 160 + 1024);
        banner();
        opening();
        if (drop) drops();
        for (std::size_t t : plan_.creation_order) table(t);
        bool first = true;
        for (const PlannedForeignKey& key : plan_.foreign_keys) {
            if (!key.after_tables) continue;
            if (first) out_ += '\n', first = false;
            out_ += "ALTER TABLE ";
            table_name(key.child);
            out_ += " ADD ";
            foreign_key(key);
            out_ += ";\n";
        }
        if (transactional()) out_ += "\nCOMMIT;\n";
        return std::move(out_).take();
    }

private:
    Dialect dialect() const { return plan_.dialect; }

    // Each table's foreign keys that it is created with, in relationship order.
    GroupedIndices keys_held_by_tables() const {
        return GroupedIndices(plan_.tables.size(), plan_.foreign_keys.size(), [this](std::size_t k) {
            const PlannedForeignKey& key = plan_.foreign_keys[k];
            return key.after_tables ? GroupedIndices::kNoGroup : key.child;
        });
    }
    bool transactional() const { return dialect() != Dialect::mysql; }

    void name(std::string_view cp1252) { append_identifier(out_, dialect(), cp1252); }
    void table_name(std::size_t t) { append_identifier(out_, dialect(), plan_.tables[t].name, plan_.tables[t].name_form); }
    // A comment line's text: the control characters a text might hold end no comment early.
    void comment_text(std::string_view cp1252) {
        for (char c : cp1252_to_utf8(cp1252)) out_ += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
    }

    void banner() {
        out_ += "-- ";
        out_ += dialect_title(dialect());
        out_ += " schema written by kzr40\n-- Date: ";
        out_ += current_date_time_text();
        out_ += "\n-- Project: ";
        comment_text(diagram_.project);
        out_ += "\n-- Server: ";
        comment_text(diagram_.server);
        out_ += "\n\n";
    }

    void opening() {
        switch (dialect()) {
            case Dialect::sqlite: out_ += "BEGIN;\n"; break;
            case Dialect::postgresql: out_ += "SET client_encoding = 'UTF8';\nBEGIN;\n"; break;
            case Dialect::mysql: out_ += "SET NAMES utf8mb4;\n"; break;
        }
    }

    void drops() {
        out_ += '\n';
        bool cycles = false;
        for (const PlannedForeignKey& key : plan_.foreign_keys) {
            if (!key.after_tables) continue;
            cycles = true;
            if (dialect() != Dialect::postgresql) continue;
            out_ += "ALTER TABLE IF EXISTS ";
            table_name(key.child);
            out_ += " DROP CONSTRAINT IF EXISTS ";
            name(key.name);
            out_ += ";\n";
        }
        // MySQL has no ALTER TABLE IF EXISTS: the keys of a cycle go unchecked while its tables go.
        const bool unchecked = cycles && dialect() == Dialect::mysql;
        if (unchecked) out_ += "SET FOREIGN_KEY_CHECKS = 0;\n";
        for (auto t = plan_.creation_order.rbegin(); t != plan_.creation_order.rend(); ++t) {
            out_ += "DROP TABLE IF EXISTS ";
            table_name(*t);
            out_ += ";\n";
        }
        if (unchecked) out_ += "SET FOREIGN_KEY_CHECKS = 1;\n";
    }

    void foreign_key(const PlannedForeignKey& key) {
        out_ += "CONSTRAINT ";
        name(key.name);
        out_ += " FOREIGN KEY ";
        append_column_list(out_, dialect(), plan_.tables[key.child], key.child_columns, false);
        out_ += " REFERENCES ";
        table_name(key.parent);
        out_ += ' ';
        append_column_list(out_, dialect(), plan_.tables[key.parent], key.parent_columns, false);
    }

    // The table's statements as planned, with the foreign keys it is created with put in.
    void table(std::size_t t) {
        const PlannedTable& table = plan_.tables[t];
        const std::string_view text = plan_.text;
        const std::span<const std::size_t> held = held_[t];
        out_ += text.substr(table.text_begin, table.text_comma - table.text_begin);
        if (!held.empty() && table.text_lines) out_ += ',';
        out_ += text.substr(table.text_comma, table.text_head_end - table.text_comma);
        for (std::size_t i = 0; i < held.size(); ++i) {
            out_ += '\n';
            out_ += kIndent;
            foreign_key(plan_.foreign_keys[held[i]]);
            if (i + 1 < held.size()) out_ += ',';
        }
        out_ += text.substr(table.text_head_end, table.text_end - table.text_head_end);
    }

    const Diagram& diagram_;
    const SchemaPlan& plan_;
    ScriptText out_;
    const GroupedIndices held_;  // by table, the foreign keys it is created with
};

}  // namespace

std::string write_script(const Diagram& diagram, const SchemaPlan& plan, bool drop) {
    return ScriptWriter(diagram, plan).write(drop);
}
