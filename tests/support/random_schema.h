#pragma once

// Seeded random diagrams for the SQL dialects: every field type, composite keys, foreign keys that
// copy their start entity's key (self-references and cycles among them), reserved words, accents,
// blanks and quote characters in names. Every diagram is one a database can hold: keys and indexes
// only on columns a key can be made of, names unique.

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "diagram/diagram.h"
#include "tests/support/entity_builder.h"

namespace test_support {

class RandomSchema {
public:
    explicit RandomSchema(unsigned seed) : random_(seed) {}

    Diagram make() {
        Diagram d;
        d.project = "Projeto \xE7 " + std::to_string(number(0, 999));
        d.server = "srv'\"-" + std::to_string(number(0, 9));
        const int count = number(2, 5);
        std::vector<std::string> tables = pick(kTables, count);
        std::vector<Draft> drafts(static_cast<std::size_t>(count));
        for (int e = 0; e < count; ++e) draft_entity(drafts[e], tables[e], e);
        const int relationships = number(1, 4);
        for (int r = 0; r < relationships; ++r) {
            std::size_t from = index(count), to = index(count);
            if (r > 0 && number(0, 2) == 0) std::tie(from, to) = std::pair(d.relationships.back().to, d.relationships.back().from);
            DiagramRelationship relationship;
            relationship.name = std::string(r % 2 ? "Ger\xEAncia " : "fk_") + std::to_string(r + 1);
            relationship.from = from;
            relationship.to = to;
            relationship.relacao = trelacao(number(0, 3));
            // The end entity receives a copy of the start entity's key, named after the relationship.
            for (const Attribute& key : std::vector<Attribute>(drafts[from].attributes)) {
                if (!key.chave) continue;
                Attribute copy = key;
                copy.nome = "r" + std::to_string(r + 1) + " " + key.nome;
                copy.chave = false;
                copy.nulo = number(0, 1) == 1;
                if (copy.tipo == kAutoInc) copy.tipo = kInteger;
                drafts[to].attributes.push_back(copy);
                drafts[to].origins.push_back({drafts[to].attributes.size() - 1, relationship.name});
            }
            d.relationships.push_back(std::move(relationship));
        }
        for (Draft& draft : drafts) d.entities.push_back(DiagramEntity{build(draft), {}, std::nullopt, std::nullopt});
        return d;
    }

private:
    static constexpr std::int32_t kString = 1, kInteger = 3, kBcd = 8, kAutoInc = 14;
    // Tables and columns alike: reserved words, accents, blanks, quote characters, letter case.
    inline static const std::vector<std::string> kTables = {
        "ORDER", "Cliente", "Nota Fiscal", "A\xE7\xE3o", "select", "Group", "Item \"aspas\"", "Back`tick",
        "O'Brien", "t-1", "pedido", "user", "Pre\xE7o", "TABLE", "\xCDndice", "Range", "limit", "x",
    };
    inline static const std::vector<std::string> kColumns = {
        "ID", "C\xF3" "digo", "Nome", "ORDER", "from", "Descri\xE7\xE3o", "valor total", "Data", "check", "Key",
        "Pre\xE7o Unit\xE1rio", "x\"y", "a`b", "Quantidade", "ativo", "group", "Observa\xE7\xF5" "es", "Foto",
        "M\xEAs", "desc", "it's", "interval", "Primary", "n\xBA",
    };

    struct Draft {
        std::string entidade, tabela;
        std::vector<Attribute> attributes;
        std::vector<std::pair<std::size_t, std::string>> origins;  // attribute, relationship
        std::vector<SecondaryKey> keys;
        std::int32_t primaria = 0;
        std::vector<std::string> description;
    };

    int number(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    std::size_t index(int count) { return static_cast<std::size_t>(number(0, count - 1)); }
    std::vector<std::string> pick(const std::vector<std::string>& pool, int count) {
        std::vector<std::string> names = pool;
        std::shuffle(names.begin(), names.end(), random_);
        names.resize(static_cast<std::size_t>(std::min<int>(count, static_cast<int>(names.size()))));
        return names;
    }

    // A type a key or an index can hold in every dialect.
    void key_type(Attribute& a, bool first) {
        static constexpr std::int32_t kKeyTypes[] = {3, 2, 1, 9, 7, 8, 4, 14, 5};
        a.tipo = kKeyTypes[number(0, first ? 7 : 6)];
        size(a);
    }
    void size(Attribute& a) {
        a.tamanho = a.decimais = 0;
        if (a.tipo == kString) a.tamanho = number(1, 60);
        if (a.tipo == kBcd) a.tamanho = number(1, 18), a.decimais = number(0, a.tamanho);
        if (a.tipo == 6) a.tamanho = number(0, 12), a.decimais = number(0, 4);  // Float: sizes it ignores
        if (a.tipo == 12 || a.tipo == 13) a.tamanho = number(1, 32);
        if (a.tipo == 16) a.tamanho = number(0, 240);
    }
    static bool indexable(const Attribute& a) {
        return a.tipo != 0 && a.tipo != 12 && a.tipo != 13 && a.tipo < 15;
    }

    void draft_entity(Draft& draft, const std::string& table, int e) {
        draft.tabela = table;
        draft.entidade = "Entidade " + std::to_string(e + 1) + " " + table;
        std::vector<std::string> names = pick(kColumns, number(2, 7));
        const int keys = number(0, 9) == 0 ? 0 : number(1, std::min<int>(3, static_cast<int>(names.size())));
        for (std::size_t i = 0; i < names.size(); ++i) {
            Attribute a;
            a.nome = names[i];
            a.titulo = number(0, 2) ? "T\xEDtulo '" + names[i] + "'" : std::string(" ");
            if (static_cast<int>(i) < keys) {
                a.chave = true;
                key_type(a, i == 0);
            } else {
                a.tipo = number(0, 19);
                a.nulo = number(0, 1) == 1;
                size(a);
            }
            draft.attributes.push_back(a);
        }
        if (keys == 0) draft.attributes.push_back({.nome = "plain", .tipo = kInteger});
        std::vector<std::size_t> indexable_columns;
        for (std::size_t i = 0; i < draft.attributes.size(); ++i)
            if (indexable(draft.attributes[i])) indexable_columns.push_back(i);
        for (int k = number(0, 2); k > 0 && !indexable_columns.empty(); --k) {
            std::shuffle(indexable_columns.begin(), indexable_columns.end(), random_);
            const std::size_t parts = std::min<std::size_t>(indexable_columns.size(), static_cast<std::size_t>(number(1, 2)));
            std::string fields;
            for (std::size_t p = 0; p < parts; ++p) fields += (p ? "+" : "") + draft.attributes[indexable_columns[p]].nome;
            const std::uint32_t bits = static_cast<std::uint32_t>(number(0, 31)) & ~kIndiceExpressao;
            draft.keys.push_back({(k == 1 ? "\xCDndice " : "ix_") + std::to_string(e) + "_" + std::to_string(k), fields, bits});
        }
        if (number(0, 1)) draft.primaria = kPrimariaDescendente;
        for (int l = number(0, 2); l > 0; --l) draft.description.push_back("Linha " + std::to_string(l) + ": l'\xE9t\xE9 \\ \"x\"");
    }

    std::unique_ptr<TEntidade> build(const Draft& draft) {
        auto entity = make_entity(draft.entidade, draft.tabela, draft.attributes, draft.keys);
        for (const auto& [attribute, relationship] : draft.origins) {
            auto* record = static_cast<TAtributo*>(entity->atributos().Objects(static_cast<int>(attribute)));
            record->origem = relationship;
            record->chave |= kChaveEstrangeira;
        }
        entity->SetPrimaria(draft.primaria);
        auto description = std::make_unique<StringList>();
        for (const std::string& line : draft.description) description->Add(line.c_str());
        entity->SetDescricao(std::move(description));
        return entity;
    }

    std::mt19937 random_;
};

}  // namespace test_support
