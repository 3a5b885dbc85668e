#pragma once

#include <string>
#include <vector>

#include "platform/components/component.h"

// Menus: a main menu holds a tree of menu items. Items are components of the form but are streamed
// inside their parent item (or inside the menu for the top level).

class TMenuItem : public TComponent {
public:
    TMenuItem(TComponent* owner, const ComponentClass& description);
    ~TMenuItem() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption) { caption_ = caption; }

    TMenuItem* Parent() const { return parent_; }
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const;
    // Appends `item` (taking it from its former parent item).
    void Add(TMenuItem* item);
    void Remove(TMenuItem* item);

    bool HasParent() const override { return true; }
    // An item stands in a main menu (at the top level) or in another item.
    void SetParentComponent(TComponent* parent) override;
    void GetChildren(std::vector<TComponent*>& children, const TComponent* root) const override;

private:
    std::string caption_;
    TMenuItem* parent_ = nullptr;
    std::vector<TMenuItem*> items_;
};

class TMainMenu : public TComponent {
public:
    TMainMenu(TComponent* owner, const ComponentClass& description);
    ~TMainMenu() override;

    // The unnamed root item whose children are the menu bar's items.
    TMenuItem& Items() { return *items_; }
    const TMenuItem& Items() const { return *items_; }

    void GetChildren(std::vector<TComponent*>& children, const TComponent* root) const override;

private:
    TMenuItem* items_;  // owned by the menu, not by a component
};

// The description of TMenuItem (a main menu makes its root item of it).
const ComponentClass& TMenuItemClass();
