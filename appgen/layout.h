#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

#include "plugin/catalogo.h"

struct ColumnView;
class EntityView;
class Printer;
class TComponent;
class TControl;
class TCustomForm;
struct TFieldDef;
class TTable;
class TWinControl;

// The table's field definitions by name in upper case, as the database finds fields: an editor is
// bound to its attribute's field by name, not by position, so an attribute entry without a record
// (which gera_tab skips) cannot shift the bindings of the ones after it.
using FieldsByName = std::unordered_map<std::string, const TFieldDef*>;
FieldsByName index_fields(const TTable& table);

// What a layout builder works on: the scratch form being filled, the unit text being written (inside
// the form class's declarations), and the host's table and entity it reads.
struct LayoutContext {
    TCustomForm& form;
    TWinControl& scroll_box;  // ScrollBox1: parent of every layout component
    TComponent& data_source;  // DataSource1: what the editors are bound to
    Printer& unit;
    const TTable& table;
    const EntityView& entity;
    const FieldsByName& fields;
};

// The three layouts, chosen by the entity's Tipoform (0, 1, 2).
void vertical_layout(LayoutContext& context);
void horizontal_layout(LayoutContext& context);
void grid_layout(LayoutContext& context);

// Pieces the vertical and horizontal layouts share.
namespace layout {

// Measures of the layouts, in pixels.
inline constexpr int kMargin = 10;          // first row and column from the scroll box's edges; below the last row
inline constexpr int kRowGap = 10;          // between a row's lowest editor and the next row
inline constexpr int kLabelGap = 5;         // horizontal: between a label and the editor below it
inline constexpr int kBlockGap = 5;         // horizontal: between a block and the next in its row
inline constexpr int kLabelWidth = 130;     // vertical: width of the labels
inline constexpr int kEditorLeft = 150;     // vertical: left of the editors, right of the labels
inline constexpr int kEditorReserve = 160;  // the general editor width is the scroll box's width less this
inline constexpr int kOwnWidthFrom = 100;   // an attribute's own editor width counts from this width up
inline constexpr int kEditSizeMargin = 10;  // added to the width of an edit sized by its field
inline constexpr int kListSizeMargin = 30;  // added to the width of a list or combo sized by its field
inline constexpr int kImageRows = 2;        // an image editor is this many times its class's height
inline constexpr int kScreenReserve = 40;   // screen height a form leaves free
// Point size of the form's font, by which the editors' widths grow with the field size.
inline constexpr std::int32_t kFontPoints = 10;

// Creates "Label<entry>" in the scroll box, declares it in the unit and sets its caption.
TControl& create_label(LayoutContext& context, const ColumnView& column);
// The column's field definition: the one named as the attribute (`nome`) or as its column (the
// sanitised `nome` that gera_tab defines), ignoring letter case. Raises EComponentError when the table
// has neither.
const TFieldDef& field_of(const LayoutContext& context, const ColumnView& column);
// Creates the column's editor, named after its class and the field definition, in the scroll box;
// declares it in the unit.
TControl& create_editor(LayoutContext& context, const TFieldDef& field, ClasseEditor editor_class);
// DataSource = DataSource1, DataField = the field definition's name.
void bind(LayoutContext& context, TControl& editor, const TFieldDef& field);
// a + b, held at the ends of the 32-bit range (positions next to widths as large as `largura`).
int saturating_sum(int a, int b);
// General editor width: the attribute's `largura` from kOwnWidthFrom up, else the scroll box width
// less kEditorReserve.
int general_width(const LayoutContext& context, const ColumnView& column);
// The smaller of the scroll box width less kEditorReserve and |points x size| + margin, in 32-bit
// arithmetic that saturates at the ends of the range.
int width_by_size(const LayoutContext& context, std::int32_t size, std::int32_t margin);
// Width and MaxLength of an edit sized by its field.
void size_edit(LayoutContext& context, TControl& editor, std::int32_t size);
// Fits the form's client height to the panel plus `content_height`, within the screen.
void fit_form_height(LayoutContext& context, int content_height);

}  // namespace layout
