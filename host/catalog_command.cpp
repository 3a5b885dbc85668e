// `kzr40 catalog`: what the plug-in offers, asked through its entry points as the host modeller asks.

#include <cstdio>
#include <iostream>
#include <string>

#include "host/commands.h"
#include "platform/string_list.h"
#include "plugin/catalogo.h"
#include "plugin/exports.h"

namespace {

const char* yes_no(bool flag) { return flag ? "yes" : "no"; }

// The SQL side of a type has no entry point of its own: it is read from the catalogue's parsed
// descriptor through the library's C++ interface.
TypeSide sql_side(int index) {
    const TypeDescriptor* descriptor = type_descriptor(index);
    return descriptor ? descriptor->sql : TypeSide{"", false, false};
}

void print_catalog(std::ostream& out) {
    StringList languages;
    Lings(&languages);
    StringList sources;
    tipofonte(&sources);
    out << "Plug-in " << GetID() << ", source kind: " << (sources.Count() ? sources.Get(0) : "") << "\n\n";

    out << "Languages and database kinds:\n";
    for (int lang = 0; lang < languages.Count(); ++lang) {
        StringList kinds;
        Bancos(lang, &kinds);
        out << "  " << lang << "  " << languages.Get(lang) << ":";
        for (int kind = 0; kind < kinds.Count(); ++kind) out << (kind ? ", " : " ") << kind << " " << kinds.Get(kind);
        out << "\n";
    }

    StringList types;
    carrega_tipo(&types);
    out << "\nField types:\n";
    char line[160];
    std::snprintf(line, sizeof line, "  %3s  %-14s %-6s %-9s %-10s %-6s %s\n", "#", "program type", "size",
                  "decimals", "SQL type", "size", "decimals");
    out << line;
    for (int i = 0; i < types.Count(); ++i) {
        const char* name = nometipo(i);
        const TypeSide sql = sql_side(i);
        std::snprintf(line, sizeof line, "  %3d  %-14s %-6s %-9s %-10s %-6s %s\n", ordemtipo(name), name,
                      yes_no(variavel(name)), yes_no(decimais(name)), sql.name.c_str(), yes_no(sql.sized),
                      yes_no(sql.decimals));
        out << line;
    }

    StringList components;
    carrega_comps(&components);
    out << "\nEditor components:\n";
    for (int i = 0; i < components.Count(); ++i) {
        std::snprintf(line, sizeof line, "  %3d  %s\n", i + 1, nomecomponente(i + 1));
        out << line;
    }
}

}  // namespace

void register_catalog_command(CLI::App& app) {
    CLI::App* command = app.add_subcommand(
        "catalog", "Show the output languages, database kinds, field types and editor components of the plug-in");
    command->callback([] { print_catalog(std::cout); });
}
