// The table-creation unit's share of one entity, and the same definition applied to a table object.

#include "schema/gerador_unidade.h"

#include <string>

#include "platform/message_box.h"
#include "platform/printer.h"
#include "platform/table.h"
#include "platform/text_file.h"
#include "plugin/entidade.h"
#include "plugin/entity_view.h"
#include "schema/tipo_banco.h"

namespace {

// Blanks before a definition inside `With FieldDefs` / `With IndexDefs`.
constexpr std::size_t kDefinitionIndent = 6;

// "[ixUnique,ixCaseInsensitive]": the option set written for a secondary key in the unit, kept in the
// object.
class OptionSet {
public:
    explicit OptionSet(const IndexOptions& options) {
        add("[");
        if (options.unique) add("ixUnique,");
        if (options.case_insensitive) add("ixCaseInsensitive,");
        if (options.descending) add("ixDescending,");
        if (options.non_maintained) add("ixNonMaintained,");
        if (options.expression) add("ixExpression,");
        if (chars_[size_ - 1] == ',') --size_;
        add("]");
    }
    std::string_view view() const { return {chars_, size_}; }

private:
    void add(std::string_view text) {
        text.copy(chars_ + size_, text.size());
        size_ += text.size();
    }

    char chars_[80];  // the longest set takes 70
    std::size_t size_ = 0;
};

// The first column in field-definition order that the checks refuse, or null.
const ColumnView* first_refused(const EntityView& entity) {
    for (const ColumnView* column : entity.field_order())
        if (column->refused()) return column;
    return nullptr;
}

}  // namespace

void write_unit_procedure(const EntityView& entity, GenerationBuffers& buffers) {
    Printer body(*buffers.body);
    if (!entity.table_accepted()) {
        body.print(" // Fonte n\xE3o gerada, nome da tabela inv\xE1lido : \"$table$\"\n"_tpl, {{"table", entity.stored_table()}});
        return;
    }
    const DatabaseProfile& profile = database_profile(entity.kind());
    const std::string_view table = entity.table();
    const std::string_view extension = profile.extension;

    Printer create_all(*buffers.create_all);
    create_all.print(
        "  IF not (FileExists(Diretorio+'$table$$extension$')) Then\n"
        "    Criar$table$(Diretorio)\n"
        "  Else\n"
        "    IF Not(manter_antigas) Then \n"
        "       Criar$table$(Diretorio);\n"
        "\n"_tpl,
        {{"table", table}, {"extension", extension}});

    Printer header(*buffers.header);
    header.print("procedure Criar$table$(Diretorio:string);\n"_tpl, {{"table", table}});

    Printer::WithVars table_vars(body, {{"table", table}, {"extension", extension}});
    body.print(
        "// Entidade: $entity$\n"
        " \n"
        "procedure Criar$table$(Diretorio:string);\n"
        "Begin\n"
        "  With TTable.Create(Application) do begin\n"
        "    Active := false;\n"
        "    DatabaseName := Diretorio;\n"
        "    TableName := '$table$$extension$';\n"
        "    TableType := $table_type$;\n"
        "    With FieldDefs do begin\n"
        "      Clear;\n"_tpl,
        {{"entity", entity.entity().entidade().view()}, {"table_type", profile.table_type_source}});

    const ColumnView* refused = first_refused(entity);
    {
        Printer::Indent definitions(body, kDefinitionIndent);
        for (const ColumnView* column : entity.field_order()) {
            if (column == refused) break;
            body.print("Add('$name$', ft$type$, $size$, $required$);\n"_tpl,
                       {{"name", column->name},
                        {"type", column->type->program.name},
                        {"size", DecimalText(column->record->tamanho)},
                        {"required", column->nullable ? "False" : "True"}});
        }
    }
    if (refused) {
        // A refused column leaves the unit incomplete inside the field definitions.
        body.print(" // Coluna n\xE3o gerada, nome ou tipo inv\xE1lido :\"$name$\"\n"_tpl, {{"name", refused->record->nome.view()}});
        return;
    }
    body.print(
        "    End;\n"
        "    With IndexDefs do begin\n"
        "      Clear;\n"_tpl);
    const ColumnView* refused_key;
    const std::string key = entity.key_list("; ", &refused_key);
    if (refused_key)
        body.print(" // \xCDndice n\xE3o gerado, nome ou tipo inv\xE1lido :\"$name$\"\n"_tpl,
                      {{"name", refused_key->record->nome.view()}});
    {
        Printer::Indent definitions(body, kDefinitionIndent);
        body.print("Add('', '$key$', [ixPrimary,ixUnique]);\n"_tpl, {{"key", key}});
        for (const SecondaryKeyView& index : entity.secondary_keys())
            body.print("Add('$name$', '$fields$', $options$);\n"_tpl, {{"name", index.name},
                                                                      {"fields", index.fields_joined(";")},
                                                                      {"options", OptionSet(index.options).view()}});
    }

    body.print(
        "    End;\n"
        "    CreateTable;\n"
        "    Free;\n"
        "  End;\n"
        "End; // Criar$table$\n"
        " \n"_tpl);
}

void define_table(TTable& table, const EntityView& entity, std::string_view directory, bool replace) {
    if (!entity.table_accepted()) {
        show_error_message("Tabela n\xE3o gerada, nome inv\xE1lido : \"" + std::string(entity.stored_table()) + '"');
        return;
    }
    const DatabaseProfile& profile = database_profile(entity.kind());
    const std::string table_name = entity.table() + std::string(profile.extension);
    const std::string file = std::string(directory) + table_name;
    if (!replace && file_exists(file)) return;

    table.SetActive(false);
    table.SetDatabaseName(std::string(directory));
    table.SetTableName(table_name);
    table.SetTableType(profile.table_type);

    TFieldDefs& fields = table.FieldDefs();
    fields.Clear();
    for (const ColumnView* column : entity.field_order()) {
        if (column->refused()) {
            show_error_message("Coluna n\xE3o gerada, nome ou tipo inv\xE1lido :\"" + column->record->nome.str());
            return;
        }
        const TAtributo& a = *column->record;
        fields.Add(std::string(column->name), a.tipo, column->type->program.sized ? a.tamanho : 0, !column->nullable);
    }

    // A refused key attribute silently ends the list.
    const ColumnView* refused_key;
    const std::string key = entity.key_list(";", &refused_key);

    TIndexDefs& indexes = table.IndexDefs();
    indexes.Clear();
    if (profile.table_type == TTableType::ttParadox) indexes.Add("", key, {TIndexOption::ixPrimary, TIndexOption::ixUnique});

    const bool dbase = entity.kind() == kBancoDBase;
    for (const SecondaryKeyView& index : entity.secondary_keys()) {
        TIndexOptions options;
        if (index.options.unique && !dbase) options.include(TIndexOption::ixUnique);
        if (index.options.case_insensitive && !dbase) options.include(TIndexOption::ixCaseInsensitive);
        if (index.options.descending) options.include(TIndexOption::ixDescending);
        if (index.options.non_maintained) options.include(TIndexOption::ixNonMaintained);
        if (index.options.expression) options.include(TIndexOption::ixExpression);
        // dBase indexes several fields through an expression that joins them with "+".
        const std::string index_fields = index.fields_joined(dbase ? "+" : ";");
        if (dbase && index_fields.find('+') != std::string::npos) options.include(TIndexOption::ixExpression);
        indexes.Add(std::string(index.name), index_fields, options);
    }
}
