// How an entity draws and measures itself on the diagram.
#include <algorithm>
#include <string>

#include "platform/graphics/canvas.h"
#include "plugin/entidade.h"
#include "plugin/geradores.h"
#include "plugin/registros.h"

namespace {
// Drawing constants of the box, in pixels at 100 % unless said otherwise.
constexpr int kCantoElipse = 10;      // the frame's corner ellipse, not scaled
constexpr int kMargemTexto = 5;       // title and rows start this far from the left edge
constexpr int kTopoTitulo = 2;        // the title's top, not scaled
constexpr int kIntervaloLinhas = 2;   // between the title rule and the first row, not scaled
constexpr int kRecuoRegraChaves = 2;  // the key rule sits this far above the row cursor
// Sizing margins, added to the unscaled measures before scaling.
constexpr int kFolgaLargura = 10;
constexpr int kFolgaTitulo = 4;
constexpr int kFolgaAltura = 10;
constexpr const char* kMedidaExtra = "WWw";  // every row is measured with these letters appended
constexpr const char* kMarcaEstrangeira = " (FK)";

const TAtributo* registro_de(const StringList& atributos, int indice) {
    return static_cast<const TAtributo*>(atributos.Objects(indice));
}
bool eh_chave(const TAtributo* registro) { return registro && (registro->chave & kChavePrimaria) != 0; }
bool eh_estrangeira(const TAtributo* registro) { return registro && (registro->chave & kChaveEstrangeira) != 0; }

bool mostra_chaves(tmodo modo) {
    return modo == tmodo::tmAtributo || modo == tmodo::tmEsquema || modo == tmodo::tmChave || modo == tmodo::tmTabela;
}
bool mostra_demais(tmodo modo) {
    return modo == tmodo::tmAtributo || modo == tmodo::tmEsquema || modo == tmodo::tmTabela;
}

void usar_fonte(TCanvas& canvas, const TFont& fonte, int tamanho) {
    canvas.Font().Assign(fonte);
    canvas.Font().SetSize(tamanho);
}
}  // namespace

std::string TEntidade::TextoLinha(int indice) const {
    const TAtributo* registro = registro_de(*atributos_, indice);
    switch (modo_) {
        case tmodo::tmEsquema:
            return std::string(atributos_->Text(indice).view()) + " :" + RegistroGeradores::TextoTipo(registro);
        case tmodo::tmTabela:
            return std::string(registro ? registro->nome.view() : std::string_view()) + " :" +
                   RegistroGeradores::TextoTipo(registro);
        default:
            return std::string(atributos_->Text(indice).view());
    }
}

void TEntidade::Desenhar(TCanvas& canvas) {
    canvas.Pen().SetColor(Selected() ? clRed : clBlack);
    canvas.RoundRect(0, 0, Width(), Height(), kCantoElipse, kCantoElipse);
    if (Moving) return;

    usar_fonte(canvas, *fonte_titulo_, Scaled(fonte_titulo_->Size()));
    const std::string_view titulo = (modo_ == tmodo::tmTabela ? tabela_ : entidade_).view();
    canvas.TextOut(Scaled(kMargemTexto), kTopoTitulo, titulo);
    const int regra_titulo = canvas.TextHeight(titulo) + 1;
    canvas.MoveTo(0, regra_titulo);
    canvas.LineTo(Width(), regra_titulo);

    int y = regra_titulo + kIntervaloLinhas;
    const int tamanho_linhas = Scaled(fonte_atributos_->Size());
    usar_fonte(canvas, *fonte_atributos_, tamanho_linhas);
    const auto desenhar_linha = [&](int indice) {
        std::string texto = TextoLinha(indice);
        if (eh_estrangeira(registro_de(*atributos_, indice))) {
            usar_fonte(canvas, *fonte_extrangeiras_, Scaled(fonte_extrangeiras_->Size()));
            texto += kMarcaEstrangeira;
        }
        canvas.TextOut(Scaled(kMargemTexto), y, texto);
        usar_fonte(canvas, *fonte_atributos_, tamanho_linhas);
        y += canvas.TextHeight(texto);
    };

    if (mostra_chaves(modo_))
        for (int i = 0; i < atributos_->Count(); ++i)
            if (eh_chave(registro_de(*atributos_, i))) desenhar_linha(i);
    const int regra_chaves = y - Scaled(kRecuoRegraChaves);
    canvas.MoveTo(0, regra_chaves);
    canvas.LineTo(Width(), regra_chaves);
    if (mostra_demais(modo_))
        for (int i = 0; i < atributos_->Count(); ++i)
            if (!eh_chave(registro_de(*atributos_, i))) desenhar_linha(i);
}

void TEntidade::AjustarTamanho(TCanvas* canvas) {
    if (!Parent() || !Parent()->Parent()) return;
    TCanvas& medida = canvas ? *canvas : Canvas();

    usar_fonte(medida, *fonte_titulo_, fonte_titulo_->Size());
    const std::string_view titulo = (modo_ == tmodo::tmTabela ? tabela_ : entidade_).view();
    int largura = medida.TextWidth(titulo) + kFolgaLargura;
    int altura = medida.TextHeight(titulo) + kFolgaTitulo;

    usar_fonte(medida, *fonte_atributos_, fonte_atributos_->Size());
    if (mostra_chaves(modo_)) {
        for (int i = 0; i < atributos_->Count(); ++i) {
            const TAtributo* registro = registro_de(*atributos_, i);
            if (modo_ == tmodo::tmChave && !eh_chave(registro)) continue;
            std::string texto = TextoLinha(i);
            if (eh_estrangeira(registro)) texto += kMarcaEstrangeira;
            altura += medida.TextHeight(texto);
            largura = std::max(largura, medida.TextWidth(texto + kMedidaExtra));
        }
    }
    SetWidth(Scaled(largura));
    SetHeight(Scaled(altura + kFolgaAltura));
}

void TEntidade::Paint() { Desenhar(Canvas()); }

void TEntidade::SetEscala(int percent) {
    TnoxMoveableShape::SetEscala(percent);
    AjustarTamanho(nullptr);
}
