// The maintenance form generator: files, names, unit text and the three layouts, read back from the
// form files it writes.

#include <gtest/gtest.h>

#include "platform/components/component.h"
#include "platform/formfile/value.h"
#include "platform/string_list.h"
#include "platform/table.h"
#include "platform/text_file.h"
#include "plugin/exports.h"
#include "tests/appgen/form_fixture.h"

namespace {

using fixture::Attribute;
using formfile::ObjectNode;

// Generates the form of `e` as the host does: field definitions from gera_tab, then gerarform.
ObjectNode generate(const fixture::ScratchDir& dir, TEntidade& e, std::vector<std::string>* unit = nullptr) {
    TTable table;
    gera_tab(&table, &e, dir.prefix().c_str(), 0, true);
    gerarform(&table, &e, dir.prefix().c_str(), 0, 0);
    const std::string base = "M" + e.tabela().str();
    if (unit) *unit = fixture::lines(fixture::read_file(dir.path() / (base + ".PAS")));
    return fixture::read_form(dir.path() / (base + ".dfm"));
}

const ObjectNode& scroll_box(const ObjectNode& form) {
    const ObjectNode* box = form.child("ScrollBox1");
    if (!box) throw std::runtime_error("no ScrollBox1");
    return *box;
}

const ObjectNode& in_box(const ObjectNode& form, std::string_view name) {
    const ObjectNode* node = scroll_box(form).child(name);
    if (!node) throw std::runtime_error("no " + std::string(name) + " in ScrollBox1");
    return *node;
}

struct Bounds {
    std::int64_t left, top, width, height;
    friend bool operator==(const Bounds&, const Bounds&) = default;
    friend std::ostream& operator<<(std::ostream& o, const Bounds& b) {
        return o << "{" << b.left << "," << b.top << "," << b.width << "," << b.height << "}";
    }
};
Bounds bounds(const ObjectNode& n) {
    using fixture::integer;
    return {integer(n, "Left"), integer(n, "Top"), integer(n, "Width"), integer(n, "Height")};
}

TEST(MaintenanceForm, WritesTheUnitAndFormFileNamedAfterTheTableAndNothingElse) {
    fixture::ScratchDir dir;
    auto e = fixture::entity("CLIENTE", {{.nome = "CODIGO", .tipo = 3, .chave = true}, {.nome = "NOME", .tamanho = 40}},
                             0, "Cliente");
    std::vector<std::string> unit;
    std::string resource;
    generate(dir, *e, &unit);
    const ObjectNode form = fixture::read_form(dir.path() / "MCLIENTE.dfm", &resource);

    EXPECT_EQ(dir.files(), (std::vector<std::string>{"MCLIENTE.PAS", "MCLIENTE.dfm"}));
    EXPECT_EQ(resource, "TF_CLIENTE");
    EXPECT_EQ(form.name, "F_CLIENTE");
    EXPECT_EQ(form.class_name, "TF_CLIENTE");
    const formfile::PropertyEntry* caption = form.find("Caption");
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->value.type(), formfile::ValueType::String);  // one-byte text, not a wide string
    EXPECT_EQ(caption->value.bytes(), "Manuten\xE7\xE3o da tabela CLIENTE (Cliente)");
    EXPECT_EQ(fixture::text(form, "OnActivate"), "FormActivate");
    EXPECT_EQ(fixture::text(form, "OnClose"), "FormClose");
    const ObjectNode* table1 = form.child("Table1");
    ASSERT_NE(table1, nullptr);
    EXPECT_EQ(fixture::text(*table1, "DatabaseName"), dir.prefix());
    EXPECT_EQ(fixture::text(*table1, "TableName"), "CLIENTE.DB");

    const std::vector<std::string> expected = {
        "unit MCLIENTE;",
        "interface",
        "uses",
        "  SysUtils, WinTypes, WinProcs, Messages, Classes, Graphics, Controls,",
        "  Forms, Dialogs, DB, DBTables, DBCtrls, ExtCtrls, StdCtrls;",
        "",
        "type",
        "  TF_CLIENTE = class(TForm)",
        "    Panel1: TPanel;",
        "    DBNavigator1: TDBNavigator;",
        "    ScrollBox1: TScrollBox;",
        "    DataSource1: TDataSource;",
        "    Table1: TTable;",
        "    Label0: TLabel;",
        "    TDBEditCODIGO: TDBEdit;",
        "    Label1: TLabel;",
        "    TDBEditNOME: TDBEdit;",
        "    procedure FormClose(Sender: TObject; var Action: TCloseAction);",
        "    procedure FormActivate(Sender: TObject);",
        "  private",
        "    { Private declarations }",
        "  public",
        "    { Public declarations }",
        "  end;",
        "",
        "var",
        "  F_CLIENTE: TF_CLIENTE;",
        "",
        "implementation",
        "",
        "{$R *.DFM}",
        "",
        "procedure TF_CLIENTE.FormClose(Sender: TObject; var Action: TCloseAction);",
        "begin",
        "  If Table1.Active = True then Table1.close;",
        "  Action := caFree;",
        "end;",
        "procedure TF_CLIENTE.FormActivate(Sender: TObject);",
        "begin",
        "  try",
        "    Table1.open",
        "  finally",
        "  end;",
        "end;",
        "",
        "end.",
    };
    EXPECT_EQ(unit, expected);
}

TEST(MaintenanceForm, TitleReplacesTheDefaultCaption) {
    fixture::ScratchDir dir;
    auto e = fixture::entity("CLIENTE", {{.nome = "CODIGO"}});
    e->SetTituloform("Cadastro de clientes");
    EXPECT_EQ(fixture::text(generate(dir, *e), "Caption"), "Cadastro de clientes");
}

TEST(MaintenanceForm, DirectoryIsAPlainPrefix) {
    fixture::ScratchDir dir;
    auto e = fixture::entity("CLIENTE", {{.nome = "CODIGO"}});
    TTable table;
    gera_tab(&table, e.get(), "", 0, true);
    const std::string prefix = (dir.path() / "out").string();  // no final separator
    gerarform(&table, e.get(), prefix.c_str(), 0, 0);
    EXPECT_EQ(dir.files(), (std::vector<std::string>{"outMCLIENTE.PAS", "outMCLIENTE.dfm"}));
}

TEST(MaintenanceForm, VerticalRowsSizesAndHiddenAttributes) {
    fixture::ScratchDir dir;
    auto e = fixture::entity("T", {
                                      {.nome = "A", .tipo = 1, .tamanho = 20, .rotulo = "Campo A"},
                                      {.nome = "OCULTO", .opcoes = kOpcaoForaDoFormulario},
                                      {.nome = "B", .tipo = 1, .tamanho = 40},
                                      {.nome = "C", .tipo = 3, .tamanho = 0},
                                      {.nome = "FOTO", .tipo = 17, .componente = 10},
                                      {.nome = "OBS", .tipo = 16, .componente = 3, .largura = 99},
                                      {.nome = "OBS2", .tipo = 16, .componente = 3, .largura = 100},
                                      {.nome = "X", .componente = 0},
                                      {.nome = "Y", .tamanho = 5, .componente = 6},
                                  });
    std::vector<std::string> unit;
    const ObjectNode form = generate(dir, *e, &unit);

    EXPECT_EQ(bounds(in_box(form, "Label0")), (Bounds{10, 10, 130, 16}));
    EXPECT_EQ(fixture::text(in_box(form, "Label0"), "Caption"), "Campo A");
    EXPECT_EQ(scroll_box(form).child("Label1"), nullptr);  // hidden: no label, no editor
    EXPECT_EQ(scroll_box(form).child("TDBEditOCULTO"), nullptr);

    const ObjectNode& a = in_box(form, "TDBEditA");
    EXPECT_EQ(bounds(a), (Bounds{150, 10, 210, 24}));
    EXPECT_EQ(fixture::integer(a, "MaxLength"), 20);
    EXPECT_EQ(fixture::text(a, "DataField"), "A");
    EXPECT_EQ(fixture::text(a, "DataSource"), "DataSource1");
    EXPECT_EQ(bounds(in_box(form, "TDBEditB")), (Bounds{150, 44, 341, 24}));
    const ObjectNode& c = in_box(form, "TDBEditC");
    EXPECT_EQ(bounds(c), (Bounds{150, 78, 10, 24}));
    EXPECT_EQ(fixture::integer(c, "MaxLength"), 1);
    EXPECT_EQ(bounds(in_box(form, "Label3")), (Bounds{10, 78, 130, 16}));

    EXPECT_EQ(bounds(in_box(form, "TDBImageFOTO")), (Bounds{150, 112, 341, 210}));
    EXPECT_EQ(bounds(in_box(form, "TDBMemoOBS")), (Bounds{150, 332, 341, 89}));
    EXPECT_EQ(bounds(in_box(form, "TDBMemoOBS2")), (Bounds{150, 431, 100, 89}));
    EXPECT_EQ(bounds(in_box(form, "TDBEditX")), (Bounds{150, 530, 10, 24}));  // component 0: an edit
    EXPECT_EQ(bounds(in_box(form, "TDBComboBoxY")), (Bounds{150, 564, 80, 25}));
    // Rows end at 564 + 25 + 10 = 599: client height 41 + 599 fits the 701 pixels available.
    EXPECT_EQ(fixture::integer(form, "Height"), 41 + 599 + 27);
    EXPECT_EQ(fixture::integer(form, "Width"), 509);

    // Tab orders follow creation among the scroll box's windowed children.
    EXPECT_EQ(fixture::integer(in_box(form, "TDBEditA"), "TabOrder"), 0);
    EXPECT_EQ(fixture::integer(in_box(form, "TDBEditB"), "TabOrder"), 1);
    EXPECT_EQ(fixture::integer(in_box(form, "TDBComboBoxY"), "TabOrder"), 7);

    EXPECT_EQ(unit[13], "    Label0: TLabel;");
    EXPECT_EQ(unit[14], "    TDBEditA: TDBEdit;");
    EXPECT_EQ(unit[15], "    Label2: TLabel;");
}

TEST(MaintenanceForm, TallFormsAreCutToTheScreenAndGetRoomForAScrollBar) {
    fixture::ScratchDir dir;
    std::vector<Attribute> many;
    for (int i = 0; i < 30; ++i) many.push_back({.nome = "F" + std::to_string(i), .tamanho = 10});
    auto e = fixture::entity("T", many);
    const ObjectNode form = generate(dir, *e);
    EXPECT_EQ(fixture::integer(form, "Height"), 768 - 40);
    EXPECT_EQ(fixture::integer(form, "Width"), 509 + 16);
    EXPECT_EQ(bounds(scroll_box(form)), (Bounds{0, 41, 517, 701 - 41}));
}

TEST(MaintenanceForm, VerticalLayoutNamesEditorsAfterTheFieldDefinitions) {
    fixture::ScratchDir dir;
    auto e = fixture::entity("T", {{.nome = "NOME CLI", .tamanho = 10}, {.nome = "ATIVO", .componente = 2}});
    TTable table;
    table.FieldDefs().Add("NOME CLI", 1, 10, true);  // a host whose field names keep their blanks
    table.FieldDefs().Add("ATIVO", 5, 0, true);
    gerarform(&table, e.get(), dir.prefix().c_str(), 0, 0);
    const ObjectNode form = fixture::read_form(dir.path() / "MT.dfm");
    EXPECT_EQ(fixture::text(in_box(form, "TDBEditNOME_CLI"), "DataField"), "NOME CLI");
    // A check box takes its name as caption when it is named.
    EXPECT_EQ(fixture::text(in_box(form, "TDBCheckBoxATIVO"), "Caption"), "TDBCheckBoxATIVO");
}

TEST(MaintenanceForm, HorizontalBlocksFlowAndWrap) {
    fixture::ScratchDir dir;
    auto e = fixture::entity("T", {
                                      {.nome = "A", .tamanho = 10, .titulo = "Abc"},        // label 25 x 16, edit 110
                                      {.nome = "B", .tamanho = 10, .titulo = "B"},          // fits beside A
                                      {.nome = "MEMO", .componente = 3, .largura = 490},    // too wide: wraps
                                      {.nome = "G", .componente = 8},                       // radio group
                                  },
                             1);
    const ObjectNode form = generate(dir, *e);
    const Bounds label0 = bounds(in_box(form, "Label0"));
    EXPECT_EQ(label0.left, 10);
    EXPECT_EQ(label0.top, 10);
    EXPECT_EQ(label0.height, 16);
    EXPECT_EQ(bounds(in_box(form, "TDBEditA")), (Bounds{10, 31, 110, 24}));
    EXPECT_EQ(bounds(in_box(form, "Label1")).left, 10 + 110 + 5);
    EXPECT_EQ(bounds(in_box(form, "TDBEditB")), (Bounds{125, 31, 110, 24}));
    // The memo first stands at x = 240 in row 1, so NY becomes 10 + 16 + 89 + 15 = 130; it then wraps.
    EXPECT_EQ(bounds(in_box(form, "Label2")).top, 130);
    EXPECT_EQ(bounds(in_box(form, "TDBMemoMEMO")), (Bounds{10, 130 + 16 + 5, 490, 89}));
    // The radio group's label is invisible but still placed, and the group is bound.
    const ObjectNode& label3 = in_box(form, "Label3");
    EXPECT_EQ(fixture::text(label3, "Visible"), "False");
    EXPECT_EQ(fixture::text(in_box(form, "TDBRadioGroupG"), "DataField"), "G");
    // The radio group first stands beside the memo (x = 505, y = 130), which makes NY 130 + 16 + 105 + 15;
    // it then wraps below that, leaving an empty band under the memo.
    const Bounds group = bounds(in_box(form, "TDBRadioGroupG"));
    EXPECT_EQ(group.top, 266 + 16 + 5);
    EXPECT_EQ(group.left, 10);
    EXPECT_EQ(fixture::integer(form, "Height"), 27 + 41 + (group.top + 105 + 10));
}

// Sizes near the ends of the 32-bit range saturate instead of wrapping to negative widths.
TEST(MaintenanceForm, HugeSizesAndWidthsSaturate) {
    fixture::ScratchDir dir;
    auto vertical = fixture::entity("V", {{.nome = "A", .tamanho = 1073741823},
                                          {.nome = "B", .tamanho = INT32_MIN},
                                          {.nome = "C", .tamanho = 429496730, .componente = 6},  // 10 x S wrapped to 4
                                          {.nome = "D", .tamanho = 214748364}});                  // 2147483640 + 10
    const ObjectNode v = generate(dir, *vertical);
    EXPECT_EQ(bounds(in_box(v, "TDBEditA")).width, 341);
    EXPECT_EQ(fixture::integer(in_box(v, "TDBEditA"), "MaxLength"), 1073741823);
    EXPECT_EQ(bounds(in_box(v, "TDBEditB")).width, 341);
    EXPECT_EQ(fixture::integer(in_box(v, "TDBEditB"), "MaxLength"), 1);
    EXPECT_EQ(bounds(in_box(v, "TDBComboBoxC")).width, 341);
    EXPECT_EQ(bounds(in_box(v, "TDBEditD")).width, 341);

    auto horizontal = fixture::entity("H", {{.nome = "M", .componente = 3, .largura = INT32_MAX},
                                            {.nome = "E", .tamanho = 5}},
                                      1);
    const ObjectNode h = generate(dir, *horizontal);
    EXPECT_EQ(bounds(in_box(h, "TDBMemoM")).width, INT32_MAX);
    EXPECT_EQ(bounds(in_box(h, "TDBEditE")).left, 10) << "the block after the widest possible one wraps";
}

TEST(MaintenanceForm, WithoutShownAttributesOnlyThePanelRemains) {
    for (int layout : {0, 1}) {
        fixture::ScratchDir dir;
        auto e = fixture::entity("T", {{.nome = "X", .opcoes = kOpcaoForaDoFormulario}}, layout);
        const ObjectNode form = generate(dir, *e);
        EXPECT_TRUE(scroll_box(form).children.empty());
        EXPECT_EQ(fixture::integer(form, "Height"), 27 + 41 + (layout == 0 ? 10 : 0)) << "layout " << layout;
    }
}

TEST(MaintenanceForm, GridHasAColumnPerAttribute) {
    fixture::ScratchDir dir;
    auto e = fixture::entity("T", {{.nome = "CODIGO", .chave = true, .titulo = "C\xF3" "digo"},
                                   {.nome = "DATA NASC", .titulo = "Nascimento", .rotulo = "Data de nascimento"},
                                   {.nome = "SEGREDO", .opcoes = kOpcaoForaDoFormulario}},
                             2);
    std::vector<std::string> unit;
    const ObjectNode form = generate(dir, *e, &unit);
    EXPECT_EQ(fixture::integer(form, "Height"), 416);  // the designed size stays
    const ObjectNode& grid = in_box(form, "Grid1");
    EXPECT_EQ(fixture::text(grid, "Align"), "alClient");
    EXPECT_EQ(fixture::text(grid, "DataSource"), "DataSource1");
    const formfile::PropertyEntry* columns = grid.find("Columns");
    ASSERT_NE(columns, nullptr);
    ASSERT_EQ(columns->value.items().size(), 3u);
    auto column = [&](int i, std::string_view property) -> std::string {
        for (const formfile::PropertyEntry& p : columns->value.items()[i].properties)
            if (p.name == property) return p.value.is_ident() ? p.value.ident_name() : std::string(p.value.bytes());
        return "<absent>";
    };
    EXPECT_EQ(column(0, "FieldName"), "CODIGO");
    EXPECT_EQ(column(0, "Title.Caption"), "C\xF3" "digo");
    EXPECT_EQ(column(1, "FieldName"), "DATA_NASC");
    EXPECT_EQ(column(1, "Title.Caption"), "Data de nascimento");
    EXPECT_EQ(column(2, "FieldName"), "SEGREDO");
    EXPECT_EQ(column(2, "Visible"), "False");
    EXPECT_EQ(column(2, "Title.Caption"), "<absent>");

    EXPECT_EQ(unit[4], "  Forms, Dialogs, DB, DBTables, DBCtrls, ExtCtrls, StdCtrls, DBGrids;");
    EXPECT_EQ(unit[13], "    Grid1: TDBGrid;");
    EXPECT_EQ(unit[14], "    procedure FormClose(Sender: TObject; var Action: TCloseAction);");
}

TEST(MaintenanceForm, GridWithoutAttributesStoresNoColumns) {
    fixture::ScratchDir dir;
    auto e = fixture::entity("T", {}, 2);
    const ObjectNode form = generate(dir, *e);
    EXPECT_FALSE(fixture::has(in_box(form, "Grid1"), "Columns"));
}

TEST(MaintenanceForm, InvalidFormNameFailsBeforeAnyFileIsWritten) {
    fixture::ScratchDir dir;
    auto e = fixture::entity("Nota Fiscal", {{.nome = "NUMERO"}});
    TTable table;
    gera_tab(&table, e.get(), dir.prefix().c_str(), 0, true);
    EXPECT_THROW(gerarform(&table, e.get(), dir.prefix().c_str(), 0, 0), EComponentError);
    EXPECT_TRUE(dir.files().empty());
}

TEST(MaintenanceForm, ClashingEditorNamesRaiseTheLibraryError) {
    fixture::ScratchDir dir;
    auto e = fixture::entity("T", {{.nome = "x"}, {.nome = "X"}});
    TTable table;
    table.FieldDefs().Add("x", 1, 10, true);
    table.FieldDefs().Add("X", 1, 10, true);  // names compare without regard to case
    try {
        gerarform(&table, e.get(), dir.prefix().c_str(), 0, 0);
        FAIL() << "no error";
    } catch (const EComponentError& error) {
        EXPECT_STREQ(error.what(), "Um componente chamado TDBEditx j\xE1 existe");
    }
    // The unit written so far is closed and stays; no form file was written.
    EXPECT_EQ(dir.files(), (std::vector<std::string>{"MT.PAS"}));
    // A failed call leaves nothing behind that would make the next one fail.
    auto good = fixture::entity("T", {{.nome = "x"}});
    TTable one;
    gera_tab(&one, good.get(), dir.prefix().c_str(), 0, true);
    EXPECT_NO_THROW(gerarform(&one, good.get(), dir.prefix().c_str(), 0, 0));
}

// Editors find their field definitions by name, so an attribute entry without a record (which
// gera_tab skips) shifts nothing in any layout; a field the table lacks is the library's error, the
// only kind besides I/O errors that leaves the entry point.
TEST(MaintenanceForm, AttributesFindTheirFieldsByNameAndEntriesWithoutRecordsAreSkipped) {
    for (int layout : {0, 1, 2}) {
        fixture::ScratchDir dir;
        auto e = fixture::entity("T", {}, layout);
        StringList list;
        for (const char* name : {"A", "", "B"}) {
            TAtributo* record = nullptr;
            if (*name) {
                record = new TAtributo;
                record->nome = name;
                record->titulo = name;
                record->tipo = 1;
                record->componente = 1;
            }
            list.AddObject(name, record);
        }
        e->SetAtributos(list);
        const ObjectNode form = generate(dir, *e);
        if (layout == 2) {
            EXPECT_EQ(scroll_box(form).child("Grid1")->find("Columns")->value.items().size(), 2u);
            continue;
        }
        EXPECT_EQ(fixture::text(in_box(form, "TDBEditA"), "DataField"), "A") << layout;
        EXPECT_EQ(fixture::text(in_box(form, "TDBEditB"), "DataField"), "B") << layout;
    }
    fixture::ScratchDir dir;
    auto e = fixture::entity("T", {{.nome = "A"}, {.nome = "B"}});
    TTable table;
    table.SetTableName("T.DB");
    table.FieldDefs().Add("A", 1, 10, true);
    try {
        gerarform(&table, e.get(), dir.prefix().c_str(), 0, 0);
        FAIL() << "no error";
    } catch (const EComponentError& error) {
        EXPECT_STREQ(error.what(), "Campo 'B' n\xE3o encontrado na tabela T.DB");
    }
}

TEST(MaintenanceForm, UnwritableDirectoryRaisesAnInputOutputError) {
    fixture::ScratchDir dir;
    auto e = fixture::entity("T", {{.nome = "A"}});
    TTable table;
    gera_tab(&table, e.get(), "", 0, true);
    const std::string missing = (dir.path() / "no" / "such" / "dir").string() + "/";
    try {
        gerarform(&table, e.get(), missing.c_str(), 0, 0);
        FAIL() << "no error";
    } catch (const EInOutError& error) {
        EXPECT_STREQ(error.what(), "Erro de I/O 3");
        EXPECT_EQ(error.erro_sistema(), ENOENT);
    }
    // A byte that Windows-1252 leaves undefined stands for no character, so it names no file.
    try {
        gerarform(&table, e.get(), (dir.prefix() + "\x81/").c_str(), 0, 0);
        FAIL() << "no error";
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.codigo(), 123);
    }
    EXPECT_TRUE(dir.files().empty());
}

}  // namespace
