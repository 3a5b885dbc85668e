#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

#include "plugin/catalogo.h"

class StringList;
class TAtributo;
class TComponent;
class TControl;
class TCustomForm;
class TEntidade;
struct TFieldDef;
class TTable;
class TWinControl;
class TextFileWriter;

// The table's field definitions by name in upper case, as the database finds fields: an editor is
// bound to its attribute's field by name, not by position, so an attribute entry without a record
// (which gera_tab skips) cannot shift the bindings of the ones after it.
using CamposPorNome = std::unordered_map<std::string, const TFieldDef*>;
CamposPorNome indexar_campos(const TTable& tabela);

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
    const CamposPorNome& campos;
};

// The record of attribute entry `i`, or null for an entry that carries none (every layout skips those).
const TAtributo* atributo_em(const StringList& atributos, int i);

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
// The attribute's field definition: the one named as the attribute (`nome`) or as its column (the
// sanitised `nome` that gera_tab defines), ignoring letter case. Raises EComponentError when the table
// has neither.
const TFieldDef& definicao(const ContextoLayout& contexto, const TAtributo& atributo);
// Creates the attribute's editor (class from its `componente`), named after the class and the field
// definition, in the scroll box; writes its declaration.
TControl& criar_editor(ContextoLayout& contexto, const TFieldDef& campo, ClasseEditor classe);
// DataSource = DataSource1, DataField = the field definition's name.
void ligar(ContextoLayout& contexto, TControl& editor, const TFieldDef& campo);
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
