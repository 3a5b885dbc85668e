// The table-creation unit's share of one entity, and the same definition applied to a table object.

#include "schema/gerador_unidade.h"

#include <string>

#include "platform/message_box.h"
#include "platform/table.h"
#include "platform/text_file.h"
#include "plugin/catalogo.h"
#include "plugin/entidade.h"
#include "plugin/nomes.h"
#include "schema/atributos.h"
#include "schema/tipo_banco.h"

namespace {

constexpr std::string_view Q = "\"";

// Visits the attributes with their records in field-definition order: key attributes first, then the
// others, each group in list order. Stops when `visitar` answers false.
template <typename Visitar>
void em_ordem_de_campos(const StringList& atributos, Visitar&& visitar) {
    for (const bool chaves : {true, false}) {
        for (int i = 0; i < atributos.Count(); ++i) {
            const TAtributo* a = atributo_em(atributos, i);
            if (a && eh_chave(*a) == chaves && !visitar(*a)) return;
        }
    }
}

// "[ixUnique,ixCaseInsensitive]": the option set written for a secondary key in the unit.
std::string conjunto_opcoes(std::uint32_t tipo_indice) {
    std::string s = "[";
    if ((tipo_indice & kIndiceDuplicados) == 0) s += "ixUnique,";
    if ((tipo_indice & kIndiceMaiusculas) == 0) s += "ixCaseInsensitive,";
    if ((tipo_indice & kIndiceDescendente) != 0) s += "ixDescending,";
    if ((tipo_indice & kIndiceNaoMantido) != 0) s += "ixNonMaintained,";
    if ((tipo_indice & kIndiceExpressao) != 0) s += "ixExpression,";
    if (s.back() == ',') s.pop_back();
    return s + "]";
}

}  // namespace

void gerar_unidade_entidade(const TEntidade& entidade, std::int32_t tipo_banco, BuffersGeracao& buffers) {
    Linhas& corpo = *buffers.linhas_corpo;
    Linhas& indices = *buffers.linhas_indices;

    std::string t = entidade.tabela().str();
    if (!valida_tabela(tipo_banco, t)) {
        corpo.adicionar({" // Fonte n\xE3o gerada, nome da tabela inv\xE1lido : ", Q, entidade.tabela().view(), Q});
        return;
    }
    const PerfilBanco& perfil = perfil_banco(tipo_banco);
    const std::string_view ext = perfil.extensao;

    Linhas& criar_todas = *buffers.linhas_criar_todas;
    criar_todas.adicionar({"  IF not (FileExists(Diretorio+'", t, ext, "'", ")) Then"});
    criar_todas.adicionar({"    Criar", t, "(Diretorio)"});
    criar_todas.adicionar("  Else");
    criar_todas.adicionar("    IF Not(manter_antigas) Then ");
    criar_todas.adicionar({"       Criar", t, "(Diretorio);"});
    criar_todas.adicionar("");

    buffers.linhas_cabecalho->adicionar({"procedure Criar", t, "(Diretorio:string);"});

    corpo.adicionar({"// Entidade: ", entidade.entidade().view()});
    corpo.adicionar(" ");
    corpo.adicionar({"procedure Criar", t, "(Diretorio:string);"});
    corpo.adicionar("Begin");
    corpo.adicionar("  With TTable.Create(Application) do begin");
    corpo.adicionar("    Active := false;");
    corpo.adicionar("    DatabaseName := Diretorio;");
    corpo.adicionar({"    TableName := '", t, ext, "'", ";"});
    corpo.adicionar({"    TableType := ", perfil.tipo_tabela_fonte, ";"});
    corpo.adicionar("    With FieldDefs do begin");
    corpo.adicionar("      Clear;");

    std::string tipo, nome;
    bool recusado = false;
    em_ordem_de_campos(entidade.atributos(), [&](const TAtributo& a) {
        if (!validar_atributo(tipo_banco, a, tipo, nome)) {
            corpo.adicionar({" // Coluna n\xE3o gerada, nome ou tipo inv\xE1lido :", Q, a.nome.view(), Q});
            recusado = true;
            return false;
        }
        corpo.adicionar({"      Add('", nome, "'", ", ft", tipo, ", ", std::to_string(a.tamanho), ", ",
                         aceita_nulo(a) ? "False" : "True", ");"});
        return true;
    });
    // A refused column leaves the unit incomplete inside the field definitions.
    if (recusado) return;
    corpo.adicionar("    End;");

    indices.limpar();
    const std::string chave = lista_de_chaves(tipo_banco, entidade.atributos(), "; ", [&indices](const TAtributo& a) {
        indices.adicionar({" // \xCDndice n\xE3o gerado, nome ou tipo inv\xE1lido :", Q, a.nome.view(), Q});
    });
    indices.adicionar({"      Add('', '", chave, "'", ", [ixPrimary,ixUnique]);"});

    const StringList& chaves = entidade.ChavesSecundarias();
    for (int i = 0; i < chaves.Count(); ++i) {
        const TChaveSecundaria* c = chave_em(chaves, i);
        if (!c) continue;
        indices.adicionar({"      Add('", chaves.Text(i).view(), "'", ", ", "'", substituir_todos(c->campos.view(), "+", ";"),
                           "'", ", ", conjunto_opcoes(c->tipo_indice), ");"});
    }

    corpo.adicionar("    With IndexDefs do begin");
    corpo.adicionar("      Clear;");
    corpo.acrescentar(indices);
    corpo.adicionar("    End;");
    corpo.adicionar("    CreateTable;");
    corpo.adicionar("    Free;");
    corpo.adicionar("  End;");
    corpo.adicionar({"End; // Criar", t});
    corpo.adicionar(" ");
}

void preparar_tabela(TTable& tabela, const TEntidade& entidade, std::string_view diretorio, std::int32_t tipo_banco,
                     bool substituir) {
    std::string t = entidade.tabela().str();
    if (!valida_tabela(tipo_banco, t)) {
        show_error_message(std::string("Tabela n\xE3o gerada, nome inv\xE1lido : ") + '"' + entidade.tabela().str() + '"');
        return;
    }
    const PerfilBanco& perfil = perfil_banco(tipo_banco);
    const std::string arquivo = std::string(diretorio) + t + std::string(perfil.extensao);
    if (!substituir && arquivo_existe(arquivo)) return;

    tabela.SetActive(false);
    tabela.SetDatabaseName(std::string(diretorio));
    tabela.SetTableName(t + std::string(perfil.extensao));
    tabela.SetTableType(perfil.tipo_tabela);

    TFieldDefs& campos = tabela.FieldDefs();
    campos.Clear();
    std::string tipo, nome;
    bool recusado = false;
    em_ordem_de_campos(entidade.atributos(), [&](const TAtributo& a) {
        if (!validar_atributo(tipo_banco, a, tipo, nome)) {
            show_error_message(std::string("Coluna n\xE3o gerada, nome ou tipo inv\xE1lido :") + '"' + a.nome.str());
            recusado = true;
            return false;
        }
        const bool com_tamanho = tipo_variavel(tipo);
        campos.Add(nome, a.tipo, com_tamanho ? a.tamanho : 0, !aceita_nulo(a));
        return true;
    });
    if (recusado) return;

    // A refused key attribute silently ends the list.
    const std::string chave = lista_de_chaves(tipo_banco, entidade.atributos(), ";", [](const TAtributo&) {});

    TIndexDefs& indices = tabela.IndexDefs();
    indices.Clear();
    if (perfil.tipo_tabela == TTableType::ttParadox)
        indices.Add("", chave, {TIndexOption::ixPrimary, TIndexOption::ixUnique});

    const bool dbase = tipo_banco == kBancoDBase;
    const StringList& chaves = entidade.ChavesSecundarias();
    for (int i = 0; i < chaves.Count(); ++i) {
        const TChaveSecundaria* c = chave_em(chaves, i);
        if (!c) continue;
        const std::uint32_t bits = c->tipo_indice;
        TIndexOptions opcoes;
        if ((bits & kIndiceDuplicados) == 0 && !dbase) opcoes.include(TIndexOption::ixUnique);
        if ((bits & kIndiceMaiusculas) == 0 && !dbase) opcoes.include(TIndexOption::ixCaseInsensitive);
        if ((bits & kIndiceDescendente) != 0) opcoes.include(TIndexOption::ixDescending);
        if ((bits & kIndiceNaoMantido) != 0) opcoes.include(TIndexOption::ixNonMaintained);
        if ((bits & kIndiceExpressao) != 0) opcoes.include(TIndexOption::ixExpression);
        std::string campos_indice = c->campos.str();
        if (dbase) {
            // dBase indexes several fields through an expression that joins them.
            if (campos_indice.find('+') != std::string::npos) opcoes.include(TIndexOption::ixExpression);
        } else {
            campos_indice = substituir_todos(campos_indice, "+", ";");
        }
        indices.Add(chaves.Text(i).str(), campos_indice, opcoes);
    }
}
