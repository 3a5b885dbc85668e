#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// An ordered list of single-byte text lines: the output buffer of a generation run and the small
// printer the generators write through. A line is assembled from named pieces in one call, so the
// generators read like the text they produce. All lines share one block of storage, each followed by a
// zero byte so that it can be handed on as a C string without copying.
class Linhas {
public:
    // Appends one line made of `pecas` joined without separator.
    void adicionar(std::initializer_list<std::string_view> pecas);
    void adicionar(std::string_view linha) { adicionar({linha}); }
    // Appends every line of `outras`, in order.
    void acrescentar(const Linhas& outras);
    void limpar();

    std::size_t quantidade() const { return fins_.size(); }
    bool vazia() const { return fins_.empty(); }
    // Line `i` as a zero-terminated text; valid until the list changes.
    const char* c_str(std::size_t i) const { return texto_.data() + inicio(i); }
    std::string_view linha(std::size_t i) const { return {c_str(i), fins_[i] - inicio(i)}; }

private:
    std::size_t inicio(std::size_t i) const { return i == 0 ? 0 : fins_[i - 1] + 1; }

    std::string texto_;               // every line followed by '\0'
    std::vector<std::size_t> fins_;   // offset of each line's terminating zero
};
