// How an entity draws and measures itself on the diagram.
#include <algorithm>
#include <string>

#include "platform/graphics/canvas.h"
#include "plugin/entidade.h"
#include "plugin/geradores.h"
#include "plugin/registros.h"

namespace {
// Drawing constants of the box, in pixels at 100 % unless said otherwise.
constexpr int kCornerEllipse = 10;  // the frame's corner ellipse, not scaled
constexpr int kTextMargin = 5;      // title and rows start this far from the left edge
constexpr int kTitleTop = 2;        // the title's top, not scaled
constexpr int kRowGap = 2;          // between the title rule and the first row, not scaled
constexpr int kKeyRuleRise = 2;     // the key rule sits this far above the row cursor
// Sizing margins, added to the unscaled measures before scaling.
constexpr int kWidthSlack = 10;
constexpr int kTitleSlack = 4;
constexpr int kHeightSlack = 10;
constexpr const char* kMeasureExtra = "WWw";  // every row is measured with these letters appended
constexpr const char* kForeignMark = " (FK)";

const TAtributo* record_at(const StringList& attributes, int index) {
    return static_cast<const TAtributo*>(attributes.Objects(index));
}
bool is_key(const TAtributo* record) { return record && (record->chave & kChavePrimaria) != 0; }
bool is_foreign(const TAtributo* record) { return record && (record->chave & kChaveEstrangeira) != 0; }

bool shows_keys(tmodo mode) {
    return mode == tmodo::tmAtributo || mode == tmodo::tmEsquema || mode == tmodo::tmChave || mode == tmodo::tmTabela;
}
bool shows_others(tmodo mode) {
    return mode == tmodo::tmAtributo || mode == tmodo::tmEsquema || mode == tmodo::tmTabela;
}

void use_font(TCanvas& canvas, const TFont& font, int size) {
    canvas.Font().Assign(font);
    canvas.Font().SetSize(size);
}
}  // namespace

std::string TEntidade::TextoLinha(int index) const {
    const TAtributo* record = record_at(*atributos_, index);
    switch (modo_) {
        case tmodo::tmEsquema:
            return std::string(atributos_->Text(index).view()) + " :" + RegistroGeradores::TextoTipo(record);
        case tmodo::tmTabela:
            return std::string(record ? record->nome.view() : std::string_view()) + " :" +
                   RegistroGeradores::TextoTipo(record);
        default:
            return std::string(atributos_->Text(index).view());
    }
}

void TEntidade::Desenhar(TCanvas& canvas) {
    canvas.Pen().SetColor(Selected() ? clRed : clBlack);
    canvas.RoundRect(0, 0, Width(), Height(), kCornerEllipse, kCornerEllipse);
    if (Moving) return;

    use_font(canvas, *fonte_titulo_, Scaled(fonte_titulo_->Size()));
    const std::string_view title = (modo_ == tmodo::tmTabela ? tabela_ : entidade_).view();
    canvas.TextOut(Scaled(kTextMargin), kTitleTop, title);
    const int title_rule = canvas.TextHeight(title) + 1;
    canvas.MoveTo(0, title_rule);
    canvas.LineTo(Width(), title_rule);

    int y = title_rule + kRowGap;
    const int row_size = Scaled(fonte_atributos_->Size());
    use_font(canvas, *fonte_atributos_, row_size);
    const auto draw_row = [&](int index) {
        std::string text = TextoLinha(index);
        if (is_foreign(record_at(*atributos_, index))) {
            use_font(canvas, *fonte_extrangeiras_, Scaled(fonte_extrangeiras_->Size()));
            text += kForeignMark;
        }
        canvas.TextOut(Scaled(kTextMargin), y, text);
        use_font(canvas, *fonte_atributos_, row_size);
        y += canvas.TextHeight(text);
    };

    if (shows_keys(modo_))
        for (int i = 0; i < atributos_->Count(); ++i)
            if (is_key(record_at(*atributos_, i))) draw_row(i);
    const int key_rule = y - Scaled(kKeyRuleRise);
    canvas.MoveTo(0, key_rule);
    canvas.LineTo(Width(), key_rule);
    if (shows_others(modo_))
        for (int i = 0; i < atributos_->Count(); ++i)
            if (!is_key(record_at(*atributos_, i))) draw_row(i);
}

void TEntidade::AjustarTamanho(TCanvas* canvas) {
    if (!Parent() || !Parent()->Parent()) return;
    TCanvas& measure = canvas ? *canvas : Canvas();

    use_font(measure, *fonte_titulo_, fonte_titulo_->Size());
    const std::string_view title = (modo_ == tmodo::tmTabela ? tabela_ : entidade_).view();
    int width = measure.TextWidth(title) + kWidthSlack;
    int height = measure.TextHeight(title) + kTitleSlack;

    use_font(measure, *fonte_atributos_, fonte_atributos_->Size());
    if (shows_keys(modo_)) {
        for (int i = 0; i < atributos_->Count(); ++i) {
            const TAtributo* record = record_at(*atributos_, i);
            if (modo_ == tmodo::tmChave && !is_key(record)) continue;
            std::string text = TextoLinha(i);
            if (is_foreign(record)) text += kForeignMark;
            height += measure.TextHeight(text);
            width = std::max(width, measure.TextWidth(text + kMeasureExtra));
        }
    }
    SetWidth(Scaled(width));
    SetHeight(Scaled(height + kHeightSlack));
}

void TEntidade::Paint() { Desenhar(Canvas()); }

void TEntidade::SetEscala(int percent) {
    TnoxMoveableShape::SetEscala(percent);
    AjustarTamanho(nullptr);
}
