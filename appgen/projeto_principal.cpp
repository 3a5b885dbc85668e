#include "appgen/projeto_principal.h"

#include <memory>
#include <string_view>
#include <vector>

#include "appgen/fproj_design.h"
#include "platform/components/forms.h"
#include "platform/components/library.h"
#include "platform/components/menus.h"
#include "platform/components/streaming.h"
#include "platform/printer.h"
#include "platform/string_list.h"
#include "platform/text_file.h"
#include "platform/windows_1252.h"
#include "plugin/generated_names.h"
#include "plugin/nomes.h"

namespace {

// One menu entry as the passes read it.
struct MenuEntry {
    std::string caption;        // word 1: caption of the table item
    GeneratedNames names;       // of word 2, the table name, sanitised: what every identifier uses
    std::string group_caption;  // word 3, or "&Tabelas" when blank
    std::string group_stem;     // exact field 4: the group item's name stem
};

bool em_branco(std::string_view texto) {
    for (unsigned char c : texto)
        if (c > ' ') return false;
    return true;
}

MenuEntry read_entry(std::string_view texto, std::int32_t tipo_banco) {
    const Delimitadores ponto_e_virgula(";");
    MenuEntry e;
    e.caption = extrair_palavra(1, texto, ponto_e_virgula);
    std::string table = extrair_palavra(2, texto, ponto_e_virgula);
    limpa_identificador(tipo_banco, table);
    e.names = generated_names(table);
    e.group_caption = extrair_palavra(3, texto, ponto_e_virgula);
    if (em_branco(e.group_caption)) e.group_caption = "&Tabelas";
    e.group_stem = extrair_campo(4, texto, ';');
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

}  // namespace

void gerar_projeto_principal(const HostStringList& entradas, const std::string& diretorio, std::int32_t tipo_banco,
                             const std::string& titulo) {
    std::string program = titulo;
    limpa_identificador(tipo_banco, program);
    std::unique_ptr<TCustomForm> form(create_fproj_form(nullptr));
    form->SetCaption(titulo);
    auto* menu = dynamic_cast<TMainMenu*>(form->FindComponent("MMain"));
    if (!menu) throw EComponentError("the main form design has no menu MMain");

    std::vector<MenuEntry> entries;
    for (int i = 0; i < entradas.Count(); ++i) entries.push_back(read_entry(entradas.Get(i), tipo_banco));
    const bool no_entries = entries.empty();
    auto separator = [&](std::size_t i) { return i + 1 == entries.size() ? ";" : ","; };

    TextFileWriter project_file(program + ".DPR");
    Printer project(project_file);
    project.print(
        "Program $program$;\n"
        "\n"
        "Uses\n"
        "\n"
        "  Forms,\n"_tpl,
        {{"program", program}});
    const std::string unit_path = diretorio + "Princ";
    TextFileWriter unit_file(unit_path + ".PAS");
    Printer unit(unit_file);
    unit.print(
        "unit $unit$;\n"
        "interface\n"
        "uses\n"
        "  SysUtils, WinTypes, WinProcs, Messages, Classes, Graphics, Controls,\n"
        "  Forms,Dialogs, DBCtrls, ExtCtrls, Menus, StdCtrls;\n"
        "\n"
        "type\n"
        "  TFproj = class(TForm)\n"
        "    MMain: TMainMenu;\n"
        "    Arquivos1: TMenuItem;\n"
        "    Label1: TLabel;\n"
        "    Sair1: TMenuItem;\n"_tpl,
        {{"unit", nome_de_arquivo(unit_path)}});
    // Without entries the project's uses clause ends here, so that it still compiles.
    project.print("    Princ in 'Princ.pas'$separator$\n"_tpl, {{"separator", no_entries ? ";" : ","}});

    // Pass 1: declarations, project units and the menu tree.
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const MenuEntry& e = entries[i];
        unit.print("    $menu_item$: TMenuItem;\n"_tpl, {{"menu_item", e.names.menu_item}});
        project.print("    $unit$ in '$unit$.pas'$separator$\n"_tpl, {{"unit", e.names.unit}, {"separator", separator(i)}});
        TMenuItem* group = grupo_existente(*menu, e.group_caption);
        if (!group) {
            group = novo_item(*form, group_menu_item(em_branco(e.group_stem) ? e.names.unit : e.group_stem),
                              e.group_caption);
            menu->Items().Add(group);
            unit.print("    $group$: TMenuItem;\n"_tpl, {{"group", group->Name()}});
        }
        group->Add(novo_item(*form, e.names.menu_item, e.caption));
    }
    // Pass 2: click handler declarations.
    for (const MenuEntry& e : entries) unit.print("    procedure $menu_item$Click(Sender: TObject);\n"_tpl, {{"menu_item", e.names.menu_item}});
    unit.print(
        "    procedure Sair1Click(Sender: TObject);\n"
        "    procedure FormClose(Sender: TObject; var Action: TCloseAction);\n"
        "    procedure FormCreate(Sender: TObject);\n"
        "  private\n"
        "    { Private declarations }\n"
        "  public\n"
        "    { Public declarations }\n"
        "  end;\n"
        "\n"
        "var\n"
        "  F_princ: TFProj;\n"
        "\n"
        "implementation\n"
        "\n"_tpl);
    // Pass 3: the maintenance units (no uses clause at all without entries).
    if (!no_entries) unit.print("Uses\n"_tpl);
    for (std::size_t i = 0; i < entries.size(); ++i)
        unit.print("    $unit$$separator$\n"_tpl, {{"unit", entries[i].names.unit}, {"separator", separator(i)}});
    unit.print(
        "\n"
        "{$$R *.DFM}\n"
        "\n"
        "procedure TFproj.Sair1Click(Sender: TObject);\n"
        "begin\n"
        "  close;\n"
        "end;\n"
        "\n"
        "procedure TFproj.FormClose(Sender: TObject; var Action: TCloseAction);\n"
        "begin\n"
        "  Action := caFree;\n"
        "end;\n"
        "procedure TFproj.FormCreate(Sender: TObject);\n"
        "begin\n"_tpl);
    // Pass 4: the menu items are bound to their handlers when the application runs.
    for (const MenuEntry& e : entries)
        unit.print(
            "\n"
            "  $menu_item$.onclick:=$menu_item$Click;\n"_tpl,
            {{"menu_item", e.names.menu_item}});
    unit.print(
        "end;\n"
        "\n"_tpl);
    // Pass 5: each handler opens the table's maintenance form modally.
    for (const MenuEntry& e : entries)
        unit.print(
            "\n"
            "procedure TFproj.$menu_item$Click(Sender: TObject);\n"
            "begin\n"
            "  $form$:=$form_class$.Create(Application);\n"
            "  $form$.showmodal;\n"
            "  $form$.Free;\n"
            "end;\n"_tpl,
            {{"menu_item", e.names.menu_item}, {"form", e.names.form}, {"form_class", e.names.form_class}});
    unit.print(
        "\n"
        "end.\n"_tpl);
    unit_file.Close();

    project.print(
        "\n"
        "begin\n"
        "  Application.Initialize;\n"
        "  Application.Title := '$title$';\n"
        "  Application.CreateForm(TFproj, F_Princ);\n"
        "  Application.Run;\n"
        "end.\n"_tpl,
        {{"title", titulo}});
    project_file.Close();

    write_file(unit_path + ".dfm", form_file_bytes(*form));
}
