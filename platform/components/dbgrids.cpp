#include "platform/components/dbgrids.h"

#include "platform/components/library.h"

TCollectionItem::TCollectionItem(TCollection& collection, const ComponentClass& description)
    : TPersistent(description), collection_(&collection) {}

int TCollectionItem::Index() const {
    for (int i = 0; i < collection_->Count(); ++i)
        if (collection_->Items(i) == this) return i;
    return -1;
}

TCollection::~TCollection() = default;

TCollectionItem* TCollection::Items(int index) const {
    if (index < 0 || index >= Count())
        throw EComponentError("\xCDndice de cole\xE7\xE3o fora dos limites (" + std::to_string(index) + ")");
    return items_[static_cast<std::size_t>(index)].get();
}

TCollectionItem* TCollection::Add() {
    items_.push_back(factory_ ? factory_(*this) : std::make_unique<TCollectionItem>(*this, *item_class_));
    return items_.back().get();
}

void TCollection::Clear() { items_.clear(); }

TDBGrid::TDBGrid(TComponent* owner, const ComponentClass& description)
    : TWinControl(owner, description),
      columns_(component_class("TColumn"),
               [](TCollection& c) -> std::unique_ptr<TCollectionItem> {
                   return std::make_unique<TColumn>(c, c.ItemClass());
               }),
      title_font_(std::make_unique<TFont>()) {
    title_font_->Assign(Font());
    title_font_->OnChange = [this](TFont&) {
        if (!syncing_title_font_) title_font_follows_ = false;
    };
}

TColumn& TDBGrid::AddColumn() { return static_cast<TColumn&>(*columns_.Add()); }

void TDBGrid::FontChanged() {
    if (!title_font_follows_) return;
    syncing_title_font_ = true;
    title_font_->Assign(Font());
    syncing_title_font_ = false;
}
