#include "lazarus/dbf_tables.h"

#include <sstream>

#include "platform/ascii_case.h"
#include "platform/utf8_cp1252.h"
#include "plugin/catalogo.h"
#include "plugin/entidade.h"
#include "plugin/entity_view.h"

namespace lazarus {

namespace {

std::vector<std::string> split_fields(const std::string& fields) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= fields.size()) {
        const std::size_t end = std::min(fields.find(';', start), fields.size());
        if (end > start) parts.push_back(fields.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

const TFieldDef* field_named(const TTable& table, const std::string& name) {
    for (int i = 0; i < table.FieldDefs().Count(); ++i)
        if (AsciiUpperCase(table.FieldDefs()[i].Name) == AsciiUpperCase(name)) return &table.FieldDefs()[i];
    return nullptr;
}

bool is_blob(std::int32_t type) {
    return type == kFtBlob || type == kFtMemo || type == kFtGraphic || type == kFtFmtMemo || type == kFtParadoxOle ||
           type == kFtBytes || type == kFtVarBytes;
}

// One field as a piece of a concatenated dBase key: text as it is, numbers and dates as text of a
// fixed width so that the pieces sort field by field.
std::string key_piece(const TFieldDef& field) {
    switch (field.DataType) {
        case kFtString: return field.Name;
        case kFtDate:
        case kFtDateTime:
        case kFtTime: return "DTOS(" + field.Name + ")";
        case kFtBoolean: return "IIF(" + field.Name + ",'T','F')";
        case kFtFloat:
        case kFtCurrency:
        case kFtBCD: return "STR(" + field.Name + ",20,4)";
        default: return "STR(" + field.Name + ",11)";
    }
}

std::string pascal_string(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("''") : std::string(1, c);
    return out + "'";
}

}  // namespace

DbfField dbf_field(std::int32_t data_type) {
    switch (data_type) {
        case kFtString: return {"ftString", true};
        case kFtSmallint: return {"ftSmallint"};
        case kFtInteger: return {"ftInteger"};
        case kFtWord: return {"ftWord"};
        case kFtBoolean: return {"ftBoolean"};
        case kFtFloat:
        case kFtCurrency:
        case kFtBCD: return {"ftFloat"};
        case kFtDate: return {"ftDate"};
        case kFtTime:
        case kFtDateTime: return {"ftDateTime"};
        case kFtAutoInc: return {"ftAutoInc"};
        case kFtMemo:
        case kFtFmtMemo: return {"ftMemo"};
        case kFtBytes:
        case kFtVarBytes:
        case kFtBlob:
        case kFtGraphic:
        case kFtParadoxOle: return {"ftBlob"};
        default: return {};
    }
}

std::string index_expression(const TTable& table, const std::string& fields, bool case_insensitive,
                             std::string* problem) {
    const std::vector<std::string> names = split_fields(fields);
    std::string expression;
    bool text = true;
    for (const std::string& name : names) {
        const TFieldDef* field = field_named(table, name);
        if (!field) {
            *problem = "no field " + name;
            return {};
        }
        if (is_blob(field->DataType) || field->DataType == kFtBoolean) {
            *problem = "field " + name + " is " + nome_tipo(field->DataType) + ", which a dBase key cannot hold";
            return {};
        }
        const bool is_date = field->DataType == kFtDate || field->DataType == kFtDateTime || field->DataType == kFtTime;
        if (field->DataType != kFtString) text = false;
        if (names.size() == 1) {
            expression = is_date ? "DTOS(" + field->Name + ")" : field->Name;
        } else {
            expression += (expression.empty() ? "" : "+") + key_piece(*field);
        }
    }
    if (expression.empty()) *problem = "no fields";
    // UPPER() would make the key case-insensitive, but the dbf unit of Free Pascal 3.2 corrupts memory
    // evaluating it over fields of 40 characters and more (an access violation or a range check error
    // when the index is built), so such keys stay case-sensitive (docs/application.md).
    (void)case_insensitive;
    (void)text;
    return expression;
}

std::vector<DbfIndex> dbf_indexes(const TTable& table, const EntityView& entity, std::string* problem) {
    std::vector<DbfIndex> indexes;
    std::string keys;
    for (const ColumnView* key : entity.keys()) keys += (keys.empty() ? "" : ";") + std::string(key->name);
    if (!keys.empty()) {
        DbfIndex primary{"PRIMARY", keys, {}, true, (entity.entity().Primaria() & kPrimariaDescendente) != 0};
        std::string why;
        primary.expression = index_expression(table, keys, false, &why);
        if (!why.empty()) {
            *problem = "the primary key: " + why;
            return {};
        }
        indexes.push_back(std::move(primary));
    }
    for (const SecondaryKeyView& key : entity.secondary_keys()) {
        DbfIndex index{std::string(key.name), key.options.expression ? key.fields : key.fields_joined(";"), {},
                       key.options.unique, key.options.descending};
        std::erase(index.fields, ' ');
        if (key.options.expression) {
            index.expression = key.fields;
        } else {
            std::string why;
            index.expression = index_expression(table, index.fields, key.options.case_insensitive, &why);
            if (!why.empty()) {
                *problem = "index " + index.name + ": " + why;
                return {};
            }
        }
        indexes.push_back(std::move(index));
    }
    return indexes;
}

std::string dbf_problem(const TTable& table, const EntityView& entity, const std::string& table_name) {
    if (table_name.size() > kMaxTableName)
        return "the table name has " + std::to_string(table_name.size()) + " characters, and Free Pascal 3.2 cannot " +
               "compile the form unit M" + table_name.substr(0, 8) + "... named after it; at most " +
               std::to_string(kMaxTableName) + " fit";
    for (int i = 0; i < table.FieldDefs().Count(); ++i) {
        const TFieldDef& field = table.FieldDefs()[i];
        if (dbf_field(field.DataType).type.empty())
            return "field " + field.Name + ": the type " + nome_tipo(field.DataType) + " has no dBase field type";
        if (field.Name.size() > kMaxFieldName)
            return "field " + field.Name + ": a dBase VII field name holds at most " + std::to_string(kMaxFieldName) +
                   " characters";
    }
    std::string problem;
    dbf_indexes(table, entity, &problem);
    return problem;
}

std::string tables_unit(const std::vector<TableUnitEntry>& tables, const std::string& title_utf8) {
    std::ostringstream o;
    o << "// Unit GerarDBs: the tables of " << title_utf8 << " as dBase VII files (TDbf)\n"
      << "unit GerarDBs;\n\n{$mode delphi}{$H+}\n\ninterface\n\nuses\n  Classes, SysUtils, DB, dbf;\n\n"
      << "// The data directory, with a final separator: the first command-line argument; else the first\n"
      << "// line of dados.txt beside the program; else the directory dados beside the program.\n"
      << "function DiretorioDeDados: string;\n\n"
      << "procedure CriarTodas(diretorio: string; manter_antigas: boolean);\n\n";
    for (const TableUnitEntry& t : tables) o << "procedure Criar" << t.table << "(Diretorio: string);\n";
    o << "\nimplementation\n\n"
      << "function DiretorioDeDados: string;\nvar\n  setting: TStringList;\n  beside: string;\nbegin\n"
      << "  beside := ExtractFilePath(ExpandFileName(ParamStr(0)));\n"
      << "  if ParamCount >= 1 then\n    Result := ParamStr(1)\n"
      << "  else if FileExists(beside + 'dados.txt') then begin\n    setting := TStringList.Create;\n"
      << "    try\n      setting.LoadFromFile(beside + 'dados.txt');\n"
      << "      if setting.Count > 0 then Result := Trim(setting[0]) else Result := beside + 'dados';\n"
      << "    finally\n      setting.Free;\n    end;\n  end else\n    Result := beside + 'dados';\n"
      << "  Result := IncludeTrailingPathDelimiter(ExpandFileName(Result));\nend;\n\n"
      << "// The files of one table: the .dbf, its production index (.mdx) and its memo file (.dbt).\n"
      << "procedure Apagar(Diretorio, tabela: string);\nbegin\n"
      << "  DeleteFile(Diretorio + tabela + '.dbf');\n  DeleteFile(Diretorio + tabela + '.mdx');\n"
      << "  DeleteFile(Diretorio + tabela + '.dbt');\nend;\n\n"
      << "procedure CriarTodas(diretorio: string; manter_antigas: boolean);\nbegin\n"
      << "  if not DirectoryExists(diretorio) then\n    if not ForceDirectories(diretorio) then\n"
      << "      raise Exception.Create('cannot create the data directory ' + diretorio);\n";
    for (const TableUnitEntry& t : tables)
        o << "  if not FileExists(diretorio + '" << t.table << ".dbf') or not manter_antigas then\n    Criar" << t.table
          << "(diretorio);\n";
    o << "end;\n";
    for (const TableUnitEntry& t : tables) {
        const TTable& table = *t.definition;
        o << "\n// Entidade: " << t.entity << "\n\nprocedure Criar" << t.table << "(Diretorio: string);\nbegin\n"
          << "  Apagar(Diretorio, '" << t.table << "');\n"
          << "  with TDbf.Create(nil) do\n  try\n    FilePathFull := Diretorio;\n    TableName := '" << t.table
          << ".dbf';\n    TableLevel := 7;\n    Exclusive := True;\n    with FieldDefs do begin\n      Clear;\n";
        for (int i = 0; i < table.FieldDefs().Count(); ++i) {
            const TFieldDef& f = table.FieldDefs()[i];
            const DbfField d = dbf_field(f.DataType);
            o << "      Add('" << f.Name << "', " << d.type << ", " << (d.sized ? f.Size : 0) << ", "
              << (f.Required ? "True" : "False") << ");\n";
        }
        o << "    end;\n    CreateTable;\n    Open;\n";
        for (const DbfIndex& index : t.indexes) {
            std::string options;
            if (index.unique) options += "ixUnique";
            if (index.descending) options += std::string(options.empty() ? "" : ", ") + "ixDescending";
            o << "    AddIndex(" << pascal_string(index.name) << ", " << pascal_string(index.expression) << ", ["
              << options << "]);\n";
        }
        o << "    Close;\n  finally\n    Free;\n  end;\nend;\n";
    }
    o << "\nend.\n";
    return o.str();
}

}  // namespace lazarus
