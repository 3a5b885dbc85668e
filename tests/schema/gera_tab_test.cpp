// Setting up a table object directly from an entity.

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/message_box.h"
#include "platform/table.h"
#include "plugin/exports.h"
#include "tests/schema/entidades.h"

namespace {

using Texto = std::vector<std::string>;

struct Campo {
    std::string nome;
    std::int32_t tipo;
    std::int32_t tamanho;
    bool obrigatorio;
    friend bool operator==(const Campo&, const Campo&) = default;
};
std::vector<Campo> campos(const TTable& t) {
    std::vector<Campo> out;
    for (int i = 0; i < t.FieldDefs().Count(); ++i) {
        const TFieldDef& f = t.FieldDefs()[i];
        out.push_back({f.Name, f.DataType, f.Size, f.Required});
    }
    return out;
}
Texto indices(const TTable& t) {
    Texto out;
    for (int i = 0; i < t.IndexDefs().Count(); ++i) {
        const TIndexDef& x = t.IndexDefs()[i];
        out.push_back(x.Name + " | " + x.Fields + " | " + to_string(x.Options));
    }
    return out;
}

// Collects the message boxes shown while it lives.
struct Mensagens {
    Texto vistas;
    MessageReporter anterior = set_message_reporter([this](std::string_view t) { vistas.emplace_back(t); });
    ~Mensagens() { set_message_reporter(std::move(anterior)); }
};

std::unique_ptr<TEntidade> pedido() {
    return make_entity("Pedido", "Pedido Venda",
                       {{"OBS", 16, 240, 0, false, true}, {"NUMERO", 3, 0, 0, true}, {"VALOR", 8, 12, 2}, {"SERIE", 1, 3, 0, true}},
                       {{"IDX_OBS", "OBS", kIndiceDuplicados}, {"IDX_SV", "SERIE+VALOR", kIndiceDescendente | kIndiceMaiusculas}});
}

TEST(GeraTab, ParadoxTableWithKeysFirstAndSizesOnlyWhereTheTypeTakesOne) {
    const auto e = pedido();
    TTable t;
    t.SetActive(true);
    gera_tab(&t, e.get(), "/dados/", 0, true);
    EXPECT_FALSE(t.Active());
    EXPECT_EQ(t.DatabaseName(), "/dados/");
    EXPECT_EQ(t.TableName(), "Pedido_Venda.DB");
    EXPECT_EQ(t.TableType(), TTableType::ttParadox);
    // BCD takes no size on the program side; String and Memo do.
    EXPECT_EQ(campos(t), (std::vector<Campo>{{"NUMERO", 3, 0, true}, {"SERIE", 1, 3, true}, {"OBS", 16, 240, false},
                                             {"VALOR", 8, 0, true}}));
    EXPECT_EQ(indices(t), (Texto{" | NUMERO;SERIE | [ixPrimary,ixUnique]", "IDX_OBS | OBS | [ixCaseInsensitive]",
                                 "IDX_SV | SERIE;VALOR | [ixUnique,ixDescending]"}));
}

TEST(GeraTab, DBaseHasNoPrimaryIndexAndJoinsFieldsByExpression) {
    const auto e = pedido();
    TTable t;
    gera_tab(&t, e.get(), "", 1, true);
    EXPECT_EQ(t.TableName(), "Pedido_Venda.DBF");
    EXPECT_EQ(t.TableType(), TTableType::ttDBase);
    EXPECT_EQ(indices(t), (Texto{"IDX_OBS | OBS | []", "IDX_SV | SERIE+VALOR | [ixDescending,ixExpression]"}));
}

// An index names its fields as the table names its columns; an expression index is not a list of
// names and stays as typed. The generated unit and the table object agree.
TEST(GeraTab, IndexFieldsAreTheSanitisedColumnsExpressionsStayAsTyped) {
    const auto e = make_entity("E", "T", {{"Pre\xE7o", 7, 0, 0, true}, {"Nota Fiscal", 3}},
                               {{"I", "Pre\xE7o+Nota Fiscal", 0}, {"X", "UPPER(Nota Fiscal)", kIndiceExpressao}});
    TTable paradox, dbase;
    gera_tab(&paradox, e.get(), "", 0, true);
    gera_tab(&dbase, e.get(), "", 1, true);
    EXPECT_EQ(indices(paradox)[1], "I | Pre_o;Nota_Fiscal | [ixUnique,ixCaseInsensitive]");
    EXPECT_EQ(indices(paradox)[2], "X | UPPER(Nota Fiscal) | [ixUnique,ixCaseInsensitive,ixExpression]");
    EXPECT_EQ(indices(dbase)[0], "I | Pre_o+Nota_Fiscal | [ixExpression]");
    const Texto unidade = corpo_unidade(*e);
    EXPECT_NE(std::find(unidade.begin(), unidade.end(), "      Add('I', 'Pre_o;Nota_Fiscal', [ixUnique,ixCaseInsensitive]);"),
              unidade.end());
}

TEST(GeraTab, OracleKeepsTheDefaultTypeAndGetsNoPrimaryIndex) {
    const auto e = pedido();
    TTable t;
    gera_tab(&t, e.get(), "", 2, true);
    EXPECT_EQ(t.TableName(), "Pedido_Venda.DBG");
    EXPECT_EQ(t.TableType(), TTableType::ttDefault);
    EXPECT_EQ(indices(t).size(), 2u);
    EXPECT_EQ(indices(t)[1], "IDX_SV | SERIE;VALOR | [ixUnique,ixDescending]");
}

TEST(GeraTab, ExistingTableFileIsLeftAloneUnlessReplaced) {
    const auto dir = std::filesystem::temp_directory_path() / ("kzr40-gera-tab-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "CLIENTE.DB") << "x";
    const std::string diretorio = dir.string() + "/";
    const auto c = cliente();

    TTable mantida;
    mantida.SetActive(true);
    mantida.SetTableName("outra");
    mantida.FieldDefs().Add("Z", 1, 1, false);
    gera_tab(&mantida, c.get(), diretorio.c_str(), 0, false);
    EXPECT_TRUE(mantida.Active());
    EXPECT_EQ(mantida.TableName(), "outra");
    EXPECT_EQ(mantida.FieldDefs().Count(), 1);

    // Another kind looks for another file, which is not there.
    TTable dbase;
    gera_tab(&dbase, c.get(), diretorio.c_str(), 1, false);
    EXPECT_EQ(dbase.TableName(), "CLIENTE.DBF");

    TTable substituida;
    substituida.FieldDefs().Add("Z", 1, 1, false);
    gera_tab(&substituida, c.get(), diretorio.c_str(), 0, true);
    EXPECT_EQ(substituida.TableName(), "CLIENTE.DB");
    EXPECT_EQ(campos(substituida), (std::vector<Campo>{{"CODIGO", 3, 0, true}, {"NOME", 1, 40, false}}));
    std::filesystem::remove_all(dir);
}

TEST(GeraTab, ARefusedColumnIsShownAndStopsTheSetUp) {
    Mensagens mensagens;
    const auto e = make_entity("E", "T", {{"K", 3, 0, 0, true}, {"Ruim", 20}, {"Z", 3}}, {{"I", "K", 0}});
    TTable t;
    gera_tab(&t, e.get(), nullptr, 0, true);
    EXPECT_EQ(mensagens.vistas, Texto{"Coluna n\xE3o gerada, nome ou tipo inv\xE1lido :\"Ruim"});
    EXPECT_EQ(t.TableName(), "T.DB");
    EXPECT_EQ(t.FieldDefs().Count(), 1);
    EXPECT_EQ(t.IndexDefs().Count(), 0);
}

TEST(TableObject, OptionSetsAndBoundsOfItsDefinitions) {
    EXPECT_EQ(to_string(TIndexOptions{}), "[]");
    EXPECT_EQ(to_string(TIndexOptions{TIndexOption::ixNonMaintained, TIndexOption::ixPrimary}), "[ixPrimary,ixNonMaintained]");
    EXPECT_EQ(TIndexOptions{TIndexOption::ixUnique}.bits(), 0x02);
    EXPECT_EQ(static_cast<int>(TTableType::ttASCII), 3);
    TTable t;
    t.FieldDefs().Add("A", 1, 10, true);
    EXPECT_EQ(t.FieldDefs()[0].Name, "A");
    EXPECT_THROW(t.FieldDefs()[1], EListError);
    EXPECT_THROW(t.IndexDefs()[0], EListError);
    t.FieldDefs().Clear();
    EXPECT_EQ(t.FieldDefs().Count(), 0);
}

}  // namespace
