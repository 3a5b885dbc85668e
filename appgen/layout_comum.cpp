#include <algorithm>
#include <cstdint>

#include "appgen/layout.h"
#include "platform/ascii_case.h"
#include "platform/components/component.h"
#include "platform/components/forms.h"
#include "platform/components/library.h"
#include "platform/metrics.h"
#include "platform/string_list.h"
#include "platform/table.h"
#include "platform/text_file.h"
#include "plugin/entidade.h"
#include "plugin/nomes.h"
#include "plugin/registros.h"

CamposPorNome indexar_campos(const TTable& tabela) {
    const TFieldDefs& definicoes = tabela.FieldDefs();
    CamposPorNome campos;
    campos.reserve(static_cast<std::size_t>(definicoes.Count()));
    for (int i = 0; i < definicoes.Count(); ++i) campos.emplace(AsciiUpperCase(definicoes[i].Name), &definicoes[i]);
    return campos;
}

const TAtributo* atributo_em(const StringList& atributos, int i) { return static_cast<const TAtributo*>(atributos.Objects(i)); }

namespace layout {

namespace {

void declarar(ContextoLayout& contexto, const TComponent& componente) {
    contexto.unidade.WriteLine("    " + componente.Name() + ": " + componente.ClassName() + ";");
}

// The heights editors take once they adapt to the System font they get from the scroll box.
void adaptar_a_fonte(TControl& editor, ClasseEditor classe) {
    switch (classe) {
        case ClasseEditor::TDBEdit: editor.SetHeight(metrics::kEditHeight); break;
        case ClasseEditor::TDBLookupComboBox: editor.SetHeight(metrics::kLookupComboHeight); break;
        case ClasseEditor::TDBLookupListBox: editor.SetHeight(metrics::kLookupListHeight); break;
        default: break;
    }
}

// 32-bit signed arithmetic as the generated sizes have always been computed, except that a result
// beyond the 32-bit range saturates instead of wrapping (a huge field size would otherwise give a
// negative width).
std::int32_t saturar(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

}  // namespace

bool atributo_visivel(const TAtributo& atributo) { return (atributo.opcoes & kOpcaoForaDoFormulario) == 0; }

std::string legenda(const TAtributo& atributo) {
    return atributo.rotulo.empty() ? atributo.titulo.str() : atributo.rotulo.str();
}

TControl& criar_rotulo(ContextoLayout& contexto, int posicao, const TAtributo& atributo) {
    auto* rotulo = create<TControl>("TLabel", &contexto.form);
    rotulo->SetParent(&contexto.scroll_box);
    rotulo->SetName("Label" + std::to_string(posicao));
    declarar(contexto, *rotulo);
    rotulo->SetCaption(legenda(atributo));
    return *rotulo;
}

const TFieldDef& definicao(const ContextoLayout& contexto, const TAtributo& atributo) {
    std::string coluna = atributo.nome.str();
    limpa_identificador(contexto.tipo_banco, coluna);
    for (const std::string& nome : {atributo.nome.str(), coluna}) {
        const auto achado = contexto.campos.find(AsciiUpperCase(nome));
        if (achado != contexto.campos.end()) return *achado->second;
    }
    throw EComponentError("Campo '" + atributo.nome.str() + "' n\xE3o encontrado na tabela " + contexto.tabela.TableName());
}

TControl& criar_editor(ContextoLayout& contexto, const TFieldDef& campo, ClasseEditor classe) {
    auto* editor = create<TControl>(nome_classe_editor(classe), &contexto.form);
    editor->SetParent(&contexto.scroll_box);
    adaptar_a_fonte(*editor, classe);
    std::string nome = std::string(nome_classe_editor(classe)) + campo.Name;
    limpa_identificador(contexto.tipo_banco, nome);
    editor->SetName(nome);
    declarar(contexto, *editor);
    return *editor;
}

void ligar(ContextoLayout& contexto, TControl& editor, const TFieldDef& campo) {
    editor.SetReference("DataSource", &contexto.data_source);
    editor.SetProperty("DataField", campo.Name);
}

int soma_saturada(int a, int b) { return saturar(std::int64_t{a} + b); }

int largura_geral(const ContextoLayout& contexto, const TAtributo& atributo) {
    return atributo.largura >= 100 ? atributo.largura : contexto.scroll_box.Width() - 160;
}

int largura_por_tamanho(const ContextoLayout& contexto, std::int32_t tamanho, std::int32_t margem) {
    const std::int64_t produto = saturar(std::int64_t{kPontosFonte} * tamanho);
    return std::min<std::int32_t>(contexto.scroll_box.Width() - 160, saturar((produto < 0 ? -produto : produto) + margem));
}

void dimensionar_edit(ContextoLayout& contexto, TControl& editor, std::int32_t tamanho) {
    editor.SetWidth(largura_por_tamanho(contexto, tamanho, 10));
    editor.SetProperty("MaxLength", std::int64_t{std::max<std::int32_t>(1, tamanho)});
}

void ajustar_altura_form(ContextoLayout& contexto, int altura_conteudo) {
    TCustomForm& form = contexto.form;
    const auto* painel = dynamic_cast<const TControl*>(form.FindComponent("Panel1"));
    const int desejada = (painel ? painel->Height() : 0) + altura_conteudo;
    const int disponivel = metrics::kScreenHeight - 40 - (form.Height() - form.ClientHeight());
    int altura_cliente = desejada;
    if (disponivel < desejada) {
        form.SetWidth(form.Width() + metrics::kVerticalScrollBarWidth);
        altura_cliente = disponivel;
    }
    form.SetClientHeight(altura_cliente);
}

}  // namespace layout
