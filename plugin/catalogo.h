#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class TAtributo;

// The field-type catalogue: twenty descriptors indexed by the field-type ordinal of the table layer,
// each "program type,sized,decimals,SQL type,sized,decimals". Size and decimal flags count only when
// they are exactly "1".
inline constexpr int kTiposNoCatalogo = 20;

bool tipo_no_catalogo(std::int32_t indice);
// The descriptor text at `indice`; empty outside the catalogue.
std::string_view descritor_tipo(std::int32_t indice);

// A descriptor split into its two sides, read once for the whole catalogue.
struct TypeSide {
    std::string name;
    bool sized;     // takes a size: "String (20)"
    bool decimals;  // takes decimals after the size: "DECIMAL (10,2)"
};
struct TypeDescriptor {
    TypeSide program;
    TypeSide sql;
};
// The descriptor at `indice`; null outside the catalogue.
const TypeDescriptor* type_descriptor(std::int32_t indice);
// " (20)", " (10,2)" or nothing: what follows the side's name in the type text of an attribute, with
// its size and decimals as the side takes them.
class TypeSize {
public:
    TypeSize(const TypeSide& side, const TAtributo& atributo);
    std::string_view view() const { return {chars_, size_}; }

private:
    char chars_[28];
    std::uint8_t size_ = 0;
};
// The side's name followed by its TypeSize.
std::string type_text(const TypeSide& side, const TAtributo& atributo);

// Program-side type name of `indice` (field 1); empty outside the catalogue.
const std::string& nome_tipo(std::int32_t indice);
// Index of the first descriptor whose program-side name equals `nome` exactly, or -1.
std::int32_t ordem_tipo(std::string_view nome);
// Whether the first descriptor named `nome` takes a size (field 2) / decimals (field 3) on the
// program side; false when no descriptor has that name.
bool tipo_variavel(std::string_view nome);
bool tipo_decimais(std::string_view nome);

// "String (20)", "BCD", "Desconhecido (5)": the program-side type text of an attribute.
std::string tipo_programa(const TAtributo& atributo);
// "CHARACTER (20)", "DECIMAL (10,2)", "BYTES (8,0)": the SQL type clause of an attribute.
std::string tipo_clausula_sql(const TAtributo& atributo);

// The editor component table, indexed 1..10.
enum class ClasseEditor : std::int32_t {
    TDBEdit = 1,
    TDBCheckBox,
    TDBMemo,
    TDBLookupListBox,
    TDBLookupComboBox,
    TDBComboBox,
    TDBListBox,
    TDBRadioGroup,
    TDBText,
    TDBImage,
};
inline constexpr int kComponentesNoCatalogo = 10;

// Editor class of a component index; TDBEdit for any index outside 1..10.
ClasseEditor classe_editor(std::int32_t componente);
std::string_view nome_classe_editor(ClasseEditor classe);
// Class name of a component index; "Desconhecido" outside 1..10.
std::string_view nome_componente(std::int32_t componente);
