#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "platform/string_list.h"
#include "plugin/entidade.h"
#include "shapes/connector.h"

// The line that joins two entities: a connector whose route has three orthogonal segments, the middle
// one at `meioperc` percent across the box, with the cardinality mark of `Relacao` drawn at the end
// entity. Each segment can be dragged: the outer ones move their end along its side, the middle one
// moves `meioperc`. The start entity is the one whose key the relationship brings into the end entity;
// destroying a relationship that still joins two entities removes the attributes it brought.
class TRelacionamento : public TnoxConnector {
public:
    // The drag in progress (DragPart).
    static constexpr std::uint8_t kNoSegment = 0;
    static constexpr std::uint8_t kStartSegment = 1;
    static constexpr std::uint8_t kMiddleSegment = 2;
    static constexpr std::uint8_t kEndSegment = 3;
    // The marks: bar start and end, then the crow's foot's first point, apex and last point.
    static constexpr int kBarStart = 0;
    static constexpr int kBarEnd = 1;
    static constexpr int kFootFirst = 2;
    static constexpr int kFootApex = 3;
    static constexpr int kFootLast = 4;

    explicit TRelacionamento(TComponent* owner);
    TRelacionamento(TComponent* owner, const ComponentClass& description);
    // Removes the foreign keys it brought into the end entity (when both ends are attached), then goes.
    ~TRelacionamento() override;

    StringList& descricao() { return *descricao_; }
    const StringList& descricao() const { return *descricao_; }
    // Replaces the description by `lista`, which the relationship now owns (none: an empty one).
    void SetDescricao(std::unique_ptr<StringList> lista);

    trelacao Relacao() const { return relacao_; }
    // Repaints when the cardinality changes.
    void SetRelacao(trelacao valor);
    // Kept and stored only; nothing reads it and the drawing does not show it.
    tchave Chave() const { return chave_; }
    void SetChave(tchave valor);
    int meioperc() const { return meioperc_; }
    // Clamped to 0..100; the route follows on the next paint.
    void Setmeioperc(int valor);

    // Attaches the ends as a connector does, then computes the route at once.
    void Connect(TnoxConnection* start, TnoxConnection* end) override;
    // A relationship from an entity to itself is a loop: out of the box's right side, round its
    // lower right corner and back into its bottom side, the mark at the bottom. Its four segments can be
    // dragged too: the first and the last move their end along its side (perc), the two outer ones
    // move the loop nearer or farther (meioperc: 0..100 gives 12..72 pixels at 100 %).
    bool IsLoop() const;
    void Reroute() override;
    TPoint GetMidPoint() const override;
    // The loop's points, P0 on the right side .. P4 on the bottom side, client coordinates; only
    // meaningful while IsLoop().
    const std::array<TPoint, 5>& LoopRoute() const { return loop_; }
    // The route, the marks and the hit rectangles from the ends' offsets and meioperc; nothing without a
    // parent.
    void ComputeRoute() override;
    // The segment under (x, y), client coordinates, edges included: 1 start, 2 middle, 3 end, 0 none.
    int HitSegment(int x, int y) const;
    // One drag step of the segment DragPart by (dx, dy), the mouse now at (x, y).
    void DragSegment(int dx, int dy, int x, int y);

    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

    // The route's points P0..P3, in client coordinates, as last computed or dragged.
    const std::array<TPoint, 4>& Route() const { return route_; }
    // The five mark points (kBarStart .. kFootLast) and the circle's centre.
    const std::array<TPoint, 5>& Marks() const { return marks_; }
    TPoint MarkCentre() const { return mark_centre_; }
    // The area that grabs a segment (kStartSegment, kMiddleSegment, kEndSegment); empty for others.
    TRect HitRect(int segment) const;

    TPoint DragOrigin;                    // mouse point of the last drag step
    std::uint8_t DragPart = kNoSegment;   // segment being dragged
    bool VerticalRoute = false;           // the ends sit on top and bottom sides

protected:
    void RescaleMidPoint(long double from, long double to) override;

private:
    // Moves an end of the route along its side by one step; whether the step was taken.
    bool StepEnd(TnoxConnection& end, int dx, int dy, int first_point);
    bool StepLoopEnd(TnoxConnection& end, long long step, int side_length);
    void ComputeLoop();
    void FitLoopBounds();
    long long LoopReach() const;
    void RebuildHitRects();

    std::array<TPoint, 4> route_{};
    std::array<TPoint, 5> marks_{};
    int meioperc_ = 50;
    TPoint mark_centre_;
    std::unique_ptr<StringList> descricao_;
    trelacao relacao_ = trelacao::tr1x1;
    tchave chave_ = tchave::tcatrib;  // the stored default: a stored tcatrib, left out, reads back as such
    TRect start_hit_;
    TRect middle_hit_;
    TRect end_hit_;
    bool handing_on_ = false;  // a press off the line is being handed to another relationship
    std::array<TPoint, 5> loop_{};
    TRect loop_bottom_hit_;       // the loop's lower outer segment; middle_hit_ holds its right one
    bool loop_drag_bottom_ = false;
};

const ComponentClass& TRelacionamentoClass();
