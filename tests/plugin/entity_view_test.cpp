#include "plugin/entity_view.h"

#include <span>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "plugin/entidade.h"
#include "plugin/registros.h"

namespace {

TAtributo* attribute(const char* name, bool key, std::int32_t type = 1) {
    auto* a = new TAtributo;
    a->nome = name;
    a->tipo = type;
    a->chave = key ? kChavePrimaria : 0;
    return a;
}

std::vector<std::string> names(std::span<const ColumnView* const> columns) {
    std::vector<std::string> out;
    for (const ColumnView* c : columns) out.emplace_back(c->name);
    return out;
}

using Names = std::vector<std::string>;

TEST(EntityView, DerivesNamesKeysAndFieldOrderOnceFromTheEntity) {
    TEntidade entity;
    entity.SetTabela("NOTA FISCAL");
    StringList list;
    list.AddObject("k1", attribute("c\xF3" "digo", true));
    list.AddObject("gap", nullptr);
    TAtributo* hidden = attribute("valor-total", false);
    hidden->opcoes = kOpcaoAceitaNulo | kOpcaoForaDoFormulario;
    list.AddObject("n1", hidden);
    TAtributo* late_key = attribute("s\xE9rie", false);
    list.AddObject("n2", late_key);
    list.AddObject("bad", attribute("estranho", true, 99));
    entity.SetAtributos(list);
    // The host sets a key bit after handing the list over: the key order follows the records as they are.
    late_key->chave = kChavePrimaria;
    late_key->rotulo = "S\xE9rie";
    late_key->titulo = "T\xEDtulo";
    // Key entries come first (plugin/entidade.h): the two keys, the entry without a record, then the others.

    const EntityView view(entity, 0);
    EXPECT_EQ(view.stored_table(), "NOTA FISCAL");
    EXPECT_EQ(view.table(), "NOTA_FISCAL");
    EXPECT_TRUE(view.table_accepted());
    ASSERT_EQ(view.columns().size(), 4u);  // the entry without a record is left out, its position kept
    EXPECT_EQ(view.columns()[0].name, "c_digo");
    EXPECT_EQ(view.columns()[0].type->program.name, "String");
    EXPECT_TRUE(view.columns()[1].refused());
    EXPECT_EQ(view.columns()[2].entry, 3);
    EXPECT_EQ(view.columns()[2].name, "valor_total");
    EXPECT_TRUE(view.columns()[2].nullable);
    EXPECT_FALSE(view.columns()[2].shown);
    EXPECT_EQ(view.columns()[3].caption(), "S\xE9rie");
    EXPECT_TRUE(view.columns()[3].shown);

    EXPECT_EQ(names(view.keys()), (Names{"c_digo", "estranho", "s_rie"}));
    EXPECT_EQ(names(view.field_order()), (Names{"c_digo", "estranho", "s_rie", "valor_total"}));
    const ColumnView* refused = nullptr;
    EXPECT_EQ(view.key_list("; ", &refused), "c_digo");  // the list ends at the refused key column
    EXPECT_EQ(refused, &view.columns()[1]);
}

TEST(EntityView, DecodesSecondaryKeysOnce) {
    TEntidade entity;
    StringList keys;
    auto* names_key = new TChaveSecundaria;
    names_key->campos = "nome do cliente+cidade";
    names_key->tipo_indice = kIndiceDuplicados | kIndiceDescendente;
    auto* expression = new TChaveSecundaria;
    expression->campos = "UPPER(nome)+cidade";
    expression->tipo_indice = kIndiceMaiusculas | kIndiceNaoMantido | kIndiceExpressao;
    keys.AddObject("PorNome", names_key);
    keys.AddObject("PorExpressao", expression);
    entity.SetChavesSecundarias(keys);

    const EntityView view(entity, 1);
    ASSERT_EQ(view.secondary_keys().size(), 2u);
    const SecondaryKeyView& by_name = view.secondary_keys()[0];
    EXPECT_EQ(by_name.name, "PorNome");
    EXPECT_EQ(by_name.fields_joined(";"), "nome_do_cliente;cidade");
    EXPECT_FALSE(by_name.options.unique);
    EXPECT_TRUE(by_name.options.case_insensitive);
    EXPECT_TRUE(by_name.options.descending);
    EXPECT_FALSE(by_name.options.non_maintained || by_name.options.expression);
    const SecondaryKeyView& by_expression = view.secondary_keys()[1];
    EXPECT_EQ(by_expression.fields_joined(","), "UPPER(nome),cidade");  // not a list of names: kept as typed
    EXPECT_TRUE(by_expression.options.unique);
    EXPECT_FALSE(by_expression.options.case_insensitive || by_expression.options.descending);
    EXPECT_TRUE(by_expression.options.non_maintained && by_expression.options.expression);
}

}  // namespace
