#include "diagram/model_keys.h"

#include <algorithm>
#include <span>
#include <string_view>
#include <vector>

#include "plugin/registros.h"

namespace {

const TAtributo* record_of(const TEntidade& entity, int index) {
    return static_cast<const TAtributo*>(entity.atributos().Objects(index));
}

// The relationships grouped by their end entity, each group by name (then in diagram order): an
// attribute's `origem` finds those it names among the few of its own entity, with no node per name.
class RelationshipsByEnd {
public:
    explicit RelationshipsByEnd(const Diagram& diagram) : diagram_(diagram), start_(diagram.entities.size() + 1, 0) {
        for (const DiagramRelationship& rel : diagram.relationships) ++start_[rel.to + 1];
        for (std::size_t e = 1; e < start_.size(); ++e) start_[e] += start_[e - 1];
        order_.resize(diagram.relationships.size());
        std::vector<std::size_t> next(start_.begin(), start_.end() - 1);
        for (std::size_t r = 0; r < diagram.relationships.size(); ++r) order_[next[diagram.relationships[r].to]++] = r;
        for (std::size_t e = 0; e + 1 < start_.size(); ++e)
            if (start_[e + 1] - start_[e] > 1)
                std::stable_sort(order_.begin() + static_cast<std::ptrdiff_t>(start_[e]),
                                 order_.begin() + static_cast<std::ptrdiff_t>(start_[e + 1]),
                                 [this](std::size_t a, std::size_t b) { return name(a) < name(b); });
    }

    // The relationships named `origin` that end at entity `e`, in diagram order.
    std::span<const std::size_t> named(std::size_t e, std::string_view origin) const {
        const auto first = order_.begin() + static_cast<std::ptrdiff_t>(start_[e]);
        const auto last = order_.begin() + static_cast<std::ptrdiff_t>(start_[e + 1]);
        const auto lower = std::lower_bound(first, last, origin, [this](std::size_t r, std::string_view n) { return name(r) < n; });
        auto upper = lower;
        while (upper != last && name(*upper) == origin) ++upper;
        return {lower, upper};
    }

private:
    std::string_view name(std::size_t r) const { return diagram_.relationships[r].name; }

    const Diagram& diagram_;
    std::vector<std::size_t> start_;  // per entity, where its group starts in order_; one more at the end
    std::vector<std::size_t> order_;
};

}  // namespace

ModelKeys model_keys(const Diagram& diagram) {
    ModelKeys keys;
    keys.primary_keys.resize(diagram.entities.size());
    // The child's attributes of every relationship, gathered in the same pass over all attributes as
    // the keys; two relationships of one name that end at one entity both claim the same attributes.
    const RelationshipsByEnd relationships_by_end(diagram);
    std::vector<std::pair<std::size_t, int>> claims;  // relationship and attribute, in entity and list order
    claims.reserve(diagram.relationships.size() * 2);
    for (std::size_t e = 0; e < diagram.entities.size(); ++e) {
        const TEntidade& entity = *diagram.entities[e].entity;
        for (int i = 0; i < entity.atributos().Count(); ++i) {
            const TAtributo* a = record_of(entity, i);
            if (!a) continue;
            if ((a->chave & kChavePrimaria) != 0) keys.primary_keys[e].push_back(i);
            if (a->origem.empty()) continue;
            const std::span<const std::size_t> found = relationships_by_end.named(e, a->origem.view());
            if (found.empty()) {
                keys.stray_origins.push_back({e, i});
                continue;
            }
            for (std::size_t r : found) claims.emplace_back(r, i);
        }
    }
    // Each relationship's attributes, one run per relationship in list order (a stable count sort).
    std::vector<std::size_t> first_claim(diagram.relationships.size() + 1, 0);
    for (const auto& [r, i] : claims) ++first_claim[r + 1];
    for (std::size_t r = 1; r < first_claim.size(); ++r) first_claim[r] += first_claim[r - 1];
    std::vector<int> child_attributes_of(claims.size());
    {
        std::vector<std::size_t> next(first_claim.begin(), first_claim.end() - 1);
        for (const auto& [r, i] : claims) child_attributes_of[next[r]++] = i;
    }

    keys.foreign_keys.reserve(diagram.relationships.size());
    for (std::size_t r = 0; r < diagram.relationships.size(); ++r) {
        const DiagramRelationship& rel = diagram.relationships[r];
        ModelForeignKey fk{r, rel.from, rel.to, {}, {}, {}};
        const std::vector<int>& parent_key = keys.primary_keys[rel.from];
        const std::span<const int> child_attributes(child_attributes_of.data() + first_claim[r], first_claim[r + 1] - first_claim[r]);
        const std::size_t pairs = std::min(parent_key.size(), child_attributes.size());
        fk.columns.reserve(pairs);
        for (std::size_t i = 0; i < pairs; ++i) fk.columns.push_back({parent_key[i], child_attributes[i]});
        fk.unmatched_parent.assign(parent_key.begin() + static_cast<std::ptrdiff_t>(pairs), parent_key.end());
        fk.surplus_child.assign(child_attributes.begin() + static_cast<std::ptrdiff_t>(pairs), child_attributes.end());
        keys.foreign_keys.push_back(std::move(fk));
    }
    return keys;
}
