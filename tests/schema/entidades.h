#pragma once

// Building entities and running the schema entry points the way the host does, for the tests.

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "platform/string_list.h"
#include "plugin/entidade.h"
#include "plugin/registros.h"

struct Coluna {
    std::string nome;
    std::int32_t tipo = 3;  // Integer
    std::int32_t tamanho = 0;
    std::int32_t decimais = 0;
    bool chave = false;
    bool nulo = false;
};

struct Indice {
    std::string nome;
    std::string campos;
    std::uint32_t bits = 0;
};

inline std::unique_ptr<TEntidade> entidade(const std::string& nome, const std::string& tabela,
                                           std::initializer_list<Coluna> colunas,
                                           std::initializer_list<Indice> indices = {}) {
    auto e = std::make_unique<TEntidade>();
    e->SetEntidade(nome);
    e->SetTabela(tabela);
    StringList atributos;
    for (const Coluna& c : colunas) {
        auto* a = new TAtributo;
        a->nome = c.nome;
        a->tipo = c.tipo;
        a->tamanho = c.tamanho;
        a->decimais = c.decimais;
        a->chave = c.chave ? kChavePrimaria : 0;
        a->opcoes = c.nulo ? kOpcaoAceitaNulo : 0;
        atributos.AddObject(c.nome, a);
    }
    e->SetAtributos(atributos);
    StringList chaves;
    for (const Indice& i : indices) {
        auto* k = new TChaveSecundaria;
        k->campos = i.campos;
        k->tipo_indice = i.bits;
        chaves.AddObject(i.nome, k);
    }
    e->SetChavesSecundarias(chaves);
    return e;
}

// The entity of the worked example: Cliente / CLIENTE, CODIGO Integer key, NOME String(40) nullable,
// secondary key IDX_NOME on NOME with no option bit.
inline std::unique_ptr<TEntidade> cliente() {
    return entidade("Cliente", "CLIENTE", {{"CODIGO", 3, 0, 0, true, false}, {"NOME", 1, 40, 0, false, true}},
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
