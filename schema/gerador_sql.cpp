// The SQL data-definition statements of one entity.

#include "schema/gerador_sql.h"

#include <string>
#include <string_view>

#include "plugin/catalogo.h"
#include "plugin/entidade.h"
#include "plugin/nomes.h"
#include "schema/atributos.h"
#include "schema/comentario.h"
#include "schema/tipo_banco.h"

namespace {

constexpr std::string_view Q = "\"";

// " UNIQUE,", " DESCENDING " or both, less the last character: the words between CREATE and INDEX.
std::string modificador_indice(std::uint32_t tipo_indice) {
    std::string m = " ";
    if ((tipo_indice & kIndiceDuplicados) == 0) m += " UNIQUE,";
    if ((tipo_indice & kIndiceDescendente) != 0) m += " DESCENDING ";
    m.pop_back();
    return m;
}

}  // namespace

void gerar_sql_entidade(const TEntidade& entidade, std::int32_t tipo_banco, bool apagar, BuffersGeracao& buffers) {
    Linhas& corpo = *buffers.linhas_corpo;
    Linhas& indices = *buffers.linhas_indices;

    corpo.adicionar({"/* Entidade : ", texto_de_comentario(entidade.entidade().view()), " */"});
    corpo.adicionar(" ");
    std::string t = entidade.tabela().str();
    if (!valida_tabela(tipo_banco, t)) {
        corpo.adicionar({" // Script n\xE3o gerado, nome da tabela inv\xE1lido : ", Q, entidade.tabela().view(), Q});
        return;
    }
    const std::string_view ext = perfil_banco(tipo_banco).extensao;
    if (apagar) corpo.adicionar({"DROP TABLE ", Q, t, ext, Q, " ;"});
    corpo.adicionar(" ");
    corpo.adicionar({"CREATE TABLE ", Q, t, ext, Q});
    corpo.adicionar("(");

    const StringList& atributos = entidade.atributos();
    std::string tipo, nome;
    for (int i = 0; i < atributos.Count(); ++i) {
        const TAtributo* a = atributo_em(atributos, i);
        if (!a) continue;
        if (!validar_atributo(tipo_banco, *a, tipo, nome)) {
            // The statement stays open: nothing more is written for this entity.
            corpo.adicionar({" /* Coluna n\xE3o gerada, nome ou tipo inv\xE1lido :", Q, texto_de_comentario(a->nome.view()), Q, " */"});
            return;
        }
        corpo.adicionar({" ", nome, "  ", tipo_clausula_sql(*a), "  ", aceita_nulo(*a) ? "" : "NOT NULL", " ,"});
    }

    indices.limpar();
    const std::string chave = lista_de_chaves(tipo_banco, atributos, ", ", [&indices](const TAtributo& a) {
        indices.adicionar({" // \xCDndice n\xE3o gerado, nome ou tipo inv\xE1lido :", Q, a.nome.view(), Q});
    });
    indices.adicionar({" PRIMARY KEY ( ", chave, " )"});
    if ((entidade.Primaria() & kPrimariaDescendente) != 0) indices.adicionar("DESCENDING");
    indices.adicionar(");");
    indices.adicionar(" ");

    const StringList& chaves = entidade.ChavesSecundarias();
    for (int i = 0; i < chaves.Count(); ++i) {
        const TChaveSecundaria* c = chave_em(chaves, i);
        if (!c) continue;
        indices.adicionar({"  CREATE ", modificador_indice(c->tipo_indice), " INDEX ", chaves.Text(i).view(), " ON ",
                           Q, t, ext, Q});
        indices.adicionar({"  (", campos_do_indice(*c, ","), ");"});
        indices.adicionar(" ");
    }

    corpo.acrescentar(indices);
    corpo.adicionar(" ");
}
