// The SQL statements of an entity.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/clock.h"
#include "plugin/exports.h"
#include "tests/schema/entidades.h"
#include "tests/schema/exemplos.h"

namespace {

using Texto = std::vector<std::string>;

TEST(GeradorSql, CustomerExampleWithDrop) { EXPECT_EQ(corpo_sql(*cliente(), 0, true), sql_de_cliente()); }

TEST(GeradorSql, WithoutDropTheTwoBlankLinesMeet) {
    const Texto corpo = corpo_sql(*cliente(), 0, false);
    ASSERT_GE(corpo.size(), 4u);
    EXPECT_EQ(corpo[1], " ");
    EXPECT_EQ(corpo[2], " ");
    EXPECT_EQ(corpo[3], "CREATE TABLE \"CLIENTE.DB\"");
}

TEST(GeradorSql, KindsNameTheTableFileEverywhere) {
    struct Caso {
        std::int32_t tipo_banco;
        const char* nome;
    };
    for (const Caso& caso : {Caso{0, "\"CLIENTE.DB\""}, Caso{1, "\"CLIENTE.DBF\""}, Caso{2, "\"CLIENTE.DBG\""},
                             Caso{7, "\"CLIENTE.DB\""}, Caso{-1, "\"CLIENTE.DB\""}}) {
        const Texto corpo = corpo_sql(*cliente(), caso.tipo_banco, true);
        EXPECT_EQ(corpo[2], std::string("DROP TABLE ") + caso.nome + " ;") << caso.tipo_banco;
        EXPECT_EQ(corpo[4], std::string("CREATE TABLE ") + caso.nome) << caso.tipo_banco;
        EXPECT_EQ(corpo[11], std::string("  CREATE   UNIQUE INDEX IDX_NOME ON ") + caso.nome) << caso.tipo_banco;
    }
}

TEST(GeradorSql, TableColumnAndIndexFieldNamesAreSanitisedTheRestIsWrittenAsTyped) {
    const auto e = make_entity("Nota Fiscal (sa\xED" "da)", "Nota Fiscal",
                               {{"N\xFAmero nota", 3, 0, 0, true, false}, {"S\xE9rie", 1, 3, 0, true, false}},
                               {{"Idx S\xE9rie", "S\xE9rie+N\xFAmero nota", 1}});
    const Texto corpo = corpo_sql(*e, 0, true);
    EXPECT_EQ(corpo[0], "/* Entidade : Nota Fiscal (sa\xED" "da) */");
    EXPECT_EQ(corpo[2], "DROP TABLE \"Nota_Fiscal.DB\" ;");
    EXPECT_EQ(corpo[6], " N_mero_nota  INTEGER  NOT NULL ,");
    EXPECT_EQ(corpo[7], " S_rie  CHARACTER (3)  NOT NULL ,");
    EXPECT_EQ(corpo[8], " PRIMARY KEY ( N_mero_nota, S_rie )");
    EXPECT_EQ(corpo[11], "  CREATE  INDEX Idx S\xE9rie ON \"Nota_Fiscal.DB\"");
    EXPECT_EQ(corpo[12], "  (S_rie,N_mero_nota);");  // the index names the columns as the table has them
}

TEST(GeradorSql, PrimaryKeyListAndDirection) {
    const auto sem_chave = make_entity("E", "T", {{"A", 3}, {"B", 3}});
    EXPECT_EQ(corpo_sql(*sem_chave)[6], " B  INTEGER  NOT NULL ,");
    EXPECT_EQ(corpo_sql(*sem_chave)[7], " PRIMARY KEY (  )");

    auto descendente = make_entity("E", "T", {{"B", 3}, {"A", 3, 0, 0, true}, {"C", 3, 0, 0, true}});
    descendente->SetPrimaria(kPrimariaDescendente | 0x01);
    const Texto corpo = corpo_sql(*descendente);
    // Keys come first in the entity's list, so also in the CREATE TABLE and the key list.
    EXPECT_EQ(corpo[5], " A  INTEGER  NOT NULL ,");
    EXPECT_EQ(corpo[8], " PRIMARY KEY ( A, C )");
    EXPECT_EQ(corpo[9], "DESCENDING");
    EXPECT_EQ(corpo[10], ");");

    descendente->SetPrimaria(0x03);  // other bits play no part
    EXPECT_EQ(corpo_sql(*descendente)[9], ");");
}

TEST(GeradorSql, SecondaryKeyOptionBits) {
    struct Caso {
        std::uint32_t bits;
        const char* linha;
    };
    const Caso casos[] = {
        {0, "  CREATE   UNIQUE INDEX I ON \"T.DB\""},
        {kIndiceDuplicados, "  CREATE  INDEX I ON \"T.DB\""},
        {kIndiceDescendente, "  CREATE   UNIQUE, DESCENDING INDEX I ON \"T.DB\""},
        {kIndiceDuplicados | kIndiceDescendente, "  CREATE   DESCENDING INDEX I ON \"T.DB\""},
        // Case, non-maintained and expression bits do not show in SQL.
        {kIndiceMaiusculas | kIndiceNaoMantido | kIndiceExpressao, "  CREATE   UNIQUE INDEX I ON \"T.DB\""},
    };
    for (const Caso& caso : casos) {
        const auto e = make_entity("E", "T", {{"A", 3, 0, 0, true}}, {{"I", "A+B+C", caso.bits}});
        const Texto corpo = corpo_sql(*e);
        EXPECT_EQ(corpo[9], caso.linha) << caso.bits;
        EXPECT_EQ(corpo[10], "  (A,B,C);") << caso.bits;
        EXPECT_EQ(corpo[11], " ") << caso.bits;
    }
}

TEST(GeradorSql, ColumnTypesAndNullability) {
    const auto e = make_entity("E", "T",
                               {{"F", 6, 10, 2}, {"B", 8, 10, 2, false, true}, {"Y", 12, 8, 0}, {"M", 16, 0, 0, false, true},
                                {"U", 0, 5}, {"I", 14}});
    const Texto corpo = corpo_sql(*e);
    EXPECT_EQ(Texto(corpo.begin() + 5, corpo.begin() + 11),
              (Texto{" F  DECIMAL (10,2)  NOT NULL ,", " B  NUMERIC (10,2)   ,", " Y  BYTES (8,0)  NOT NULL ,",
                     " M  BYTES (0)   ,", " U  Unknow (5)  NOT NULL ,", " I  AAUTOINC  NOT NULL ,"}));
}

TEST(GeradorSql, EmptyEntitiesStillGetTheirStatements) {
    const auto e = make_entity("Vazia", "", {});
    EXPECT_EQ(corpo_sql(*e, 0, true), (Texto{"/* Entidade : Vazia */", " ", "DROP TABLE \".DB\" ;", " ",
                                             "CREATE TABLE \".DB\"", "(", " PRIMARY KEY (  )", ");", " ", " "}));
}

TEST(GeradorSql, ARefusedColumnEndsTheEntityThereTheNextOneGoesOn) {
    // The type check refuses a type outside the catalogue.
    const auto ruim = make_entity("Ruim", "RUIM", {{"OK", 3, 0, 0, true}, {"Mau nome", 25}, {"DEPOIS", 3}}, {{"I", "OK", 0}});
    const auto bom = make_entity("Boa", "BOA", {{"A", 3}});
    const Texto todas = executar(1, {ruim.get(), bom.get()});
    const Texto esperado = {
        "/* Entidade : Ruim */", " ", " ", "CREATE TABLE \"RUIM.DB\"", "(", " OK  INTEGER  NOT NULL ,",
        " /* Coluna n\xE3o gerada, nome ou tipo inv\xE1lido :\"Mau nome\" */",
        "/* Entidade : Boa */",
    };
    EXPECT_EQ(Texto(todas.begin() + 10, todas.begin() + 10 + esperado.size()), esperado);
}

TEST(GeradorSql, GeraFonteWithLanguageOneWritesTheSameStatements) {
    const auto c = cliente();
    set_fixed_time(0);
    gerar_cab_sql();
    gera_fonte(c.get(), 1, 2, true);
    StringList por_fonte;
    montar_listagem(&por_fonte, 1);
    gerar_cab_sql();
    gera_fonte_sql(c.get(), 99, 2, true);  // the language argument has no effect
    StringList por_sql;
    montar_listagem(&por_sql, 1);
    finalizar();
    set_fixed_time(std::nullopt);
    EXPECT_EQ(linhas(por_fonte), linhas(por_sql));
}

}  // namespace
