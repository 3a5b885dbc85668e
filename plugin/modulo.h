#pragma once

#include <cstdint>
#include <string>

// What the plug-in keeps between calls of its entry points. One instance, used from the host's
// thread only; the output buffers of a generation run live with the schema generators.
struct EstadoModulo {
    std::int32_t valor_host = 0;  // given to Init; nothing reads it
    std::string nome_projeto;     // set_var; read by the banners
    std::string nome_servidor;
};

EstadoModulo& modulo();
