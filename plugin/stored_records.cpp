#include "plugin/stored_records.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "platform/components/component.h"
#include "platform/components/property_builders.h"
#include "platform/string_list.h"

namespace {

template <class Record>
Record& record_of(TPersistent& item) {
    return static_cast<RecordItem<Record>&>(item).record();
}
template <class Record>
const Record& record_of(const TPersistent& item) {
    return static_cast<const RecordItem<Record>&>(item).record();
}

// A whole-number field. The stream may carry any 64-bit integer; one that the field cannot hold is
// refused rather than cut to its width.
template <class Record, class Field>
PropertyInfo number_field(const char* name, Field Record::*member) {
    PropertyInfo p = props::integer(name, 0);
    p.get = [member](const TPersistent& o) { return static_cast<std::int64_t>(record_of<Record>(o).*member); };
    p.set = [member, name](TPersistent& o, const PropertyValue& v) {
        const std::int64_t n = integer_of(v);
        if (n < std::numeric_limits<Field>::min() || n > static_cast<std::int64_t>(std::numeric_limits<Field>::max()))
            throw EComponentError("Valor fora dos limites para " + std::string(name) + " (" + std::to_string(n) + ")");
        record_of<Record>(o).*member = static_cast<Field>(n);
    };
    return p;
}

template <class Record>
PropertyInfo text_field(const char* name, HostString Record::*member) {
    PropertyInfo p = props::text(name);
    p.get = [member](const TPersistent& o) { return std::string((record_of<Record>(o).*member).view()); };
    p.set = [member](TPersistent& o, const PropertyValue& v) { record_of<Record>(o).*member = HostString(text_of(v)); };
    return p;
}

// The host's reserved bytes: stored as binary data, and only when one of them is set.
template <class Record, std::size_t N>
PropertyInfo bytes_field(const char* name, std::uint8_t (Record::*member)[N]) {
    PropertyInfo p = props::binary(name);
    p.get = [member](const TPersistent& o) {
        const std::uint8_t* bytes = record_of<Record>(o).*member;
        if (std::all_of(bytes, bytes + N, [](std::uint8_t b) { return b == 0; })) return PropertyValue{Bytes{}};
        return PropertyValue{Bytes{std::string(reinterpret_cast<const char*>(bytes), N)}};
    };
    p.set = [member, name](TPersistent& o, const PropertyValue& v) {
        const std::string& data = std::get<Bytes>(v).data;
        if (!data.empty() && data.size() != N)
            throw EComponentError(std::string(name) + " tem " + std::to_string(N) + " bytes, n\xE3o " +
                                  std::to_string(data.size()));
        std::uint8_t* bytes = record_of<Record>(o).*member;
        std::fill(bytes, bytes + N, std::uint8_t{0});
        std::memcpy(bytes, data.data(), data.size());
    };
    return p;
}

template <class Record>
TCollection::ItemFactory factory() {
    return [](TCollection& c) -> std::unique_ptr<TCollectionItem> {
        return std::make_unique<RecordItem<Record>>(c, c.ItemClass());
    };
}

// The items of `collection` made to show the records of `list`'s entries, one each.
template <class Record>
const TCollection& show(TCollection& collection, const StringList& list) {
    collection.Clear();
    for (int i = 0; i < list.Count(); ++i)
        static_cast<RecordItem<Record>*>(collection.Add())->Show(static_cast<Record*>(list.Objects(i)));
    return collection;
}

template <class Record>
void pair(const std::vector<HostString>& names, TCollection& records, StringList& into) {
    for (std::size_t i = 0; i < names.size(); ++i)
        into.AddObject(names[i], static_cast<RecordItem<Record>*>(records.Items(static_cast<int>(i)))->Take().release());
}

void check_counts(const std::string& entity, const char* list, std::size_t names, int records) {
    if (names == static_cast<std::size_t>(records)) return;
    throw EComponentError("Erro ao ler " + entity + "." + list + ": " + std::to_string(names) + " entradas para " +
                          std::to_string(records) + " registros");
}

}  // namespace

const ComponentClass& AttributeRecordClass() {
    static const ComponentClass description = [] {
        ComponentClass c("TAtributo", nullptr);
        c.published = {
            text_field("titulo", &TAtributo::titulo),
            text_field("nome", &TAtributo::nome),
            number_field("reservado_12", &TAtributo::reservado_12),
            number_field("tipo", &TAtributo::tipo),
            number_field("tamanho", &TAtributo::tamanho),
            number_field("decimais", &TAtributo::decimais),
            number_field("componente", &TAtributo::componente),
            number_field("chave", &TAtributo::chave),
            bytes_field("reservado_36", &TAtributo::reservado_36),
            text_field("origem", &TAtributo::origem),
            number_field("opcoes", &TAtributo::opcoes),
            number_field("reservado_56", &TAtributo::reservado_56),
            number_field("largura", &TAtributo::largura),
            text_field("rotulo", &TAtributo::rotulo),
        };
        return c;
    }();
    return description;
}

const ComponentClass& SecondaryKeyRecordClass() {
    static const ComponentClass description = [] {
        ComponentClass c("TChaveSecundaria", nullptr);
        c.published = {
            text_field("campos", &TChaveSecundaria::campos),
            number_field("reservado_8", &TChaveSecundaria::reservado_8),
            number_field("tipo_indice", &TChaveSecundaria::tipo_indice),
        };
        return c;
    }();
    return description;
}

EntityStoredRecords::EntityStoredRecords()
    : attributes_(AttributeRecordClass(), factory<TAtributo>()),
      keys_(SecondaryKeyRecordClass(), factory<TChaveSecundaria>()) {}

const TCollection& EntityStoredRecords::ShowAttributes(const StringList& atributos) {
    return show<TAtributo>(attributes_, atributos);
}

const TCollection& EntityStoredRecords::ShowKeys(const StringList& chaves) {
    return show<TChaveSecundaria>(keys_, chaves);
}

void EntityStoredRecords::PairRead(const std::string& entity, StringList& atributos, StringList& chaves) {
    static const std::vector<HostString> none;
    const std::vector<HostString>& attribute_texts = attribute_names ? *attribute_names : none;
    const std::vector<HostString>& key_texts = key_names ? *key_names : none;
    check_counts(entity, "atributos", attribute_texts.size(), attributes_.Count());
    check_counts(entity, "ChavesSecundarias", key_texts.size(), keys_.Count());
    pair<TAtributo>(attribute_texts, attributes_, atributos);
    pair<TChaveSecundaria>(key_texts, keys_, chaves);
    attribute_names.reset();
    key_names.reset();
    attributes_.Clear();
    keys_.Clear();
}
