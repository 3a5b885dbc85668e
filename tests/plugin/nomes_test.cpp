#include "plugin/nomes.h"

#include <gtest/gtest.h>

#include "plugin/registros.h"

namespace {

std::string limpo(std::string texto) {
    EXPECT_TRUE(limpa_identificador(0, texto));
    return texto;
}

// Texts are Windows-1252 bytes: one byte per accented letter.
TEST(Sanitiser, ReplacesEveryByteButAsciiLettersAndDigits) {
    EXPECT_EQ(limpo("Nota Fiscal"), "Nota_Fiscal");
    EXPECT_EQ(limpo("Pre\xE7o"), "Pre_o");
    EXPECT_EQ(limpo("2\xAA via"), "2__via");
    EXPECT_EQ(limpo(""), "");
    EXPECT_EQ(limpo("123"), "123");
    EXPECT_EQ(limpo("a-b.c/d_e"), "a_b_c_d_e");
    EXPECT_EQ(limpo(std::string("x\0y", 3)), "x_y");
    EXPECT_EQ(limpo("\xC0\xFF@[`{"), "______");
}

TEST(NameChecks, AcceptEveryNameAndSanitiseTables) {
    for (int kind : {0, 1, 2, 7, -1}) {
        std::string nome = "Nota Fiscal";
        EXPECT_TRUE(valida_tabela(kind, nome));
        EXPECT_EQ(nome, "Nota_Fiscal");
        std::string vazio;
        EXPECT_TRUE(valida_tabela(kind, vazio));
        EXPECT_EQ(vazio, "");
        EXPECT_TRUE(valida_coluna(kind, TAtributo{}));
    }
}

TEST(NameChecks, TypeCheckGivesTheProgramSideNameAndRefusesUnknownTypes) {
    TAtributo a;
    std::string tipo;
    a.tipo = 1;
    EXPECT_TRUE(valida_tipo(0, 12345, a, tipo));
    EXPECT_EQ(tipo, "String");
    a.tipo = 3;
    EXPECT_TRUE(valida_tipo(2, 0, a, tipo));
    EXPECT_EQ(tipo, "Integer");
    a.tipo = 20;
    EXPECT_FALSE(valida_tipo(0, 0, a, tipo));
    EXPECT_EQ(tipo, "");
}

TEST(Words, RunsOfDelimitersSeparateLikeOne) {
    const Delimitadores virgula(",");
    EXPECT_EQ(extrair_palavra(4, "Float,0,0,DECIMAL,1,1", virgula), "DECIMAL");
    EXPECT_EQ(extrair_palavra(2, "a,,b", virgula), "b");
    EXPECT_EQ(extrair_palavra(1, ",a", virgula), "a");
    EXPECT_EQ(extrair_palavra(3, "a,b", virgula), "");
    EXPECT_EQ(extrair_palavra(0, "a,b", virgula), "");
    EXPECT_EQ(extrair_palavra(-1, "a,b", virgula), "");
    EXPECT_EQ(extrair_palavra(1, "", virgula), "");
    EXPECT_EQ(extrair_palavra(1, ",,,", virgula), "");
    EXPECT_EQ(extrair_palavra(2, "a,b,", virgula), "b");

    const Delimitadores ponto_e_virgula(";");
    EXPECT_EQ(extrair_palavra(1, ";;Clientes;CLIENTE", ponto_e_virgula), "Clientes");
    EXPECT_EQ(extrair_palavra(2, ";;Clientes;CLIENTE", ponto_e_virgula), "CLIENTE");
}

TEST(Words, PositionsAreOneBased) {
    const Delimitadores virgula(",");
    EXPECT_EQ(posicao_palavra(1, "abc", virgula), 1);
    EXPECT_EQ(posicao_palavra(1, ",,abc", virgula), 3);
    EXPECT_EQ(posicao_palavra(2, "a,,bc", virgula), 4);
    EXPECT_EQ(posicao_palavra(3, "a,,bc", virgula), 0);
    EXPECT_EQ(posicao_palavra(0, "abc", virgula), 0);
}

TEST(Words, DelimiterSetsHoldSeveralAndHighBytes) {
    const Delimitadores varios(" ;\xA7");
    EXPECT_EQ(extrair_palavra(3, "um dois;\xA7tr\xEAs", varios), "tr\xEAs");
    EXPECT_EQ(extrair_palavra(2, "um dois;\xA7tr\xEAs", varios), "dois");
}

TEST(Fields, EveryDelimiterSeparates) {
    EXPECT_EQ(extrair_campo(3, "Clientes;;CLIENTE;Cadastros", ';'), "CLIENTE");
    EXPECT_EQ(extrair_campo(4, "Clientes;;CLIENTE;Cadastros", ';'), "Cadastros");
    EXPECT_EQ(extrair_campo(5, "Clientes;;CLIENTE;Cadastros", ';'), "");
    EXPECT_EQ(extrair_campo(2, "a;;b", ';'), "");
    EXPECT_EQ(extrair_campo(3, "a;;b", ';'), "b");
    EXPECT_EQ(extrair_campo(4, "a;;b", ';'), "");
    EXPECT_EQ(extrair_campo(1, "", ';'), "");
    EXPECT_EQ(extrair_campo(1, "abc", ';'), "abc");
    EXPECT_EQ(extrair_campo(2, "a;", ';'), "");
    EXPECT_EQ(extrair_campo(0, "a;b", ';'), "");
}

TEST(Fields, PositionMayLieOnePastTheEnd) {
    EXPECT_EQ(posicao_campo(1, "", ';'), 1);
    EXPECT_EQ(posicao_campo(1, "abc", ';'), 1);
    EXPECT_EQ(posicao_campo(2, "a;", ';'), 3);
    EXPECT_EQ(posicao_campo(3, "a;", ';'), 0);
    EXPECT_EQ(posicao_campo(3, "a;b;c", ';'), 5);
    EXPECT_EQ(posicao_campo(0, "a;b", ';'), 0);
}

TEST(ReplaceAll, ReplacesLeftToRightWithoutRescanning) {
    EXPECT_EQ(substituir_todos("A+B+C", "+", ","), "A,B,C");
    EXPECT_EQ(substituir_todos("ABC", "+", ","), "ABC");
    EXPECT_EQ(substituir_todos("A+B", "+", "++"), "A++B");
    EXPECT_EQ(substituir_todos("aaa", "aa", "b"), "ba");
    EXPECT_EQ(substituir_todos("NOME+CIDADE", "+", ";"), "NOME;CIDADE");
    EXPECT_EQ(substituir_todos("abc", "", "x"), "abc");
    EXPECT_EQ(substituir_todos("", "+", ","), "");
    EXPECT_EQ(substituir_todos("+", "+", ""), "");
    EXPECT_EQ(substituir_todos("Aa", "a", "A"), "AA");
}

}  // namespace
