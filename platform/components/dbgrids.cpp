#include "platform/components/dbgrids.h"

#include "platform/components/control_properties.h"
#include "platform/components/library_classes.h"


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
      columns_(TColumnClass(),
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

// ---------------------------------------------------------------------------------------------
// Published properties

// The title's properties carry their path. A column without an object field is never expanded, so
// Expanded reads False and, against its default True, is stored.
const ComponentClass& TColumnClass() {
    static const ComponentClass description = [] {
        using namespace props;
        ComponentClass column("TColumn", nullptr);
        {
            PropertyInfo expanded = boolean("Expanded", true);
            expanded.get = [](const TPersistent&) { return bool(false); };
            expanded.set = [](TPersistent&, const PropertyValue&) {};  // no object field: stays collapsed
            PropertyInfo column_visible = prop("Visible", PropertyKind::Boolean, bool(true), Stored::Always);
            column.published = {enumeration("Alignment", "taLeftJustify"),
                                enumeration("ButtonStyle", "cbsAuto"),
                                prop("Color", PropertyKind::Color, std::int64_t{clWindow}, Stored::Assigned),
                                integer("DropDownRows", 7),
                                expanded,
                                text("FieldName"),
                                enumeration("ImeMode", "imDontCare"),
                                text("ImeName"),
                                strings("PickList"),
                                component("PopupMenu"),
                                boolean("ReadOnly", false),
                                enumeration("Title.Alignment", "taLeftJustify"),
                                prop("Title.Caption", PropertyKind::String, {}, Stored::Assigned),
                                prop("Title.Color", PropertyKind::Color, std::int64_t{clBtnFace}, Stored::Assigned),
                                prop("Width", PropertyKind::Integer, std::int64_t(64), Stored::Assigned),
                                column_visible};
        }
        return column;
    }();
    return description;
}

const ComponentClass& TDBGridClass() {
    static const ComponentClass description = [] {
        using namespace props;
        ComponentClass grid("TDBGrid", &TWinControlClass());
        {
            PropertyInfo title_font = prop("TitleFont", PropertyKind::Font, {}, Stored::Always);
            title_font.font = [](const TPersistent& o) { return &dynamic_cast<const TDBGrid&>(o).TitleFont(); };
            PropertyInfo columns = prop("Columns", PropertyKind::Collection, {}, Stored::Assigned);
            columns.collection = [](const TPersistent& o) -> const TCollection* {
                return &dynamic_cast<const TDBGrid&>(o).Columns();
            };
            // Published but written by the grid itself after everything else.
            PropertyInfo published_columns = columns;
            published_columns.stored = Stored::Never;
            grid.published = join(
                std::vector<PropertyInfo>{align(), anchors(), enumeration("BiDiMode", "bdLeftToRight"),
                                          enumeration("BorderStyle", "bsSingle"), color(clWindow), published_columns,
                                          boolean("Ctl3D", true), component("DataSource"), boolean("DefaultDrawing", true)},
                drag(),
                std::vector<PropertyInfo>{boolean("Enabled", true),
                                          prop("FixedColor", PropertyKind::Color, std::int64_t{clBtnFace}),
                                          font_property(), enumeration("ImeMode", "imDontCare"), text("ImeName"),
                                          set("Options", {"dgEditing", "dgTitles", "dgIndicator", "dgColumnResize",
                                                          "dgColLines", "dgRowLines", "dgTabs", "dgConfirmDelete",
                                                          "dgCancelOnExit"})},
                common_tail(true),
                std::vector<PropertyInfo>{boolean("ReadOnly", false), boolean("ShowHint", false), tab_order(),
                                          boolean("TabStop", true), title_font, visible(true)},
                events({"OnCellClick", "OnColEnter", "OnColExit", "OnColumnMoved", "OnDrawDataCell",
                        "OnDrawColumnCell", "OnDblClick", "OnDragDrop", "OnDragOver", "OnEditButtonClick",
                        "OnEndDock", "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp",
                        "OnStartDock", "OnStartDrag", "OnTitleClick"}));
            grid.defined = {columns};
        }
        control_class<TDBGrid>(grid, 320, 120, false);
        return grid;
    }();
    return description;
}
