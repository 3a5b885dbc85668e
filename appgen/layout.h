#pragma once

#include <cstdint>
#include <string>

#include "plugin/catalogo.h"

class TAtributo;
class TComponent;
class TControl;
class TCustomForm;
class TEntidade;
class TTable;
class TWinControl;
class TextFileWriter;

// What a layout builder works on: the scratch form being filled, the unit text being written, and the
// host's table and entity it reads.
struct ContextoLayout {
    TCustomForm& form;
    TWinControl& scroll_box;  // ScrollBox1: parent of every layout component
    TComponent& data_source;  // DataSource1: what the editors are bound to
    TextFileWriter& unidade;
    const TTable& tabela;
    const TEntidade& entidade;
    std::int32_t tipo_banco;
};

// The three layouts, chosen by the entity's Tipoform (0, 1, 2).
void layout_vertical(ContextoLayout& contexto);
void layout_horizontal(ContextoLayout& contexto);
void layout_grade(ContextoLayout& contexto);

// Pieces the vertical and horizontal layouts share.
namespace layout {

// Point size of the form's font, by which the editors' widths grow with the field size.
inline constexpr std::int32_t kPontosFonte = 10;

bool atributo_visivel(const TAtributo& atributo);
// The label's caption: `rotulo`, or `titulo` when `rotulo` is empty.
std::string legenda(const TAtributo& atributo);

// Creates "Label<i>" in the scroll box, writes its declaration and sets its caption.
TControl& criar_rotulo(ContextoLayout& contexto, int posicao, const TAtributo& atributo);
// Creates the attribute's editor (class from its `componente`), named after the class and the field
// definition at `posicao`, in the scroll box; writes its declaration.
TControl& criar_editor(ContextoLayout& contexto, int posicao, ClasseEditor classe);
// DataSource = DataSource1, DataField = the field definition's name.
void ligar(ContextoLayout& contexto, TControl& editor, int posicao);
// a + b, held at the ends of the 32-bit range (positions next to widths as large as `largura`).
int soma_saturada(int a, int b);
// General editor width: `largura` when it is 100 or more, else the scroll box width less 160.
int largura_geral(const ContextoLayout& contexto, const TAtributo& atributo);
// The smaller of the scroll box width less 160 and |points x size| + margin, in 32-bit arithmetic that
// saturates at the ends of the range.
int largura_por_tamanho(const ContextoLayout& contexto, std::int32_t tamanho, std::int32_t margem);
// Width and MaxLength of an edit sized by its field.
void dimensionar_edit(ContextoLayout& contexto, TControl& editor, std::int32_t tamanho);
// Fits the form's client height to the panel plus `altura_conteudo`, within the screen.
void ajustar_altura_form(ContextoLayout& contexto, int altura_conteudo);

}  // namespace layout
