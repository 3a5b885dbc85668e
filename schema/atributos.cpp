#include "schema/atributos.h"

#include "plugin/nomes.h"

bool validar_atributo(std::int32_t tipo_banco, const TAtributo& a, std::string& tipo, std::string& nome) {
    if (!valida_coluna(tipo_banco, a) || !valida_tipo(tipo_banco, 0, a, tipo)) return false;
    nome.assign(a.nome.view());
    return limpa_identificador(tipo_banco, nome);
}

std::string lista_de_chaves(std::int32_t tipo_banco, const StringList& atributos, std::string_view separador,
                            const std::function<void(const TAtributo&)>& recusado) {
    std::string lista, tipo, nome;
    for (int i = 0; i < atributos.Count(); ++i) {
        const TAtributo* a = atributo_em(atributos, i);
        if (!a || !eh_chave(*a)) continue;
        if (!validar_atributo(tipo_banco, *a, tipo, nome)) {
            if (recusado) recusado(*a);
            break;
        }
        lista += nome;
        lista += separador;
    }
    if (!lista.empty()) lista.resize(lista.size() - separador.size());
    return lista;
}
