#include <algorithm>
#include <cstdint>

#include "appgen/layout.h"
#include "platform/ascii_case.h"
#include "platform/components/component.h"
#include "platform/components/forms.h"
#include "platform/components/library.h"
#include "platform/metrics.h"
#include "platform/printer.h"
#include "platform/table.h"
#include "plugin/entity_view.h"
#include "plugin/nomes.h"
#include "plugin/registros.h"

FieldsByName index_fields(const TTable& table) {
    const TFieldDefs& definitions = table.FieldDefs();
    FieldsByName fields;
    fields.reserve(static_cast<std::size_t>(definitions.Count()));
    for (int i = 0; i < definitions.Count(); ++i) fields.emplace(AsciiUpperCase(definitions[i].Name), &definitions[i]);
    return fields;
}

namespace layout {

namespace {

void declare(LayoutContext& context, const TComponent& component) {
    context.unit.print("$name$: $class$;\n"_tpl, {{"name", component.Name()}, {"class", component.ClassName()}});
}

// The heights editors take once they adapt to the System font they get from the scroll box.
void adapt_to_font(TControl& editor, ClasseEditor editor_class) {
    switch (editor_class) {
        case ClasseEditor::TDBEdit: editor.SetHeight(metrics::kEditHeight); break;
        case ClasseEditor::TDBLookupComboBox: editor.SetHeight(metrics::kLookupComboHeight); break;
        case ClasseEditor::TDBLookupListBox: editor.SetHeight(metrics::kLookupListHeight); break;
        default: break;
    }
}

// 32-bit signed arithmetic as the generated sizes have always been computed, except that a result
// beyond the 32-bit range saturates instead of wrapping (a huge field size would otherwise give a
// negative width).
std::int32_t saturate(std::int64_t v) { return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX)); }

}  // namespace

TControl& create_label(LayoutContext& context, const ColumnView& column) {
    auto* label = create<TControl>("TLabel", &context.form);
    label->SetParent(&context.scroll_box);
    label->SetName("Label" + std::to_string(column.entry));
    declare(context, *label);
    label->SetCaption(std::string(column.caption()));
    return *label;
}

const TFieldDef& field_of(const LayoutContext& context, const ColumnView& column) {
    const std::string& stored = column.record->nome.str();
    for (const std::string& name : {stored, std::string(column.name)}) {
        const auto found = context.fields.find(AsciiUpperCase(name));
        if (found != context.fields.end()) return *found->second;
    }
    throw EComponentError("Campo '" + stored + "' n\xE3o encontrado na tabela " + context.table.TableName());
}

TControl& create_editor(LayoutContext& context, const TFieldDef& field, ClasseEditor editor_class) {
    auto* editor = create<TControl>(nome_classe_editor(editor_class), &context.form);
    editor->SetParent(&context.scroll_box);
    adapt_to_font(*editor, editor_class);
    std::string name = std::string(nome_classe_editor(editor_class)) + field.Name;
    limpa_identificador(context.entity.kind(), name);
    editor->SetName(name);
    declare(context, *editor);
    return *editor;
}

void bind(LayoutContext& context, TControl& editor, const TFieldDef& field) {
    editor.SetReference("DataSource", &context.data_source);
    editor.SetProperty("DataField", field.Name);
}

int saturating_sum(int a, int b) { return saturate(std::int64_t{a} + b); }

int general_width(const LayoutContext& context, const ColumnView& column) {
    const std::int32_t own = column.record->largura;
    return own >= kOwnWidthFrom ? own : context.scroll_box.Width() - kEditorReserve;
}

int width_by_size(const LayoutContext& context, std::int32_t size, std::int32_t margin) {
    const std::int64_t product = saturate(std::int64_t{kFontPoints} * size);
    return std::min<std::int32_t>(context.scroll_box.Width() - kEditorReserve,
                                  saturate((product < 0 ? -product : product) + margin));
}

void size_edit(LayoutContext& context, TControl& editor, std::int32_t size) {
    editor.SetWidth(width_by_size(context, size, kEditSizeMargin));
    editor.SetProperty("MaxLength", std::int64_t{std::max<std::int32_t>(1, size)});
}

void fit_form_height(LayoutContext& context, int content_height) {
    TCustomForm& form = context.form;
    const auto* panel = dynamic_cast<const TControl*>(form.FindComponent("Panel1"));
    const int wanted = (panel ? panel->Height() : 0) + content_height;
    const int available = metrics::kScreenHeight - kScreenReserve - (form.Height() - form.ClientHeight());
    int client_height = wanted;
    if (available < wanted) {
        form.SetWidth(form.Width() + metrics::kVerticalScrollBarWidth);
        client_height = available;
    }
    form.SetClientHeight(client_height);
}

}  // namespace layout
