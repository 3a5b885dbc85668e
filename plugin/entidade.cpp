#include "plugin/entidade.h"

#include <algorithm>
#include <typeinfo>
#include <vector>

#include "plugin/registros.h"
#include "plugin/stored_records.h"

namespace {
std::unique_ptr<TFont> fonte_arial() {
    auto fonte = std::make_unique<TFont>();
    fonte->SetName("Arial");
    return fonte;
}

void liberar_registros(StringList& lista) {
    for (int i = 0; i < lista.Count(); ++i) {
        delete lista.Objects(i);
        lista.PutObject(i, nullptr);
    }
}
}  // namespace

TEntidade::TEntidade(TComponent* owner) : TEntidade(owner, TEntidadeClass()) {}

TEntidade::TEntidade(TComponent* owner, const ComponentClass& description)
    : TnoxMoveableShape(owner, description),
      entidade_("Entidade..."),
      fonte_titulo_(fonte_arial()),
      fonte_atributos_(fonte_arial()),
      fonte_extrangeiras_(fonte_arial()),
      atributos_(std::make_unique<StringList>()),
      descricao_(std::make_unique<StringList>()),
      chaves_secundarias_(std::make_unique<StringList>()),
      stored_records_(std::make_unique<EntityStoredRecords>()) {
    // A stream writes into the fonts themselves; the box follows them as it follows the setters.
    for (TFont* fonte : {fonte_titulo_.get(), fonte_atributos_.get(), fonte_extrangeiras_.get()})
        fonte->OnChange = [this](TFont&) { Remedir(); };
}

TEntidade::~TEntidade() {
    // The relationships attached here go first, and going they may remove the attributes they brought
    // and measure this box again: the lists and fonts must still stand.
    LetGoOfAttachments();
    for (TFont* fonte : {fonte_titulo_.get(), fonte_atributos_.get(), fonte_extrangeiras_.get()})
        fonte->OnChange = nullptr;
    liberar_registros(*atributos_);
    liberar_registros(*chaves_secundarias_);
}

void TEntidade::copiar_registros(StringList& propria, const HostStringList& lista) {
    std::vector<TObject*> soltos;
    if (propria.Count() > 0) {
        std::vector<TObject*> mantidos;
        mantidos.reserve(static_cast<std::size_t>(lista.Count()));
        for (int i = 0; i < lista.Count(); ++i) mantidos.push_back(lista.Objects(i));
        std::sort(mantidos.begin(), mantidos.end());
        for (int i = 0; i < propria.Count(); ++i)
            if (TObject* registro = propria.Objects(i);
                registro && !std::binary_search(mantidos.begin(), mantidos.end(), registro))
                soltos.push_back(registro);
    }
    if (typeid(lista) == typeid(StringList)) {
        // Our own list shares its texts instead of copying them, which matters for large diagrams.
        const auto& origem = static_cast<const StringList&>(lista);
        if (&origem != &propria) {
            propria.Clear();
            propria.Reserve(static_cast<std::size_t>(origem.Count()));
            for (int i = 0; i < origem.Count(); ++i) propria.AddObject(origem.Text(i), origem.Objects(i));
        }
    } else {
        propria.Assign(lista);
    }
    for (TObject* registro : soltos) delete registro;
}

void TEntidade::SetAtributos(const HostStringList& lista) {
    copiar_registros(*atributos_, lista);
    ordenar_chaves_primeiro();
    Remedir();
}

// Key entries first, each group in its former order (the same result as exchanging neighbours until no
// key entry follows a non-key one). An entry without a record counts as a non-key.
void TEntidade::ordenar_chaves_primeiro() {
    const auto eh_chave = [](const TObject* registro) {
        const auto* atributo = static_cast<const TAtributo*>(registro);
        return atributo && (atributo->chave & kChavePrimaria) != 0;
    };
    const int quantidade = atributos_->Count();
    int primeira_fora = 0;
    while (primeira_fora < quantidade && eh_chave(atributos_->Objects(primeira_fora))) ++primeira_fora;
    int fim = primeira_fora;
    while (fim < quantidade && !eh_chave(atributos_->Objects(fim))) ++fim;
    if (fim == quantidade) return;  // already keys first, as most lists are

    struct Entrada {
        HostString texto;
        TObject* registro;
    };
    std::vector<Entrada> entradas;
    entradas.reserve(static_cast<std::size_t>(quantidade));
    for (int i = 0; i < quantidade; ++i) entradas.push_back({atributos_->Text(i), atributos_->Objects(i)});
    std::stable_partition(entradas.begin(), entradas.end(), [&](const Entrada& e) { return eh_chave(e.registro); });
    atributos_->Clear();
    for (Entrada& e : entradas) atributos_->AddObject(std::move(e.texto), e.registro);
}

void TEntidade::SetDescricao(std::unique_ptr<StringList> lista) {
    descricao_ = lista ? std::move(lista) : std::make_unique<StringList>();
}

void TEntidade::SetChavesSecundarias(const HostStringList& lista) {
    copiar_registros(*chaves_secundarias_, lista);
    Remedir();
}

void TEntidade::SetModo(tmodo valor) {
    if (valor == modo_) return;
    modo_ = valor;
    Remedir();
}

void TEntidade::SetTipoform(std::int32_t valor) {
    if (static_cast<std::uint32_t>(valor) < 3u) tipoform_ = valor;
}

void TEntidade::atribuir_fonte(TFont& propria, const TFont& fonte) {
    // Assign measures through OnChange; an equal font changes nothing and so is measured here.
    if (propria.SameAs(fonte)) Remedir();
    else propria.Assign(fonte);
}

void TEntidade::Loaded() {
    TnoxMoveableShape::Loaded();
    StringList atributos, chaves;
    stored_records_->PairRead(Name().empty() ? ClassName() : Name(), atributos, chaves);
    if (atributos.Count() > 0) SetAtributos(atributos);
    if (chaves.Count() > 0) SetChavesSecundarias(chaves);
}

void TEntidade::ExcluirAtributo(int indice) {
    delete atributos_->Objects(indice);
    atributos_->Delete(indice);
}
