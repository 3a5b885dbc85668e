#pragma once

#include <functional>
#include <string_view>

#include "platform/components/control.h"

// Labels size themselves to their caption when AutoSize is on. Text measurement belongs to the
// platform's metrics, so it is a replaceable function: without one, a label keeps its bounds.
using TextExtentFunction = std::function<TSize(std::string_view text, const TFont& font, bool show_accel_char)>;

class TLabel : public TGraphicControl {
public:
    TLabel(TComponent* owner, const ComponentClass& description);

    bool AutoSize() const { return auto_size_; }
    void SetAutoSize(bool auto_size);
    bool ShowAccelChar() const;

    // The measuring function used by every label (null: no automatic sizing).
    static void SetTextExtentFunction(TextExtentFunction measure);
    static const TextExtentFunction& GetTextExtentFunction();

    // Sizes the label to its caption (an empty caption measures as one blank), keeping Left and Top.
    void AdjustBounds();

protected:
    void TextChanged() override { AdjustBounds(); }
    void FontChanged() override { AdjustBounds(); }

private:
    bool auto_size_ = true;
};
