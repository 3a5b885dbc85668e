// The model's keys: primary keys and each relationship's foreign key, as derived from a diagram.

#include "diagram/model_keys.h"

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "plugin/registros.h"

namespace {

using Pairs = std::vector<std::pair<int, int>>;

Pairs pairs_of(const ModelForeignKey& fk) {
    Pairs out;
    for (const ForeignKeyColumn& c : fk.columns) out.emplace_back(c.parent_attribute, c.child_attribute);
    return out;
}

std::string nome(const Diagram& d, std::size_t entity, int attribute) {
    return static_cast<const TAtributo*>(d.entities[entity].entity->atributos().Objects(attribute))->nome.str();
}

TEST(ModelKeys, TheSalesExample) {
    const Diagram d = load_diagram(KZR40_SOURCE_DIR "/examples/vendas.json");
    const ModelKeys keys = model_keys(d);
    EXPECT_EQ(keys.primary_keys, (std::vector<std::vector<int>>{{0}, {0}, {0}, {0, 1}}));
    ASSERT_EQ(keys.foreign_keys.size(), 3u);
    const std::vector<std::pair<std::size_t, std::size_t>> ends{{0, 2}, {2, 3}, {1, 3}};
    const std::vector<std::string> parent_keys{"CODIGO", "NUMERO", "CODIGO"};
    const std::vector<std::string> columns{"CLIENTE", "PEDIDO", "PRODUTO"};
    for (std::size_t r = 0; r < 3; ++r) {
        const ModelForeignKey& fk = keys.foreign_keys[r];
        SCOPED_TRACE(d.relationships[r].name);
        EXPECT_EQ(fk.relationship, r);
        EXPECT_EQ(std::pair(fk.parent, fk.child), ends[r]);
        ASSERT_EQ(fk.columns.size(), 1u);
        EXPECT_EQ(nome(d, fk.parent, fk.columns[0].parent_attribute), parent_keys[r]);
        EXPECT_EQ(nome(d, fk.child, fk.columns[0].child_attribute), columns[r]);
        EXPECT_TRUE(fk.complete());
    }
    EXPECT_TRUE(keys.stray_origins.empty());
}

// Composite keys pair in key order, which is the list order after the keys-first reordering, not the
// file order; a self-reference and two relationships between the same entities each find their own
// attributes by name.
TEST(ModelKeys, CompositeSelfAndParallelRelationships) {
    const Diagram d = parse_diagram(R"({"entities": [
      {"entidade": "Pessoa", "tabela": "PESSOA", "atributos": [
        {"nome": "NOME", "tipo": "String", "tamanho": 40},
        {"nome": "PAIS", "tipo": "String", "tamanho": 2, "key": true},
        {"nome": "DOC", "tipo": "Integer", "key": true},
        {"nome": "MAE_PAIS", "tipo": "String", "tamanho": 2, "origem": "Mae"},
        {"nome": "MAE_DOC", "tipo": "Integer", "origem": "Mae"}]},
      {"entidade": "Contrato", "tabela": "CONTRATO", "atributos": [
        {"nome": "NUMERO", "tipo": "Integer", "key": true},
        {"nome": "FIADOR_PAIS", "tipo": "String", "tamanho": 2, "origem": "Fiador"},
        {"nome": "TITULAR_PAIS", "tipo": "String", "tamanho": 2, "key": true, "origem": "Titular"},
        {"nome": "FIADOR_DOC", "tipo": "Integer", "origem": "Fiador"},
        {"nome": "TITULAR_DOC", "tipo": "Integer", "origem": "Titular"}]}],
     "relationships": [
      {"name": "Titular", "from": "Pessoa", "to": "Contrato"},
      {"name": "Mae", "from": "Pessoa", "to": "Pessoa"},
      {"name": "Fiador", "from": "Pessoa", "to": "Contrato"}]})",
                                    "keys.json");
    const ModelKeys keys = model_keys(d);
    // Pessoa's list is PAIS, DOC, NOME, MAE_PAIS, MAE_DOC; Contrato's NUMERO, TITULAR_PAIS, FIADOR_PAIS,
    // FIADOR_DOC, TITULAR_DOC.
    EXPECT_EQ(keys.primary_keys, (std::vector<std::vector<int>>{{0, 1}, {0, 1}}));
    ASSERT_EQ(keys.foreign_keys.size(), 3u);
    EXPECT_EQ(pairs_of(keys.foreign_keys[0]), (Pairs{{0, 1}, {1, 4}}));  // TITULAR_PAIS is a key, so first
    EXPECT_EQ(pairs_of(keys.foreign_keys[1]), (Pairs{{0, 3}, {1, 4}}));
    EXPECT_EQ(keys.foreign_keys[1].parent, keys.foreign_keys[1].child);
    EXPECT_EQ(pairs_of(keys.foreign_keys[2]), (Pairs{{0, 2}, {1, 3}}));
    for (const ModelForeignKey& fk : keys.foreign_keys) EXPECT_TRUE(fk.complete());
    EXPECT_EQ(nome(d, 1, keys.foreign_keys[0].columns[1].child_attribute), "TITULAR_DOC");
}

// What does not pair up is kept for the checks: key attributes without a partner, `origem`
// attributes left over (all of them when the start entity has no key, as the model then removes
// none), names that differ in letter case, and names of relationships that end elsewhere.
TEST(ModelKeys, WhatDoesNotPairUp) {
    const Diagram d = parse_diagram(R"({"entities": [
      {"entidade": "A", "tabela": "A", "atributos": [
        {"nome": "K1", "tipo": "Integer", "key": true}, {"nome": "K2", "tipo": "Integer", "key": true}]},
      {"entidade": "SemChave", "tabela": "S", "atributos": [{"nome": "X", "tipo": "Integer"}]},
      {"entidade": "B", "tabela": "B", "atributos": [
        {"nome": "ID", "tipo": "Integer", "key": true},
        {"nome": "A_K1", "tipo": "Integer", "origem": "Curta"},
        {"nome": "S1", "tipo": "Integer", "origem": "DeS"},
        {"nome": "S2", "tipo": "Integer", "origem": "DeS"},
        {"nome": "CAIXA", "tipo": "Integer", "origem": "curta"},
        {"nome": "ALHEIA", "tipo": "Integer", "origem": "Outra"},
        {"nome": "D", "tipo": "Integer", "origem": "Dupla"}]}],
     "relationships": [
      {"name": "Curta", "from": "A", "to": "B"},
      {"name": "DeS", "from": "SemChave", "to": "B"},
      {"name": "Outra", "from": "B", "to": "A"},
      {"name": "Dupla", "from": "B", "to": "B"},
      {"name": "Dupla", "from": "A", "to": "B"},
      {"name": "Vazia", "from": "A", "to": "SemChave"}]})",
                                    "keys.json");
    const ModelKeys keys = model_keys(d);
    const ModelForeignKey& curta = keys.foreign_keys[0];
    EXPECT_EQ(pairs_of(curta), (Pairs{{0, 1}}));
    EXPECT_EQ(curta.unmatched_parent, std::vector<int>{1});
    EXPECT_TRUE(curta.surplus_child.empty());
    EXPECT_FALSE(curta.complete());

    const ModelForeignKey& de_s = keys.foreign_keys[1];
    EXPECT_TRUE(de_s.columns.empty());
    EXPECT_EQ(de_s.surplus_child, (std::vector<int>{2, 3}));

    const ModelForeignKey& outra = keys.foreign_keys[2];  // ALHEIA sits in its start entity, not its end
    EXPECT_TRUE(outra.columns.empty());
    EXPECT_EQ(outra.unmatched_parent, std::vector<int>{0});
    EXPECT_FALSE(outra.complete());

    // Two relationships of one name ending at B both claim D.
    EXPECT_EQ(pairs_of(keys.foreign_keys[3]), (Pairs{{0, 6}}));
    EXPECT_EQ(pairs_of(keys.foreign_keys[4]), (Pairs{{0, 6}}));
    EXPECT_EQ(keys.foreign_keys[4].unmatched_parent, std::vector<int>{1});

    EXPECT_TRUE(keys.foreign_keys[5].columns.empty());
    EXPECT_FALSE(keys.foreign_keys[5].complete());

    ASSERT_EQ(keys.stray_origins.size(), 2u);
    EXPECT_EQ(nome(d, keys.stray_origins[0].entity, keys.stray_origins[0].attribute), "CAIXA");
    EXPECT_EQ(nome(d, keys.stray_origins[1].entity, keys.stray_origins[1].attribute), "ALHEIA");
}

}  // namespace
