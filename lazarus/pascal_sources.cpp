#include "lazarus/pascal_sources.h"

#include <sstream>

namespace lazarus {

namespace {

using formfile::ObjectNode;

void declare(std::ostringstream& o, const ObjectNode& node) {
    for (const ObjectNode& child : node.children) {
        o << "    " << child.name << ": " << child.class_name << ";\n";
        declare(o, child);
    }
}

void collect(const ObjectNode& node, const std::string& class_name, std::vector<const ObjectNode*>& found) {
    for (const ObjectNode& child : node.children) {
        if (child.class_name == class_name) found.push_back(&child);
        collect(child, class_name, found);
    }
}

// A menu item without items of its own, other than Sair1, opens a table's form: MM<table>.
void table_items(const ObjectNode& node, std::vector<std::string>& tables) {
    for (const ObjectNode& child : node.children) {
        if (child.class_name != "TMenuItem") continue;
        if (child.children.empty()) {
            if (child.name.starts_with("MM")) tables.push_back(child.name.substr(2));
        } else {
            table_items(child, tables);
        }
    }
}

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("''") : std::string(1, c);
    return out + "'";
}

std::string xml(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

}  // namespace

std::string maintenance_unit(const ObjectNode& form, const std::string& unit_name) {
    std::vector<const ObjectNode*> tables;
    collect(form, "TDbf", tables);
    // Lookup tables open first, so that the editors find their lists when the form's table opens.
    std::vector<const ObjectNode*> order;
    for (const ObjectNode* t : tables)
        if (t->name != "Table1") order.push_back(t);
    for (const ObjectNode* t : tables)
        if (t->name == "Table1") order.push_back(t);
    std::ostringstream o;
    o << "unit " << unit_name << ";\n\n{$mode delphi}{$H+}\n\ninterface\n\nuses\n"
      << "  SysUtils, Classes, Graphics, Controls, Forms, Dialogs, DB, dbf, DBCtrls, DBGrids, ExtCtrls,\n"
      << "  StdCtrls, GerarDBs;\n\ntype\n  " << form.class_name << " = class(TForm)\n";
    declare(o, form);
    o << "    procedure FormClose(Sender: TObject; var Action: TCloseAction);\n"
      << "    procedure FormActivate(Sender: TObject);\n  private\n    { Private declarations }\n"
      << "  public\n    { Public declarations }\n  end;\n\nvar\n  " << form.name << ": " << form.class_name
      << ";\n\nimplementation\n\n{$R *.lfm}\n\n"
      << "procedure " << form.class_name << ".FormClose(Sender: TObject; var Action: TCloseAction);\nbegin\n";
    for (auto it = order.rbegin(); it != order.rend(); ++it)
        o << "  if " << (*it)->name << ".Active then " << (*it)->name << ".Close;\n";
    // The main form frees the form when ShowModal returns.
    o << "  Action := caHide;\nend;\n\n"
      << "procedure " << form.class_name << ".FormActivate(Sender: TObject);\nbegin\n";
    for (const ObjectNode* t : order)
        o << "  if not " << t->name << ".Active then begin\n    " << t->name
          << ".FilePathFull := DiretorioDeDados;\n    " << t->name << ".Open;\n  end;\n";
    o << "end;\n\nend.\n";
    return o.str();
}

std::string main_unit(const ObjectNode& form, const std::vector<std::string>& units) {
    std::vector<std::string> tables;
    if (const ObjectNode* menu = form.child("MMain")) table_items(*menu, tables);
    std::ostringstream o;
    o << "unit Princ;\n\n{$mode delphi}{$H+}\n\ninterface\n\nuses\n"
      << "  SysUtils, Classes, Graphics, Controls, Forms, Dialogs, DBCtrls, ExtCtrls, Menus, StdCtrls;\n\n"
      << "type\n  " << form.class_name << " = class(TForm)\n";
    declare(o, form);
    for (const std::string& t : tables) o << "    procedure MM" << t << "Click(Sender: TObject);\n";
    o << "    procedure Sair1Click(Sender: TObject);\n"
      << "    procedure FormClose(Sender: TObject; var Action: TCloseAction);\n"
      << "    procedure FormCreate(Sender: TObject);\n  private\n    { Private declarations }\n"
      << "  public\n    { Public declarations }\n  end;\n\nvar\n  F_princ: " << form.class_name
      << ";\n\nimplementation\n\nuses\n  GerarDBs";
    for (const std::string& u : units) o << ",\n  " << u;
    o << ";\n\n{$R *.lfm}\n\n"
      << "procedure " << form.class_name << ".Sair1Click(Sender: TObject);\nbegin\n  Close;\nend;\n\n"
      << "procedure " << form.class_name << ".FormClose(Sender: TObject; var Action: TCloseAction);\nbegin\n"
      << "  Action := caFree;\nend;\n\n"
      << "procedure " << form.class_name << ".FormCreate(Sender: TObject);\nbegin\n"
      << "  // The tables missing from the data directory are created; those there are kept.\n"
      << "  CriarTodas(DiretorioDeDados, True);\n";
    for (const std::string& t : tables) o << "  MM" << t << ".OnClick := MM" << t << "Click;\n";
    o << "end;\n";
    for (const std::string& t : tables)
        o << "\nprocedure " << form.class_name << ".MM" << t << "Click(Sender: TObject);\nbegin\n"
          << "  F_" << t << " := TF_" << t << ".Create(Application);\n  F_" << t << ".ShowModal;\n  F_" << t << ".Free;\nend;\n";
    o << "\nend.\n";
    return o.str();
}

std::string program_source(const std::string& program, const std::string& title_utf8,
                           const std::vector<std::string>& units) {
    std::ostringstream o;
    o << "program " << program << ";\n\n{$mode delphi}{$H+}\n\nuses\n"
      << "  {$IFDEF UNIX}cthreads,{$ENDIF}\n  SysUtils, Interfaces, Forms,\n  GerarDBs in 'GerarDBs.pas',\n"
      << "  Princ in 'Princ.pas'";
    for (const std::string& u : units) o << ",\n  " << u << " in '" << u << ".pas'";
    o << ";\n\nbegin\n  RequireDerivedFormResource := True;\n"
      << "  // Dates and numbers as the forms' Portuguese captions expect them, whatever the system's locale.\n"
      << "  FormatSettings.ShortDateFormat := 'dd/mm/yyyy';\n  FormatSettings.DateSeparator := '/';\n"
      << "  FormatSettings.LongTimeFormat := 'hh:nn:ss';\n  FormatSettings.TimeSeparator := ':';\n"
      << "  FormatSettings.DecimalSeparator := ',';\n  FormatSettings.ThousandSeparator := '.';\n"
      << "  Application.Title := " << quoted(title_utf8) << ";\n  Application.Initialize;\n  Application.CreateForm(TFproj, F_Princ);\n  Application.Run;\nend.\n";
    return o.str();
}

std::string project_info(const std::string& program, const std::string& title_utf8,
                         const std::vector<std::string>& units) {
    std::ostringstream o;
    o << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<CONFIG>\n  <ProjectOptions>\n"
      << "    <Version Value=\"12\"/>\n    <General>\n      <Flags>\n        <MainUnitHasCreateFormStatements Value=\"False\"/>\n"
      << "      </Flags>\n      <SessionStorage Value=\"InProjectDir\"/>\n      <Title Value=\"" << xml(title_utf8)
      << "\"/>\n      <Scaled Value=\"False\"/>\n    </General>\n    <BuildModes>\n      <Item Name=\"Default\" Default=\"True\"/>\n"
      << "    </BuildModes>\n    <RequiredPackages>\n      <Item>\n        <PackageName Value=\"LCL\"/>\n"
      << "      </Item>\n    </RequiredPackages>\n    <Units>\n"
      << "      <Unit>\n        <Filename Value=\"" << program << ".lpr\"/>\n        <IsPartOfProject Value=\"True\"/>\n      </Unit>\n"
      << "      <Unit>\n        <Filename Value=\"GerarDBs.pas\"/>\n        <IsPartOfProject Value=\"True\"/>\n      </Unit>\n"
      << "      <Unit>\n        <Filename Value=\"Princ.pas\"/>\n        <IsPartOfProject Value=\"True\"/>\n"
      << "        <ComponentName Value=\"Fproj\"/>\n        <HasResources Value=\"True\"/>\n        <ResourceBaseClass Value=\"Form\"/>\n      </Unit>\n";
    for (const std::string& u : units)
        o << "      <Unit>\n        <Filename Value=\"" << u << ".pas\"/>\n        <IsPartOfProject Value=\"True\"/>\n"
          << "        <ComponentName Value=\"F_" << u.substr(1) << "\"/>\n        <HasResources Value=\"True\"/>\n"
          << "        <ResourceBaseClass Value=\"Form\"/>\n      </Unit>\n";
    o << "    </Units>\n  </ProjectOptions>\n  <CompilerOptions>\n    <Version Value=\"11\"/>\n"
      << "    <Target>\n      <Filename Value=\"" << program << "\"/>\n    </Target>\n"
      << "    <SearchPaths>\n      <UnitOutputDirectory Value=\"lib/$(TargetCPU)-$(TargetOS)\"/>\n    </SearchPaths>\n"
      << "    <Parsing>\n      <SyntaxOptions>\n        <SyntaxMode Value=\"Delphi\"/>\n      </SyntaxOptions>\n    </Parsing>\n"
      << "  </CompilerOptions>\n</CONFIG>\n";
    return o.str();
}

}  // namespace lazarus
