#include "platform/components/component_names.h"

#include "platform/ascii_case.h"
#include "platform/caseless_hash.h"
#include "platform/components/component.h"

std::uint64_t ComponentNames::hash_of(std::string_view name) { return AsciiCaselessHash(name); }

std::size_t ComponentNames::locate(std::string_view name, std::uint64_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
        const Slot& slot = slots_[at];
        if (!slot.component || (slot.hash == hash && SameIgnoringAsciiCase(slot.component->Name(), name))) return at;
    }
}

TComponent* ComponentNames::find(std::string_view name) const {
    if (count_ == 0) return nullptr;
    return slots_[locate(name, hash_of(name))].component;
}

void ComponentNames::insert(TComponent* component) {
    if ((count_ + 1) * 2 > slots_.size()) grow();
    const std::uint64_t hash = hash_of(component->Name());
    Slot& slot = slots_[locate(component->Name(), hash)];
    if (!slot.component) ++count_;
    slot = Slot{hash, component};
}

void ComponentNames::erase(const TComponent* component) {
    if (count_ == 0) return;
    const std::size_t mask = slots_.size() - 1;
    std::size_t hole = locate(component->Name(), hash_of(component->Name()));
    if (slots_[hole].component != component) return;
    slots_[hole] = Slot{};
    --count_;
    // Backward shift: every entry after the hole whose probe passes over it moves into it, so that
    // lookups need no markers of removed entries.
    for (std::size_t at = (hole + 1) & mask; slots_[at].component; at = (at + 1) & mask) {
        const std::size_t home = slots_[at].hash & mask;
        const bool passes_hole = ((at - home) & mask) >= ((at - hole) & mask);
        if (!passes_hole) continue;
        slots_[hole] = slots_[at];
        slots_[at] = Slot{};
        hole = at;
    }
}

void ComponentNames::grow() {
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(old.empty() ? 16 : old.size() * 2, Slot{});
    const std::size_t mask = slots_.size() - 1;
    for (const Slot& slot : old) {
        if (!slot.component) continue;
        std::size_t at = slot.hash & mask;
        while (slots_[at].component) at = (at + 1) & mask;
        slots_[at] = slot;
    }
}
