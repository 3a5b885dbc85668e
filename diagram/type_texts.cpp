#include "diagram/type_texts.h"

#include "platform/utf8_cp1252.h"
#include "plugin/catalogo.h"
#include "plugin/exports.h"
#include "plugin/geradores.h"
#include "plugin/registros.h"

namespace {

// Same contract as traduzcampo: selector 0 gives the text, which stays valid until the next call.
const char* sql_type_text(const TAtributo* atributo, std::int32_t seletor) {
    static std::string text;
    text = seletor == 0 && atributo ? tipo_clausula_sql(*atributo) : std::string();
    return text.c_str();
}

}  // namespace

void register_type_texts() {
    // The registry keeps pointers: the entries live as long as the program.
    static const TGerador plugin_entry(HostString(GetID()), &traduzcampo);
    static const TGerador sql_entry(HostString(kSqlTypeTexts), &sql_type_text);
    static const bool registered = [] {
        RegistroGeradores::Entradas().push_back(&plugin_entry);
        RegistroGeradores::Entradas().push_back(&sql_entry);
        return true;
    }();
    (void)registered;
}

void select_type_texts(const std::string& name) {
    register_type_texts();
    RegistroGeradores::Atual() = HostString(utf8_to_cp1252(name));
}

std::string default_type_texts() { return GetID(); }
