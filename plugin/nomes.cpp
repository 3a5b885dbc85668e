#include "plugin/nomes.h"

#include "plugin/catalogo.h"
#include "plugin/registros.h"

namespace {
bool letra_ou_digito(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
}  // namespace

bool limpa_identificador(std::int32_t /*tipo_banco*/, std::string& texto) {
    for (char& c : texto)
        if (!letra_ou_digito(c)) c = '_';
    return true;
}

bool valida_tabela(std::int32_t tipo_banco, std::string& nome) { return limpa_identificador(tipo_banco, nome); }

bool valida_coluna(std::int32_t /*tipo_banco*/, const TAtributo& /*atributo*/) { return true; }

bool valida_tipo(std::int32_t /*tipo_banco*/, std::int32_t /*nao_usado*/, const TAtributo& atributo, std::string& tipo) {
    tipo = nome_tipo(atributo.tipo);
    return tipo_no_catalogo(atributo.tipo);
}

int posicao_palavra(int n, std::string_view texto, const Delimitadores& delimitadores) {
    const std::size_t fim = texto.size();
    std::size_t i = 0;
    int contadas = 0;
    while (i < fim && contadas != n) {
        while (i < fim && delimitadores.contem(texto[i])) ++i;
        if (i < fim) ++contadas;
        if (contadas == n) return static_cast<int>(i) + 1;
        while (i < fim && !delimitadores.contem(texto[i])) ++i;
    }
    return 0;
}

std::string extrair_palavra(int n, std::string_view texto, const Delimitadores& delimitadores) {
    const int posicao = posicao_palavra(n, texto, delimitadores);
    if (posicao == 0) return {};
    std::size_t fim = static_cast<std::size_t>(posicao) - 1;
    const std::size_t inicio = fim;
    while (fim < texto.size() && !delimitadores.contem(texto[fim])) ++fim;
    return std::string(texto.substr(inicio, fim - inicio));
}

int posicao_campo(int n, std::string_view texto, char delimitador) {
    if (n < 1) return 0;
    std::size_t inicio = 0;
    for (int campo = 1; campo < n; ++campo) {
        const std::size_t achado = texto.find(delimitador, inicio);
        if (achado == std::string_view::npos) return 0;
        inicio = achado + 1;
    }
    return static_cast<int>(inicio) + 1;
}

std::string extrair_campo(int n, std::string_view texto, char delimitador) {
    const int posicao = posicao_campo(n, texto, delimitador);
    if (posicao == 0) return {};
    const std::size_t inicio = static_cast<std::size_t>(posicao) - 1;
    const std::size_t fim = texto.find(delimitador, inicio);
    return std::string(texto.substr(inicio, fim == std::string_view::npos ? std::string_view::npos : fim - inicio));
}

std::string substituir_todos(std::string_view texto, std::string_view procura, std::string_view troca) {
    if (procura.empty()) return std::string(texto);
    std::string resultado;
    resultado.reserve(texto.size());
    std::size_t inicio = 0;
    for (std::size_t achado; (achado = texto.find(procura, inicio)) != std::string_view::npos;) {
        resultado.append(texto, inicio, achado - inicio);
        resultado.append(troca);
        inicio = achado + procura.size();
    }
    resultado.append(texto, inicio);
    return resultado;
}
