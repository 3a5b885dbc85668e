#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "diagram/diagram.h"

// The values the entity and relationship editors show and change, as plain data the window can fill
// from its widgets. Texts are UTF-8 here (the widgets' encoding) and Windows-1252 in the diagram; a
// character Windows-1252 lacks is refused naming the item and the key. Everything else is checked by
// the diagram's own rules (diagram/diagram_checks.h), so the editor refuses what a file reader would,
// with the same messages.

struct FontFields {
    std::string name = "Arial";
    int size = 8;  // points
    bool bold = false, italic = false, underline = false, strikeout = false;
    TColor color = clWindowText;
};

struct AttributeFields {
    std::string nome, titulo, rotulo, origem;
    int tipo = 0;        // the catalogue's type index (plugin/catalogo.h)
    int componente = 1;  // the catalogue's editor component, 1..10
    int tamanho = 0, decimais = 0, largura = 0;
    bool key = false, foreign_key = false, nullable = false, hidden = false;
};

struct SecondaryKeyFields {
    std::string nome;
    std::string campos;  // field names joined by "+"
    bool duplicates = false, case_sensitive = false, descending = false, non_maintained = false, expression = false;
};

struct EntityFields {
    std::string entidade, tabela, menu, tituloform;
    int alturaform = 300, larguraform = 400;
    int tipoform = 0;  // 0 vertical, 1 horizontal, 2 grid
    tmodo modo = tmodo::tmAtributo;
    bool descending_key = false;
    std::vector<std::string> descricao;
    FontFields fonte_titulo, fonte_atributos, fonte_extrangeiras;
    // In the entity's order; on writing, key attributes move first, each group keeping its order.
    std::vector<AttributeFields> atributos;
    std::vector<SecondaryKeyFields> chaves;
};

struct RelationshipFields {
    std::string name;
    trelacao relacao = trelacao::tr1xn;
    tchave chave = tchave::tckey;
    TColor line_colour = clBlack;
    int line_width = 1;
    std::optional<std::string> caption;  // none: no caption
    FontFields caption_font;             // the caption's, or what a new caption gets
};

EntityFields entity_fields(const DiagramEntity& entity);
// Writes `fields` into the entity; `place` names it in messages ("new.json: entity #3").
void apply_entity_fields(DiagramEntity& entity, const EntityFields& fields, const std::string& place);

RelationshipFields relationship_fields(const DiagramRelationship& relationship);
// Renaming a relationship renames the `origem` of the foreign-key attributes it brought.
void apply_relationship_fields(Diagram& diagram, std::size_t relationship, const RelationshipFields& fields,
                               const std::string& place);

FontFields font_fields(const TFont& font);
// The font a caption gets when it is made: Arial, as the readers give a caption without one.
std::unique_ptr<TFont> new_caption_font();
// Gives a caption its text (Windows-1252) and, unless null, its font; no text removes it.
void set_caption(std::optional<DiagramCaption>& caption, const std::optional<std::string>& text, const FontFields* font);
void apply_font_fields(TFont& font, const FontFields& fields);

// A new entity named "Entidade N" with the table "ENTIDADEN", N the first number free for both.
DiagramEntity new_entity(const Diagram& diagram);

// A name no relationship of the diagram has, usable as a component name: "Start_End", then "Start_End_2"...
std::string unique_relationship_name(const Diagram& diagram, std::size_t from, std::size_t to);

// The model's keys rule: the start entity's key attributes, in key order, added to the end entity as
// foreign-key attributes with `origem` the relationship's name, each renamed ("NOME_2", ...) where the
// end entity already has that column.
void add_foreign_keys(Diagram& diagram, std::size_t relationship);

// The field a refusal names, read from its message (`new.json: entity "Pedido" (#2), attribute #3:
// "nome" must not be empty`): the entity itself or a row of its attributes or secondary keys, and the
// key as the file names it ("nome", "tabela", "FonteTitulo.name"). None when the message names no key.
struct FieldInMessage {
    enum class Part { entity, attribute, secondary_key } part = Part::entity;
    std::size_t row = 0;  // from 0
    std::string key;
};
std::optional<FieldInMessage> field_in_message(const std::string& message);

// Converts a text of the editor to the diagram's encoding; names `place` and `key` when it cannot.
std::string to_diagram_text(const std::string& utf8, const std::string& place, const std::string& key);
