#pragma once

// The tag a shape gives its caption (TnoxCustomShape::SetCaption): a shape with it is placed by its
// owner and not moved by SetEscala. Readers of stored diagrams expect it on captions.
inline constexpr int kCaptionTag = 999;
