// Generation runs: the buffers' life, the two banners and the assembly of the listing.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/clock.h"
#include "plugin/exports.h"
#include "tests/schema/entidades.h"

namespace {

using Texto = std::vector<std::string>;

const Texto kBannerSql = {
    "/*  Esquema gerado por VELQUORANTIS v 0.1.0 Lite */",
    "/* em 01/01/1970 00:00:00                       */",
    " ",
    "/*  Projeto : Vendas              */",
    "/*  Servidor : SRV       */",
    " ",
    "/*   Coloque aqui seus procedimentos de login para  */",
    "/*   conec\xE7\xE3o ao servidor do banco de dados         */",
    " ",
};

const Texto kBannerUnidade = {
    "",
    "// Unit gerada por Velquorantis v 0.1.0 Lite",
    "// em 01/01/1970 00:00:00",
    "//",
    "//   Projeto: Vendas",
    " ",
    "Unit GerarDBs;",
    " ",
    "Interface",
    " ",
    "Uses",
    "  SysUtils, Windows, Messages, Classes, Graphics, Controls,FileCtrl,",
    "  Forms, Dialogs, Buttons, Menus, ExtCtrls, DB, DBTables, DbiProcs;",
    " ",
    "Procedure CriarTodas(diretorio:string;manter_antigas:boolean);",
    " ",
};

const Texto kMoldura = {
    " ",
    "Implementation",
    " ",
    "Procedure CriarTodas(diretorio:string;manter_antigas:boolean);",
    "Begin",
    " //montar aqui rotina de verificacao e construcao ",
    "  IF Not(DirectoryExists(Diretorio)) then ",
    "    Try",
    "      CreateDir(Diretorio);",
    "    Finally",
    "    End;",
};

Texto juntar(std::initializer_list<Texto> partes) {
    Texto todas;
    for (const Texto& p : partes) todas.insert(todas.end(), p.begin(), p.end());
    return todas;
}

class Execucao : public ::testing::Test {
protected:
    void SetUp() override { set_var("Vendas", "SRV"); }
    void TearDown() override {
        finalizar();
        set_var("", "");
    }
};

TEST_F(Execucao, EmptyRunsHaveTheBannerAndTheFrameOnly) {
    EXPECT_EQ(executar(1, {}), juntar({kBannerSql, {"", ""}}));
    EXPECT_EQ(executar(0, {}), juntar({kBannerUnidade, kMoldura, {"End;", "", "", "End.  //CriarDBs"}}));
    // Any language but 1 opens a unit; 1 opens exactly the SQL banner.
    EXPECT_EQ(executar(7, {}).size(), 16u + 11u + 4u);
    EXPECT_EQ(executar(1, {}, 0, false, 5).size(), 9u + 2u);
}

TEST_F(Execucao, FrameSwitchAloneDecidesTheCriarTodasFrame) {
    EXPECT_EQ(executar(1, {}, 0, false, 0), juntar({kBannerSql, kMoldura, {"End;", "", "", "End.  //CriarDBs"}}));
    EXPECT_EQ(executar(0, {}, 0, false, 1), juntar({kBannerUnidade, {"", ""}}));
}

TEST_F(Execucao, BannersShowUnsetProjectAndServerAsNothing) {
    set_var("", "");
    const Texto sql = executar(1, {});
    EXPECT_EQ(sql[3], "/*  Projeto :               */");
    EXPECT_EQ(sql[4], "/*  Servidor :        */");
    EXPECT_EQ(executar(0, {})[4], "//   Projeto: ");
    // Null texts count as empty.
    set_var(nullptr, nullptr);
    EXPECT_EQ(executar(1, {})[3], "/*  Projeto :               */");
}

TEST_F(Execucao, BannerCarriesTheCurrentDateAndTime) {
    set_fixed_time(86400 * 365 + 3600 * 13 + 61);  // 1971-01-01 13:01:01 UTC
    gerar_cab_sql();
    StringList lista;
    montar_listagem(&lista, 1);
    EXPECT_STREQ(lista.Get(1), "/* em 01/01/1971 13:01:01                       */");
    gerar_cabecalho(0);
    montar_listagem(&lista, 0);
    EXPECT_STREQ(lista.Get(2), "// em 01/01/1971 13:01:01");
    set_fixed_time(std::nullopt);
}

TEST_F(Execucao, ANewRunStartsFromEmptyBuffers) {
    const auto c = cliente();
    executar(0, {c.get()});
    EXPECT_EQ(executar(0, {}), juntar({kBannerUnidade, kMoldura, {"End;", "", "", "End.  //CriarDBs"}}));
    // A banner without finalizar clears the buffers of the run before it too.
    gerar_cab_sql();
    gera_fonte(c.get(), 1, 0, true);
    EXPECT_EQ(executar(1, {}), juntar({kBannerSql, {"", ""}}));
}

TEST_F(Execucao, ListingCanBeAssembledAgainWithTheSameResult) {
    const auto c = cliente();
    set_fixed_time(0);
    gerar_cab_sql();
    gera_fonte_sql(c.get(), 1, 0, false);
    StringList primeira, segunda;
    segunda.Add("left over from the host");
    montar_listagem(&primeira, 1);
    montar_listagem(&segunda, 1);
    EXPECT_EQ(linhas(primeira), linhas(segunda));
    EXPECT_GT(primeira.Count(), 11);
    set_fixed_time(std::nullopt);
}

TEST_F(Execucao, CallsWithoutAPreparedRunOrWithoutObjectsAreRefused) {
    const auto c = cliente();
    finalizar();
    finalizar();  // twice is harmless
    gera_fonte(c.get(), 0, 0, false);
    gera_fonte(c.get(), 1, 0, false);
    gera_fonte_sql(c.get(), 1, 0, false);
    StringList lista;
    lista.Add("kept");
    montar_listagem(&lista, 0);
    EXPECT_EQ(linhas(lista), Texto{"kept"});

    // Inside a run, null entities and lists are refused without output.
    gerar_cab_sql();
    gera_fonte(nullptr, 0, 0, false);
    gera_fonte(nullptr, 1, 0, false);
    gera_fonte_sql(nullptr, 1, 0, true);
    montar_listagem(nullptr, 1);
    montar_listagem(&lista, 1);
    EXPECT_EQ(lista.Count(), 9 + 2);
    gera_tab(nullptr, c.get(), "", 0, true);
}

}  // namespace
