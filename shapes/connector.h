#pragma once

#include <memory>

#include "shapes/connection.h"
#include "shapes/custom_shape.h"

// A shape that joins two others: it picks the facing sides from where the shapes stand, places each
// end along its side by its percentage, spans the gap between the shapes, draws a straight line and
// keeps its caption at a fixed offset from its midpoint. It is rerouted whenever an attached shape's
// bounds change and freed with either shape.
class TnoxConnector : public TnoxCustomShape {
public:
    explicit TnoxConnector(TComponent* owner);
    TnoxConnector(TComponent* owner, const ComponentClass& description);
    // Frees both connections (leaving the attached shapes' indexes), then the shape.
    ~TnoxConnector() override;

    // 1: the start connection, 2: the end connection, otherwise none.
    TnoxConnection* GetConnection(int index) const;
    // Copies `connection` into end 1 or 2, then reroutes (for any index; a null connection copies
    // nothing).
    void SetConnection(int index, const TnoxConnection* connection);
    void Connect(TnoxConnection* start, TnoxConnection* end) override;

    // The room left for the mark at an end (1 start, 2 end); other indexes leave `rect` untouched.
    void GetMarkRect(int index, TRect& rect) const;
    // Ignored for a rectangle of negative width or height and for other indexes; no reroute follows.
    void SetMarkRect(int index, const TRect& rect);

    int LineWidth() const { return line_width_; }
    // Values below 1 are ignored.
    void SetLineWidth(int width);

    // Where an end's line stops: `mark.Right - mark.Left` pixels outside its side; parent coordinates.
    TPoint ConnectionPoint(const TnoxConnection& connection, const TRect& mark) const;
    // The point on the side itself (the shape's outermost pixel row or column).
    TPoint SidePoint(const TnoxConnection& connection) const;
    void ChooseSides(const TnoxCustomShape& start, const TnoxCustomShape& end);
    // Spans the bounds over the gap between the two shapes.
    void FitBounds();
    // Moves the caption with the midpoint, unless CaptionMode is 1.
    void MoveCaption();
    TPoint ParentToClient(TPoint p) const;

    virtual void PaintPrologue1() {}
    virtual void PaintPrologue2() {}
    // Sides, bounds, then the offset limits for the next routing; nothing unless both ends have a
    // shape.
    virtual void Reroute();
    virtual TPoint GetMidPoint() const;
    // Called last by ChooseSides; a plain connector draws one straight line.
    virtual void ComputeRoute() {}

    // Raises the size to the line width and the mark rectangles, then moves the caption.
    void SetBounds(int left, int top, int width, int height) override;
    void Paint() override;
    void SetCaption(tnoxCaption* caption) override;
    void Notification(TComponent* component, TOperation operation) override;

    TColor LineColour = clBlack;  // kept and stored; a plain connector draws green whatever it holds
    TRect StartMarkRect;
    TRect EndMarkRect;
    TPoint PrevMidPoint;  // midpoint when the caption was last placed; 0: not yet known
    bool Vertical = false;

    // Bookkeeping for the shapes' indexes of attached connectors.
    void ConnectionShapeChanged(TnoxCustomShape* old_shape, TnoxCustomShape* new_shape);
    // `shape` goes: each end attached to it lets go.
    void ShapeRemoved(const TComponent* shape);

protected:
    // Rescales PrevMidPoint from one zoom factor to another and refits the bounds.
    void RescaleMidPoint(long double from, long double to) override;

private:
    int line_width_ = 1;
    std::unique_ptr<TnoxConnection> start_;
    std::unique_ptr<TnoxConnection> end_;
};

// Whether either end of `connector` is attached to `shape`.
bool IsAttachedTo(const TnoxConnector& connector, const TnoxCustomShape* shape);

const ComponentClass& TnoxConnectorClass();
