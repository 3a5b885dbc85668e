// The two banners that open a generation run and the assembly of the listing.

#include "schema/banners.h"

#include <string>
#include <typeinfo>

#include "platform/clock.h"
#include "platform/printer.h"
#include "platform/string_list.h"
#include "plugin/modulo.h"
#include "schema/comentario.h"

void open_sql_run(GenerationBuffers& buffers) {
    buffers.prepare();
    Printer out(*buffers.header);
    out.print(
        "/*  Esquema gerado por VELQUORANTIS v 0.1.0 Lite */\n"
        "/* em $now$                       */\n"
        " \n"
        "/*  Projeto : $project$              */\n"
        "/*  Servidor : $server$       */\n"
        " \n"
        "/*   Coloque aqui seus procedimentos de login para  */\n"
        "/*   conec\xE7\xE3o ao servidor do banco de dados         */\n"
        " \n"_tpl,
        {{"now", current_date_time_text()},
         {"project", texto_de_comentario(modulo().nome_projeto)},
         {"server", texto_de_comentario(modulo().nome_servidor)}});
}

void open_unit_run(GenerationBuffers& buffers) {
    buffers.prepare();
    Printer out(*buffers.header);
    out.print(
        "\n"
        "// Unit gerada por Velquorantis v 0.1.0 Lite\n"
        "// em $now$\n"
        "//\n"
        "//   Projeto: $project$\n"
        " \n"
        "Unit GerarDBs;\n"
        " \n"
        "Interface\n"
        " \n"
        "Uses\n"
        "  SysUtils, Windows, Messages, Classes, Graphics, Controls,FileCtrl,\n"
        "  Forms, Dialogs, Buttons, Menus, ExtCtrls, DB, DBTables, DbiProcs;\n"
        " \n"
        "Procedure CriarTodas(diretorio:string;manter_antigas:boolean);\n"
        " \n"_tpl,
        {{"now", current_date_time_text()}, {"project", modulo().nome_projeto}});
}

namespace {
void copy(const LineBuffer& lines, HostStringList& list) {
    // Our own list class (and not a class derived from it, which may override Add) takes the lines
    // with their known lengths and room made for them at once.
    if (typeid(list) == typeid(StringList)) {
        auto& own = static_cast<StringList&>(list);
        own.Reserve(static_cast<std::size_t>(own.Count()) + lines.size());
        lines.for_each([&own](std::string_view line) { own.AddObject(HostString(line), nullptr); });
        return;
    }
    lines.for_each([&list](std::string_view line) { list.Add(line.data()); });
}
}  // namespace

void assemble_listing(const GenerationBuffers& buffers, HostStringList& list, bool framed) {
    list.Clear();
    copy(*buffers.header, list);
    HostListSink sink(list);
    Printer out(sink);
    if (framed)
        out.print(
            " \n"
            "Implementation\n"
            " \n"
            "Procedure CriarTodas(diretorio:string;manter_antigas:boolean);\n"
            "Begin\n"
            " //montar aqui rotina de verificacao e construcao \n"
            "  IF Not(DirectoryExists(Diretorio)) then \n"
            "    Try\n"
            "      CreateDir(Diretorio);\n"
            "    Finally\n"
            "    End;\n"_tpl);
    copy(*buffers.create_all, list);
    if (framed) out.print("End;\n"_tpl);
    out.print("\n"_tpl);
    copy(*buffers.body, list);
    out.print("\n"_tpl);
    if (framed) out.print("End.  //CriarDBs\n"_tpl);
}
