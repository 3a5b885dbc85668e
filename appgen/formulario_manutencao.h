#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/formfile/value.h"

class LineSink;
class TEntidade;
class TTable;

// Generates the maintenance form of one entity: the unit "M<tabela>.PAS" and the binary form file
// "M<tabela>.dfm", written into `diretorio` (a plain prefix of the file names). An entity whose
// Tipoform is not 0, 1 or 2 gets nothing; attribute entries without a record are left off. Errors
// (EInOutError; EComponentError for a rejected name or an attribute whose field definition the table
// lacks) leave the call; files completed before stay on disk.
void gerar_formulario_manutencao(const TTable& tabela, const TEntidade& entidade, const std::string& diretorio,
                                 std::int32_t tipo_banco);

// The same form without files: the unit's text goes, line by line, to the sink that `open_unit` gives
// when the unit starts (called once, where gerar_formulario_manutencao creates the .PAS file), and the
// form's design comes back under its generated names. Nothing when Tipoform has no layout.
std::optional<formfile::ObjectNode> construir_formulario_manutencao(const TTable& tabela, const TEntidade& entidade,
                                                                    std::int32_t tipo_banco,
                                                                    const std::function<LineSink&()>& open_unit);
