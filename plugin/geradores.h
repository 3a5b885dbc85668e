#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/api.h"
#include "platform/host_string.h"
#include "platform/object.h"

class TAtributo;

// The code generators the host has loaded, as the diagram asks them for the type texts of the
// schema and table display modes. The host owns and fills the registry; the entity only reads it.

// The shape of the type-text entry point `traduzcampo`: an attribute record and a selector in, a
// null-terminated text of at most kMaxTextoTipo characters out.
using FuncaoTextoTipo = const char* (*)(const TAtributo* atributo, std::int32_t seletor);

inline constexpr std::size_t kMaxTextoTipo = 100;

// One registry entry. The host's own fields around the two the diagram reads are kept in place, so
// that the name sits at offset 4 and the function at offset 36 on a 32-bit build.
class KZR40_API TGerador : public TObject {
public:
    TGerador() = default;
    TGerador(HostString nome_gerador, FuncaoTextoTipo funcao) : nome(std::move(nome_gerador)), texto_tipo(funcao) {}

    HostString nome;
    std::uint8_t reservado_8[28] = {};  // the host's
    FuncaoTextoTipo texto_tipo = nullptr;
};

#if UINTPTR_MAX == 0xFFFFFFFFu
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
#endif
static_assert(offsetof(TGerador, nome) == 4);
static_assert(offsetof(TGerador, texto_tipo) == 36);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
#endif

// The registry and the name of the generator whose texts are shown. Module state of the user-interface
// thread, read without locking, as the host fills it.
class KZR40_API RegistroGeradores {
public:
    // The entries, in the order the host loaded them; not owned.
    static std::vector<const TGerador*>& Entradas();
    static HostString& Atual();

    // The type text of `atributo` from the last entry named exactly as the current generator (letter
    // case counts), cut to kMaxTextoTipo characters; empty when no entry has that name.
    static std::string TextoTipo(const TAtributo* atributo);
};
