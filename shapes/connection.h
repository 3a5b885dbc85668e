#pragma once

#include "platform/components/component.h"

// One end of a connector: the shape it is attached to, the side of that shape, and the position
// along the side, as a percentage (`perc`, kept as a single-precision fraction) and as a pixel
// Offset kept between minoffset and maxoffset.

class TnoxCustomShape;
class TnoxConnector;

enum TnoxConnectionSide { csLeft = 0, csRight = 1, csTop = 2, csBottom = 3 };

class TnoxConnection : public TPersistent {
public:
    // `connector`: the connector that owns this end and keeps its shape's index of attached
    // connectors; none for a free-standing connection handed to Connect.
    explicit TnoxConnection(TnoxConnector* connector = nullptr);

    TnoxCustomShape* Shape() const { return shape_; }
    void SetShape(TnoxCustomShape* shape);

    // The integer part of the fraction times 100. Writing clamps to 0..100 and stores the value / 100
    // in single precision, so that most values read back one lower (29 reads 28).
    int perc() const;
    void SetPerc(int value);

    int Offset() const { return offset_; }
    // Raised to minoffset, then lowered to maxoffset (so maxoffset wins when the limits cross).
    void SetOffset(int value);

    // Copies Shape, Side and Offset from another connection; anything else is refused
    // (EComponentError).
    void Assign(const TPersistent& source);

    TnoxConnectionSide Side = csRight;
    int maxoffset = 7;
    int minoffset = 7;

private:
    TnoxConnector* connector_;
    TnoxCustomShape* shape_ = nullptr;
    float fraction_ = 0;
    int offset_ = 7;
};

// Registered by class name for stored designs; connections are made by their connectors, never by name.
const ComponentClass& TnoxConnectionClass();
