#include "plugin/entity_view.h"

#include "plugin/entidade.h"
#include "plugin/nomes.h"
#include "plugin/registros.h"

IndexOptions decode_index_options(std::uint32_t bits) {
    return IndexOptions{
        .unique = (bits & kIndiceDuplicados) == 0,
        .case_insensitive = (bits & kIndiceMaiusculas) == 0,
        .descending = (bits & kIndiceDescendente) != 0,
        .non_maintained = (bits & kIndiceNaoMantido) != 0,
        .expression = (bits & kIndiceExpressao) != 0,
    };
}

bool column_accepted(std::int32_t kind, const TAtributo& attribute) {
    return valida_coluna(kind, attribute) && tipo_no_catalogo(attribute.tipo);
}

std::string SecondaryKeyView::fields_joined(std::string_view separator) const {
    if (separator == "+") return fields;
    return substituir_todos(fields, "+", separator);
}

void EntityView::read(const TEntidade& entity, std::int32_t kind) {
    entity_ = &entity;
    kind_ = kind;
    table_.assign(entity.tabela().view());
    table_accepted_ = valida_tabela(kind, table_);
    field_order_.clear();
    secondary_keys_.clear();

    // The columns of the entity read before are overwritten in place, names included, so that their
    // storage serves again.
    const StringList& attributes = entity.atributos();
    const int count = attributes.Count();
    columns_.resize(static_cast<std::size_t>(count));
    // The names are copied one after the other into one text and sanitised there at once (the
    // sanitiser works byte by byte, so this equals sanitising each). Each column refers to the stored
    // name until the text is complete and can no longer move.
    names_.clear();
    std::size_t used = 0;
    for (int i = 0; i < count; ++i) {
        const auto* a = static_cast<const TAtributo*>(attributes.Objects(i));
        if (!a) continue;  // the host always hangs a record; reading past a missing one must not fail
        ColumnView& column = columns_[used++];
        column.record = a;
        column.entry = i;
        column.name = a->nome.view();
        names_.append(column.name);
        column.type = column_accepted(kind, *a) ? type_descriptor(a->tipo) : nullptr;
        column.key = (a->chave & kChavePrimaria) != 0;
        column.nullable = (a->opcoes & kOpcaoAceitaNulo) != 0;
        column.shown = (a->opcoes & kOpcaoForaDoFormulario) == 0;
    }
    columns_.resize(used);
    limpa_identificador(kind, names_);
    for (std::size_t at = 0; ColumnView& column : columns_) {
        column.name = std::string_view(names_).substr(at, column.name.size());
        at += column.name.size();
    }
    field_order_.reserve(columns_.size());
    for (const ColumnView& column : columns_)
        if (column.key) field_order_.push_back(&column);
    key_count_ = field_order_.size();
    for (const ColumnView& column : columns_)
        if (!column.key) field_order_.push_back(&column);

    const StringList& keys = entity.ChavesSecundarias();
    for (int i = 0; i < keys.Count(); ++i) {
        const auto* k = static_cast<const TChaveSecundaria*>(keys.Objects(i));
        if (!k) continue;
        SecondaryKeyView& key = secondary_keys_.emplace_back(
            SecondaryKeyView{keys.Text(i).view(), k, decode_index_options(k->tipo_indice), k->campos.str()});
        if (key.options.expression) continue;
        // Index fields are named like columns whatever the database kind. Sanitising turns every "+"
        // into "_", so each part is sanitised on its own and the "+" between them put back.
        limpa_identificador(0, key.fields);
        for (std::size_t at = 0; (at = k->campos.view().find('+', at)) != std::string_view::npos; ++at)
            key.fields[at] = '+';
    }
}

std::string_view EntityView::stored_table() const { return entity_->tabela().view(); }

std::string EntityView::key_list(std::string_view separator, const ColumnView** refused) const {
    *refused = nullptr;
    std::string list;
    const std::span<const ColumnView* const> key_columns = keys();
    for (std::size_t i = 0; i < key_columns.size(); ++i) {
        if (key_columns[i]->refused()) {
            *refused = key_columns[i];
            break;
        }
        if (i != 0) list += separator;
        list += key_columns[i]->name;
    }
    return list;
}
