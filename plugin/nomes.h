#pragma once

#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>

class TAtributo;

// A set of single-byte delimiter characters (any of the 256 byte values).
class Delimitadores {
public:
    explicit Delimitadores(std::string_view caracteres) {
        for (char c : caracteres) bits_.set(static_cast<unsigned char>(c));
    }
    bool contem(char c) const { return bits_.test(static_cast<unsigned char>(c)); }

private:
    std::bitset<256> bits_;
};

// Identifier sanitiser: every byte that is not an ASCII letter or digit becomes '_'; the length never
// changes. The database kind is accepted for the callers' sake and ignored. Always answers true.
bool limpa_identificador(std::int32_t tipo_banco, std::string& texto);

// Table-name check: sanitises the name in place and accepts it.
bool valida_tabela(std::int32_t tipo_banco, std::string& nome);
// Column-name check: accepts every attribute.
bool valida_coluna(std::int32_t tipo_banco, const TAtributo& atributo);
// Column-type check: gives the program-side type name of the attribute's type. Refuses a type outside
// the catalogue, which has no name for it.
bool valida_tipo(std::int32_t tipo_banco, std::int32_t nao_usado, const TAtributo& atributo, std::string& tipo);

// Words are maximal runs of non-delimiters; leading delimiters are skipped and a run of delimiters
// separates like a single one. 1-based position of word n, or 0 when there is no such word.
int posicao_palavra(int n, std::string_view texto, const Delimitadores& delimitadores);
// Word n, or the empty text.
std::string extrair_palavra(int n, std::string_view texto, const Delimitadores& delimitadores);

// Fields: every delimiter separates, so empty fields count. 1-based position at which field n starts
// (which may lie one past the end for an empty last field), or 0 when the text has fewer than n-1
// delimiters.
int posicao_campo(int n, std::string_view texto, char delimitador);
// Field n, or the empty text when the text has fewer than n fields.
std::string extrair_campo(int n, std::string_view texto, char delimitador);

// Every non-overlapping occurrence of `procura`, left to right, replaced by `troca`; replacements are
// not rescanned. An empty search text is never found.
std::string substituir_todos(std::string_view texto, std::string_view procura, std::string_view troca);
