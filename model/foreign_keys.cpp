#include "model/foreign_keys.h"

#include "model/relacionamento.h"
#include "plugin/registros.h"

namespace {

// The entities whose removal is under way, innermost first.
struct Path {
    const TEntidade* entity;
    const Path* outer;
};

bool on_path(const Path* path, const TEntidade* entity) {
    for (; path; path = path->outer)
        if (path->entity == entity) return true;
    return false;
}

const TAtributo* record_of(const TEntidade& entity, int index) {
    return static_cast<const TAtributo*>(entity.atributos().Objects(index));
}

bool has_key_attribute(const TEntidade& entity) {
    for (int i = 0; i < entity.atributos().Count(); ++i)
        if (const TAtributo* record = record_of(entity, i); record && (record->chave & kChavePrimaria) != 0) return true;
    return false;
}

// Freed with its owner or its surface, as when a whole diagram goes: its keys go with it, and deriving
// them again for every relationship torn down would cost a cascade each.
bool going_with_diagram(const TEntidade& entity) {
    const TComponent* owner = entity.Owner();
    const TWinControl* parent = entity.Parent();
    return (owner && owner->Destroying()) || (parent && parent->Destroying());
}

void remove_foreign_keys(TEntidade& entity, const TEntidade& origin, std::string_view name, const Path* outer) {
    if (entity.Modo() == tmodo::tmdelete || entity.Modo() == tmodo::tmload || going_with_diagram(entity)) return;
    const Path here{&entity, outer};
    TWinControl* parent = entity.Parent();
    if (parent) {
        const int count = parent->ControlCount();
        for (int i = 0; i < count && i < parent->ControlCount(); ++i) {
            const auto* relationship = dynamic_cast<const TRelacionamento*>(parent->Controls(i));
            if (!relationship || relationship->GetConnection(1)->Shape() != &entity) continue;
            auto* next = dynamic_cast<TEntidade*>(relationship->GetConnection(2)->Shape());
            if (next && !on_path(&here, next)) remove_foreign_keys(*next, entity, relationship->Name(), &here);
        }
    }
    if (has_key_attribute(origin)) {
        for (int i = 0; i < entity.atributos().Count();) {
            const TAtributo* record = record_of(entity, i);
            if (record && record->origem.view() == name) entity.ExcluirAtributo(i);
            else ++i;
        }
    }
    if (parent) entity.AjustarTamanho(nullptr);
}

}  // namespace

void RemoverEstrangeiras(TEntidade& entity, const TEntidade& origin, std::string_view name) {
    remove_foreign_keys(entity, origin, name, nullptr);
}
