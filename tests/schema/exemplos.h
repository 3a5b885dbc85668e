#pragma once

// The customer example's expected texts: the lines that the entity Cliente (tests/schema/entidades.h,
// examples/cliente.json) adds to an SQL script with drop on, and its procedure in the unit.

#include <string>
#include <vector>

inline const std::vector<std::string>& sql_de_cliente() {
    static const std::vector<std::string> linhas = {
        "/* Entidade : Cliente */",
        " ",
        "DROP TABLE \"CLIENTE.DB\" ;",
        " ",
        "CREATE TABLE \"CLIENTE.DB\"",
        "(",
        " CODIGO  INTEGER  NOT NULL ,",
        " NOME  CHARACTER (40)   ,",
        " PRIMARY KEY ( CODIGO )",
        ");",
        " ",
        "  CREATE   UNIQUE INDEX IDX_NOME ON \"CLIENTE.DB\"",
        "  (NOME);",
        " ",
        " ",
    };
    return linhas;
}

inline const std::vector<std::string>& procedimento_de_cliente() {
    static const std::vector<std::string> linhas = {
        "// Entidade: Cliente",
        " ",
        "procedure CriarCLIENTE(Diretorio:string);",
        "Begin",
        "  With TTable.Create(Application) do begin",
        "    Active := false;",
        "    DatabaseName := Diretorio;",
        "    TableName := 'CLIENTE.DB';",
        "    TableType := ttParadox;",
        "    With FieldDefs do begin",
        "      Clear;",
        "      Add('CODIGO', ftInteger, 0, True);",
        "      Add('NOME', ftString, 40, False);",
        "    End;",
        "    With IndexDefs do begin",
        "      Clear;",
        "      Add('', 'CODIGO', [ixPrimary,ixUnique]);",
        "      Add('IDX_NOME', 'NOME', [ixUnique,ixCaseInsensitive]);",
        "    End;",
        "    CreateTable;",
        "    Free;",
        "  End;",
        "End; // CriarCLIENTE",
        " ",
    };
    return linhas;
}
