#pragma once

#include <array>
#include <string_view>

// The value names of the model's enumerations (plugin/entidade.h), in the order of the values: the
// stored streams' identifiers, the diagram files' JSON names and the command line's choices are all
// these. Each entry views a whole string literal, so its data() is also a C string.
inline constexpr std::array<std::string_view, 7> kModoNames{"tmAtributo", "tmEsquema", "tmChave", "tmEntidade",
                                                            "tmdelete",   "tmTabela",  "tmload"};
inline constexpr std::array<std::string_view, 4> kRelacaoNames{"tr1x1", "tr1xn", "tr0x1", "tr0xn"};
inline constexpr std::array<std::string_view, 2> kChaveNames{"tckey", "tcatrib"};
