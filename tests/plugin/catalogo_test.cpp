#include "plugin/catalogo.h"

#include <gtest/gtest.h>

#include "plugin/exports.h"
#include "plugin/registros.h"

namespace {

struct atributo : TAtributo {
    explicit atributo(int tipo_, int tamanho_ = 0, int decimais_ = 0) {
        tipo = tipo_;
        tamanho = tamanho_;
        decimais = decimais_;
    }
};

TEST(TypeTexts, ProgramSideTextFollowsTheSizeAndDecimalFlags) {
    struct Case { int tipo, tamanho, decimais; const char* texto; };
    for (const Case& c : {Case{1, 20, 0, "String (20)"}, Case{3, 0, 0, "Integer"}, Case{8, 10, 2, "BCD"},
                          Case{0, 5, 0, "Desconhecido (5)"}, Case{16, 0, 0, "Memo (0)"}, Case{6, 10, 2, "Float"}}) {
        const atributo a(c.tipo, c.tamanho, c.decimais);
        EXPECT_STREQ(traduzcampo(&a, 0), c.texto) << "tipo " << c.tipo;
    }
}

TEST(TypeTexts, SqlClauseFollowsTheSqlFlags) {
    struct Case { int tipo, tamanho, decimais; const char* texto; };
    for (const Case& c : {Case{1, 20, 0, "CHARACTER (20)"}, Case{6, 10, 2, "DECIMAL (10,2)"},
                          Case{8, 10, 2, "NUMERIC (10,2)"}, Case{3, 0, 0, "INTEGER"}, Case{12, 8, 0, "BYTES (8,0)"},
                          Case{16, 0, 0, "BYTES (0)"}, Case{14, 0, 0, "AAUTOINC"}, Case{0, 5, 0, "Unknow (5)"},
                          Case{7, 9, 9, "MONEY"}}) {
        EXPECT_EQ(tipo_clausula_sql(atributo(c.tipo, c.tamanho, c.decimais)), c.texto) << "tipo " << c.tipo;
    }
}

TEST(TypeTexts, OtherSelectorsGiveTheEmptyText) {
    for (int tipo = 0; tipo < kTiposNoCatalogo; ++tipo) {
        const atributo a(tipo, 10, 2);
        EXPECT_STREQ(traduzcampo(&a, 1), "");
        EXPECT_STREQ(traduzcampo(&a, -1), "");
    }
}

// The catalogue has twenty entries; an index outside it must not read past them.
TEST(TypeTexts, IndexesOutsideTheCatalogueGiveTheEmptyText) {
    for (int tipo : {-1, 20, 1000, INT32_MIN}) {
        const atributo a(tipo, 10, 2);
        EXPECT_STREQ(nometipo(tipo), "") << tipo;
        EXPECT_STREQ(traduzcampo(&a, 0), "") << tipo;
        EXPECT_EQ(tipo_clausula_sql(a), "") << tipo;
    }
}

TEST(TypeNames, MatchExactlyAndFirstMatchWins) {
    EXPECT_EQ(ordemtipo("String"), 1);
    EXPECT_EQ(ordemtipo("string"), -1);
    EXPECT_EQ(ordemtipo("ParadoxOle"), 19);
    EXPECT_EQ(ordemtipo("Desconhecido"), 0);
    EXPECT_EQ(ordemtipo(""), -1);
    EXPECT_EQ(ordemtipo("String "), -1);
    EXPECT_EQ(ordemtipo(nullptr), -1);
    for (int i = 0; i < kTiposNoCatalogo; ++i) EXPECT_EQ(ordemtipo(nometipo(i)), i);
}

TEST(TypeNames, FlagsCountOnlyWhenExactlyOne) {
    EXPECT_FALSE(variavel("BCD"));  // its size flag is "2"
    EXPECT_TRUE(decimais("BCD"));
    EXPECT_TRUE(variavel("Desconhecido"));
    EXPECT_TRUE(variavel("String"));
    EXPECT_FALSE(decimais("String"));
    EXPECT_FALSE(variavel("Float"));
    EXPECT_FALSE(variavel("Nada"));
    EXPECT_FALSE(decimais("Nada"));
    EXPECT_FALSE(variavel("bcd"));
}

TEST(EditorComponents, NamesAndClassLookup) {
    EXPECT_STREQ(nomecomponente(1), "TDBEdit");
    EXPECT_STREQ(nomecomponente(10), "TDBImage");
    EXPECT_STREQ(nomecomponente(8), "TDBRadioGroup");
    EXPECT_STREQ(nomecomponente(0), "Desconhecido");
    EXPECT_STREQ(nomecomponente(11), "Desconhecido");
    EXPECT_STREQ(nomecomponente(-3), "Desconhecido");
    EXPECT_EQ(classe_editor(0), ClasseEditor::TDBEdit);
    EXPECT_EQ(classe_editor(11), ClasseEditor::TDBEdit);
    EXPECT_EQ(classe_editor(5), ClasseEditor::TDBLookupComboBox);
    EXPECT_EQ(nome_classe_editor(classe_editor(9)), "TDBText");
}

TEST(TextResults, StayValidUntilTheNextCallOfTheSameExport) {
    const char* componente = nomecomponente(2);
    const atributo a(1, 20);
    nometipo(5);  // other exports have storage of their own
    traduzcampo(&a, 0);
    EXPECT_STREQ(componente, "TDBCheckBox");
}

}  // namespace
