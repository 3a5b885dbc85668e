#include "schema/linhas.h"

void Linhas::adicionar(std::initializer_list<std::string_view> pecas) {
    for (std::string_view peca : pecas) texto_.append(peca);
    fins_.push_back(texto_.size());
    texto_.push_back('\0');
}

void Linhas::acrescentar(const Linhas& outras) {
    const std::size_t base = texto_.size();
    texto_.append(outras.texto_);
    fins_.reserve(fins_.size() + outras.fins_.size());
    for (std::size_t fim : outras.fins_) fins_.push_back(base + fim);
}

void Linhas::limpar() {
    texto_.clear();
    fins_.clear();
}
