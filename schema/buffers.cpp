#include "schema/buffers.h"

namespace {
void preparar_um(std::optional<Linhas>& buffer) {
    if (buffer)
        buffer->limpar();
    else
        buffer.emplace();
}
}  // namespace

void BuffersGeracao::preparar() {
    preparar_um(linhas_cabecalho);
    preparar_um(linhas_corpo);
    preparar_um(linhas_indices);
    preparar_um(linhas_criar_todas);
}

void BuffersGeracao::liberar() {
    linhas_cabecalho.reset();
    linhas_corpo.reset();
    linhas_indices.reset();
    linhas_criar_todas.reset();
}

BuffersGeracao& buffers_geracao() {
    static BuffersGeracao buffers;
    return buffers;
}
