#include "appgen/formulario_manutencao.h"

#include <memory>
#include <string_view>

#include "appgen/layout.h"
#include "appgen/resultform_design.h"
#include "appgen/maintenance_unit.h"
#include "platform/components/forms.h"
#include "platform/components/streaming.h"
#include "platform/formfile/binary.h"
#include "platform/metrics.h"
#include "platform/printer.h"
#include "platform/table.h"
#include "platform/text_file.h"
#include "plugin/entidade.h"
#include "plugin/entity_view.h"
#include "plugin/generated_names.h"

namespace {

using Layout = void (*)(LayoutContext&);

Layout layout_of(std::int32_t tipoform) {
    switch (tipoform) {
        case 0: return vertical_layout;
        case 1: return horizontal_layout;
        case 2: return grid_layout;
        default: return nullptr;
    }
}

// Labels of the generated forms measure their captions with the System font's width table (other
// fonts scale it by their height). The measure is the scratch form's own, so nothing else in the
// process changes it.
TSize medida_no_sistema(std::string_view texto, const TFont& fonte, bool marcas) {
    int largura = 0;
    if (marcas)
        largura = metrics::system_text_width(texto);
    else
        for (unsigned char c : texto) largura += metrics::system_char_width(c);
    const int altura_fonte = fonte.Height() < 0 ? -fonte.Height() : fonte.Height();
    const int escala = -metrics::kSystemFontHeight;
    return TSize{(largura * altura_fonte + escala / 2) / escala,
                 (metrics::kSystemTextHeight * altura_fonte + escala / 2) / escala};
}

TComponent& componente(TCustomForm& form, std::string_view nome) {
    TComponent* achado = form.FindComponent(nome);
    if (!achado) throw EComponentError("the scratch form has no component " + std::string(nome));
    return *achado;
}

std::string form_caption(const TEntidade& entidade, const std::string& table) {
    if (!entidade.Tituloform().empty()) return entidade.Tituloform().str();
    return "Manuten\xE7\xE3o da tabela " + table + " (" + entidade.entidade().str() + ")";
}

}  // namespace

std::optional<formfile::ObjectNode> construir_formulario_manutencao(const TTable& tabela, const TEntidade& entidade,
                                                                    std::int32_t tipo_banco,
                                                                    const std::function<LineSink&()>& open_unit) {
    const Layout layout = layout_of(entidade.Tipoform());
    if (!layout) return std::nullopt;

    // The scratch form is freed on every way out, so a failed call leaves nothing named after the
    // table behind to clash with the next attempt.
    std::unique_ptr<TCustomForm> form(create_result_form(nullptr));
    form->SetTextExtentFunction(medida_no_sistema);
    TComponent& table1 = componente(*form, "Table1");
    table1.SetProperty("DatabaseName", tabela.DatabaseName());
    table1.SetProperty("TableName", tabela.TableName());

    // The unit and form files are named after the table as stored; the columns are read sanitised.
    const std::string table = entidade.tabela().str();
    form->SetCaption(form_caption(entidade, table));
    const GeneratedNames names = generated_names(table);
    form->SetName(names.form_class);

    {
        Printer unit(open_unit());
        write_unit_head(unit, names, layout == grid_layout);
        const EntityView view(entidade, tipo_banco);
        const FieldsByName fields = index_fields(tabela);
        LayoutContext context{*form,
                              dynamic_cast<TWinControl&>(componente(*form, "ScrollBox1")),
                              componente(*form, "DataSource1"),
                              unit,
                              tabela,
                              view,
                              fields};
        {
            Printer::Indent declarations(unit, kDeclarationIndent);
            layout(context);
        }
        write_unit_tail(unit, names);
    }

    // The form was built under its scratch class; the stored form takes the generated object and class
    // names, and so does the resource, whose name is the root class in upper case. (This is what the
    // detour through form text with a replaced first line gives, without scratch files.)
    formfile::ObjectNode raiz = stream_component(*form);
    form.reset();
    raiz.name = names.form;
    raiz.class_name = names.form_class;
    return raiz;
}

void gerar_formulario_manutencao(const TTable& tabela, const TEntidade& entidade, const std::string& diretorio,
                                 std::int32_t tipo_banco) {
    const std::string base = diretorio + generated_names(entidade.tabela().str()).unit;
    std::optional<TextFileWriter> file;
    std::optional<formfile::ObjectNode> raiz =
        construir_formulario_manutencao(tabela, entidade, tipo_banco, [&]() -> LineSink& { return file.emplace(base + ".PAS"); });
    if (!raiz) return;
    file->Close();
    write_file(base + ".dfm", formfile::write_form_file(*raiz));
}
