#include "plugin/catalogo.h"

#include <array>
#include <charconv>

#include "plugin/nomes.h"
#include "plugin/registros.h"

namespace {

constexpr std::array<std::string_view, kTiposNoCatalogo> kDescritores = {
    "Desconhecido,1,0,Unknow,1,0", "String,1,0,CHARACTER,1,0", "SmallInt,0,0,SMALLINT,0,0",
    "Integer,0,0,INTEGER,0,0",     "Word,0,0,NUMERIC,0,0",     "Boolean,0,0,BOOLEAN,0,0",
    "Float,0,0,DECIMAL,1,1",       "Currency,0,0,MONEY,0,0",   "BCD,2,1,NUMERIC,1,1",
    "Date,0,0,DATE,0,0",           "Time,0,0,TIME,0,0",        "DateTime,0,0,TIMESTAMP,0,0",
    "Bytes,1,0,BYTES,1,1",         "VarBytes,1,0,BYTES,1,0",   "AutoInc,0,0,AAUTOINC,0,0",
    "Blob,0,0,BYTES,1,0",          "Memo,1,0,BYTES,1,0",       "Graphic,0,0,BYTES,1,0",
    "FmtMemo,0,0,BYTES,1,0",       "ParadoxOle,0,0,BYTES,1,0",
};

constexpr std::array<std::string_view, kComponentesNoCatalogo> kClassesEditor = {
    "TDBEdit",     "TDBCheckBox", "TDBMemo",       "TDBLookupListBox", "TDBLookupComboBox",
    "TDBComboBox", "TDBListBox",  "TDBRadioGroup", "TDBText",          "TDBImage",
};

TypeDescriptor ler_descritor(std::string_view texto) {
    const Delimitadores virgula(",");
    auto campo = [&](int n) { return extrair_palavra(n, texto, virgula); };
    return {{campo(1), campo(2) == "1", campo(3) == "1"}, {campo(4), campo(5) == "1", campo(6) == "1"}};
}

const std::array<TypeDescriptor, kTiposNoCatalogo>& descritores() {
    static const auto tabela = [] {
        std::array<TypeDescriptor, kTiposNoCatalogo> lidos;
        for (int i = 0; i < kTiposNoCatalogo; ++i) lidos[i] = ler_descritor(kDescritores[i]);
        return lidos;
    }();
    return tabela;
}

const TypeDescriptor* primeiro_com_nome(std::string_view nome) {
    const std::int32_t indice = ordem_tipo(nome);
    return indice < 0 ? nullptr : type_descriptor(indice);
}

}  // namespace

bool tipo_no_catalogo(std::int32_t indice) { return indice >= 0 && indice < kTiposNoCatalogo; }

std::string_view descritor_tipo(std::int32_t indice) { return tipo_no_catalogo(indice) ? kDescritores[indice] : ""; }

const TypeDescriptor* type_descriptor(std::int32_t indice) {
    return tipo_no_catalogo(indice) ? &descritores()[indice] : nullptr;
}

TypeSize::TypeSize(const TypeSide& side, const TAtributo& atributo) {
    if (!side.sized) return;
    char* p = chars_;
    char* const end = chars_ + sizeof chars_;
    *p++ = ' ';
    *p++ = '(';
    p = std::to_chars(p, end, atributo.tamanho).ptr;
    if (side.decimals) {
        *p++ = ',';
        p = std::to_chars(p, end, atributo.decimais).ptr;
    }
    *p++ = ')';
    size_ = static_cast<std::uint8_t>(p - chars_);
}

std::string type_text(const TypeSide& side, const TAtributo& atributo) {
    std::string texto = side.name;
    texto += TypeSize(side, atributo).view();
    return texto;
}

const std::string& nome_tipo(std::int32_t indice) {
    static const std::string vazio;
    const TypeDescriptor* d = type_descriptor(indice);
    return d ? d->program.name : vazio;
}

std::int32_t ordem_tipo(std::string_view nome) {
    for (std::int32_t i = 0; i < kTiposNoCatalogo; ++i)
        if (descritores()[i].program.name == nome) return i;
    return -1;
}

bool tipo_variavel(std::string_view nome) {
    const TypeDescriptor* d = primeiro_com_nome(nome);
    return d && d->program.sized;
}

bool tipo_decimais(std::string_view nome) {
    const TypeDescriptor* d = primeiro_com_nome(nome);
    return d && d->program.decimals;
}

std::string tipo_programa(const TAtributo& atributo) {
    const TypeDescriptor* d = type_descriptor(atributo.tipo);
    return d ? type_text(d->program, atributo) : std::string();
}

std::string tipo_clausula_sql(const TAtributo& atributo) {
    const TypeDescriptor* d = type_descriptor(atributo.tipo);
    return d ? type_text(d->sql, atributo) : std::string();
}

ClasseEditor classe_editor(std::int32_t componente) {
    return componente >= 1 && componente <= kComponentesNoCatalogo ? static_cast<ClasseEditor>(componente)
                                                                     : ClasseEditor::TDBEdit;
}

std::string_view nome_classe_editor(ClasseEditor classe) { return kClassesEditor[static_cast<int>(classe) - 1]; }

std::string_view nome_componente(std::int32_t componente) {
    return componente >= 1 && componente <= kComponentesNoCatalogo ? kClassesEditor[componente - 1] : "Desconhecido";
}
