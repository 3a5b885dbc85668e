#pragma once

#include "platform/components/control.h"

// Labels size themselves to their caption when AutoSize is on, measured by the form they are on
// (TCustomForm::SetTextExtentFunction): without a measuring function, a label keeps its bounds.

class TLabel : public TGraphicControl {
public:
    TLabel(TComponent* owner, const ComponentClass& description);

    bool AutoSize() const { return auto_size_; }
    void SetAutoSize(bool auto_size);
    bool ShowAccelChar() const;

    // Sizes the label to its caption (an empty caption measures as one blank), keeping Left and Top.
    void AdjustBounds();

protected:
    // A label read from a stream measures itself once it is complete, as the target's does.
    void Loaded() override { AdjustBounds(); }
    void TextChanged() override { AdjustBounds(); }
    void FontChanged() override { AdjustBounds(); }

private:
    bool auto_size_ = true;
};
