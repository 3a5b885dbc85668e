#pragma once

#include <string_view>

#include "schema/buffers.h"

class EntityView;
class TTable;

// Appends one entity's share of the GerarDBs unit: its existence test and call in CriarTodas
// (create_all), its procedure declaration (header) and the procedure that defines and creates the
// table (body). The buffers must be present.
void write_unit_procedure(const EntityView& entity, GenerationBuffers& buffers);

// Applies the entity's table definition to `table` directly: names, type, field and index
// definitions. With `replace` false an existing table file in `directory` is left alone and so is the
// table object. Refusals are shown as error messages (platform/message_box.h).
void define_table(TTable& table, const EntityView& entity, std::string_view directory, bool replace);
