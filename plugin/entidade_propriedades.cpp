// What a stored diagram holds of an entity: the published properties in their declaration order.
#include <array>
#include <string>

#include "platform/components/property_builders.h"
#include "plugin/entidade.h"

namespace {
constexpr std::array<const char*, 7> kNomesModo{"tmAtributo", "tmEsquema", "tmChave", "tmEntidade",
                                                "tmdelete",   "tmTabela",  "tmload"};

TEntidade& entidade(TPersistent& o) { return static_cast<TEntidade&>(o); }
const TEntidade& entidade(const TPersistent& o) { return static_cast<const TEntidade&>(o); }

PropertyInfo texto(const char* nome, const HostString& (TEntidade::*ler)() const,
                   void (TEntidade::*gravar)(const HostString&)) {
    PropertyInfo p = props::text(nome);
    p.get = [ler](const TPersistent& o) { return std::string((entidade(o).*ler)().view()); };
    p.set = [gravar](TPersistent& o, const PropertyValue& v) { (entidade(o).*gravar)(HostString(text_of(v))); };
    return p;
}

PropertyInfo inteiro(const char* nome, std::int64_t padrao, std::int32_t (TEntidade::*ler)() const,
                     void (TEntidade::*gravar)(std::int32_t)) {
    PropertyInfo p = props::integer(nome, padrao);
    p.get = [ler](const TPersistent& o) { return static_cast<std::int64_t>((entidade(o).*ler)()); };
    p.set = [gravar](TPersistent& o, const PropertyValue& v) {
        (entidade(o).*gravar)(static_cast<std::int32_t>(integer_of(v)));
    };
    return p;
}

PropertyInfo fonte(const char* nome, const TFont& (TEntidade::*ler)() const) {
    PropertyInfo p = props::prop(nome, PropertyKind::Font);
    p.font = [ler](const TPersistent& o) { return &(entidade(o).*ler)(); };
    return p;
}

PropertyInfo modo() {
    PropertyInfo p = props::enumeration("Modo", kNomesModo[0]);
    p.get = [](const TPersistent& o) {
        const auto ordinal = static_cast<std::size_t>(entidade(o).Modo());
        return PropertyValue{Identifier{ordinal < kNomesModo.size() ? kNomesModo[ordinal] : kNomesModo[0]}};
    };
    p.set = [](TPersistent& o, const PropertyValue& v) {
        for (std::size_t i = 0; i < kNomesModo.size(); ++i)
            if (text_of(v) == kNomesModo[i]) entidade(o).SetModo(static_cast<tmodo>(i));
    };
    return p;
}

PropertyInfo descricao() {
    PropertyInfo p = props::strings("descricao");
    p.get = [](const TPersistent& o) {
        Lines linhas;
        const StringList& lista = entidade(o).descricao();
        for (int i = 0; i < lista.Count(); ++i) linhas.lines.emplace_back(lista.Text(i).view());
        return PropertyValue{std::move(linhas)};
    };
    p.set = [](TPersistent& o, const PropertyValue& v) {
        auto lista = std::make_unique<StringList>();
        if (const auto* linhas = std::get_if<Lines>(&v))
            for (const std::string& linha : linhas->lines) lista->AddObject(HostString(linha), nullptr);
        entidade(o).SetDescricao(std::move(lista));
    };
    return p;
}
}  // namespace

const ComponentClass& TEntidadeClass() {
    static const ComponentClass description = [] {
        ComponentClass c("TEntidade", &TnoxMoveableShapeClass());
        c.published = {
            texto("tabela", &TEntidade::tabela, &TEntidade::SetTabela),
            texto("entidade", &TEntidade::entidade, &TEntidade::SetEntidade),
            descricao(),
            fonte("FonteTitulo", &TEntidade::FonteTitulo),
            fonte("FonteAtributos", &TEntidade::FonteAtributos),
            fonte("FonteExtrangeiras", &TEntidade::FonteExtrangeiras),
            modo(),
            inteiro("Primaria", 0, &TEntidade::Primaria, &TEntidade::SetPrimaria),
            inteiro("Alturaform", TEntidade::kAlturaformPadrao, &TEntidade::Alturaform, &TEntidade::SetAlturaform),
            inteiro("Larguraform", TEntidade::kLarguraformPadrao, &TEntidade::Larguraform, &TEntidade::SetLarguraform),
            inteiro("Tipoform", 0, &TEntidade::Tipoform, &TEntidade::SetTipoform),
            texto("Tituloform", &TEntidade::Tituloform, &TEntidade::SetTituloform),
            texto("Menu", &TEntidade::Menu, &TEntidade::SetMenu),
        };
        props::creatable<TEntidade>(c);
        return c;
    }();
    return description;
}
