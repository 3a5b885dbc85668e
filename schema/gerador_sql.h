#pragma once

#include <cstdint>

#include "schema/buffers.h"

class EntityView;

// Appends one entity's SQL statements (optional DROP TABLE, CREATE TABLE with its columns and primary
// key, one CREATE INDEX per secondary key) to the body. The buffers must be present.
void write_sql_statements(const EntityView& entity, bool drop, GenerationBuffers& buffers);
