#pragma once

#include <functional>

#include "platform/object.h"

// Mouse input as controls receive it: the button, the shift state (modifier keys and the buttons held
// while the event happened) and the point in the receiving control's client coordinates.

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

enum TShiftStateFlag : unsigned {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
    ssDouble = 64,
};
using TShiftState = unsigned;  // TShiftStateFlag bits

// The shift-state flag of a held button.
constexpr TShiftState ButtonShiftFlag(TMouseButton button) {
    switch (button) {
        case TMouseButton::mbLeft: return ssLeft;
        case TMouseButton::mbRight: return ssRight;
        case TMouseButton::mbMiddle: return ssMiddle;
    }
    return 0;
}

using TNotifyEvent = std::function<void(TObject* sender)>;
using TMouseEvent = std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;
