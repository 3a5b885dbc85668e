// One row per shown attribute: the label at the left, the editor to its right, rows stacked downwards.

#include "appgen/layout.h"
#include "platform/components/control.h"
#include "plugin/entity_view.h"

void vertical_layout(LayoutContext& context) {
    using namespace layout;
    int y = kMargin;
    for (const ColumnView& column : context.entity.columns()) {
        if (!column.shown) continue;

        TControl& label = create_label(context, column);
        label.SetBounds(kMargin, y, kLabelWidth, label.Height());

        const TFieldDef& field = field_of(context, column);
        TControl& editor = create_editor(context, field, column.editor());
        editor.SetBounds(kEditorLeft, y, general_width(context, column), editor.Height());
        switch (column.editor()) {
            case ClasseEditor::TDBEdit:
                bind(context, editor, field);
                size_edit(context, editor, column.record->tamanho);
                break;
            case ClasseEditor::TDBImage:
                bind(context, editor, field);
                editor.SetHeight(kImageRows * editor.ClassType().create_height);
                break;
            case ClasseEditor::TDBMemo:
            case ClasseEditor::TDBCheckBox:
                bind(context, editor, field);
                break;
            case ClasseEditor::TDBComboBox:
            case ClasseEditor::TDBListBox:
                bind(context, editor, field);
                editor.SetWidth(width_by_size(context, column.record->tamanho, kListSizeMargin));
                break;
            case ClasseEditor::TDBLookupListBox:
            case ClasseEditor::TDBLookupComboBox:
            case ClasseEditor::TDBRadioGroup:
            case ClasseEditor::TDBText:
                break;  // placed and sized, left unbound in this layout
        }
        y += editor.Height() + kRowGap;
    }
    fit_form_height(context, y);
}
