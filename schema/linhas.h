#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string_view>
#include <vector>

// An ordered list of single-byte text lines: the output buffer of a generation run and the small
// printer the generators write through. A line is assembled from named pieces in one call, so the
// generators read like the text they produce.
//
// Lines are packed into blocks of 64 KiB (a length, the characters, a zero byte), so that a run of
// millions of lines costs a few hundred allocations, nothing is moved as the list grows, and each line
// can be handed on as a C string without copying.
class Linhas {
public:
    // Appends one line made of `pecas` joined without separator.
    void adicionar(std::initializer_list<std::string_view> pecas);
    void adicionar(std::string_view linha) { adicionar({linha}); }
    // Appends every line of `outras`, in order.
    void acrescentar(const Linhas& outras);
    // Empties the list; the first block is kept for the lines to come.
    void limpar();

    std::size_t quantidade() const { return quantidade_; }
    bool vazia() const { return quantidade_ == 0; }

    // Calls `visitar(linha)` for every line in order; `linha.data()` is zero-terminated.
    template <typename Visitar>
    void para_cada(Visitar&& visitar) const {
        for (const Bloco& b : blocos_) {
            for (std::size_t p = 0; p < b.usado;) {
                std::uint32_t tamanho;
                std::memcpy(&tamanho, b.dados.get() + p, sizeof tamanho);
                p += sizeof tamanho;
                visitar(std::string_view(b.dados.get() + p, tamanho));
                p += tamanho + 1;
            }
        }
    }

private:
    static constexpr std::size_t kTamanhoBloco = 64 * 1024;
    struct Bloco {
        std::unique_ptr<char[]> dados;
        std::size_t capacidade = 0;
        std::size_t usado = 0;
    };
    // Room for `bytes` more bytes at the end of the last block.
    char* reservar(std::size_t bytes);

    std::vector<Bloco> blocos_;
    std::size_t quantidade_ = 0;
};
