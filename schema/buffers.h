#pragma once

#include <optional>

#include "schema/line_buffer.h"

// The three line buffers of a schema generation run. Each is absent (no run prepared, or the run has
// ended) or present. A banner makes all three present and empty; `release` makes them absent.
struct GenerationBuffers {
    std::optional<LineBuffer> header;      // banner; for a unit also the interface declarations
    std::optional<LineBuffer> body;        // per entity: the statements or the table procedure
    std::optional<LineBuffer> create_all;  // per entity: the lines that CriarTodas runs

    // True between a banner and `release`: generators may write.
    bool prepared() const { return header && body && create_all; }
    // Creates the absent buffers and clears the present ones.
    void prepare();
    // Clears and releases every buffer.
    void release();
};

// The module's run state: one instance, used from the host's thread only.
GenerationBuffers& generation_buffers();
