#include <algorithm>

#include "model/texto.h"
#include "tests/model/model_fixture.h"

namespace {

using FreeText = ModelSurface;

int text_width(const Ttexto& text, int size) {
    TCanvas canvas;
    canvas.Font().Assign(text.Font());
    canvas.Font().SetSize(size);
    return canvas.TextWidth(text.Text());
}

TEST_F(FreeText, ZoomRefitsTheBoxToTheTextAtTheNewSize) {
    auto* text = new Ttexto(&owner);
    text->SetParent(surface);
    text->SetText("Pedidos por cliente");
    text->SetBounds(40, 30, 1, 1);
    const int size = text->Font().Size();
    ASSERT_EQ(text->Width(), std::max(10, text_width(*text, size)));

    text->SetEscala(200);
    EXPECT_EQ(text->Left(), 80);
    EXPECT_EQ(text->Top(), 60);
    EXPECT_EQ(text->Width(), std::max(10, text_width(*text, 2 * size)));
    const TRect fitted = text->BoundsRect();

    // The same value again: the position stays, and a box the user enlarged shrinks back.
    text->SetBounds(80, 60, fitted.Right - fitted.Left + 50, fitted.Bottom - fitted.Top + 20);
    text->SetEscala(200);
    EXPECT_EQ(text->BoundsRect(), fitted);
}

}  // namespace
