// Schema generation runs: banner, one gera_fonte per entity, montar_listagem, finalizar; and gera_tab.
// Calls that need a prepared run, or that get no entity, table or list, are refused without output.

#include "platform/string_list.h"
#include "plugin/entidade.h"
#include "plugin/exports.h"
#include "schema/banners.h"
#include "schema/buffers.h"
#include "schema/gerador_sql.h"
#include "schema/gerador_unidade.h"

namespace {
constexpr std::int32_t kLinguagemSql = 1;
}

extern "C" {

void gerar_cabecalho(std::int32_t linguagem) {
    if (linguagem == kLinguagemSql)
        abrir_execucao_sql(buffers_geracao());
    else
        abrir_execucao_unidade(buffers_geracao());
}

void gerar_cab_sql() { abrir_execucao_sql(buffers_geracao()); }

void montar_listagem(HostStringList* lista, std::int32_t moldura) {
    const BuffersGeracao& buffers = buffers_geracao();
    if (!lista || !buffers.preparado()) return;
    montar(buffers, *lista, moldura == 0);
}

void finalizar() { buffers_geracao().liberar(); }

void gera_fonte_sql(TEntidade* entidade, std::int32_t /*linguagem*/, std::int32_t tipo_banco, bool apagar) {
    BuffersGeracao& buffers = buffers_geracao();
    if (!entidade || !buffers.preparado()) return;
    gerar_sql_entidade(*entidade, tipo_banco, apagar, buffers);
}

void gera_fonte(TEntidade* entidade, std::int32_t linguagem, std::int32_t tipo_banco, bool apagar) {
    if (linguagem == kLinguagemSql) {
        gera_fonte_sql(entidade, kLinguagemSql, tipo_banco, apagar);
        return;
    }
    BuffersGeracao& buffers = buffers_geracao();
    if (!entidade || !buffers.preparado()) return;
    gerar_unidade_entidade(*entidade, tipo_banco, buffers);
}

void gera_tab(TTable* tabela, TEntidade* entidade, const char* diretorio, std::int32_t tipo_banco, bool substituir) {
    if (!tabela || !entidade) return;
    preparar_tabela(*tabela, *entidade, diretorio ? diretorio : "", tipo_banco, substituir);
}

}  // extern "C"
