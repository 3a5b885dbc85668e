#include "platform/components/menus.h"

#include <algorithm>

#include "platform/components/library.h"

TMenuItem::TMenuItem(TComponent* owner, const ComponentClass& description) : TComponent(owner, description) {}

TMenuItem::~TMenuItem() {
    // Sub-items go with their item, as in the target library.
    while (!items_.empty()) delete items_.back();
    if (parent_) parent_->Remove(this);
}

TMenuItem* TMenuItem::Items(int index) const {
    if (index < 0 || index >= Count())
        throw EComponentError("\xCDndice de menu fora dos limites (" + std::to_string(index) + ")");
    return items_[static_cast<std::size_t>(index)];
}

void TMenuItem::Add(TMenuItem* item) {
    for (const TMenuItem* p = this; p; p = p->parent_)
        if (p == item) throw EComponentError("Um item de menu n\xE3o pode conter a si mesmo");
    if (item->parent_) item->parent_->Remove(item);
    items_.push_back(item);
    item->parent_ = this;
}

void TMenuItem::Remove(TMenuItem* item) {
    if (item->parent_ != this) return;
    EraseFromBack(items_, item);
    item->parent_ = nullptr;
}

void TMenuItem::GetChildren(std::vector<TComponent*>& children, const TComponent* root) const {
    for (TMenuItem* item : items_)
        if (item->Owner() == root) children.push_back(item);
}

TMainMenu::TMainMenu(TComponent* owner, const ComponentClass& description)
    : TComponent(owner, description), items_(new TMenuItem(nullptr, component_class("TMenuItem"))) {}

TMainMenu::~TMainMenu() { delete items_; }

void TMainMenu::GetChildren(std::vector<TComponent*>& children, const TComponent* root) const {
    items_->GetChildren(children, root);
}
