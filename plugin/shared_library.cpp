// The one source of libkzr40.so itself: the library is the layers' archives linked whole (see the
// top-level CMakeLists.txt). Here the signatures the host calls the entry points by are pinned, so that
// a change to plugin/exports.h that would break a host built against an earlier library cannot compile.

#include <cstdint>
#include <type_traits>

#include "plugin/exports.h"

static_assert(std::is_same_v<decltype(GetID), const char*()>);
static_assert(std::is_same_v<decltype(Init), void(std::int32_t)>);
static_assert(std::is_same_v<decltype(set_var), void(const char*, const char*)>);
static_assert(std::is_same_v<decltype(listas), void(std::uint8_t, std::int32_t, HostStringList*)>);
static_assert(std::is_same_v<decltype(Lings), void(HostStringList*)>);
static_assert(std::is_same_v<decltype(Bancos), void(std::int32_t, HostStringList*)>);
static_assert(std::is_same_v<decltype(tipofonte), void(HostStringList*)>);
static_assert(std::is_same_v<decltype(carrega_tipo), void(HostStringList*)>);
static_assert(std::is_same_v<decltype(carrega_comps), void(HostStringList*)>);
static_assert(std::is_same_v<decltype(nometipo), const char*(std::int32_t)>);
static_assert(std::is_same_v<decltype(ordemtipo), std::int32_t(const char*)>);
static_assert(std::is_same_v<decltype(variavel), bool(const char*)>);
static_assert(std::is_same_v<decltype(decimais), bool(const char*)>);
static_assert(std::is_same_v<decltype(traduzcampo), const char*(const TAtributo*, std::int32_t)>);
static_assert(std::is_same_v<decltype(nomecomponente), const char*(std::int32_t)>);
static_assert(std::is_same_v<decltype(gerar_cabecalho), void(std::int32_t)>);
static_assert(std::is_same_v<decltype(gerar_cab_sql), void()>);
static_assert(std::is_same_v<decltype(montar_listagem), void(HostStringList*, std::int32_t)>);
static_assert(std::is_same_v<decltype(finalizar), void()>);
static_assert(std::is_same_v<decltype(gera_fonte), void(TEntidade*, std::int32_t, std::int32_t, bool)>);
static_assert(std::is_same_v<decltype(gera_fonte_sql), void(TEntidade*, std::int32_t, std::int32_t, bool)>);
static_assert(std::is_same_v<decltype(gera_tab), void(TTable*, TEntidade*, const char*, std::int32_t, bool)>);
static_assert(std::is_same_v<decltype(gerarform), void(TTable*, TEntidade*, const char*, std::int32_t, std::uint8_t)>);
static_assert(std::is_same_v<decltype(gerarmain),
                             void(HostStringList*, const char*, std::int32_t, std::int32_t, const char*)>);
