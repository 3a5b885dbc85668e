// The two banners that open a generation run and the assembly of the listing.

#include "schema/banners.h"

#include <string>
#include <typeinfo>

#include "platform/clock.h"
#include "platform/string_list.h"
#include "plugin/modulo.h"
#include "schema/comentario.h"

void abrir_execucao_sql(BuffersGeracao& buffers) {
    buffers.preparar();
    const std::string agora = current_date_time_text();
    Linhas& l = *buffers.linhas_cabecalho;
    l.adicionar("/*  Esquema gerado por VELQUORANTIS v 0.1.0 Lite */");
    l.adicionar({"/* em ", agora, "                       */"});
    l.adicionar(" ");
    l.adicionar({"/*  Projeto : ", texto_de_comentario(modulo().nome_projeto), "              */"});
    l.adicionar({"/*  Servidor : ", texto_de_comentario(modulo().nome_servidor), "       */"});
    l.adicionar(" ");
    l.adicionar("/*   Coloque aqui seus procedimentos de login para  */");
    l.adicionar("/*   conec\xE7\xE3o ao servidor do banco de dados         */");
    l.adicionar(" ");
}

void abrir_execucao_unidade(BuffersGeracao& buffers) {
    buffers.preparar();
    const std::string agora = current_date_time_text();
    Linhas& l = *buffers.linhas_cabecalho;
    l.adicionar("");
    l.adicionar("// Unit gerada por Velquorantis v 0.1.0 Lite");
    l.adicionar({"// em ", agora});
    l.adicionar("//");
    l.adicionar({"//   Projeto: ", modulo().nome_projeto});
    l.adicionar(" ");
    l.adicionar("Unit GerarDBs;");
    l.adicionar(" ");
    l.adicionar("Interface");
    l.adicionar(" ");
    l.adicionar("Uses");
    l.adicionar("  SysUtils, Windows, Messages, Classes, Graphics, Controls,FileCtrl,");
    l.adicionar("  Forms, Dialogs, Buttons, Menus, ExtCtrls, DB, DBTables, DbiProcs;");
    l.adicionar(" ");
    l.adicionar("Procedure CriarTodas(diretorio:string;manter_antigas:boolean);");
    l.adicionar(" ");
}

namespace {
void copiar(const Linhas& linhas, HostStringList& lista) {
    // Our own list class (and not a class derived from it, which may override Add) takes the lines
    // with their known lengths and room made for them at once.
    if (typeid(lista) == typeid(StringList)) {
        auto& propria = static_cast<StringList&>(lista);
        propria.Reserve(static_cast<std::size_t>(propria.Count()) + linhas.quantidade());
        linhas.para_cada([&propria](std::string_view linha) { propria.AddObject(HostString(linha), nullptr); });
        return;
    }
    linhas.para_cada([&lista](std::string_view linha) { lista.Add(linha.data()); });
}
}  // namespace

void montar(const BuffersGeracao& buffers, HostStringList& lista, bool moldura) {
    lista.Clear();
    copiar(*buffers.linhas_cabecalho, lista);
    if (moldura) {
        for (const char* linha : {" ", "Implementation", " ",
                                  "Procedure CriarTodas(diretorio:string;manter_antigas:boolean);", "Begin",
                                  " //montar aqui rotina de verificacao e construcao ",
                                  "  IF Not(DirectoryExists(Diretorio)) then ", "    Try",
                                  "      CreateDir(Diretorio);", "    Finally", "    End;"})
            lista.Add(linha);
    }
    copiar(*buffers.linhas_criar_todas, lista);
    if (moldura) lista.Add("End;");
    lista.Add("");
    copiar(*buffers.linhas_corpo, lista);
    lista.Add("");
    if (moldura) lista.Add("End.  //CriarDBs");
}
