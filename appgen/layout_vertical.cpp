// One row per shown attribute: the label at the left, the editor to its right, rows stacked downwards.

#include "appgen/layout.h"
#include "platform/components/control.h"
#include "plugin/entidade.h"
#include "plugin/registros.h"

void layout_vertical(ContextoLayout& contexto) {
    const StringList& atributos = contexto.entidade.atributos();
    int y = 10;
    for (int i = 0; i < atributos.Count(); ++i) {
        const TAtributo* registro = atributo_em(atributos, i);
        if (!registro || !layout::atributo_visivel(*registro)) continue;
        const TAtributo& atributo = *registro;

        TControl& rotulo = layout::criar_rotulo(contexto, i, atributo);
        rotulo.SetBounds(10, y, 130, rotulo.Height());

        const ClasseEditor classe = classe_editor(atributo.componente);
        const TFieldDef& campo = layout::definicao(contexto, atributo);
        TControl& editor = layout::criar_editor(contexto, campo, classe);
        editor.SetBounds(150, y, layout::largura_geral(contexto, atributo), editor.Height());
        switch (classe) {
            case ClasseEditor::TDBEdit:
                layout::ligar(contexto, editor, campo);
                layout::dimensionar_edit(contexto, editor, atributo.tamanho);
                break;
            case ClasseEditor::TDBImage:
                layout::ligar(contexto, editor, campo);
                editor.SetHeight(2 * editor.ClassType().create_height);
                break;
            case ClasseEditor::TDBMemo:
            case ClasseEditor::TDBCheckBox:
                layout::ligar(contexto, editor, campo);
                break;
            case ClasseEditor::TDBComboBox:
            case ClasseEditor::TDBListBox:
                layout::ligar(contexto, editor, campo);
                editor.SetWidth(layout::largura_por_tamanho(contexto, atributo.tamanho, 30));
                break;
            case ClasseEditor::TDBLookupListBox:
            case ClasseEditor::TDBLookupComboBox:
            case ClasseEditor::TDBRadioGroup:
            case ClasseEditor::TDBText:
                break;  // placed and sized, left unbound in this layout
        }
        y += editor.Height() + 10;
    }
    layout::ajustar_altura_form(contexto, y);
}
