#pragma once

// The customer entity and running the schema entry points the way the host does, for the tests.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/string_list.h"
#include "plugin/entidade.h"
#include "plugin/registros.h"
#include "tests/support/entity_builder.h"

using test_support::make_entity;

// The entity of the customer example: Cliente / CLIENTE, CODIGO Integer key, NOME String(40) nullable,
// secondary key IDX_NOME on NOME with no option bit.
inline std::unique_ptr<TEntidade> cliente() {
    return make_entity("Cliente", "CLIENTE", {{"CODIGO", 3, 0, 0, true, false}, {"NOME", 1, 40, 0, false, true}},
                       {{"IDX_NOME", "NOME", 0}});
}

inline std::vector<std::string> linhas(const StringList& lista) {
    std::vector<std::string> out;
    for (int i = 0; i < lista.Count(); ++i) out.emplace_back(lista.Get(i));
    return out;
}


// One whole run: banner of `linguagem`, gera_fonte per entity, montar_listagem with `moldura`, finalizar.
std::vector<std::string> executar(std::int32_t linguagem, const std::vector<const TEntidade*>& entidades,
                                  std::int32_t tipo_banco = 0, bool apagar = false, std::int32_t moldura = -1);

// The lines an entity adds to the body, for a run without other entities: the listing less its
// banner and frame.
std::vector<std::string> corpo_sql(const TEntidade& e, std::int32_t tipo_banco = 0, bool apagar = false);
std::vector<std::string> corpo_unidade(const TEntidade& e, std::int32_t tipo_banco = 0);
