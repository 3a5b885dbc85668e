#include "appgen/projeto_principal.h"

#include <memory>
#include <string_view>
#include <vector>

#include "appgen/fproj_design.h"
#include "platform/components/forms.h"
#include "platform/components/library.h"
#include "platform/components/menus.h"
#include "platform/components/streaming.h"
#include "platform/string_list.h"
#include "platform/text_file.h"
#include "platform/windows_1252.h"
#include "plugin/nomes.h"

namespace {

// One menu entry as the passes read it.
struct Entrada {
    std::string legenda;        // word 1: caption of the table item
    std::string n;              // word 2, sanitised: the table name in every identifier
    std::string legenda_grupo;  // word 3, or "&Tabelas" when blank
    std::string campo4;         // exact field 4: the group item's name stem
};

bool em_branco(std::string_view texto) {
    for (unsigned char c : texto)
        if (c > ' ') return false;
    return true;
}

Entrada ler_entrada(std::string_view texto, std::int32_t tipo_banco) {
    const Delimitadores ponto_e_virgula(";");
    Entrada e;
    e.legenda = extrair_palavra(1, texto, ponto_e_virgula);
    e.n = extrair_palavra(2, texto, ponto_e_virgula);
    limpa_identificador(tipo_banco, e.n);
    e.legenda_grupo = extrair_palavra(3, texto, ponto_e_virgula);
    if (em_branco(e.legenda_grupo)) e.legenda_grupo = "&Tabelas";
    e.campo4 = extrair_campo(4, texto, ';');
    return e;
}

// A caption without its accelerator marks, in upper case: the key by which menu groups are shared.
std::string chave_de_legenda(std::string_view legenda) {
    std::string chave;
    for (unsigned char c : legenda)
        if (c != '&') chave.push_back(static_cast<char>(Windows1252UpperCase(c)));
    return chave;
}

TMenuItem* grupo_existente(TMainMenu& menu, const std::string& legenda) {
    const std::string procurada = chave_de_legenda(legenda);
    for (int i = 0; i < menu.Items().Count(); ++i)
        if (chave_de_legenda(menu.Items().Items(i)->Caption()) == procurada) return menu.Items().Items(i);
    return nullptr;
}

TMenuItem* novo_item(TComponent& dono, const std::string& nome, const std::string& legenda) {
    auto* item = create<TMenuItem>("TMenuItem", &dono);
    item->SetName(nome);
    item->SetCaption(legenda);
    return item;
}

// The unit name of a file path: what follows the last path separator or drive colon.
std::string nome_de_arquivo(const std::string& caminho) {
    const std::size_t separador = caminho.find_last_of("\\/:");
    return separador == std::string::npos ? caminho : caminho.substr(separador + 1);
}

void escrever(TextFileWriter& arquivo, std::initializer_list<std::string_view> linhas) {
    for (std::string_view linha : linhas) arquivo.WriteLine(linha);
}

}  // namespace

void gerar_projeto_principal(const HostStringList& entradas, const std::string& diretorio, std::int32_t tipo_banco,
                             const std::string& titulo) {
    std::string t = titulo;
    limpa_identificador(tipo_banco, t);
    std::unique_ptr<TCustomForm> form(create_fproj_form(nullptr));
    form->SetCaption(titulo);
    auto* menu = dynamic_cast<TMainMenu*>(form->FindComponent("MMain"));
    if (!menu) throw EComponentError("the main form design has no menu MMain");

    std::vector<Entrada> lidas;
    for (int i = 0; i < entradas.Count(); ++i) lidas.push_back(ler_entrada(entradas.Get(i), tipo_banco));
    const bool sem_entradas = lidas.empty();
    auto separador = [&](std::size_t i) { return i + 1 == lidas.size() ? ";" : ","; };

    TextFileWriter projeto(t + ".DPR");
    escrever(projeto, {"Program " + t + ";", "", "Uses", "", "  Forms,"});
    const std::string caminho_unidade = diretorio + "Princ";
    TextFileWriter unidade(caminho_unidade + ".PAS");
    escrever(unidade, {"unit " + nome_de_arquivo(caminho_unidade) + ";", "interface", "uses",
                       "  SysUtils, WinTypes, WinProcs, Messages, Classes, Graphics, Controls,",
                       "  Forms,Dialogs, DBCtrls, ExtCtrls, Menus, StdCtrls;", "", "type", "  TFproj = class(TForm)",
                       "    MMain: TMainMenu;", "    Arquivos1: TMenuItem;", "    Label1: TLabel;",
                       "    Sair1: TMenuItem;"});
    // Without entries the project's uses clause ends here, so that it still compiles.
    projeto.WriteLine(sem_entradas ? "    Princ in 'Princ.pas';" : "    Princ in 'Princ.pas',");

    // Pass 1: declarations, project units and the menu tree.
    for (std::size_t i = 0; i < lidas.size(); ++i) {
        const Entrada& e = lidas[i];
        unidade.WriteLine("    MM" + e.n + ": TMenuItem;");
        projeto.WriteLine("    M" + e.n + " in 'M" + e.n + ".pas'" + separador(i));
        TMenuItem* grupo = grupo_existente(*menu, e.legenda_grupo);
        if (!grupo) {
            std::string radical = em_branco(e.campo4) ? "M" + e.n : e.campo4;
            valida_tabela(1, radical);
            grupo = novo_item(*form, "MM" + radical, e.legenda_grupo);
            menu->Items().Add(grupo);
            unidade.WriteLine("    " + grupo->Name() + ": TMenuItem;");
        }
        grupo->Add(novo_item(*form, "MM" + e.n, e.legenda));
    }
    // Pass 2: click handler declarations.
    for (const Entrada& e : lidas) unidade.WriteLine("    procedure MM" + e.n + "Click(Sender: TObject);");
    escrever(unidade, {"    procedure Sair1Click(Sender: TObject);",
                       "    procedure FormClose(Sender: TObject; var Action: TCloseAction);",
                       "    procedure FormCreate(Sender: TObject);", "  private", "    { Private declarations }",
                       "  public", "    { Public declarations }", "  end;", "", "var", "  F_princ: TFProj;", "",
                       "implementation", ""});
    // Pass 3: the maintenance units (no uses clause at all without entries).
    if (!sem_entradas) unidade.WriteLine("Uses");
    for (std::size_t i = 0; i < lidas.size(); ++i) unidade.WriteLine("    M" + lidas[i].n + separador(i));
    escrever(unidade, {"", "{$R *.DFM}", "", "procedure TFproj.Sair1Click(Sender: TObject);", "begin", "  close;",
                       "end;", "", "procedure TFproj.FormClose(Sender: TObject; var Action: TCloseAction);", "begin",
                       "  Action := caFree;", "end;", "procedure TFproj.FormCreate(Sender: TObject);", "begin"});
    // Pass 4: the menu items are bound to their handlers when the application runs.
    for (const Entrada& e : lidas) escrever(unidade, {"", "  MM" + e.n + ".onclick:=MM" + e.n + "Click;"});
    escrever(unidade, {"end;", ""});
    // Pass 5: each handler opens the table's maintenance form modally.
    for (const Entrada& e : lidas)
        escrever(unidade, {"", "procedure TFproj.MM" + e.n + "Click(Sender: TObject);", "begin",
                           "  F_" + e.n + ":=TF_" + e.n + ".Create(Application);", "  F_" + e.n + ".showmodal;",
                           "  F_" + e.n + ".Free;", "end;"});
    escrever(unidade, {"", "end."});
    unidade.Close();

    escrever(projeto, {"", "begin", "  Application.Initialize;", "  Application.Title := '" + titulo + "';",
                       "  Application.CreateForm(TFproj, F_Princ);", "  Application.Run;", "end."});
    projeto.Close();

    escrever_arquivo(caminho_unidade + ".dfm", form_file_bytes(*form));
}
