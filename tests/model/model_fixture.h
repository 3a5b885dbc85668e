#pragma once

#include <vector>

#include <gtest/gtest.h>

#include "model/relacionamento.h"
#include "platform/components/diagram_surface.h"
#include "platform/graphics/recording_canvas.h"

// A 400 x 300 diagram surface inside a window (so that entities measure themselves), under an owner
// that owns every shape made here; tests press, move and release through the surface.
struct ModelSurface : ::testing::Test {
    TComponent owner{nullptr, TComponentClass()};
    TDiagramSurface* window = new TDiagramSurface(&owner);
    TDiagramSurface* surface = new TDiagramSurface(&owner);

    ModelSurface() {
        window->SetBounds(0, 0, 400, 300);
        surface->SetParent(window);
        surface->SetBounds(0, 0, 400, 300);
    }

    TEntidade* entity(int left, int top, int width, int height) {
        auto* e = new TEntidade(&owner);
        e->SetParent(surface);
        e->SetBounds(left, top, width, height);
        return e;
    }
    // Joined, then routed once more with both ends at 50 % (the first routing puts them at 7 pixels).
    TRelacionamento* relate(TEntidade* start, TEntidade* end) {
        auto* r = new TRelacionamento(&owner);
        r->SetParent(surface);
        TnoxConnection a, b;
        a.SetShape(start);
        b.SetShape(end);
        r->Connect(&a, &b);
        r->GetConnection(1)->SetPerc(50);
        r->GetConnection(2)->SetPerc(50);
        r->Reroute();
        r->ComputeRoute();
        return r;
    }
    void press(int x, int y, TShiftState modifiers = 0) { surface->DispatchMouseDown(TMouseButton::mbLeft, modifiers, x, y); }
    void move(int x, int y, TShiftState modifiers = 0) { surface->DispatchMouseMove(modifiers, x, y); }
    void release(int x, int y) { surface->DispatchMouseUp(TMouseButton::mbLeft, 0, x, y); }
};

// What a paint drew in one pen colour: line segments and ellipses, in the client coordinates of a
// control standing at `origin`.
struct Strokes {
    std::vector<std::pair<TPoint, TPoint>> lines;
    std::vector<TRect> ellipses;
};

inline Strokes strokes_in(const RecordingCanvas& canvas, TColor colour, TPoint origin) {
    Strokes out;
    const auto local = [&](TPoint p) { return TPoint{p.X - origin.X, p.Y - origin.Y}; };
    for (const RecordedCall& call : canvas.Calls()) {
        if (call.pen.Color() != colour) continue;
        if (call.kind == RecordedCall::Kind::LineTo) out.lines.emplace_back(local(call.from), local(call.to));
        if (call.kind == RecordedCall::Kind::Ellipse)
            out.ellipses.push_back({call.rect.Left - origin.X, call.rect.Top - origin.Y, call.rect.Right - origin.X,
                                    call.rect.Bottom - origin.Y});
    }
    return out;
}
