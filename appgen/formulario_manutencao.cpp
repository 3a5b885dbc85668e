#include "appgen/formulario_manutencao.h"

#include <memory>
#include <string_view>

#include "appgen/layout.h"
#include "appgen/resultform_design.h"
#include "appgen/unidade_manutencao.h"
#include "platform/components/forms.h"
#include "platform/components/streaming.h"
#include "platform/formfile/binary.h"
#include "platform/metrics.h"
#include "platform/table.h"
#include "platform/text_file.h"
#include "plugin/entidade.h"

namespace {

using Layout = void (*)(ContextoLayout&);

Layout layout_do_tipo(std::int32_t tipoform) {
    switch (tipoform) {
        case 0: return layout_vertical;
        case 1: return layout_horizontal;
        case 2: return layout_grade;
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

std::string legenda_do_form(const TEntidade& entidade, const std::string& tabela) {
    if (!entidade.Tituloform().empty()) return entidade.Tituloform().str();
    return "Manuten\xE7\xE3o da tabela " + tabela + " (" + entidade.entidade().str() + ")";
}

}  // namespace

void gerar_formulario_manutencao(const TTable& tabela, const TEntidade& entidade, const std::string& diretorio,
                                 std::int32_t tipo_banco) {
    const Layout layout = layout_do_tipo(entidade.Tipoform());
    if (!layout) return;

    // The scratch form is freed on every way out, so a failed call leaves nothing named after the
    // table behind to clash with the next attempt.
    std::unique_ptr<TCustomForm> form(create_result_form(nullptr));
    form->SetTextExtentFunction(medida_no_sistema);
    TComponent& table1 = componente(*form, "Table1");
    table1.SetProperty("DatabaseName", tabela.DatabaseName());
    table1.SetProperty("TableName", tabela.TableName());

    const std::string t = entidade.tabela().str();
    form->SetCaption(legenda_do_form(entidade, t));
    const std::string base = diretorio + "M" + t;
    const std::string nome_form = "F_" + t;
    form->SetName("T" + nome_form);

    {
        TextFileWriter unidade(base + ".PAS");
        escrever_inicio_unidade(unidade, t, layout == layout_grade);
        const CamposPorNome campos = indexar_campos(tabela);
        ContextoLayout contexto{*form,
                                dynamic_cast<TWinControl&>(componente(*form, "ScrollBox1")),
                                componente(*form, "DataSource1"),
                                unidade,
                                tabela,
                                entidade,
                                tipo_banco,
                                campos};
        layout(contexto);
        escrever_fim_unidade(unidade, t);
        unidade.Close();
    }

    // The form was built under its scratch class; the stored form takes the generated object and class
    // names, and so does the resource, whose name is the root class in upper case. (This is what the
    // detour through form text with a replaced first line gives, without scratch files.)
    formfile::ObjectNode raiz = stream_component(*form);
    form.reset();
    raiz.name = nome_form;
    raiz.class_name = "T" + nome_form;
    escrever_arquivo(base + ".dfm", formfile::write_form_file(raiz));
}
