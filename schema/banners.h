#pragma once

#include "schema/buffers.h"

class HostStringList;

// Prepares the buffers and writes the SQL script's comment banner into the header.
void open_sql_run(GenerationBuffers& buffers);
// Prepares the buffers and writes the GerarDBs unit's banner and interface head into the header.
void open_unit_run(GenerationBuffers& buffers);
// Clears `list` and fills it with the assembled listing; `framed` adds the frame of the CriarTodas
// procedure and the unit's end. The buffers must be present and stay unchanged.
void assemble_listing(const GenerationBuffers& buffers, HostStringList& list, bool framed);
