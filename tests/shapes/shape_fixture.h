#pragma once

#include <gtest/gtest.h>

#include "platform/components/diagram_surface.h"
#include "shapes/connector.h"
#include "shapes/text_shape.h"

// A 400 x 300 diagram surface under an owner that owns every shape made here; tests press, move and
// release through the surface, as a window would.
struct ShapeSurface : ::testing::Test {
    TComponent owner{nullptr, TComponentClass()};
    TDiagramSurface* surface = new TDiagramSurface(&owner);

    ShapeSurface() { surface->SetBounds(0, 0, 400, 300); }

    template <class T = TnoxSizeableShape>
    T* make(int left, int top, int width, int height) {
        T* shape = new T(&owner);
        shape->SetParent(surface);
        shape->SetBounds(left, top, width, height);
        return shape;
    }
    TnoxConnector* join(TnoxCustomShape* start, TnoxCustomShape* end) {
        auto* connector = new TnoxConnector(&owner);
        connector->SetParent(surface);
        TnoxConnection a, b;
        a.SetShape(start);
        b.SetShape(end);
        connector->Connect(&a, &b);
        return connector;
    }
    void press(int x, int y, TShiftState modifiers = 0) { surface->DispatchMouseDown(TMouseButton::mbLeft, modifiers, x, y); }
    void move(int x, int y, TShiftState modifiers = 0) { surface->DispatchMouseMove(modifiers, x, y); }
    void release(int x, int y, TShiftState modifiers = 0) { surface->DispatchMouseUp(TMouseButton::mbLeft, modifiers, x, y); }
};

inline TRect bounds(const TControl* c) { return c->BoundsRect(); }
