// The Lazarus target: its form text, the LCL mapping of the faithful designs, the dBase keys, and
// `kzr40 generate --target lazarus` through the built program (what it writes and what it refuses).

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "lazarus/dbf_tables.h"
#include "lazarus/lcl_form.h"
#include "platform/table.h"
#include "tests/appgen/form_fixture.h"
#include "tests/support/read_file.h"
#include "tests/support/run_host.h"

namespace {

namespace fs = std::filesystem;
using formfile::ObjectNode;
using formfile::Value;

const std::string kExamples = std::string(KZR40_SOURCE_DIR) + "/examples/";

ObjectNode node(std::string name, std::string class_name) {
    ObjectNode n;
    n.name = std::move(name);
    n.class_name = std::move(class_name);
    return n;
}

void write(const fs::path& file, const std::string& text) { std::ofstream(file, std::ios::binary) << text; }

TEST(LclFormText, WritesWindows1252TextsAsUtf8AndEveryValueKindTheFormsCarry) {
    ObjectNode form = node("F_X", "TF_X");
    form.properties = {{"Caption", Value::string_value("Observa\xE7\xF5" "es d'ele")},
                       {"Tab", Value::string_value("a\tb")},
                       {"Width", Value::integer_value(-70000)},
                       {"Font.Style", Value::set_value({"fsBold", "fsItalic"})},
                       {"Enabled", Value::boolean(false)},
                       {"Items.Strings", Value::strings({"S\xE3o", ""})}};
    form.children.push_back(node("Child", "TPanel"));
    EXPECT_EQ(lazarus::lfm_text(form),
              "object F_X: TF_X\n"
              "  Caption = 'Observações d''ele'\n"
              "  Tab = 'a'#9'b'\n"
              "  Width = -70000\n"
              "  Font.Style = [fsBold, fsItalic]\n"
              "  Enabled = False\n"
              "  Items.Strings = (\n    'São'\n    ''\n  )\n"
              "  object Child: TPanel\n  end\n"
              "end\n");
}

TEST(LclMapping, TableBecomesDbfAndWhatLclLacksIsLeftOut) {
    ObjectNode form = node("F_X", "TF_X");
    form.properties = {{"OldCreateOrder", Value::boolean(true)},
                       {"Font.Name", Value::string_value("System")},
                       {"TextHeight", Value::integer_value(16)}};
    ObjectNode label = node("Label1", "TLabel");
    label.properties = {{"Font.Name", Value::string_value("Arial")}, {"Ctl3D", Value::boolean(false)}};
    ObjectNode table = node("Table1", "TTable");
    table.properties = {{"DatabaseName", Value::string_value("out/")}, {"TableName", Value::string_value("ITENS.DBF")}};
    form.children = {label, table};
    lazarus::adapt_to_lcl(form);
    EXPECT_EQ(lazarus::lfm_text(form),
              "object F_X: TF_X\n"
              "  object Label1: TLabel\n    Font.Name = 'Arial'\n  end\n"
              "  object Table1: TDbf\n    TableName = 'ITENS.dbf'\n    TableLevel = 7\n  end\n"
              "end\n");
}

void define(TTable& t, std::initializer_list<std::pair<const char*, std::int32_t>> fields) {
    for (const auto& [name, type] : fields) t.FieldDefs().Add(name, type, type == lazarus::kFtString ? 20 : 0);
}

TEST(DbfKeys, OneFieldIsItselfSeveralAreConcatenatedAsText) {
    TTable t;
    define(t, {{"NOME", lazarus::kFtString},
                               {"N", lazarus::kFtInteger},
                               {"D", lazarus::kFtDate},
                               {"V", lazarus::kFtCurrency},
                               {"B", lazarus::kFtBoolean},
                {"M", lazarus::kFtMemo}});
    std::string problem;
    EXPECT_EQ(lazarus::index_expression(t, "nome", true, &problem), "NOME");  // names found ignoring case
    EXPECT_EQ(lazarus::index_expression(t, "N", false, &problem), "N");
    EXPECT_EQ(lazarus::index_expression(t, "D", false, &problem), "DTOS(D)");  // a dBase key is text or a number
    EXPECT_EQ(lazarus::index_expression(t, "N;D;NOME;V", false, &problem), "STR(N,11)+DTOS(D)+NOME+STR(V,20,4)");
    EXPECT_EQ(problem, "");
    EXPECT_EQ(lazarus::index_expression(t, "N;B", false, &problem), "");
    EXPECT_EQ(problem, "field B is Boolean, which a dBase key cannot hold");
    EXPECT_EQ(lazarus::index_expression(t, "M", false, &problem), "");
    EXPECT_EQ(problem, "field M is Memo, which a dBase key cannot hold");
    EXPECT_EQ(lazarus::index_expression(t, "X", false, &problem), "");
    EXPECT_EQ(problem, "no field X");
}

TEST(DbfTypes, EveryCatalogueTypeButUnknownHasADbaseField) {
    for (std::int32_t type = 1; type < 20; ++type) EXPECT_FALSE(lazarus::dbf_field(type).type.empty()) << type;
    EXPECT_TRUE(lazarus::dbf_field(lazarus::kFtUnknown).type.empty());
    EXPECT_TRUE(lazarus::dbf_field(lazarus::kFtString).sized);
    EXPECT_EQ(lazarus::dbf_field(lazarus::kFtCurrency).type, "ftFloat");  // dBase VII has no currency
    EXPECT_EQ(lazarus::dbf_field(lazarus::kFtTime).type, "ftDateTime");
    // Sizeless types get editors as wide as their longest value; sized ones keep the layout's width.
    EXPECT_EQ(lazarus::value_length(lazarus::kFtInteger), 11);
    EXPECT_EQ(lazarus::value_length(lazarus::kFtDate), 10);
    EXPECT_EQ(lazarus::value_length(lazarus::kFtString), 0);
}

TEST(GenerateLazarus, WritesTheProjectWithUsableFormsAndNoDelphiFiles) {
    fixture::ScratchDir dir;
    const fs::path out = dir.path() / "out";
    const HostRun run = run_host({"generate", kExamples + "vendas.json", "--dir", out.string(), "--target", "lazarus"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(fixture::files_in(out),
              (std::vector<std::string>{"GerarDBs.pas", "MCLIENTE.lfm", "MCLIENTE.pas", "MItens_Pedido.lfm",
                                        "MItens_Pedido.pas", "MPEDIDO.lfm", "MPEDIDO.pas", "MPRODUTO.lfm",
                                        "MPRODUTO.pas", "Princ.lfm", "Princ.pas", "Vendas.lpi", "Vendas.lpr"}));
    const std::string cliente = test_support::read_file(out / "MCLIENTE.lfm");
    EXPECT_NE(cliente.find("Caption = 'Cadastro de clientes'"), std::string::npos);
    EXPECT_NE(cliente.find("object TDBCheckBoxATIVO: TDBCheckBox\n      Left = 150\n      Top = 249\n      Width = 341\n"
                           "      Height = 17\n      Caption = 'Ativo'"),
              std::string::npos)
        << cliente;
    EXPECT_NE(cliente.find("object TDBEditCODIGO: TDBEdit\n      Left = 150\n      Top = 10\n      Width = 111\n"), std::string::npos);
    // The horizontal layout: the widened Integer editor pushes the next block of its row, label and editor.
    const std::string produto = test_support::read_file(out / "MPRODUTO.lfm");
    EXPECT_NE(produto.find("object Label1: TLabel\n      Left = 160\n"), std::string::npos) << produto;
    EXPECT_NE(produto.find("object TDBEditDESCRICAO: TDBEdit\n      Left = 160\n"), std::string::npos) << produto;
    const std::string pedido = test_support::read_file(out / "MPEDIDO.lfm");
    EXPECT_NE(pedido.find("DataField = 'CLIENTE'\n      DataSource = DataSource1\n      KeyField = 'CODIGO'\n"
                          "      ListField = 'NOME'\n      ListSource = DataSourceLookupCLIENTE"),
              std::string::npos)
        << pedido;
    EXPECT_NE(pedido.find("object TableLookupCLIENTE: TDbf\n    TableName = 'CLIENTE.dbf'"), std::string::npos);
    const std::string tables = test_support::read_file(out / "GerarDBs.pas");
    EXPECT_NE(tables.find("AddIndex('PRIMARY', 'NUMERO', [ixUnique, ixDescending]);"), std::string::npos);
    EXPECT_NE(tables.find("AddIndex('PRIMARY', 'STR(PEDIDO,11)+STR(ITEM,11)', [ixUnique]);"), std::string::npos);
    EXPECT_NE(tables.find("AddIndex('IDX_CLIENTE_CPF', 'CPF', [ixUnique]);"), std::string::npos);
    EXPECT_NE(test_support::read_file(out / "Princ.pas").find("  MMPEDIDO.OnClick := MMPEDIDOClick;\n"), std::string::npos);

    // Reproducible: a second run gives the same bytes.
    const fs::path again = dir.path() / "again";
    ASSERT_EQ(run_host({"generate", kExamples + "vendas.json", "--dir", again.string(), "--target", "lazarus"}).status, 0);
    for (const std::string& file : fixture::files_in(out))
        EXPECT_EQ(test_support::read_file(out / file), test_support::read_file(again / file)) << file;
}

// Choosing editors of sizeless types get the width of the type's longest value as the edit does,
// plus their button or scroll bar; a radio group is captioned with its title, and it and a text,
// which the vertical layout leaves unbound, show their field.
TEST(GenerateLazarus, ChoosingEditorsFitTheirValuesAndRadioGroupsAndTextsShowTheirField) {
    fixture::ScratchDir dir;
    write(dir.path() / "d.json", R"({ "entities": [ { "entidade": "E", "tabela": "E", "atributos": [
        { "nome": "ID", "tipo": "Integer", "key": true },
        { "nome": "V", "tipo": "Float", "componente": "TDBComboBox" },
        { "nome": "W", "tipo": "Word", "componente": "TDBListBox" },
        { "nome": "S", "titulo": "Situação", "tipo": "SmallInt", "componente": "TDBRadioGroup" },
        { "nome": "T", "tipo": "String", "tamanho": 8, "componente": "TDBText" } ] } ] })");
    const fs::path out = dir.path() / "out";
    const HostRun run = run_host({"generate", (dir.path() / "d.json").string(), "--dir", out.string(), "--target", "lazarus"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string form = test_support::read_file(out / "ME.lfm");
    const auto width_of = [&](const std::string& name) {
        const std::size_t at = form.find("object " + name + ":");
        if (at == std::string::npos) return std::string("no ") + name;
        const std::size_t width = form.find("Width = ", at);
        return form.substr(width + 8, form.find('\n', width) - width - 8);
    };
    EXPECT_EQ(width_of("TDBComboBoxV"), std::to_string(24 * 9 + 12 + 24)) << form;
    EXPECT_EQ(width_of("TDBListBoxW"), std::to_string(5 * 9 + 12 + 16)) << form;
    EXPECT_NE(form.find("object TDBRadioGroupS: TDBRadioGroup\n      Left = 150\n      Top = 186\n      Width = 341\n"
                        "      Height = 105\n      Caption = 'Situação'\n      TabOrder = 3\n      DataField = 'S'\n"
                        "      DataSource = DataSource1\n    end\n"),
              std::string::npos)
        << form;
    EXPECT_NE(form.find("DataField = 'T'\n      DataSource = DataSource1\n    end\n"), std::string::npos) << form;
}

// The faithful horizontal layout sizes the form to the last editor placed; here a tall list box opens
// the row that a short edit ends, once in a small form and once where the screen stops the form.
TEST(GenerateLazarus, HorizontalFormsShowTheirLowestEditorWithinTheScreen) {
    fixture::ScratchDir dir;
    const std::string tail = R"({ "nome": "L", "tipo": "Word", "componente": "TDBListBox" },
                                  { "nome": "C", "tipo": "String", "tamanho": 2 } ] })";
    std::string rows;
    for (int i = 0; i < 11; ++i) rows += R"({ "nome": "S)" + std::to_string(i) + R"(", "tipo": "String", "tamanho": 60 }, )";
    write(dir.path() / "d.json", R"({ "entities": [
        { "entidade": "A", "tabela": "A", "Tipoform": "horizontal", "atributos": [
          { "nome": "ID", "tipo": "Integer", "key": true }, )" + tail + R"(,
        { "entidade": "B", "tabela": "B", "Tipoform": "horizontal", "atributos": [
          { "nome": "ID", "tipo": "Integer", "key": true }, )" + rows + tail + " ] }");
    const fs::path out = dir.path() / "out";
    const HostRun run = run_host({"generate", (dir.path() / "d.json").string(), "--dir", out.string(), "--target", "lazarus"});
    ASSERT_EQ(run.status, 0) << run.err;
    // A property of the form (depth 0), of its scroll box (1) or of an editor in it (2).
    const auto property = [](const std::string& form, const std::string& object, int depth, const std::string& name) {
        const std::size_t at = depth == 0 ? 0 : form.find("object " + object + ":");
        const std::size_t p = form.find("\n" + std::string(2 * depth + 2, ' ') + name + " = ", at);
        return at == std::string::npos || p == std::string::npos ? -1 : std::stoi(form.substr(form.find('=', p) + 2));
    };
    const std::string a = test_support::read_file(out / "MA.lfm");
    EXPECT_EQ(property(a, "ScrollBox1", 1, "Height"),
              property(a, "TDBListBoxL", 2, "Top") + property(a, "TDBListBoxL", 2, "Height") + 10) << a;
    EXPECT_EQ(property(a, "", 0, "Height") - property(a, "ScrollBox1", 1, "Height"), 41 + 27) << a;
    EXPECT_EQ(property(a, "", 0, "Width"), 509) << a;

    const std::string b = test_support::read_file(out / "MB.lfm");
    EXPECT_EQ(property(b, "", 0, "Height"), 768 - 40) << b;
    EXPECT_EQ(property(b, "", 0, "Width"), 509 + 16) << b;
    EXPECT_EQ(property(b, "ScrollBox1", 1, "Width"), 501 + 16) << b;
}

TEST(GenerateLazarus, RefusesWhatTheTargetCannotBuildBeforeWritingAnything) {
    fixture::ScratchDir dir;
    const fs::path out = dir.path() / "out";
    HostRun run = run_host({"generate", kExamples + "vendas.json", "--dir", out.string(), "--target", "lazarus",
                            "--kind", "paradox"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("--kind paradox: the Lazarus target keeps its tables in dBase files"), std::string::npos) << run.err;
    run = run_host({"generate", kExamples + "vendas.json", "--dir", out.string(), "--target", "delphi7"});
    EXPECT_NE(run.status, 0);
    EXPECT_FALSE(fs::exists(out));

    write(dir.path() / "bool.json", R"({ "entities": [ { "entidade": "Flag", "tabela": "FLAG", "atributos": [
        { "nome": "ID", "tipo": "Integer", "key": true }, { "nome": "ON", "tipo": "Boolean" } ],
        "ChavesSecundarias": [ { "nome": "IX_ON", "campos": ["ON"] } ] } ] })");
    run = run_host({"generate", (dir.path() / "bool.json").string(), "--dir", out.string(), "--target", "lazarus"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("entity \"Flag\" (#1), table FLAG: index IX_ON: field ON is Boolean, which a dBase key "
                           "cannot hold; the Lazarus target cannot create it; nothing was written to"),
              std::string::npos)
        << run.err;
    EXPECT_FALSE(fs::exists(out));

    const std::string long_name(32, 'F');
    write(dir.path() / "long.json", R"({ "entities": [ { "entidade": "L", "tabela": "L", "atributos": [
        { "nome": ")" + long_name + R"(", "tipo": "Integer", "key": true } ] } ] })");
    run = run_host({"generate", (dir.path() / "long.json").string(), "--dir", out.string(), "--target", "lazarus"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("field " + long_name + ": a dBase VII field name holds at most 31 characters"), std::string::npos)
        << run.err;
    EXPECT_FALSE(fs::exists(out));
}

}  // namespace

// Table names the sources and the data directory cannot hold: spelt alike but for case or for what
// sanitising made "_", longer than the identifiers made of them allow, or naming the program's unit.
// Each is refused with both entities named, and a --dir holding a file of its own is left as it was.
TEST(GenerateLazarus, RefusesTableNamesThatWouldShareFilesOrOverflowIdentifiers) {
    fixture::ScratchDir dir;
    const fs::path out = dir.path() / "out";
    fs::create_directories(out);
    write(out / "mine.txt", "kept");
    const auto entity = [](const std::string& name, const std::string& table) {
        return R"({ "entidade": ")" + name + R"(", "tabela": ")" + table +
               R"(", "atributos": [ { "nome": "ID", "tipo": "Integer", "key": true } ] })";
    };
    const auto refused = [&](const std::string& entities, const std::vector<std::string>& extra = {}) {
        write(dir.path() / "d.json", R"({ "project": "Loja", "entities": [ )" + entities + " ] }");
        std::vector<std::string> arguments = {"generate", (dir.path() / "d.json").string(), "--dir", out.string(),
                                              "--target", "lazarus"};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        const HostRun run = run_host(arguments);
        EXPECT_EQ(run.status, 1) << run.err;
        EXPECT_EQ(fixture::files_in(out), std::vector<std::string>{"mine.txt"});
        return run.err;
    };

    // Two tables spelt alike but for case, or for what sanitising made "_", would share a unit and,
    // where file names ignore case, a .dbf file: the diagram is refused as it is read.
    std::string err = refused(entity("Cliente", "Cliente") + ", " + entity("Outro", "X") + ", " + entity("Sócio", "CLIENTE"));
    EXPECT_NE(err.find("entity \"Sócio\" (#3): \"tabela\" gives the table CLIENTE, which entity \"Cliente\" (#1) already has"),
              std::string::npos)
        << err;
    err = refused(entity("Itens", "Item pedido") + ", " + entity("Itens 2", "item-PEDIDO"));
    EXPECT_NE(err.find("entity \"Itens 2\" (#2): \"tabela\" gives the table ITEM_PEDIDO, which entity \"Itens\" (#1)"),
              std::string::npos)
        << err;

    // Free Pascal compiles the form unit of a table name of 116 characters, not of 117.
    const std::string longest(lazarus::kMaxTableName, 'T');
    err = refused(entity("Longa", longest + "U"));
    EXPECT_NE(err.find("entity \"Longa\" (#1), table " + longest + "U: the table name has 117 characters, and Free "
                       "Pascal 3.2 cannot compile the form unit MTTTTTTTT... named after it; at most 116 fit; the "
                       "Lazarus target cannot create it; nothing was written to " + out.string()),
              std::string::npos)
        << err;
    const fs::path fits = dir.path() / "fits";
    write(dir.path() / "d.json", R"({ "project": "Loja", "entities": [ )" + entity("Longa", longest) + " ] }");
    const HostRun run = run_host({"generate", (dir.path() / "d.json").string(), "--dir", fits.string(), "--target", "lazarus"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(fs::exists(fits / ("M" + longest + ".pas")));

    err = refused(entity("Cliente", "CLIENTE"), {"--title", "mcliente"});
    EXPECT_NE(err.find("entity \"Cliente\" (#1), table CLIENTE: its unit MCLIENTE has the name of the program mcliente.lpr; rename the table or "
                       "give another --title; nothing was written to"),
              std::string::npos)
        << err;
    err = refused(entity("Cardápio", "ENUS"));
    EXPECT_NE(err.find("entity \"Cardápio\" (#1), table ENUS: its unit MENUS would hide the library unit Menus that "
                       "the program uses, and it would not compile; rename the table; nothing was written to"),
              std::string::npos)
        << err;
    // Paradox and Oracle tables have no place here: refused before the diagram is read.
    const HostRun oracle = run_host({"generate", (dir.path() / "d.json").string(), "--dir", out.string(), "--target",
                                     "lazarus", "--kind", "oracle"});
    EXPECT_EQ(oracle.status, 1);
    EXPECT_NE(oracle.err.find("--kind oracle: the Lazarus target keeps its tables in dBase files (TDbf); give --kind "
                              "dbase or leave it out"),
              std::string::npos)
        << oracle.err;
    EXPECT_EQ(fixture::files_in(out), std::vector<std::string>{"mine.txt"});
}
