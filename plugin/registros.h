#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/api.h"
#include "platform/host_string.h"
#include "platform/object.h"

// The two records that the host fills and hangs on an entity's lists. The plug-in reads them in place,
// so the field order is an interface with the host: on a 32-bit build every field sits at the byte
// offset the host expects (checked below); on a 64-bit build the same order holds with wider references.

// Bits of TAtributo::chave.
inline constexpr std::uint32_t kChavePrimaria = 0x01;     // the attribute belongs to the primary key
inline constexpr std::uint32_t kChaveEstrangeira = 0x02;  // foreign key
// Bits of TAtributo::opcoes (only the low byte is used).
inline constexpr std::uint32_t kOpcaoAceitaNulo = 0x20;       // column accepts null
inline constexpr std::uint32_t kOpcaoForaDoFormulario = 0x80;  // left off maintenance forms
// Bits of TChaveSecundaria::tipo_indice. Two are inverted: clear bit 0 means unique, clear bit 1
// means case-insensitive.
inline constexpr std::uint32_t kIndiceDuplicados = 0x01;
inline constexpr std::uint32_t kIndiceMaiusculas = 0x02;
inline constexpr std::uint32_t kIndiceDescendente = 0x04;
inline constexpr std::uint32_t kIndiceNaoMantido = 0x08;
inline constexpr std::uint32_t kIndiceExpressao = 0x10;

// The object of each `atributos` entry of an entity.
class KZR40_API TAtributo : public TObject {
public:
    HostString titulo;             // label caption when `rotulo` is empty
    HostString nome;               // column name
    std::int32_t reservado_12 = 0;  // the host's; the plug-in never reads it
    std::int32_t tipo = 0;         // field-type catalogue index, 0..19
    std::int32_t tamanho = 0;
    std::int32_t decimais = 0;
    std::int32_t componente = 0;   // editor component index, 1..10
    std::uint32_t chave = 0;       // kChave* bits
    std::uint8_t reservado_36[12] = {};
    HostString origem;             // relationship that added the attribute as a foreign key
    std::uint32_t opcoes = 0;      // kOpcao* bits
    std::int32_t reservado_56 = 0;
    std::int32_t largura = 0;      // editor width, used when above 99
    HostString rotulo;             // label caption on a maintenance form
};

// The object of each `ChavesSecundarias` entry; the entry's text is the index name.
class KZR40_API TChaveSecundaria : public TObject {
public:
    HostString campos;             // field names joined by "+"
    std::int32_t reservado_8 = 0;  // the host's; never read
    std::uint32_t tipo_indice = 0;  // kIndice* bits
};

#if UINTPTR_MAX == 0xFFFFFFFFu
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
#endif
static_assert(offsetof(TAtributo, titulo) == 4);
static_assert(offsetof(TAtributo, nome) == 8);
static_assert(offsetof(TAtributo, reservado_12) == 12);
static_assert(offsetof(TAtributo, tipo) == 16);
static_assert(offsetof(TAtributo, tamanho) == 20);
static_assert(offsetof(TAtributo, decimais) == 24);
static_assert(offsetof(TAtributo, componente) == 28);
static_assert(offsetof(TAtributo, chave) == 32);
static_assert(offsetof(TAtributo, reservado_36) == 36);
static_assert(offsetof(TAtributo, origem) == 48);
static_assert(offsetof(TAtributo, opcoes) == 52);
static_assert(offsetof(TAtributo, reservado_56) == 56);
static_assert(offsetof(TAtributo, largura) == 60);
static_assert(offsetof(TAtributo, rotulo) == 64);
static_assert(sizeof(TAtributo) == 68);
static_assert(offsetof(TChaveSecundaria, campos) == 4);
static_assert(offsetof(TChaveSecundaria, reservado_8) == 8);
static_assert(offsetof(TChaveSecundaria, tipo_indice) == 12);
static_assert(sizeof(TChaveSecundaria) == 16);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
#endif
