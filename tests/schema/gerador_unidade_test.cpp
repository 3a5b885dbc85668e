// The table-creation unit's share of an entity.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/clock.h"
#include "plugin/exports.h"
#include "tests/schema/entidades.h"
#include "tests/schema/exemplos.h"

namespace {

using Texto = std::vector<std::string>;

TEST(GeradorUnidade, CustomerExampleProcedure) { EXPECT_EQ(corpo_unidade(*cliente()), procedimento_de_cliente()); }

TEST(GeradorUnidade, EachEntityAddsItsDeclarationAndItsCallToCriarTodas) {
    const auto a = make_entity("A", "Tab A", {{"X", 3, 0, 0, true}});
    const auto b = cliente();
    const Texto todas = executar(0, {a.get(), b.get()}, 1);
    EXPECT_EQ(todas[16], "procedure CriarTab_A(Diretorio:string);");
    EXPECT_EQ(todas[17], "procedure CriarCLIENTE(Diretorio:string);");
    const Texto criar_todas(todas.begin() + 18 + 11, todas.begin() + 18 + 11 + 13);
    EXPECT_EQ(criar_todas, (Texto{"  IF not (FileExists(Diretorio+'Tab_A.DBF')) Then", "    CriarTab_A(Diretorio)", "  Else",
                                  "    IF Not(manter_antigas) Then ", "       CriarTab_A(Diretorio);", "",
                                  "  IF not (FileExists(Diretorio+'CLIENTE.DBF')) Then", "    CriarCLIENTE(Diretorio)",
                                  "  Else", "    IF Not(manter_antigas) Then ", "       CriarCLIENTE(Diretorio);", "",
                                  "End;"}));
    EXPECT_EQ(todas.back(), "End.  //CriarDBs");
}

TEST(GeradorUnidade, KindsChooseExtensionAndTableType) {
    struct Caso {
        std::int32_t tipo_banco;
        const char* nome;
        const char* tipo;
    };
    for (const Caso& caso : {Caso{0, "    TableName := 'CLIENTE.DB';", "    TableType := ttParadox;"},
                             Caso{1, "    TableName := 'CLIENTE.DBF';", "    TableType := ttdBase;"},
                             Caso{2, "    TableName := 'CLIENTE.DBG';", "    TableType := ttOracle;"},
                             Caso{9, "    TableName := 'CLIENTE.DB';", "    TableType := ttParadox;"}}) {
        const Texto corpo = corpo_unidade(*cliente(), caso.tipo_banco);
        EXPECT_EQ(corpo[7], caso.nome) << caso.tipo_banco;
        EXPECT_EQ(corpo[8], caso.tipo) << caso.tipo_banco;
        // The primary index is written for every kind.
        EXPECT_EQ(corpo[16], "      Add('', 'CODIGO', [ixPrimary,ixUnique]);") << caso.tipo_banco;
    }
}

TEST(GeradorUnidade, KeyFieldsComeFirstAndEveryTypeWritesItsSize) {
    const auto e = make_entity("E", "T", {{"N1", 1, 20, 0, false, true}, {"K1", 8, 12, 2, true}, {"N2", 16, 0}, {"K2", 3, 0, 0, true}});
    const Texto corpo = corpo_unidade(*e);
    EXPECT_EQ(Texto(corpo.begin() + 11, corpo.begin() + 15),
              (Texto{"      Add('K1', ftBCD, 12, True);", "      Add('K2', ftInteger, 0, True);",
                     "      Add('N1', ftString, 20, False);", "      Add('N2', ftMemo, 0, True);"}));
    EXPECT_EQ(corpo[18], "      Add('', 'K1; K2', [ixPrimary,ixUnique]);");
}

TEST(GeradorUnidade, SecondaryKeyOptionSets) {
    struct Caso {
        std::uint32_t bits;
        const char* conjunto;
    };
    const Caso casos[] = {
        {0, "[ixUnique,ixCaseInsensitive]"},
        {kIndiceDuplicados | kIndiceMaiusculas, "[]"},
        {kIndiceDuplicados, "[ixCaseInsensitive]"},
        {kIndiceMaiusculas, "[ixUnique]"},
        {kIndiceDuplicados | kIndiceMaiusculas | kIndiceDescendente, "[ixDescending]"},
        {0x1F, "[ixDescending,ixNonMaintained,ixExpression]"},
        {kIndiceNaoMantido, "[ixUnique,ixCaseInsensitive,ixNonMaintained]"},
    };
    for (const Caso& caso : casos) {
        const auto e = make_entity("E", "T", {{"A", 3, 0, 0, true}}, {{"Por nome", "A+B", caso.bits}});
        EXPECT_EQ(corpo_unidade(*e)[16], std::string("      Add('Por nome', 'A;B', ") + caso.conjunto + ");") << caso.bits;
    }
}

TEST(GeradorUnidade, NoKeysAndNoTableName) {
    const auto e = make_entity("Solta", "", {{"A", 3}});
    const Texto corpo = corpo_unidade(*e);
    EXPECT_EQ(corpo[2], "procedure Criar(Diretorio:string);");
    EXPECT_EQ(corpo[7], "    TableName := '.DB';");
    EXPECT_EQ(corpo[15], "      Add('', '', [ixPrimary,ixUnique]);");
    EXPECT_EQ(corpo[20], "End; // Criar");
}

TEST(GeradorUnidade, ARefusedColumnLeavesTheProcedureOpen) {
    const auto ruim = make_entity("Ruim", "RUIM", {{"K", 3, 0, 0, true}, {"X", -1}, {"Y", 3}});
    const Texto corpo = corpo_unidade(*ruim);
    ASSERT_EQ(corpo.size(), 13u);
    EXPECT_EQ(corpo[11], "      Add('K', ftInteger, 0, True);");
    EXPECT_EQ(corpo[12], " // Coluna n\xE3o gerada, nome ou tipo inv\xE1lido :\"X\"");
}

TEST(GeradorUnidade, LanguageOneWritesTheSqlStatementsAndNothingOfTheUnit) {
    const auto c = cliente();
    set_fixed_time(0);
    gerar_cabecalho(0);
    gera_fonte(c.get(), 1, 0, false);
    StringList lista;
    montar_listagem(&lista, 0);
    finalizar();
    set_fixed_time(std::nullopt);
    const Texto todas = linhas(lista);
    // No declaration and no CriarTodas lines; the body is the SQL of the entity.
    EXPECT_EQ(todas[16], " ");
    EXPECT_EQ(todas[16 + 11], "End;");
    EXPECT_EQ(todas[16 + 13], "/* Entidade : Cliente */");
}

}  // namespace
