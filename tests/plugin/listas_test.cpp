// The identification and pick-list entry points, called as the host calls them.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/string_list.h"
#include "plugin/exports.h"
#include "plugin/modulo.h"
#include "plugin/registros.h"

namespace {

std::vector<std::string> textos(const StringList& lista) {
    std::vector<std::string> out;
    for (int i = 0; i < lista.Count(); ++i) out.emplace_back(lista.Get(i));
    return out;
}

using Textos = std::vector<std::string>;

TEST(Identification, ItsTextOutlivesEveryOtherTextResult) {
    // The host may keep the identifier for the whole session, while the other text results are only
    // valid until the next call of their entry point.
    const char* id = GetID();
    Init(7);
    set_var("Projeto de nome bem mais longo que o identificador", "SERVIDOR");
    for (std::int32_t i = -1; i < 40; ++i) {
        nometipo(i);
        nomecomponente(i);
    }
    TAtributo atributo;
    atributo.tipo = 1;
    atributo.tamanho = 123456;
    traduzcampo(&atributo, 0);
    EXPECT_STREQ(id, "KZR40");
    EXPECT_EQ(GetID(), id);
    set_var("", "");
}

TEST(Identification, InitAndSetVarKeepTheirValues) {
    Init(42);
    EXPECT_EQ(modulo().valor_host, 42);
    set_var("Vendas", "SRV");
    EXPECT_EQ(modulo().nome_projeto, "Vendas");
    EXPECT_EQ(modulo().nome_servidor, "SRV");
    set_var(nullptr, "Outro");
    EXPECT_EQ(modulo().nome_projeto, "");
    EXPECT_EQ(modulo().nome_servidor, "Outro");
    set_var("", "");
}

TEST(PickLists, LanguagesAndSourceKindAppendWithoutClearing) {
    StringList lista;
    Lings(&lista);
    Lings(&lista);
    EXPECT_EQ(textos(lista), (Textos{"Programa Delphi 5", "Script SQL", "Programa Delphi 5", "Script SQL"}));
    tipofonte(&lista);
    EXPECT_EQ(lista.Count(), 5);
    EXPECT_STREQ(lista.Get(4), "Delphi 5");
}

TEST(PickLists, DatabaseKindsDependOnTheLanguage) {
    StringList lista;
    lista.Add("velho");
    Bancos(0, &lista);
    EXPECT_EQ(textos(lista), (Textos{"Paradox", "dBase"}));
    Bancos(1, &lista);
    EXPECT_EQ(textos(lista), (Textos{"Paradox", "dBase", "Oracle"}));
    Bancos(2, &lista);
    EXPECT_EQ(lista.Count(), 0);
    lista.Add("velho");
    Bancos(-1, &lista);
    EXPECT_EQ(lista.Count(), 0);
}

TEST(PickLists, CatalogueListsReplaceWhatTheListHeld) {
    StringList lista;
    lista.Add("velho");
    carrega_tipo(&lista);
    ASSERT_EQ(lista.Count(), 20);
    EXPECT_STREQ(lista.Get(0), "Desconhecido");
    EXPECT_STREQ(lista.Get(8), "BCD");
    EXPECT_STREQ(lista.Get(19), "ParadoxOle");
    carrega_comps(&lista);
    EXPECT_EQ(textos(lista), (Textos{"TDBEdit", "TDBCheckBox", "TDBMemo", "TDBLookupListBox", "TDBLookupComboBox",
                                     "TDBComboBox", "TDBListBox", "TDBRadioGroup", "TDBText", "TDBImage"}));
}

TEST(PickLists, SelectorCountsOnlyItsLowSevenBits) {
    StringList lista;
    listas(1, 1, &lista);
    EXPECT_EQ(textos(lista), (Textos{"Paradox", "dBase", "Oracle"}));
    listas(1, 0, &lista);
    EXPECT_EQ(lista.Count(), 2);

    StringList langs;
    listas(128, 99, &langs);
    EXPECT_EQ(textos(langs), (Textos{"Programa Delphi 5", "Script SQL"}));
    StringList fonte;
    listas(2 | 0x80, 0, &fonte);
    EXPECT_EQ(textos(fonte), (Textos{"Delphi 5"}));
    StringList comps;
    listas(3, 0, &comps);
    EXPECT_EQ(comps.Count(), 10);
    StringList tipos;
    listas(4, 0, &tipos);
    EXPECT_EQ(tipos.Count(), 20);

    StringList intocada;
    intocada.Add("fica");
    for (int seletor : {5, 6, 127, 255}) listas(static_cast<std::uint8_t>(seletor), 1, &intocada);
    EXPECT_EQ(textos(intocada), (Textos{"fica"}));
}

}  // namespace
