#pragma once

#include <cstdint>

#include "schema/buffers.h"

class TEntidade;

// Appends one entity's SQL statements (optional DROP TABLE, CREATE TABLE with its columns and primary
// key, one CREATE INDEX per secondary key) to linhas_corpo, using linhas_indices as scratch. The
// buffers must be present.
void gerar_sql_entidade(const TEntidade& entidade, std::int32_t tipo_banco, bool apagar, BuffersGeracao& buffers);
