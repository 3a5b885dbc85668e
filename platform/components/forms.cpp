#include "platform/components/forms.h"

TCustomForm::TCustomForm(TComponent* owner, const ComponentClass& description) : TWinControl(owner, description) {
    SetVisible(false);
    SetParentFont(false);
}

void TCustomForm::SetFrame(TSize frame) {
    const int client_width = ClientWidth(), client_height = ClientHeight();
    frame_ = frame;
    SetBounds(Left(), Top(), client_width + frame.cx, client_height + frame.cy);
}

void TCustomForm::GetChildren(std::vector<TComponent*>& children, const TComponent* root) const {
    TWinControl::GetChildren(children, root);
    if (root != this) return;
    for (int i = 0; i < ComponentCount(); ++i) {
        TComponent* c = Components(i);
        if (!c->HasParent()) children.push_back(c);
    }
}

const TCustomForm* GetParentForm(const TControl& control) {
    const TControl* top = &control;
    while (top->Parent()) top = top->Parent();
    if (const auto* form = dynamic_cast<const TCustomForm*>(top)) return form;
    return dynamic_cast<const TCustomForm*>(control.Owner());
}
