// A host built against nothing but libkzr40.so: it fills an entity with the library's own classes,
// runs a schema generation and a form generation through the entry points and catches the error the
// library raises. It links only if the library offers every class and entry point a host needs.

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/string_list.h"
#include "platform/table.h"
#include "platform/text_file.h"
#include "plugin/entidade.h"
#include "plugin/exports.h"
#include "plugin/registros.h"

namespace {

int failures = 0;

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "boundary_host: %s\n", what);
        ++failures;
    }
}

}  // namespace

int main(int argc, char** argv) {
    check(std::strcmp(GetID(), "KZR40") == 0, "GetID is not KZR40");

    TEntidade cliente;
    cliente.SetEntidade("Cliente");
    cliente.SetTabela("CLIENTE");
    StringList atributos;
    auto* codigo = new TAtributo;
    codigo->nome = "CODIGO";
    codigo->tipo = 3;
    codigo->chave = kChavePrimaria;
    atributos.AddObject("CODIGO", codigo);
    cliente.SetAtributos(atributos);

    StringList listagem;
    gerar_cab_sql();
    gera_fonte_sql(&cliente, 1, 0, false);
    montar_listagem(&listagem, -1);
    finalizar();
    bool tabela_criada = false;
    for (int i = 0; i < listagem.Count(); ++i) {
        if (std::string(listagem.Get(i)).find("CREATE TABLE") != std::string::npos) tabela_criada = true;
    }
    check(tabela_criada, "the SQL listing has no CREATE TABLE");

    // A directory that cannot exist: the library's own error type reaches the host.
    const std::string inexistente = std::string(argc > 1 ? argv[1] : "/nonexistent") + "/no/such/directory/";
    TTable tabela;
    bool erro_de_es = false;
    try {
        gerarform(&tabela, &cliente, inexistente.c_str(), 0, 0);
    } catch (const EInOutError& erro) {
        erro_de_es = erro.codigo() != 0;
    }
    check(erro_de_es, "gerarform into a missing directory did not raise EInOutError");
    return failures == 0 ? 0 : 1;
}
