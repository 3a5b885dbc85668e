#include "schema/atributos.h"

#include "plugin/nomes.h"

bool validar_atributo(std::int32_t tipo_banco, const TAtributo& a, std::string& tipo, std::string& nome) {
    if (!valida_coluna(tipo_banco, a) || !valida_tipo(tipo_banco, 0, a, tipo)) return false;
    nome.assign(a.nome.view());
    return limpa_identificador(tipo_banco, nome);
}


std::string campos_do_indice(const TChaveSecundaria& chave, std::string_view separador) {
    if ((chave.tipo_indice & kIndiceExpressao) != 0) return substituir_todos(chave.campos.view(), "+", separador);
    std::string campos;
    campos.reserve(chave.campos.size());
    std::string nome;
    std::string_view resto = chave.campos.view();
    for (bool primeiro = true;; primeiro = false) {
        const std::size_t mais = resto.find('+');
        nome.assign(resto.substr(0, mais));
        limpa_identificador(0, nome);
        if (!primeiro) campos += separador;
        campos += nome;
        if (mais == std::string_view::npos) break;
        resto.remove_prefix(mais + 1);
    }
    return campos;
}
