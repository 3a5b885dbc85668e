// One data grid filling the scroll box, with a column per attribute.

#include "appgen/layout.h"
#include "platform/components/dbgrids.h"
#include "platform/components/forms.h"
#include "platform/components/library.h"
#include "platform/text_file.h"
#include "plugin/entidade.h"
#include "plugin/nomes.h"
#include "plugin/registros.h"

void layout_grade(ContextoLayout& contexto) {
    auto* grade = create<TDBGrid>("TDBGrid", &contexto.form);
    grade->SetParent(&contexto.scroll_box);
    grade->SetName("Grid1");
    grade->SetAlign(TAlign::alClient);
    grade->SetReference("DataSource", &contexto.data_source);
    contexto.unidade.WriteLine("    Grid1: TDBGrid;");

    const StringList& atributos = contexto.entidade.atributos();
    for (int i = 0; i < atributos.Count(); ++i) {
        const TAtributo* registro = atributo_em(atributos, i);
        if (!registro) continue;
        const TAtributo& atributo = *registro;
        std::string campo = atributo.nome.str();
        limpa_identificador(contexto.tipo_banco, campo);
        TColumn& coluna = grade->AddColumn();
        coluna.SetProperty("FieldName", campo);
        if (layout::atributo_visivel(atributo))
            coluna.SetProperty("Title.Caption", layout::legenda(atributo));
        else
            coluna.SetProperty("Visible", false);
    }
}
