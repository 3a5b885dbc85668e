#pragma once

#include "schema/buffers.h"

class HostStringList;

// Prepares the buffers and writes the SQL script's comment banner into linhas_cabecalho.
void abrir_execucao_sql(BuffersGeracao& buffers);
// Prepares the buffers and writes the GerarDBs unit's banner and interface head into linhas_cabecalho.
void abrir_execucao_unidade(BuffersGeracao& buffers);
// Clears `lista` and fills it with the assembled listing; `moldura` adds the frame of the CriarTodas
// procedure and the unit's end. The buffers must be present and stay unchanged.
void montar(const BuffersGeracao& buffers, HostStringList& lista, bool moldura);
