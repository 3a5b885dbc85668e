// One data grid filling the scroll box, with a column per attribute.

#include "appgen/layout.h"
#include "platform/components/dbgrids.h"
#include "platform/components/forms.h"
#include "platform/components/library.h"
#include "platform/printer.h"
#include "plugin/entity_view.h"

void grid_layout(LayoutContext& context) {
    auto* grid = create<TDBGrid>("TDBGrid", &context.form);
    grid->SetParent(&context.scroll_box);
    grid->SetName("Grid1");
    grid->SetAlign(TAlign::alClient);
    grid->SetReference("DataSource", &context.data_source);
    context.unit.print("Grid1: TDBGrid;\n"_tpl);

    for (const ColumnView& column : context.entity.columns()) {
        TColumn& grid_column = grid->AddColumn();
        grid_column.SetProperty("FieldName", std::string(column.name));
        if (column.shown)
            grid_column.SetProperty("Title.Caption", std::string(column.caption()));
        else
            grid_column.SetProperty("Visible", false);
    }
}
