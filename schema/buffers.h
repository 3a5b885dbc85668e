#pragma once

#include <optional>

#include "schema/linhas.h"

// The four line buffers of a schema generation run. Each is absent (no run prepared, or the run has
// ended) or present. A banner makes all four present and empty; `finalizar` makes them absent.
struct BuffersGeracao {
    std::optional<Linhas> linhas_cabecalho;    // banner; for a unit also the interface declarations
    std::optional<Linhas> linhas_indices;      // index lines of the entity being generated
    std::optional<Linhas> linhas_corpo;        // per entity: the statements or the table procedure
    std::optional<Linhas> linhas_criar_todas;  // per entity: the lines that CriarTodas runs

    // True between a banner and `finalizar`: generators may write.
    bool preparado() const {
        return linhas_cabecalho && linhas_indices && linhas_corpo && linhas_criar_todas;
    }
    // Creates the absent buffers and clears the present ones.
    void preparar();
    // Clears and releases every buffer.
    void liberar();
};

// The module's run state: one instance, used from the host's thread only.
BuffersGeracao& buffers_geracao();
