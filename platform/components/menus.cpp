#include "platform/components/menus.h"

#include <algorithm>

#include "platform/components/component_list.h"
#include "platform/components/library_classes.h"
#include "platform/components/property_builders.h"


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

void TMenuItem::SetParentComponent(TComponent* parent) {
    if (auto* menu = dynamic_cast<TMainMenu*>(parent)) return menu->Items().Add(this);
    if (auto* item = dynamic_cast<TMenuItem*>(parent)) return item->Add(this);
    throw EComponentError("O item de menu " + Name() + " n\xE3o pode estar dentro de " +
                          (parent ? parent->Name() + " (" + parent->ClassName() + ")" : std::string("nada")));
}

void TMenuItem::GetChildren(std::vector<TComponent*>& children, const TComponent* root) const {
    for (TMenuItem* item : items_)
        if (item->Owner() == root) children.push_back(item);
}

TMainMenu::TMainMenu(TComponent* owner, const ComponentClass& description)
    : TComponent(owner, description), items_(new TMenuItem(nullptr, TMenuItemClass())) {}

TMainMenu::~TMainMenu() { delete items_; }

void TMainMenu::GetChildren(std::vector<TComponent*>& children, const TComponent* root) const {
    items_->GetChildren(children, root);
}

// ---------------------------------------------------------------------------------------------
// Published properties

const ComponentClass& TMainMenuClass() {
    static const ComponentClass description = [] {
        using namespace props;
        ComponentClass main_menu("TMainMenu", &TComponentClass());
        main_menu.published = join(
            std::vector<PropertyInfo>{enumeration("AutoHotkeys", "maAutomatic"),
                                      enumeration("AutoLineReduction", "maAutomatic"), boolean("AutoMerge", false),
                                      enumeration("BiDiMode", "bdLeftToRight"), component("Images"),
                                      boolean("OwnerDraw", false), boolean("ParentBiDiMode", true)},
            events({"OnChange"}));
        creatable<TMainMenu>(main_menu);
        return main_menu;
    }();
    return description;
}

const ComponentClass& TMenuItemClass() {
    static const ComponentClass description = [] {
        using namespace props;
        ComponentClass menu_item("TMenuItem", &TComponentClass());
        {
            PropertyInfo item_caption = text("Caption");
            item_caption.get = [](const TPersistent& o) {
                return std::string(dynamic_cast<const TMenuItem&>(o).Caption());
            };
            item_caption.set = [](TPersistent& o, const PropertyValue& v) { dynamic_cast<TMenuItem&>(o).SetCaption(text_of(v)); };
            menu_item.published = join(
                std::vector<PropertyInfo>{component("Action"), enumeration("AutoHotkeys", "maParent"),
                                          enumeration("AutoLineReduction", "maParent"), enumeration("Break", "mbNone"),
                                          item_caption, boolean("Checked", false), component("SubMenuImages"),
                                          boolean("Default", false), boolean("Enabled", true), integer("GroupIndex", 0),
                                          integer("HelpContext", 0), text("Hint"), integer("ImageIndex", -1),
                                          boolean("RadioItem", false), integer("ShortCut", 0), boolean("Visible", true)},
                events({"OnClick", "OnDrawItem", "OnAdvancedDrawItem", "OnMeasureItem"}));
        }
        creatable<TMenuItem>(menu_item);
        return menu_item;
    }();
    return description;
}
