#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/string_list.h"
#include "plugin/registros.h"

// Reading an entity's lists as the generators do. An entry without a record is skipped: the host
// always hangs one, and reading through a missing record must not bring the host down.

inline const TAtributo* atributo_em(const StringList& atributos, int i) {
    return static_cast<const TAtributo*>(atributos.Objects(i));
}
inline const TChaveSecundaria* chave_em(const StringList& chaves, int i) {
    return static_cast<const TChaveSecundaria*>(chaves.Objects(i));
}
inline bool eh_chave(const TAtributo& a) { return (a.chave & kChavePrimaria) != 0; }
inline bool aceita_nulo(const TAtributo& a) { return (a.opcoes & kOpcaoAceitaNulo) != 0; }

// The column-name and column-type checks that every generator applies before writing an attribute.
// On success `tipo` holds the program-side type name and `nome` the sanitised column name.
bool validar_atributo(std::int32_t tipo_banco, const TAtributo& a, std::string& tipo, std::string& nome);

// The fields of a secondary key's `campos` (names joined by "+") as the columns are named: each name
// sanitised like a column name, joined by `separador`. An expression index keeps its text as typed, with
// "+" still replaced, since it is not a list of names.
std::string campos_do_indice(const TChaveSecundaria& chave, std::string_view separador);

// The primary key's column list: the key attributes in list order, each checked and sanitised, joined
// by `separador`. A refused attribute ends the list there and is handed to `recusado`.
template <typename Recusado>
std::string lista_de_chaves(std::int32_t tipo_banco, const StringList& atributos, std::string_view separador,
                            Recusado&& recusado) {
    std::string lista, tipo, nome;
    for (int i = 0; i < atributos.Count(); ++i) {
        const TAtributo* a = atributo_em(atributos, i);
        if (!a || !eh_chave(*a)) continue;
        if (!validar_atributo(tipo_banco, *a, tipo, nome)) {
            recusado(*a);
            break;
        }
        lista += nome;
        lista += separador;
    }
    if (!lista.empty()) lista.resize(lista.size() - separador.size());
    return lista;
}
