#include "plugin/geradores.h"

#include <cstring>

std::vector<const TGerador*>& RegistroGeradores::Entradas() {
    static std::vector<const TGerador*> entradas;
    return entradas;
}

HostString& RegistroGeradores::Atual() {
    static HostString atual;
    return atual;
}

std::string RegistroGeradores::TextoTipo(const TAtributo* atributo) {
    const TGerador* escolhido = nullptr;
    for (const TGerador* gerador : Entradas())
        if (gerador && gerador->nome == Atual()) escolhido = gerador;
    if (!escolhido || !escolhido->texto_tipo) return {};
    const char* texto = escolhido->texto_tipo(atributo, 0);
    if (!texto) return {};
    return std::string(texto, ::strnlen(texto, kMaxTextoTipo));
}
