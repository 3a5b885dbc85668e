#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "plugin/catalogo.h"
#include "plugin/registros.h"

class TEntidade;

// The option bits of a secondary key (TChaveSecundaria::tipo_indice), decoded.
struct IndexOptions {
    bool unique;            // kIndiceDuplicados clear
    bool case_insensitive;  // kIndiceMaiusculas clear
    bool descending;
    bool non_maintained;
    bool expression;
};
IndexOptions decode_index_options(std::uint32_t bits);

// Whether the generators take the attribute as a column for the database kind: false for a type
// outside the catalogue (the view's ColumnView::refused()).
bool column_accepted(std::int32_t kind, const TAtributo& attribute);

// One attribute entry that carries a record, with what the generators derive from it.
struct ColumnView {
    const TAtributo* record = nullptr;     // never null in a view
    int entry = 0;                         // position on the entity's attribute list, entries without a record counted
    std::string_view name;                 // the column name, sanitised (held by the view)
    const TypeDescriptor* type = nullptr;  // null for a type outside the catalogue: every generator refuses the column
    bool key = false;                      // part of the primary key
    bool nullable = false;
    bool shown = false;                    // placed on the maintenance form

    bool refused() const { return type == nullptr; }
    // Read when asked, since only the forms need them: the label on the form (`rotulo`, or `titulo` when
    // `rotulo` is empty) and the editor class.
    std::string_view caption() const { return record->rotulo.empty() ? record->titulo.view() : record->rotulo.view(); }
    // The editor class of `componente`.
    ClasseEditor editor() const { return classe_editor(record->componente); }
};

// One secondary-key entry that carries a record.
struct SecondaryKeyView {
    std::string_view name;  // the entry's text: the index name as typed
    const TChaveSecundaria* record;
    IndexOptions options;
    // `campos` with each part between its "+" signs sanitised like a column name, except in an
    // expression index, whose text is not a list of names and stays as typed.
    std::string fields;

    // The parts of `fields` joined by `separator` instead of "+".
    std::string fields_joined(std::string_view separator) const;
};

// An entity as every generator reads it, derived once when a generator starts on the entity and not
// changed after: sanitised names, type descriptors, the shown attributes, the keys in order and the
// decoded index options. It refers to the entity's records, so it serves only while the entity is left
// alone. The database kind is the one the generation runs for.
//
// Generators get it as const. Its owner may `read` the next entity into it, which reuses the storage:
// a run over thousands of entities then allocates nothing per entity.
class EntityView {
public:
    EntityView() = default;
    EntityView(const TEntidade& entity, std::int32_t kind) { read(entity, kind); }
    // The columns point into the view's own storage: a view is not copied.
    EntityView(const EntityView&) = delete;
    EntityView& operator=(const EntityView&) = delete;

    // Derives the view of `entity` anew, in place of the entity read before.
    void read(const TEntidade& entity, std::int32_t kind);

    const TEntidade& entity() const { return *entity_; }
    std::int32_t kind() const { return kind_; }
    // The table name as stored in the entity, and sanitised (every generated identifier uses this one).
    std::string_view stored_table() const;
    const std::string& table() const { return table_; }
    // Whether the table-name check accepts the name (valida_tabela, which accepts every name today).
    bool table_accepted() const { return table_accepted_; }

    // The entries with a record, in list order.
    const std::vector<ColumnView>& columns() const { return columns_; }
    // The key columns, in list order.
    std::span<const ColumnView* const> keys() const { return {field_order_.data(), key_count_}; }
    // Field-definition order: the key columns, then the others, each group in list order.
    const std::vector<const ColumnView*>& field_order() const { return field_order_; }
    // The key columns' names joined by `separator`, up to the first refused key column, which is left
    // in `*refused` (null when there is none).
    std::string key_list(std::string_view separator, const ColumnView** refused) const;

    const std::vector<SecondaryKeyView>& secondary_keys() const { return secondary_keys_; }

private:
    const TEntidade* entity_ = nullptr;
    std::int32_t kind_ = 0;
    std::string table_;
    bool table_accepted_ = false;
    std::string names_;  // every column name, sanitised, one after the other
    std::vector<ColumnView> columns_;
    std::vector<const ColumnView*> field_order_;  // the key columns first
    std::size_t key_count_ = 0;
    std::vector<SecondaryKeyView> secondary_keys_;
};
