#pragma once

// Entities built as the host builds them (new records handed over by the list setters), for the tests
// and the benchmarks.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/string_list.h"
#include "plugin/entidade.h"
#include "plugin/registros.h"

namespace test_support {

// One attribute. The first six fields come in the order the schema tests list them positionally;
// the rest are named where used ({.nome = "X", .componente = 3}).
struct Attribute {
    std::string nome;
    std::int32_t tipo = 1;  // String
    std::int32_t tamanho = 0;
    std::int32_t decimais = 0;
    bool chave = false;  // primary key
    bool nulo = false;   // accepts null
    std::int32_t componente = 1;  // TDBEdit
    std::uint32_t opcoes = 0;     // kOpcao* bits besides kOpcaoAceitaNulo
    std::int32_t largura = 0;
    std::string titulo = {};  // the nome when empty
    std::string rotulo = {};
};

struct SecondaryKey {
    std::string nome;
    std::string campos;
    std::uint32_t tipo_indice = 0;  // kIndice* bits
};

// A new record, for a list that hands it to an entity.
inline TAtributo* new_attribute(const Attribute& a) {
    auto* record = new TAtributo;
    record->nome = a.nome;
    record->titulo = a.titulo.empty() ? a.nome : a.titulo;
    record->rotulo = a.rotulo;
    record->tipo = a.tipo;
    record->tamanho = a.tamanho;
    record->decimais = a.decimais;
    record->componente = a.componente;
    record->chave = a.chave ? kChavePrimaria : 0;
    record->opcoes = a.opcoes | (a.nulo ? kOpcaoAceitaNulo : 0);
    record->largura = a.largura;
    return record;
}

inline std::unique_ptr<TEntidade> make_entity(const std::string& entidade, const std::string& tabela,
                                              const std::vector<Attribute>& atributos,
                                              const std::vector<SecondaryKey>& chaves = {}, std::int32_t tipoform = 0) {
    auto e = std::make_unique<TEntidade>();
    e->SetEntidade(entidade);
    e->SetTabela(tabela);
    e->SetTipoform(tipoform);
    StringList lista;
    lista.Reserve(atributos.size());
    for (const Attribute& a : atributos) lista.AddObject(a.nome, new_attribute(a));
    e->SetAtributos(lista);
    StringList secundarias;
    for (const SecondaryKey& k : chaves) {
        auto* record = new TChaveSecundaria;
        record->campos = k.campos;
        record->tipo_indice = k.tipo_indice;
        secundarias.AddObject(k.nome, record);
    }
    e->SetChavesSecundarias(secundarias);
    return e;
}

}  // namespace test_support
