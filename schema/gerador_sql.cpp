// The SQL data-definition statements of one entity.

#include "schema/gerador_sql.h"

#include <string>
#include <string_view>

#include "platform/printer.h"
#include "plugin/entidade.h"
#include "plugin/entity_view.h"
#include "plugin/registros.h"
#include "schema/comentario.h"
#include "schema/tipo_banco.h"

namespace {

// The words between "CREATE " and " INDEX".
std::string_view index_modifier(const IndexOptions& options) {
    if (options.unique) return options.descending ? "  UNIQUE, DESCENDING" : "  UNIQUE";
    return options.descending ? "  DESCENDING" : "";
}

}  // namespace

void write_sql_statements(const EntityView& entity, bool drop, GenerationBuffers& buffers) {
    Printer body(*buffers.body);
    body.print(
        "/* Entidade : $entity$ */\n"
        " \n"_tpl,
        {{"entity", texto_de_comentario(entity.entity().entidade().view())}});
    if (!entity.table_accepted()) {
        body.print(" // Script n\xE3o gerado, nome da tabela inv\xE1lido : \"$table$\"\n"_tpl, {{"table", entity.stored_table()}});
        return;
    }
    const std::string_view table = entity.table();
    const std::string_view extension = database_profile(entity.kind()).extension;
    Printer::WithVars table_vars(body, {{"table", table}, {"extension", extension}});
    if (drop) body.print("DROP TABLE \"$table$$extension$\" ;\n"_tpl);
    body.print(
        " \n"
        "CREATE TABLE \"$table$$extension$\"\n"
        "(\n"_tpl);

    for (const ColumnView& column : entity.columns()) {
        if (column.refused()) {
            // The statement stays open: nothing more is written for this entity.
            body.print(" /* Coluna n\xE3o gerada, nome ou tipo inv\xE1lido :\"$name$\" */\n"_tpl,
                       {{"name", texto_de_comentario(column.record->nome.view())}});
            return;
        }
        body.print(" $name$  $type$$size$  $null$ ,\n"_tpl,
                   {{"name", column.name},
                    {"type", column.type->sql.name},
                    {"size", TypeSize(column.type->sql, *column.record).view()},
                    {"null", column.nullable ? "" : "NOT NULL"}});
    }

    const ColumnView* refused;
    const std::string key = entity.key_list(", ", &refused);
    if (refused)
        body.print(" // \xCDndice n\xE3o gerado, nome ou tipo inv\xE1lido :\"$name$\"\n"_tpl,
                      {{"name", refused->record->nome.view()}});
    body.print(" PRIMARY KEY ( $key$ )\n"_tpl, {{"key", key}});
    if ((entity.entity().Primaria() & kPrimariaDescendente) != 0) body.print("DESCENDING\n"_tpl);
    body.print(
        ");\n"
        " \n"_tpl);

    for (const SecondaryKeyView& index : entity.secondary_keys())
        body.print(
            "  CREATE $modifier$ INDEX $name$ ON \"$table$$extension$\"\n"
            "  ($fields$);\n"
            " \n"_tpl,
            {{"modifier", index_modifier(index.options)},
             {"name", index.name},
             {"fields", index.fields_joined(",")}});

    body.print(" \n"_tpl);
}
