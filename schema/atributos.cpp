#include "schema/atributos.h"

#include "plugin/nomes.h"

bool validar_atributo(std::int32_t tipo_banco, const TAtributo& a, std::string& tipo, std::string& nome) {
    if (!valida_coluna(tipo_banco, a) || !valida_tipo(tipo_banco, 0, a, tipo)) return false;
    nome.assign(a.nome.view());
    return limpa_identificador(tipo_banco, nome);
}

