// What a stored diagram holds of an entity: the published properties in their declaration order, then
// the records of its two lists (plugin/stored_records.h).
#include <array>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "platform/components/property_builders.h"
#include "platform/identifier.h"
#include "plugin/entidade.h"
#include "plugin/enum_names.h"
#include "plugin/stored_records.h"
#include "platform/formfile/printable.h"

namespace {

TEntidade& entidade(TPersistent& o) { return static_cast<TEntidade&>(o); }
const TEntidade& entidade(const TPersistent& o) { return static_cast<const TEntidade&>(o); }

PropertyInfo texto(const char* nome, const HostString& (TEntidade::*ler)() const,
                   void (TEntidade::*gravar)(const HostString&), Stored gravado = Stored::NotDefault) {
    PropertyInfo p = props::prop(nome, PropertyKind::String, {}, gravado);
    p.get = [ler](const TPersistent& o) { return std::string((entidade(o).*ler)().view()); };
    p.set = [gravar](TPersistent& o, const PropertyValue& v) { (entidade(o).*gravar)(HostString(text_of(v))); };
    return p;
}

// A stream may carry any 64-bit integer: one beyond 32 bits is refused instead of cut.
PropertyInfo inteiro(const char* nome, std::int64_t padrao, std::int32_t (TEntidade::*ler)() const,
                     void (TEntidade::*gravar)(std::int32_t), Stored gravado = Stored::NotDefault) {
    PropertyInfo p = props::prop(nome, PropertyKind::Integer, padrao, gravado);
    p.get = [ler](const TPersistent& o) { return static_cast<std::int64_t>((entidade(o).*ler)()); };
    p.set = [gravar, nome](TPersistent& o, const PropertyValue& v) {
        const std::int64_t n = integer_of(v);
        if (n < std::numeric_limits<std::int32_t>::min() || n > std::numeric_limits<std::int32_t>::max())
            throw EComponentError("Valor fora dos limites para " + std::string(nome) + " (" + std::to_string(n) + ")");
        (entidade(o).*gravar)(static_cast<std::int32_t>(n));
    };
    return p;
}

PropertyInfo fonte(const char* nome, const TFont& (TEntidade::*ler)() const) {
    PropertyInfo p = props::prop(nome, PropertyKind::Font);
    p.font = [ler](const TPersistent& o) { return &(entidade(o).*ler)(); };
    return p;
}

PropertyInfo modo() {
    PropertyInfo p = props::enumeration("Modo", kModoNames[0].data());
    p.get = [](const TPersistent& o) {
        const auto ordinal = static_cast<std::size_t>(entidade(o).Modo());
        return PropertyValue{Identifier{std::string(ordinal < kModoNames.size() ? kModoNames[ordinal] : kModoNames[0])}};
    };
    p.set = [](TPersistent& o, const PropertyValue& v) {
        for (std::size_t i = 0; i < kModoNames.size(); ++i)
            if (SameIdent(text_of(v), kModoNames[i])) return entidade(o).SetModo(static_cast<tmodo>(i));
        throw EComponentError("Modo desconhecido " + formfile::printable(text_of(v)));
    };
    return p;
}

// The entry texts of a list whose records follow as a collection. Read, they wait for the records
// (TEntidade::Loaded); outside a read an entry cannot be made without its record.
PropertyInfo lista_de_registros(const char* nome, const StringList& (TEntidade::*ler)() const,
                                std::optional<std::vector<HostString>> EntityStoredRecords::*lidos) {
    PropertyInfo p = props::strings(nome);
    p.get = [ler](const TPersistent& o) { return PropertyValue{props::lines_of((entidade(o).*ler)())}; };
    p.set = [nome, lidos](TPersistent& o, const PropertyValue& v) {
        TEntidade& e = entidade(o);
        if (!e.Loading())
            throw EComponentError(std::string(nome) + " takes its entries with their records (the entity's setter)");
        std::vector<HostString> textos;
        for (const std::string& linha : std::get<Lines>(v).lines) textos.emplace_back(linha);
        e.StoredRecords().*lidos = std::move(textos);
    };
    return p;
}

PropertyInfo registros(const char* nome, const TCollection& (EntityStoredRecords::*mostrar)(const StringList&),
                       TCollection& (EntityStoredRecords::*lidos)(), const StringList& (TEntidade::*lista)() const) {
    PropertyInfo p = props::prop(nome, PropertyKind::Collection);
    p.collection = [=](const TPersistent& o) -> const TCollection* {
        const TEntidade& e = entidade(o);
        EntityStoredRecords& guardados = e.StoredRecords();
        // While loading the reader fills the collection; otherwise it shows the entity's records.
        return e.Loading() ? &(guardados.*lidos)() : &(guardados.*mostrar)((e.*lista)());
    };
    return p;
}

}  // namespace

const ComponentClass& TEntidadeClass() {
    static const ComponentClass description = [] {
        ComponentClass c("TEntidade", &TnoxMoveableShapeClass());
        c.published = {
            texto("tabela", &TEntidade::tabela, &TEntidade::SetTabela),
            // Always stored: a new entity is named "Entidade...", so an empty name left out would read
            // back as that.
            texto("entidade", &TEntidade::entidade, &TEntidade::SetEntidade, Stored::Always),
            lista_de_registros("atributos", &TEntidade::atributos, &EntityStoredRecords::attribute_names),
            props::replaced_lines("descricao", &TEntidade::descricao, &TEntidade::SetDescricao),
            fonte("FonteTitulo", &TEntidade::FonteTitulo),
            fonte("FonteAtributos", &TEntidade::FonteAtributos),
            fonte("FonteExtrangeiras", &TEntidade::FonteExtrangeiras),
            lista_de_registros("ChavesSecundarias", &TEntidade::ChavesSecundarias, &EntityStoredRecords::key_names),
            modo(),
            inteiro("Primaria", 0, &TEntidade::Primaria, &TEntidade::SetPrimaria),
            // Always stored: a new entity starts at 0, not at the declared default, so leaving out a
            // value equal to the default would read it back as 0.
            inteiro("Alturaform", TEntidade::kAlturaformPadrao, &TEntidade::Alturaform, &TEntidade::SetAlturaform,
                    Stored::Always),
            inteiro("Larguraform", TEntidade::kLarguraformPadrao, &TEntidade::Larguraform, &TEntidade::SetLarguraform,
                    Stored::Always),
            inteiro("Tipoform", 0, &TEntidade::Tipoform, &TEntidade::SetTipoform),
            texto("Tituloform", &TEntidade::Tituloform, &TEntidade::SetTituloform),
            texto("Menu", &TEntidade::Menu, &TEntidade::SetMenu),
        };
        c.defined = {
            registros("AttributeRecords", &EntityStoredRecords::ShowAttributes, &EntityStoredRecords::Attributes,
                      &TEntidade::atributos),
            registros("SecondaryKeyRecords", &EntityStoredRecords::ShowKeys, &EntityStoredRecords::Keys,
                      &TEntidade::ChavesSecundarias),
        };
        props::creatable<TEntidade>(c);
        return c;
    }();
    return description;
}
