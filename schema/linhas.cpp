#include "schema/linhas.h"

#include <limits>
#include <stdexcept>

char* Linhas::reservar(std::size_t bytes) {
    if (blocos_.empty() || blocos_.back().capacidade - blocos_.back().usado < bytes) {
        const std::size_t capacidade = bytes > kTamanhoBloco ? bytes : kTamanhoBloco;
        blocos_.push_back(Bloco{std::make_unique_for_overwrite<char[]>(capacidade), capacidade, 0});
    }
    Bloco& b = blocos_.back();
    char* destino = b.dados.get() + b.usado;
    b.usado += bytes;
    return destino;
}

void Linhas::adicionar(std::initializer_list<std::string_view> pecas) {
    std::size_t tamanho = 0;
    for (std::string_view peca : pecas) tamanho += peca.size();
    if (tamanho > std::numeric_limits<std::uint32_t>::max()) throw std::length_error("line longer than 4 GiB");
    const auto comprimento = static_cast<std::uint32_t>(tamanho);
    char* p = reservar(sizeof comprimento + tamanho + 1);
    std::memcpy(p, &comprimento, sizeof comprimento);
    p += sizeof comprimento;
    for (std::string_view peca : pecas) {
        if (peca.empty()) continue;
        std::memcpy(p, peca.data(), peca.size());
        p += peca.size();
    }
    *p = '\0';
    ++quantidade_;
}

void Linhas::acrescentar(const Linhas& outras) {
    if (&outras == this) throw std::invalid_argument("a line list cannot be appended to itself");
    outras.para_cada([this](std::string_view linha) { adicionar(linha); });
}

void Linhas::limpar() {
    if (blocos_.size() > 1) blocos_.resize(1);
    if (!blocos_.empty()) blocos_.front().usado = 0;
    quantidade_ = 0;
}
