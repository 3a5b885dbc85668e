#include "plugin/entity_copy.h"

#include <gtest/gtest.h>

#include "plugin/registros.h"

namespace {

TEST(EntityCopy, CopiesTheTableWithRecordsOfItsOwnInTheirOrder) {
    TEntidade original;
    original.SetTabela("Itens Pedido");
    original.SetEntidade("Itens");
    original.SetTituloform("Itens do pedido");
    original.SetAlturaform(320);
    original.SetLarguraform(480);
    original.SetTipoform(2);
    original.SetMenu("Vendas;Itens");
    original.SetPrimaria(kPrimariaDescendente);
    original.SetModo(tmodo::tmChave);
    TFont bold;
    bold.SetName("Courier New");
    bold.SetSize(12);
    original.SetFonteTitulo(bold);
    original.descricao().Add("Uma linha");

    StringList attributes;
    auto* key = new TAtributo;
    key->nome = "codigo";
    key->chave = kChavePrimaria;
    key->reservado_36[11] = 7;
    auto* late_key = new TAtributo;
    late_key->nome = "serie";
    late_key->rotulo = "S\xE9rie";
    late_key->largura = 150;
    attributes.AddObject("codigo", key);
    attributes.AddObject("sem registro", nullptr);
    attributes.AddObject("serie", late_key);
    original.SetAtributos(attributes);
    late_key->chave = kChavePrimaria;  // after the list was handed over: the entry stays third
    StringList keys;
    auto* index = new TChaveSecundaria;
    index->campos = "serie+codigo";
    index->tipo_indice = kIndiceDescendente;
    keys.AddObject("por_serie", index);
    original.SetChavesSecundarias(keys);

    std::unique_ptr<TEntidade> copy = copy_entity(original);
    copy->SetTabela("Itens_Pedido");
    EXPECT_EQ(original.tabela().view(), "Itens Pedido");
    EXPECT_EQ(copy->entidade().view(), "Itens");
    EXPECT_EQ(copy->Tituloform().view(), "Itens do pedido");
    EXPECT_EQ(copy->Alturaform(), 320);
    EXPECT_EQ(copy->Larguraform(), 480);
    EXPECT_EQ(copy->Tipoform(), 2);
    EXPECT_EQ(copy->Menu().view(), "Vendas;Itens");
    EXPECT_EQ(copy->Primaria(), kPrimariaDescendente);
    EXPECT_EQ(copy->Modo(), tmodo::tmChave);
    EXPECT_TRUE(copy->FonteTitulo().SameAs(bold));
    EXPECT_TRUE(copy->FonteAtributos().SameAs(original.FonteAtributos()));
    ASSERT_EQ(copy->descricao().Count(), 1);
    EXPECT_STREQ(copy->descricao().Get(0), "Uma linha");

    ASSERT_EQ(copy->atributos().Count(), 3);
    EXPECT_STREQ(copy->atributos().Get(2), "serie");
    EXPECT_EQ(copy->atributos().Objects(1), nullptr);
    const auto* copied_key = static_cast<const TAtributo*>(copy->atributos().Objects(0));
    const auto* copied_late = static_cast<const TAtributo*>(copy->atributos().Objects(2));
    ASSERT_TRUE(copied_key && copied_late);
    EXPECT_NE(copied_key, key);
    EXPECT_EQ(copied_key->nome.view(), "codigo");
    EXPECT_EQ(copied_key->reservado_36[11], 7);
    EXPECT_EQ(copied_late->chave, kChavePrimaria);
    EXPECT_EQ(copied_late->rotulo.view(), "S\xE9rie");
    EXPECT_EQ(copied_late->largura, 150);
    ASSERT_EQ(copy->ChavesSecundarias().Count(), 1);
    const auto* copied_index = static_cast<const TChaveSecundaria*>(copy->ChavesSecundarias().Objects(0));
    ASSERT_NE(copied_index, nullptr);
    EXPECT_NE(copied_index, index);
    EXPECT_EQ(copied_index->campos.view(), "serie+codigo");
    EXPECT_EQ(copied_index->tipo_indice, kIndiceDescendente);

    // The copy frees only its own records: the original's still read.
    copy.reset();
    EXPECT_EQ(static_cast<const TAtributo*>(original.atributos().Objects(2))->rotulo.view(), "S\xE9rie");
    EXPECT_EQ(static_cast<const TChaveSecundaria*>(original.ChavesSecundarias().Objects(0))->campos.view(), "serie+codigo");
}

}  // namespace
