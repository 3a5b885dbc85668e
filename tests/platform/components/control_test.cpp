#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "appgen/resultform_design.h"
#include "platform/components/dbgrids.h"
#include "platform/components/library.h"
#include "platform/components/stdctrls.h"

using formfile::Value;

namespace {

struct ScratchForm : ::testing::Test {
    std::unique_ptr<TCustomForm> form{create_result_form(nullptr)};
    TWinControl& scroll_box() { return dynamic_cast<TWinControl&>(*form->FindComponent("ScrollBox1")); }
    TWinControl& panel() { return dynamic_cast<TWinControl&>(*form->FindComponent("Panel1")); }
    template <class T = TControl>
    T* add(const char* class_name, const std::string& name, TWinControl* parent = nullptr) {
        T* c = create<T>(class_name, form.get());
        c->SetParent(parent ? parent : &scroll_box());
        c->SetName(name);
        return c;
    }
};

TEST_F(ScratchForm, ChildrenStreamGraphicControlsFirstAndNumberTabOrder) {
    add("TLabel", "Label0");
    auto* edit = add<TWinControl>("TDBEdit", "TDBEditA");
    add("TDBText", "TDBTextB");
    auto* memo = add<TWinControl>("TDBMemo", "TDBMemoC");
    auto* check = add<TWinControl>("TDBCheckBox", "TDBCheckBoxD");
    const char* expected[] = {"Label0", "TDBTextB", "TDBEditA", "TDBMemoC", "TDBCheckBoxD"};
    ASSERT_EQ(scroll_box().ControlCount(), 5);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(scroll_box().Controls(i)->Name(), expected[i]);
    EXPECT_EQ(edit->TabOrder(), 0);
    EXPECT_EQ(memo->TabOrder(), 1);
    EXPECT_EQ(check->TabOrder(), 2);

    check->SetTabOrder(0);
    EXPECT_EQ(check->TabOrder(), 0);
    EXPECT_EQ(edit->TabOrder(), 1);
    memo->SetTabOrder(99);  // out of range: last
    EXPECT_EQ(memo->TabOrder(), 2);
    delete edit;
    EXPECT_EQ(check->TabOrder(), 0);
    EXPECT_EQ(memo->TabOrder(), 1);
    EXPECT_EQ(scroll_box().ControlCount(), 4);
    EXPECT_EQ(form->ComponentCount(), 5 + 4);

    // The stored design's windowed controls keep their own numbering per parent.
    EXPECT_EQ(panel().TabOrder(), 0);
    EXPECT_EQ(scroll_box().TabOrder(), 1);
    EXPECT_EQ(dynamic_cast<TWinControl*>(form->FindComponent("DBNavigator1"))->TabOrder(), 0);
}

TEST_F(ScratchForm, CaptionFollowsTheNameOnlyWhileItShowsTheOldName) {
    auto* check = add("TDBCheckBox", "TDBCheckBoxATIVO");
    EXPECT_EQ(check->Caption(), "TDBCheckBoxATIVO");
    check->SetName("TDBCheckBoxOUTRO");
    EXPECT_EQ(check->Caption(), "TDBCheckBoxOUTRO");
    check->SetCaption("Ativo");
    check->SetName("TDBCheckBoxTERCEIRO");
    EXPECT_EQ(check->Caption(), "Ativo");
    auto* label = add("TLabel", "Label3");
    EXPECT_EQ(label->Caption(), "Label3");
    // Components read from a stored design keep theirs.
    EXPECT_EQ(panel().Caption(), "");
    EXPECT_EQ(form->Caption(), "Result Form");
    form->SetName("TF_CLIENTE");
    EXPECT_EQ(form->Caption(), "Result Form");
}

TEST_F(ScratchForm, AlignedControlsFollowTheFormsClientSize) {
    EXPECT_EQ(form->ClientWidth(), 501);
    EXPECT_EQ(form->ClientHeight(), 389);
    form->SetClientHeight(600);
    EXPECT_EQ(form->Height(), 627);
    EXPECT_EQ(panel().BoundsRect(), (TRect{0, 0, 501, 41}));
    EXPECT_EQ(scroll_box().BoundsRect(), (TRect{0, 41, 501, 600}));
    form->SetWidth(form->Width() + 16);  // a vertical scroll bar's width
    EXPECT_EQ(panel().Width(), 517);
    EXPECT_EQ(scroll_box().Width(), 517);

    // A client-aligned grid fills the scroll box inside its border.
    auto* grid = add("TDBGrid", "Grid1");
    grid->SetAlign(TAlign::alClient);
    EXPECT_EQ(grid->BoundsRect(), (TRect{0, 0, 513, 555}));
    // Anchored to the right and bottom only, a control moves with the edges.
    auto* label = add("TLabel", "Label1");
    label->SetBounds(400, 500, 50, 16);
    label->SetAnchors(akRight | akBottom);
    form->SetClientHeight(610);
    EXPECT_EQ(label->Top(), 510);
    EXPECT_EQ(label->Left(), 400);
    EXPECT_EQ(grid->Height(), 565);
}

TEST_F(ScratchForm, FontsComeFromTheParentUntilChanged) {
    auto* label = add("TLabel", "Label0");
    EXPECT_TRUE(label->ParentFont());
    EXPECT_EQ(label->Font().Name(), "System");
    EXPECT_EQ(label->Font().Height(), -13);
    form->Font().SetHeight(-16);
    EXPECT_EQ(label->Font().Height(), -16) << "changes reach children through the scroll box";
    label->Font().SetColor(clWhite);
    EXPECT_FALSE(label->ParentFont());
    form->Font().SetHeight(-13);
    EXPECT_EQ(label->Font().Height(), -16) << "an own font stays";
    label->SetParentFont(true);
    EXPECT_EQ(label->Font().Height(), -13);
    auto* grid = add<TDBGrid>("TDBGrid", "Grid1");
    EXPECT_EQ(grid->TitleFont().Name(), "System");
    grid->TitleFont().SetStyle({TFontStyle::fsBold});
    form->Font().SetName("Arial");
    EXPECT_EQ(grid->Font().Name(), "Arial");
    EXPECT_EQ(grid->TitleFont().Name(), "System") << "a changed title font is the grid's own";
}

TEST_F(ScratchForm, LabelsSizeThemselvesThroughTheirFormsMeasuringFunction) {
    auto* label = add<TLabel>("TLabel", "Label0");
    EXPECT_EQ(label->Width(), 65) << "without a measuring function the creation size stays";
    EXPECT_EQ(label->Height(), 17);
    form->SetTextExtentFunction([](std::string_view text, const TFont& font, bool) {
        return TSize{static_cast<int>(text.size()) * 7, -font.Height() + 3};
    });
    // Another form's measure does not reach this one's labels.
    std::unique_ptr<TCustomForm> other(create_result_form(nullptr));
    other->SetTextExtentFunction([](std::string_view, const TFont&, bool) { return TSize{1, 1}; });
    label->SetCaption("Nome");
    EXPECT_EQ(label->Width(), 28);
    EXPECT_EQ(label->Height(), 16);
    label->SetCaption("");
    EXPECT_EQ(label->Width(), 7) << "an empty caption measures as a blank";
    label->SetLeft(100);
    label->SetProperty("Alignment", Identifier{"taRightJustify"});
    label->SetCaption("Nome");
    EXPECT_EQ(label->Left(), 79) << "right-justified labels keep their right edge";
    label->SetAutoSize(false);
    label->SetCaption("A much longer caption");
    EXPECT_EQ(label->Width(), 28);
}

TEST_F(ScratchForm, BoundsEndAtTheLargestIntInsteadOfWrapping) {
    auto* wide = add("TDBMemo", "TDBMemoM");
    wide->SetBounds(10, 20, INT_MAX, INT_MAX - 5);
    EXPECT_EQ(wide->BoundsRect(), (TRect{10, 20, INT_MAX, INT_MAX}));
}

TEST_F(ScratchForm, ControlsCannotBeTheirOwnParent) {
    auto* inner = add<TWinControl>("TPanel", "Panel2");
    EXPECT_THROW(scroll_box().SetParent(inner), EComponentError);
    EXPECT_THROW(inner->SetParent(inner), EComponentError);
    // Freeing a parent frees its children, whoever owns them.
    auto* child = add("TDBEdit", "TDBEditX", inner);
    (void)child;
    const int before = form->ComponentCount();
    delete inner;
    EXPECT_EQ(form->ComponentCount(), before - 2);
    EXPECT_EQ(form->FindComponent("TDBEditX"), nullptr);
}

}  // namespace
