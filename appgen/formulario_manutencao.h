#pragma once

#include <cstdint>
#include <string>

class TEntidade;
class TTable;

// Generates the maintenance form of one entity: the unit "M<tabela>.PAS" and the binary form file
// "M<tabela>.dfm", written into `diretorio` (a plain prefix of the file names). An entity whose
// Tipoform is not 0, 1 or 2 gets nothing; attribute entries without a record are left off. Errors
// (EInOutError; EComponentError for a rejected name or an attribute whose field definition the table
// lacks) leave the call; files completed before stay on disk.
void gerar_formulario_manutencao(const TTable& tabela, const TEntidade& entidade, const std::string& diretorio,
                                 std::int32_t tipo_banco);
