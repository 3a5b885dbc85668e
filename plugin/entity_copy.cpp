#include "plugin/entity_copy.h"

#include <algorithm>
#include <iterator>

#include "plugin/registros.h"

namespace {

TAtributo* copy_record(const TAtributo& from) {
    auto* to = new TAtributo;
    to->titulo = from.titulo;
    to->nome = from.nome;
    to->reservado_12 = from.reservado_12;
    to->tipo = from.tipo;
    to->tamanho = from.tamanho;
    to->decimais = from.decimais;
    to->componente = from.componente;
    to->chave = from.chave;
    std::copy(std::begin(from.reservado_36), std::end(from.reservado_36), std::begin(to->reservado_36));
    to->origem = from.origem;
    to->opcoes = from.opcoes;
    to->reservado_56 = from.reservado_56;
    to->largura = from.largura;
    to->rotulo = from.rotulo;
    return to;
}

TChaveSecundaria* copy_record(const TChaveSecundaria& from) {
    auto* to = new TChaveSecundaria;
    to->campos = from.campos;
    to->reservado_8 = from.reservado_8;
    to->tipo_indice = from.tipo_indice;
    return to;
}

// Appends the entries of `from` to `to` with copies of their records (an entry without one stays
// without).
template <typename Record>
void copy_entries(const StringList& from, StringList& to) {
    to.Reserve(static_cast<std::size_t>(from.Count()));
    for (int i = 0; i < from.Count(); ++i) {
        const auto* record = static_cast<const Record*>(from.Objects(i));
        to.AddObject(from.Text(i), record ? copy_record(*record) : nullptr);
    }
}

}  // namespace

std::unique_ptr<TEntidade> copy_entity(const TEntidade& entity) {
    auto copy = std::make_unique<TEntidade>();
    copy->SetTabela(entity.tabela());
    copy->SetEntidade(entity.entidade());
    copy->SetTituloform(entity.Tituloform());
    copy->SetAlturaform(entity.Alturaform());
    copy->SetLarguraform(entity.Larguraform());
    copy->SetTipoform(entity.Tipoform());
    copy->SetMenu(entity.Menu());
    copy->SetModo(entity.Modo());
    copy->SetPrimaria(entity.Primaria());
    copy->SetFonteTitulo(entity.FonteTitulo());
    copy->SetFonteAtributos(entity.FonteAtributos());
    copy->SetFonteExtrangeiras(entity.FonteExtrangeiras());
    auto description = std::make_unique<StringList>();
    description->Assign(entity.descricao());
    copy->SetDescricao(std::move(description));
    // Straight into the lists, which the copy now owns with their records: SetAtributos would move
    // the keys first, and a record whose key bit was set after it was handed over stands where it was.
    copy_entries<TAtributo>(entity.atributos(), *copy->atributos_);
    copy_entries<TChaveSecundaria>(entity.ChavesSecundarias(), *copy->chaves_secundarias_);
    return copy;
}
