// The main project generator: project source, main unit and the menu of the main form.

#include <algorithm>
#include <filesystem>
#include <functional>

#include <gtest/gtest.h>

#include "platform/components/component.h"
#include "platform/string_list.h"
#include "platform/system_paths.h"
#include "platform/text_file.h"
#include "plugin/exports.h"
#include "tests/appgen/form_fixture.h"

namespace {

namespace fs = std::filesystem;
using formfile::ObjectNode;
using Lines = std::vector<std::string>;

// Runs gerarmain with a scratch directory as the run's working directory, as the host does; the
// process's current directory stays where it is.
struct MainRun {
    fixture::ScratchDir dir;
    Lines project, unit;
    ObjectNode form;
    std::string resource;

    void run(const Lines& entries, const std::string& title = "Vendas", const std::string& directory = "") {
        StringList list;
        for (const std::string& e : entries) list.Add(e.c_str());
        {
            const ScopedWorkingDirectory working(dir.path().string());
            gerarmain(&list, directory.c_str(), 0, 0, title.c_str());
        }
        std::string t = title;
        for (char& c : t)
            if (!std::isalnum(static_cast<unsigned char>(c)) || static_cast<unsigned char>(c) > 127) c = '_';
        project = fixture::lines(fixture::read_file(dir.path() / (t + ".DPR")));
        unit = fixture::lines(fixture::read_file(dir.path() / (directory + "Princ.PAS")));
        form = fixture::read_form(dir.path() / (directory + "Princ.dfm"), &resource);
    }
};

// Top-level menu items of the main form as "Name=Caption[children]".
std::string menu(const ObjectNode& form) {
    const ObjectNode* mmain = form.child("MMain");
    if (!mmain) return "<no MMain>";
    std::function<std::string(const ObjectNode&)> item = [&](const ObjectNode& n) {
        std::string s = n.name + "=" + (fixture::has(n, "Caption") ? fixture::text(n, "Caption") : "");
        if (!n.children.empty()) {
            s += "[";
            for (std::size_t i = 0; i < n.children.size(); ++i) s += (i ? "," : "") + item(n.children[i]);
            s += "]";
        }
        return s;
    };
    std::string s;
    for (std::size_t i = 0; i < mmain->children.size(); ++i) s += (i ? " " : "") + item(mmain->children[i]);
    return s;
}

TEST(MainProject, WritesProjectUnitAndFormLineByLine) {
    MainRun r;
    r.run({"Clientes;CLIENTE;Cadastros", "Produtos;PRODUTO;&Cadastros"});
    EXPECT_EQ(r.project, (Lines{"Program Vendas;", "", "Uses", "", "  Forms,", "    Princ in 'Princ.pas',",
                                "    MCLIENTE in 'MCLIENTE.pas',", "    MPRODUTO in 'MPRODUTO.pas';", "", "begin",
                                "  Application.Initialize;", "  Application.Title := 'Vendas';",
                                "  Application.CreateForm(TFproj, F_Princ);", "  Application.Run;", "end."}));
    const Lines expected_unit = {
        "unit Princ;",
        "interface",
        "uses",
        "  SysUtils, WinTypes, WinProcs, Messages, Classes, Graphics, Controls,",
        "  Forms,Dialogs, DBCtrls, ExtCtrls, Menus, StdCtrls;",
        "",
        "type",
        "  TFproj = class(TForm)",
        "    MMain: TMainMenu;",
        "    Arquivos1: TMenuItem;",
        "    Label1: TLabel;",
        "    Sair1: TMenuItem;",
        "    MMCLIENTE: TMenuItem;",
        "    MMMCLIENTE: TMenuItem;",
        "    MMPRODUTO: TMenuItem;",
        "    procedure MMCLIENTEClick(Sender: TObject);",
        "    procedure MMPRODUTOClick(Sender: TObject);",
        "    procedure Sair1Click(Sender: TObject);",
        "    procedure FormClose(Sender: TObject; var Action: TCloseAction);",
        "    procedure FormCreate(Sender: TObject);",
        "  private",
        "    { Private declarations }",
        "  public",
        "    { Public declarations }",
        "  end;",
        "",
        "var",
        "  F_princ: TFProj;",
        "",
        "implementation",
        "",
        "Uses",
        "    MCLIENTE,",
        "    MPRODUTO;",
        "",
        "{$R *.DFM}",
        "",
        "procedure TFproj.Sair1Click(Sender: TObject);",
        "begin",
        "  close;",
        "end;",
        "",
        "procedure TFproj.FormClose(Sender: TObject; var Action: TCloseAction);",
        "begin",
        "  Action := caFree;",
        "end;",
        "procedure TFproj.FormCreate(Sender: TObject);",
        "begin",
        "",
        "  MMCLIENTE.onclick:=MMCLIENTEClick;",
        "",
        "  MMPRODUTO.onclick:=MMPRODUTOClick;",
        "end;",
        "",
        "",
        "procedure TFproj.MMCLIENTEClick(Sender: TObject);",
        "begin",
        "  F_CLIENTE:=TF_CLIENTE.Create(Application);",
        "  F_CLIENTE.showmodal;",
        "  F_CLIENTE.Free;",
        "end;",
        "",
        "procedure TFproj.MMPRODUTOClick(Sender: TObject);",
        "begin",
        "  F_PRODUTO:=TF_PRODUTO.Create(Application);",
        "  F_PRODUTO.showmodal;",
        "  F_PRODUTO.Free;",
        "end;",
        "",
        "end.",
    };
    EXPECT_EQ(r.unit, expected_unit);
    EXPECT_EQ(r.resource, "TFPROJ");
    EXPECT_EQ(r.form.class_name, "TFproj");
    EXPECT_EQ(fixture::text(r.form, "Caption"), "Vendas");
    // Groups shared by caption without regard to case and "&"; new items carry no click binding.
    EXPECT_EQ(menu(r.form), "Arquivos1=Arquivos[Sair1=Sair] MMMCLIENTE=Cadastros[MMCLIENTE=Clientes,MMPRODUTO=Produtos]");
    EXPECT_FALSE(fixture::has(*r.form.child("MMain")->children[1].child("MMCLIENTE"), "OnClick"));
}

TEST(MainProject, GroupsFromBlankFieldsStemsAndTheFixedMenu) {
    MainRun r;
    r.run({"Clientes;CLIENTE", "Produtos;PRODUTO; ; ", "Notas;NOTA;&arquivos", "Pedidos;PEDIDO;Vendas; Mov Diario ",
           "Itens;ITEM PEDIDO;VENDAS;ignorado"});
    EXPECT_EQ(menu(r.form),
              "Arquivos1=Arquivos[Sair1=Sair,MMNOTA=Notas] MMMCLIENTE=&Tabelas[MMCLIENTE=Clientes,MMPRODUTO=Produtos] "
              "MM_Mov_Diario_=Vendas[MMPEDIDO=Pedidos,MMITEM_PEDIDO=Itens]");
    EXPECT_EQ(r.project[10], "    MITEM_PEDIDO in 'MITEM_PEDIDO.pas';");
    EXPECT_NE(std::find(r.unit.begin(), r.unit.end(), "  F_ITEM_PEDIDO:=TF_ITEM_PEDIDO.Create(Application);"), r.unit.end());
}

TEST(MainProject, EmptyFieldsShiftTheWords) {
    MainRun r;
    r.run({"Clientes;;CLIENTE;Cadastros"});
    // Word 2 is CLIENTE and word 3 Cadastros; exact field 4 is Cadastros too, so it names the group.
    EXPECT_EQ(menu(r.form), "Arquivos1=Arquivos[Sair1=Sair] MMCadastros=Cadastros[MMCLIENTE=Clientes]");
}

TEST(MainProject, TitleIsSanitisedForNamesOnly) {
    MainRun r;
    r.run({"Clientes;CLIENTE"}, "Controle d'\xC1gua");
    EXPECT_EQ(r.project[0], "Program Controle_d__gua;");
    EXPECT_EQ(r.project[10], "  Application.Title := 'Controle d'\xC1gua';");
    EXPECT_EQ(fixture::text(r.form, "Caption"), "Controle d'\xC1gua");
}

TEST(MainProject, DirectoryIsAPlainPrefixAndTheProjectLandsInTheWorkingDirectory) {
    MainRun r;
    r.run({"Clientes;CLIENTE"}, "Vendas", "appX");
    EXPECT_EQ(r.unit[0], "unit appXPrinc;");
    EXPECT_TRUE(fs::exists(r.dir.path() / "Vendas.DPR"));
    EXPECT_FALSE(fs::exists("Vendas.DPR"));
    EXPECT_EQ(r.project[5], "    Princ in 'Princ.pas',");
}

TEST(MainProject, EmptyEntryListStillGivesAProjectThatCompiles) {
    MainRun r;
    r.run({});
    EXPECT_EQ(r.project[5], "    Princ in 'Princ.pas';");
    EXPECT_EQ(r.project[6], "");
    const auto implementation = std::find(r.unit.begin(), r.unit.end(), "implementation");
    ASSERT_NE(implementation, r.unit.end());
    EXPECT_EQ(*(implementation + 2), "");  // no uses clause at all
    EXPECT_EQ(*(implementation + 3), "{$R *.DFM}");
    EXPECT_EQ(menu(r.form), "Arquivos1=Arquivos[Sair1=Sair]");
}

TEST(MainProject, ClashingMenuNamesRaiseTheLibraryError) {
    for (const Lines& entries : {Lines{"A;CLIENTE", "B;CLIENTE"}, Lines{"A;ain"}, Lines{"A;X;G1;CLI", "B;Y;G2;cli"},
                                 Lines{"A;MX;G1", "B;X;G2"}}) {
        MainRun r;
        EXPECT_THROW(r.run(entries), EComponentError) << entries[0];
    }
    MainRun r;
    try {
        r.run({"A;ain"});
    } catch (const EComponentError& e) {
        EXPECT_STREQ(e.what(), "Um componente chamado MMain j\xE1 existe");
    }
}

TEST(MainProject, UnwritableDirectoryRaisesAnInputOutputError) {
    MainRun r;
    EXPECT_THROW(r.run({"A;X"}, "Vendas", "missing/dir/"), EInOutError);
}

}  // namespace
