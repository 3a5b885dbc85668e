// The review of a diagram's model: each rule, where its finding points, and no finding on sound models.

#include "diagram/model_review.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/ascii_case.h"

namespace {

// One diagram that breaks every rule once (the origem rule in its three forms, two rules twice).
const char* const kFaulty = R"json({"entities": [
  {"entidade": "Funcionário", "tabela": "Funcionário", "atributos": [
    {"nome": "ID", "tipo": "Integer", "key": true},
    {"nome": "Salário", "tipo": "Currency"},
    {"nome": "NOME", "tipo": "String"},
    {"nome": "VALOR", "tipo": "BCD", "tamanho": 5, "decimais": 7},
    {"nome": "X", "tipo": "Desconhecido"},
    {"nome": "CHEFE", "tipo": "Integer", "origem": "Gerência"},
    {"nome": "Order", "tipo": "Integer"}],
   "ChavesSecundarias": [{"nome": "IDX_A", "campos": "NOME+FALTA"}, {"nome": "IDX_E", "campos": "NOME++ID"}]},
  {"entidade": "Setor", "tabela": "", "atributos": [{"nome": "DESCR", "tipo": "String", "tamanho": 10}],
   "ChavesSecundarias": [{"nome": "idx_a", "campos": "DESCR"}, {"nome": "IDX_X", "campos": "UPPER(DESCR)", "expression": true}]},
  {"entidade": "Projeto", "tabela": "PROJETO", "atributos": [
    {"nome": "COD", "tipo": "Integer", "key": true, "nullable": true},
    {"nome": "F_ID", "tipo": "String", "tamanho": 10, "origem": "Alocacao"},
    {"nome": "SOLTO", "tipo": "Integer", "foreign_key": true},
    {"nome": "NADA", "tipo": "Integer", "origem": "Fantasma"},
    {"nome": "CASO", "tipo": "Integer", "origem": "vazio"},
    {"nome": "ALHEIO", "tipo": "Integer", "origem": "Gerência"}]},
  {"entidade": "Projeto", "tabela": "PROJETO2", "atributos": [
    {"nome": "ID", "tipo": "Integer", "key": true},
    {"nome": "FID", "tipo": "Integer", "origem": "ALOCACAO"},
    {"nome": "PA", "tipo": "Integer", "origem": "Par"}]},
  {"entidade": "Par", "tabela": "PAR", "atributos": [
    {"nome": "A", "tipo": "Integer", "key": true}, {"nome": "B", "tipo": "Integer", "key": true},
    {"nome": "OUTRO_A", "tipo": "Integer", "origem": "diagrama"}, {"nome": "OUTRO_B", "tipo": "Integer", "origem": "diagrama"}]}],
 "relationships": [
  {"name": "Gerência", "from": "Funcionário", "to": "Funcionário"},
  {"name": "Alocacao", "from": "Funcionário", "to": 3},
  {"name": "Vazio", "from": "Funcionário", "to": "Setor"},
  {"name": "SemChave", "from": "Setor", "to": 3},
  {"name": "ALOCACAO", "from": "Funcionário", "to": 4},
  {"name": "Par", "from": "Par", "to": 4},
  {"name": "diagrama", "from": "Par", "to": "Par"}]})json";

ReviewOptions reserved_order() {
    ReviewOptions options;
    options.reserved_word = [](std::string_view identifier) { return AsciiUpperCase(identifier) == "ORDER"; };
    options.dialect = "SQL:2016";
    return options;
}

TEST(ModelReview, EveryRuleNamesItsItem) {
    const Diagram d = parse_diagram(kFaulty, "f.json");
    const std::vector<ReviewFinding> findings = review_model(d, reserved_order());
    const std::string funcionario = "f.json: entity \"Funcionário\" (#1)";
    const std::string setor = "f.json: entity \"Setor\" (#2)";
    const std::string projeto = "f.json: entity \"Projeto\" (#3)";
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"lost-letters", funcionario},
        {"lost-letters", funcionario + ", attribute \"Salário\" (#2)"},
        {"no-size", funcionario + ", attribute \"NOME\" (#3)"},
        {"decimals-exceed-size", funcionario + ", attribute \"VALOR\" (#4)"},
        {"no-type", funcionario + ", attribute \"X\" (#5)"},
        {"reserved-word", funcionario + ", attribute \"Order\" (#7)"},
        {"index-unknown-field", funcionario + ", secondary key \"IDX_A\" (#1)"},
        {"index-unknown-field", funcionario + ", secondary key \"IDX_E\" (#2)"},
        {"no-key", setor},
        {"no-table-name", setor},
        {"duplicate-index-name", setor + ", secondary key \"idx_a\" (#1)"},
        {"nullable-key", projeto + ", attribute \"COD\" (#1)"},
        {"foreign-key-without-origem", projeto + ", attribute \"SOLTO\" (#3)"},
        {"unknown-origem", projeto + ", attribute \"NADA\" (#4)"},
        {"unknown-origem", projeto + ", attribute \"CASO\" (#5)"},
        {"unknown-origem", projeto + ", attribute \"ALHEIO\" (#6)"},
        {"duplicate-entity-name", "f.json: entity \"Projeto\" (#4)"},
        {"unstorable-name", "f.json: relationship \"Gerência\" (#1)"},
        {"foreign-key-type", "f.json: relationship \"Alocacao\" (#2)"},
        {"no-foreign-key", "f.json: relationship \"Vazio\" (#3)"},
        {"no-foreign-key", "f.json: relationship \"SemChave\" (#4)"},
        {"duplicate-relationship", "f.json: relationship \"ALOCACAO\" (#5)"},
        {"foreign-key-count", "f.json: relationship \"Par\" (#6)"},
        {"unstorable-name", "f.json: relationship \"diagrama\" (#7)"},
    };
    std::vector<std::pair<std::string, std::string>> got;
    std::vector<std::string> texts;
    for (const ReviewFinding& f : findings) {
        texts.push_back(describe_finding(d, f, "f.json"));
        got.emplace_back(std::string(f.rule), texts.back().substr(0, texts.back().find(": ", 8)));
    }
    EXPECT_EQ(got, expected);
    ASSERT_EQ(texts.size(), expected.size());

    // What each says to do, where a wrong detail would mislead.
    const auto says = [&](std::size_t i, const std::string& part) {
        EXPECT_NE(texts[i].find(part), std::string::npos) << texts[i];
    };
    says(0, "\"tabela\" \"Funcionário\" gives the table Funcion_rio");
    says(0, "write it as Funcionario");
    says(2, "the script says CHARACTER (0)");
    says(3, "NUMERIC (5,7)");
    says(5, "gives the column Order, a reserved word in SQL:2016");
    says(6, "names FALTA, which is no column");
    says(7, "an empty field name");
    says(10, "secondary key \"IDX_A\" of entity \"Funcionário\" (#1)");
    says(13, "\"Fantasma\" names no relationship of the diagram");
    says(14, "relationship \"Vazio\" (#3) differs only in letter case");
    says(15, "names relationship \"Gerência\" (#1), which ends at entity \"Funcionário\" (#1)");
    says(16, "has the name of entity \"Projeto\" (#3)");
    says(17, "rename it (Gerencia, say)");
    says(18, "brings attribute \"F_ID\" of entity \"Projeto\" (#3), which is String (10), for key attribute \"ID\" of "
             "entity \"Funcionário\" (#1), which is Integer: give it the key attribute's type and size");
    says(19, "ends at entity \"Setor\" (#2), which holds none of its foreign-key attributes: add there, with "
             "\"origem\": \"Vazio\", an attribute for each key attribute of entity \"Funcionário\" (#1) (ID)");
    says(20, "starts at entity \"Setor\" (#2), which has no key");
    says(21, "differs only in letter case from relationship \"Alocacao\" (#2)");
    says(23, "has the name of a stored diagram's root");
    says(22, "has 1 foreign-key attribute in entity \"Projeto\" (#4) (PA) for a key of 2 in entity \"Par\" (#5) (A, B): "
             "add an attribute with \"origem\": \"Par\" for B");

    // Without a reserved-word list nothing is reserved.
    for (const ReviewFinding& f : review_model(d)) EXPECT_NE(f.rule, "reserved-word");
}

// Sound models give no finding: composite and self-referencing foreign keys, an AutoInc key referred
// to by an Integer, blanks that become _, an expression index. The sales example's only findings are
// its two accented column names.
TEST(ModelReview, SoundModelsPass) {
    const Diagram sound = parse_diagram(R"({"entities": [
      {"entidade": "Pessoa", "tabela": "Pessoa Fisica", "atributos": [
        {"nome": "PAIS", "tipo": "String", "tamanho": 2, "key": true},
        {"nome": "DOC", "tipo": "AutoInc", "key": true},
        {"nome": "MAE PAIS", "tipo": "String", "tamanho": 2, "origem": "Mae", "nullable": true},
        {"nome": "MAE_DOC", "tipo": "Integer", "origem": "Mae", "nullable": true, "foreign_key": true},
        {"nome": "RENDA", "tipo": "BCD", "tamanho": 12, "decimais": 2},
        {"nome": "FOTO", "tipo": "Graphic"}],
       "ChavesSecundarias": [{"nome": "IDX_MAE", "campos": ["MAE PAIS", "mae_doc"]},
                             {"nome": "IDX_EXPR", "campos": "PAIS+'-'", "expression": true}]}],
     "relationships": [{"name": "Mae", "from": "Pessoa", "to": "Pessoa"}]})",
                                        "sound.json");
    const std::vector<ReviewFinding> none = review_model(sound, reserved_order());
    for (const ReviewFinding& f : none) ADD_FAILURE() << describe_finding(sound, f, "sound.json");

    const Diagram vendas = load_diagram(KZR40_SOURCE_DIR "/examples/vendas.json");
    std::vector<std::string> texts;
    for (const ReviewFinding& f : review_model(vendas)) texts.push_back(describe_finding(vendas, f, "vendas.json"));
    EXPECT_EQ(texts, (std::vector<std::string>{
                         "vendas.json: entity \"Produto\" (#2), attribute \"Preço\" (#3): \"nome\" \"Preço\" gives the "
                         "column Pre_o: letters outside ASCII become _ in the generated code and scripts; write it as "
                         "Preco to keep it readable",
                         "vendas.json: entity \"Itens do pedido\" (#4), attribute \"Preço Unitário\" (#5): \"nome\" "
                         "\"Preço Unitário\" gives the column Pre_o_Unit_rio: letters outside ASCII become _ in the "
                         "generated code and scripts; write it as Preco_Unitario to keep it readable",
                     }));
}

}  // namespace
