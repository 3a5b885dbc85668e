// The application generators' entry points.

#include "appgen/formulario_manutencao.h"
#include "appgen/projeto_principal.h"
#include "platform/string_list.h"
#include "platform/table.h"
#include "plugin/entidade.h"
#include "plugin/exports.h"

extern "C" {

void gerarform(TTable* tabela, TEntidade* entidade, const char* diretorio, std::int32_t tipo_banco,
               std::uint8_t /*sinal*/) {
    if (!tabela || !entidade) return;
    gerar_formulario_manutencao(*tabela, *entidade, diretorio ? diretorio : "", tipo_banco);
}

void gerarmain(HostStringList* entradas, const char* diretorio, std::int32_t tipo_banco, std::int32_t /*reservado*/,
               const char* titulo) {
    const StringList vazia;
    gerar_projeto_principal(entradas ? static_cast<const HostStringList&>(*entradas) : vazia, diretorio ? diretorio : "", tipo_banco, titulo ? titulo : "");
}

}  // extern "C"
