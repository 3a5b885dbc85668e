#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/components/control.h"

// Collections (an owned, ordered list of persistent items) and the data grid with its columns.

class TCollection;

class TCollectionItem : public TPersistent {
public:
    TCollectionItem(TCollection& collection, const ComponentClass& description);
    TCollection& Collection() const { return *collection_; }
    int Index() const;

private:
    TCollection* collection_;
};

class TCollection : public TObject {
public:
    using ItemFactory = std::function<std::unique_ptr<TCollectionItem>(TCollection&)>;
    // Items are made by `factory` (default: plain items of `item_class`).
    explicit TCollection(const ComponentClass& item_class, ItemFactory factory = {})
        : item_class_(&item_class), factory_(std::move(factory)) {}
    ~TCollection() override;

    int Count() const { return static_cast<int>(items_.size()); }
    TCollectionItem* Items(int index) const;
    // Appends a new item of the collection's item class.
    TCollectionItem* Add();
    void Clear();
    const ComponentClass& ItemClass() const { return *item_class_; }

private:
    const ComponentClass* item_class_;
    ItemFactory factory_;
    std::vector<std::unique_ptr<TCollectionItem>> items_;
};

// A grid column. Its title's properties are published with their path ("Title.Caption").
class TColumn : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
};

class TDBGrid : public TWinControl {
public:
    TDBGrid(TComponent* owner, const ComponentClass& description);

    TCollection& Columns() { return columns_; }
    const TCollection& Columns() const { return columns_; }
    // Appends a column.
    TColumn& AddColumn();

    // The titles' font: follows the grid's font until the program changes it.
    TFont& TitleFont() { return *title_font_; }
    const TFont& TitleFont() const { return *title_font_; }

protected:
    void FontChanged() override;

private:
    TCollection columns_;
    std::unique_ptr<TFont> title_font_;
    bool title_font_follows_ = true;
    bool syncing_title_font_ = false;
};

// Grid columns are collection items, not registered components; the grid makes them.
const ComponentClass& TColumnClass();
