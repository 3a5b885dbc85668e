#pragma once

// The 24 entry points of the plug-in library, with the names and argument orders the host calls them
// by. Texts are null-terminated single-byte (Windows-1252) strings; a text result lives in plug-in
// storage that stays valid until the next call of the same entry point. Every entry point is called
// from one thread, one call at a time.

#include <cstdint>

#include "platform/api.h"

class HostStringList;
class TAtributo;
class TEntidade;
class TTable;

extern "C" {

// Identification and settings.
KZR40_API const char* GetID();
KZR40_API void Init(std::int32_t valor);
KZR40_API void set_var(const char* projeto, const char* servidor);

// Pick lists. `listas` reaches the five list operations by selector (low seven bits):
// 0 Lings, 1 Bancos(parametro), 2 tipofonte, 3 carrega_comps, 4 carrega_tipo.
KZR40_API void listas(std::uint8_t seletor, std::int32_t parametro, HostStringList* lista);
KZR40_API void Lings(HostStringList* lista);
KZR40_API void Bancos(std::int32_t linguagem, HostStringList* lista);
KZR40_API void tipofonte(HostStringList* lista);
KZR40_API void carrega_tipo(HostStringList* lista);
KZR40_API void carrega_comps(HostStringList* lista);

// Type and component queries.
KZR40_API const char* nometipo(std::int32_t indice);
KZR40_API std::int32_t ordemtipo(const char* nome);
KZR40_API bool variavel(const char* nome);
KZR40_API bool decimais(const char* nome);
KZR40_API const char* traduzcampo(const TAtributo* atributo, std::int32_t seletor);
KZR40_API const char* nomecomponente(std::int32_t componente);

// Schema generation runs: banner, one gera_fonte per entity, montar_listagem, finalizar.
KZR40_API void gerar_cabecalho(std::int32_t linguagem);
KZR40_API void gerar_cab_sql();
KZR40_API void montar_listagem(HostStringList* lista, std::int32_t moldura);
KZR40_API void finalizar();
KZR40_API void gera_fonte(TEntidade* entidade, std::int32_t linguagem, std::int32_t tipo_banco, bool apagar);
KZR40_API void gera_fonte_sql(TEntidade* entidade, std::int32_t linguagem, std::int32_t tipo_banco, bool apagar);
KZR40_API void gera_tab(TTable* tabela, TEntidade* entidade, const char* diretorio, std::int32_t tipo_banco, bool substituir);

// Application generation: one maintenance form per entity, then the main project. These two write
// files and are the only entry points that raise errors, and only two kinds: EInOutError
// (platform/text_file.h) for a file that cannot be written, EComponentError
// (platform/components/component.h) for a component name the form refuses or a field definition the
// table lacks; any other failure inside arrives as EComponentError. File names are Windows-1252;
// relative ones resolve against the caller's ScopedWorkingDirectory (platform/system_paths.h), else the
// process's current directory.
KZR40_API void gerarform(TTable* tabela, TEntidade* entidade, const char* diretorio, std::int32_t tipo_banco,
               std::uint8_t sinal);
KZR40_API void gerarmain(HostStringList* entradas, const char* diretorio, std::int32_t tipo_banco, std::int32_t reservado,
               const char* titulo);

}  // extern "C"
