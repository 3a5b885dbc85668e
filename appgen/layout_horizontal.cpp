// Blocks of a label above its editor, flowing left to right and wrapping to a new row at the scroll
// box's right edge.

#include <algorithm>

#include "appgen/layout.h"
#include "platform/components/control.h"
#include "plugin/entidade.h"
#include "plugin/registros.h"

void layout_horizontal(ContextoLayout& contexto) {
    const StringList& atributos = contexto.entidade.atributos();
    const int largura_caixa = contexto.scroll_box.Width();
    int x = 10, y = 10, proxima_linha = 10, base = 0;
    for (int i = 0; i < atributos.Count(); ++i) {
        const TAtributo* registro = atributo_em(atributos, i);
        if (!registro || !layout::atributo_visivel(*registro)) continue;
        const TAtributo& atributo = *registro;

        TControl& rotulo = layout::criar_rotulo(contexto, i, atributo);
        rotulo.SetBounds(x, y, rotulo.Width(), rotulo.Height());

        const ClasseEditor classe = classe_editor(atributo.componente);
        const TFieldDef& campo = layout::definicao(contexto, atributo);
        TControl& editor = layout::criar_editor(contexto, campo, classe);
        editor.SetBounds(x, rotulo.Height() + y + 5, layout::largura_geral(contexto, atributo), editor.Height());
        layout::ligar(contexto, editor, campo);
        switch (classe) {
            case ClasseEditor::TDBEdit: layout::dimensionar_edit(contexto, editor, atributo.tamanho); break;
            case ClasseEditor::TDBImage: editor.SetHeight(2 * editor.ClassType().create_height); break;
            case ClasseEditor::TDBRadioGroup: rotulo.SetVisible(false); break;
            case ClasseEditor::TDBComboBox:
            case ClasseEditor::TDBListBox:
            case ClasseEditor::TDBLookupListBox:
            case ClasseEditor::TDBLookupComboBox:
            case ClasseEditor::TDBText:
                editor.SetWidth(layout::largura_por_tamanho(contexto, atributo.tamanho, 30));
                break;
            case ClasseEditor::TDBMemo:
            case ClasseEditor::TDBCheckBox: break;
        }

        // The next row starts below this block as placed in the current row, even when it wraps.
        proxima_linha = std::max(proxima_linha, rotulo.Height() + y + editor.Height() + 15);
        if (largura_caixa - 10 < layout::soma_saturada(editor.Width(), x) ||
            largura_caixa - 10 < layout::soma_saturada(rotulo.Width(), x)) {
            x = 10;
            y = proxima_linha;
            rotulo.SetBounds(10, y, rotulo.Width(), rotulo.Height());
            editor.SetBounds(10, rotulo.Height() + y + 5, editor.Width(), editor.Height());
        }
        x = layout::soma_saturada(x, layout::soma_saturada(std::max(rotulo.Width(), editor.Width()), 5));
        base = editor.Height() + editor.Top() + 10;
    }
    layout::ajustar_altura_form(contexto, base);
}
