#pragma once

#include <cstdint>
#include <string_view>

#include "schema/buffers.h"

class TEntidade;
class TTable;

// Appends one entity's share of the GerarDBs unit: its existence test and call in CriarTodas
// (linhas_criar_todas), its procedure declaration (linhas_cabecalho) and the procedure that defines
// and creates the table (linhas_corpo, with linhas_indices as scratch). The buffers must be present.
void gerar_unidade_entidade(const TEntidade& entidade, std::int32_t tipo_banco, BuffersGeracao& buffers);

// Applies the entity's table definition to `tabela` directly: names, type, field and index
// definitions. With `substituir` false an existing table file in `diretorio` is left alone and so is
// the table object. Refusals are shown as error messages (platform/message_box.h).
void preparar_tabela(TTable& tabela, const TEntidade& entidade, std::string_view diretorio, std::int32_t tipo_banco,
                     bool substituir);
