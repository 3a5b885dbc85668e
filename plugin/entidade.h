#pragma once

#include <cstdint>
#include <memory>

#include "platform/api.h"
#include "platform/font.h"
#include "platform/host_string.h"
#include "platform/string_list.h"
#include "shapes/moveable_shape.h"

class TCanvas;
class EntityStoredRecords;

// Display modes of an entity on the diagram; the ordinal is what a stored diagram holds.
enum class tmodo : std::int32_t { tmAtributo, tmEsquema, tmChave, tmEntidade, tmdelete, tmTabela, tmload };
// How a relationship carries its key into the end entity, and its cardinality.
enum class tchave : std::int32_t { tckey, tcatrib };
enum class trelacao : std::int32_t { tr1x1, tr1xn, tr0x1, tr0xn };

// Bit of `Primaria`: the primary key is descending.
inline constexpr std::int32_t kPrimariaDescendente = 0x04;

// One table of the diagram: its names, form settings, fonts and the lists of attribute and
// secondary-key records (see plugin/registros.h). The entity owns its fonts, its lists and every record
// on `atributos` and `ChavesSecundarias`; a list handed to a setter hands its records over.
//
// On the diagram it is a box that draws its title and rows in its display mode (`Modo`) and sizes
// itself from its texts and fonts: every assignment that changes what it shows measures it again, once
// it sits on a surface that is itself placed (see docs/model.md).
class KZR40_API TEntidade : public TnoxMoveableShape {
public:
    // Declared defaults of the stored properties.
    static constexpr std::int32_t kAlturaformPadrao = 300;
    static constexpr std::int32_t kLarguraformPadrao = 400;

    explicit TEntidade(TComponent* owner = nullptr);
    TEntidade(TComponent* owner, const ComponentClass& description);
    // Frees the attached relationships first (which may still edit this entity's attributes), then
    // the fonts, the lists and the records.
    ~TEntidade() override;

    const HostString& tabela() const { return tabela_; }
    void SetTabela(const HostString& valor) { tabela_ = valor; }
    const HostString& entidade() const { return entidade_; }
    void SetEntidade(const HostString& valor) { entidade_ = valor; }

    // Entries: display name and TAtributo record, key attributes first.
    const StringList& atributos() const { return *atributos_; }
    // Copies the entries of `lista` (same records) and moves the key attributes to the front, each group
    // in its former order. Records the entity held and `lista` no longer carries are freed.
    void SetAtributos(const HostStringList& lista);
    // Deletes entry `indice` of `atributos` and frees its record; the others keep their order. Does not
    // measure again.
    void ExcluirAtributo(int indice);

    const StringList& descricao() const { return *descricao_; }
    StringList& descricao() { return *descricao_; }
    // Replaces the description list by `lista`, which the entity now owns.
    void SetDescricao(std::unique_ptr<StringList> lista);

    const TFont& FonteTitulo() const { return *fonte_titulo_; }
    void SetFonteTitulo(const TFont& fonte) { atribuir_fonte(*fonte_titulo_, fonte); }
    const TFont& FonteAtributos() const { return *fonte_atributos_; }
    void SetFonteAtributos(const TFont& fonte) { atribuir_fonte(*fonte_atributos_, fonte); }
    const TFont& FonteExtrangeiras() const { return *fonte_extrangeiras_; }
    void SetFonteExtrangeiras(const TFont& fonte) { atribuir_fonte(*fonte_extrangeiras_, fonte); }

    // Entries: index name and TChaveSecundaria record.
    const StringList& ChavesSecundarias() const { return *chaves_secundarias_; }
    // Copies the entries of `lista` (same records); records no longer carried are freed.
    void SetChavesSecundarias(const HostStringList& lista);

    tmodo Modo() const { return modo_; }
    void SetModo(tmodo valor);
    std::int32_t Primaria() const { return primaria_; }
    void SetPrimaria(std::int32_t valor) { primaria_ = valor; }
    std::int32_t Alturaform() const { return alturaform_; }
    void SetAlturaform(std::int32_t valor) { alturaform_ = valor; }
    std::int32_t Larguraform() const { return larguraform_; }
    void SetLarguraform(std::int32_t valor) { larguraform_ = valor; }
    std::int32_t Tipoform() const { return tipoform_; }
    // Accepts 0, 1 and 2 only; any other value leaves the layout as it was.
    void SetTipoform(std::int32_t valor);
    const HostString& Tituloform() const { return tituloform_; }
    void SetTituloform(const HostString& valor) { tituloform_ = valor; }
    const HostString& Menu() const { return menu_; }
    void SetMenu(const HostString& valor) { menu_ = valor; }

    // Draws the box with its top-left corner at the canvas origin.
    void Desenhar(TCanvas& canvas);
    // Measures the texts (on `canvas`, or the shape's own when none) and sets Width and Height.
    // Nothing happens unless the shape's parent has a parent in turn.
    void AjustarTamanho(TCanvas* canvas);
    // The text of the row of `atributos` entry `indice` in the current mode, without " (FK)".
    std::string TextoLinha(int indice) const;

    void Paint() override;
    // Zooms like every shape, then measures again, also when the value is unchanged.
    void SetEscala(int percent) override;
    // Read from a stored diagram: pairs the entry texts read with the records read (both lists), keys
    // first. A count that differs raises EComponentError naming the entity and the list.
    void Loaded() override;

    // The records as a stored diagram carries them (plugin/stored_records.h); for the class description.
    EntityStoredRecords& StoredRecords() const { return *stored_records_; }

private:
    // Copies the lists as they stand, which the setters would reorder (plugin/entity_copy.h).
    friend std::unique_ptr<TEntidade> copy_entity(const TEntidade& entity);

    void Remedir() { AjustarTamanho(nullptr); }
    void atribuir_fonte(TFont& propria, const TFont& fonte);
    static void copiar_registros(StringList& propria, const HostStringList& lista);
    void ordenar_chaves_primeiro();

    HostString tituloform_;
    std::int32_t alturaform_ = 0;
    std::int32_t larguraform_ = 0;
    std::int32_t tipoform_ = 0;
    HostString menu_;
    HostString entidade_;
    HostString tabela_;
    std::unique_ptr<TFont> fonte_titulo_;
    std::unique_ptr<TFont> fonte_atributos_;
    std::unique_ptr<TFont> fonte_extrangeiras_;
    std::unique_ptr<StringList> atributos_;
    std::unique_ptr<StringList> descricao_;
    std::unique_ptr<StringList> chaves_secundarias_;
    tmodo modo_ = tmodo::tmAtributo;
    std::int32_t primaria_ = 0;
    // Written from the lists on demand, so held beside them; mutable because writing is a const walk.
    std::unique_ptr<EntityStoredRecords> stored_records_;
};

// The entity's class description: its published properties, for stored diagrams.
const ComponentClass& TEntidadeClass();
