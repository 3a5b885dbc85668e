// Identification, settings, pick lists and type queries.

#include <string>

#include "platform/string_list.h"
#include "plugin/catalogo.h"
#include "plugin/exports.h"
#include "plugin/modulo.h"
#include "plugin/registros.h"

namespace {
// Text results stay valid until the next call of the same entry point, so each has its own storage.
const char* guardar(std::string& armazenamento, std::string texto) {
    armazenamento = std::move(texto);
    return armazenamento.c_str();
}

void adicionar(HostStringList* lista, const std::string_view texto) { lista->Add(std::string(texto).c_str()); }
}  // namespace

extern "C" {

const char* GetID() { return "KZR40"; }

void Init(std::int32_t valor) { modulo().valor_host = valor; }

void set_var(const char* projeto, const char* servidor) {
    modulo().nome_projeto = projeto ? projeto : "";
    modulo().nome_servidor = servidor ? servidor : "";
}

void Lings(HostStringList* lista) {
    if (!lista) return;
    lista->Add("Programa Delphi 5");
    lista->Add("Script SQL");
}

void Bancos(std::int32_t linguagem, HostStringList* lista) {
    if (!lista) return;
    lista->Clear();
    if (linguagem != 0 && linguagem != 1) return;
    lista->Add("Paradox");
    lista->Add("dBase");
    if (linguagem == 1) lista->Add("Oracle");
}

void tipofonte(HostStringList* lista) {
    if (lista) lista->Add("Delphi 5");
}

void carrega_tipo(HostStringList* lista) {
    if (!lista) return;
    lista->Clear();
    for (int i = 0; i < kTiposNoCatalogo; ++i) adicionar(lista, nome_tipo(i));
}

void carrega_comps(HostStringList* lista) {
    if (!lista) return;
    lista->Clear();
    for (int i = 1; i <= kComponentesNoCatalogo; ++i) adicionar(lista, nome_componente(i));
}

void listas(std::uint8_t seletor, std::int32_t parametro, HostStringList* lista) {
    switch (seletor & 0x7F) {
        case 0: Lings(lista); break;
        case 1: Bancos(parametro, lista); break;
        case 2: tipofonte(lista); break;
        case 3: carrega_comps(lista); break;
        case 4: carrega_tipo(lista); break;
        default: break;
    }
}

const char* nometipo(std::int32_t indice) {
    static std::string resultado;
    return guardar(resultado, nome_tipo(indice));
}

std::int32_t ordemtipo(const char* nome) { return ordem_tipo(nome ? nome : ""); }

bool variavel(const char* nome) { return tipo_variavel(nome ? nome : ""); }

bool decimais(const char* nome) { return tipo_decimais(nome ? nome : ""); }

const char* traduzcampo(const TAtributo* atributo, std::int32_t seletor) {
    static std::string resultado;
    return guardar(resultado, seletor == 0 && atributo ? tipo_programa(*atributo) : std::string());
}

const char* nomecomponente(std::int32_t componente) {
    static std::string resultado;
    return guardar(resultado, std::string(nome_componente(componente)));
}

}  // extern "C"
