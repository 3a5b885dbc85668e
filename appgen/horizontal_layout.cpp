// Blocks of a label above its editor, flowing left to right and wrapping to a new row at the scroll
// box's right edge.

#include <algorithm>

#include "appgen/layout.h"
#include "platform/components/control.h"
#include "plugin/entity_view.h"

void horizontal_layout(LayoutContext& context) {
    using namespace layout;
    const int box_width = context.scroll_box.Width();
    int x = kMargin, y = kMargin, next_row = kMargin, bottom = 0;
    for (const ColumnView& column : context.entity.columns()) {
        if (!column.shown) continue;

        TControl& label = create_label(context, column);
        label.SetBounds(x, y, label.Width(), label.Height());

        const TFieldDef& field = field_of(context, column);
        TControl& editor = create_editor(context, field, column.editor());
        editor.SetBounds(x, label.Height() + y + kLabelGap, general_width(context, column), editor.Height());
        bind(context, editor, field);
        switch (column.editor()) {
            case ClasseEditor::TDBEdit: size_edit(context, editor, column.record->tamanho); break;
            case ClasseEditor::TDBImage: editor.SetHeight(kImageRows * editor.ClassType().create_height); break;
            case ClasseEditor::TDBRadioGroup: label.SetVisible(false); break;
            case ClasseEditor::TDBComboBox:
            case ClasseEditor::TDBListBox:
            case ClasseEditor::TDBLookupListBox:
            case ClasseEditor::TDBLookupComboBox:
            case ClasseEditor::TDBText:
                editor.SetWidth(width_by_size(context, column.record->tamanho, kListSizeMargin));
                break;
            case ClasseEditor::TDBMemo:
            case ClasseEditor::TDBCheckBox: break;
        }

        // The next row starts below this block as placed in the current row, even when it wraps.
        next_row = std::max(next_row, label.Height() + y + editor.Height() + kLabelGap + kRowGap);
        if (box_width - kMargin < saturating_sum(editor.Width(), x) || box_width - kMargin < saturating_sum(label.Width(), x)) {
            x = kMargin;
            y = next_row;
            label.SetBounds(kMargin, y, label.Width(), label.Height());
            editor.SetBounds(kMargin, label.Height() + y + kLabelGap, editor.Width(), editor.Height());
        }
        x = saturating_sum(x, saturating_sum(std::max(label.Width(), editor.Width()), kBlockGap));
        bottom = editor.Height() + editor.Top() + kMargin;
    }
    fit_form_height(context, bottom);
}
