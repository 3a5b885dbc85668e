#include "plugin/generated_names.h"

#include "plugin/nomes.h"

GeneratedNames generated_names(std::string_view table) {
    GeneratedNames names;
    names.unit.append("M").append(table);
    names.form.append("F_").append(table);
    names.form_class.append("T").append(names.form);
    names.menu_item.append("MM").append(table);
    return names;
}

std::string group_menu_item(std::string stem) {
    valida_tabela(1, stem);
    return "MM" + stem;
}
