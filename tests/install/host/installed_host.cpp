// Includes every boundary header from the installed include folder, so a header they need that was
// left out fails the build, and runs one generation through the installed library.

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/string_list.h"
#include "platform/table.h"
#include "platform/text_file.h"
#include "plugin/entidade.h"
#include "plugin/exports.h"
#include "plugin/registros.h"

int main() {
    if (std::strcmp(GetID(), "KZR40") != 0) {
        std::fprintf(stderr, "installed_host: GetID is %s\n", GetID());
        return 1;
    }
    TEntidade produto;
    produto.SetEntidade("Produto");
    produto.SetTabela("PRODUTO");
    StringList atributos;
    auto* codigo = new TAtributo;
    codigo->nome = "CODIGO";
    codigo->tipo = 3;
    codigo->chave = kChavePrimaria;
    atributos.AddObject("CODIGO", codigo);
    produto.SetAtributos(atributos);

    StringList listagem;
    gerar_cab_sql();
    gera_fonte_sql(&produto, 1, 0, false);
    montar_listagem(&listagem, -1);
    finalizar();
    for (int i = 0; i < listagem.Count(); ++i) {
        const std::string linha = listagem.Get(i);
        if (linha.find("CREATE TABLE") != std::string::npos && linha.find("PRODUTO") != std::string::npos) return 0;
    }
    std::fprintf(stderr, "installed_host: the SQL listing has no CREATE TABLE PRODUTO\n");
    return 1;
}
