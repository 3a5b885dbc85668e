#include "diagram/model_keys.h"

#include <algorithm>
#include <functional>
#include <string_view>
#include <unordered_map>

#include "plugin/registros.h"

namespace {

// A relationship as an end entity's attributes name it: the end entity and the relationship's name.
struct EndName {
    std::size_t entity;
    std::string_view name;
    bool operator==(const EndName&) const = default;
};
struct EndNameHash {
    std::size_t operator()(const EndName& k) const noexcept {
        return std::hash<std::string_view>{}(k.name) * 31 + k.entity;
    }
};

const TAtributo* record_of(const TEntidade& entity, int index) {
    return static_cast<const TAtributo*>(entity.atributos().Objects(index));
}

}  // namespace

ModelKeys model_keys(const Diagram& diagram) {
    ModelKeys keys;
    keys.primary_keys.resize(diagram.entities.size());
    // The child's attributes of every relationship, gathered in the same pass over all attributes as
    // the keys; two relationships of one name that end at one entity both claim the same attributes.
    std::unordered_map<EndName, std::vector<std::size_t>, EndNameHash> relationships_by_end;
    relationships_by_end.reserve(diagram.relationships.size());
    for (std::size_t r = 0; r < diagram.relationships.size(); ++r) {
        const DiagramRelationship& rel = diagram.relationships[r];
        relationships_by_end[EndName{rel.to, rel.name}].push_back(r);
    }
    std::vector<std::vector<int>> origin_attributes(diagram.relationships.size());
    for (std::size_t e = 0; e < diagram.entities.size(); ++e) {
        const TEntidade& entity = *diagram.entities[e].entity;
        for (int i = 0; i < entity.atributos().Count(); ++i) {
            const TAtributo* a = record_of(entity, i);
            if (!a) continue;
            if ((a->chave & kChavePrimaria) != 0) keys.primary_keys[e].push_back(i);
            if (a->origem.empty()) continue;
            const auto found = relationships_by_end.find(EndName{e, a->origem.view()});
            if (found == relationships_by_end.end()) {
                keys.stray_origins.push_back({e, i});
                continue;
            }
            for (std::size_t r : found->second) origin_attributes[r].push_back(i);
        }
    }

    keys.foreign_keys.reserve(diagram.relationships.size());
    for (std::size_t r = 0; r < diagram.relationships.size(); ++r) {
        const DiagramRelationship& rel = diagram.relationships[r];
        ModelForeignKey fk{r, rel.from, rel.to, {}, {}, {}};
        const std::vector<int>& parent_key = keys.primary_keys[rel.from];
        const std::vector<int>& child_attributes = origin_attributes[r];
        const std::size_t pairs = std::min(parent_key.size(), child_attributes.size());
        fk.columns.reserve(pairs);
        for (std::size_t i = 0; i < pairs; ++i) fk.columns.push_back({parent_key[i], child_attributes[i]});
        fk.unmatched_parent.assign(parent_key.begin() + static_cast<std::ptrdiff_t>(pairs), parent_key.end());
        fk.surplus_child.assign(child_attributes.begin() + static_cast<std::ptrdiff_t>(pairs), child_attributes.end());
        keys.foreign_keys.push_back(std::move(fk));
    }
    return keys;
}
