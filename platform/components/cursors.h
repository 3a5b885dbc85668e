#pragma once

#include <optional>
#include <string>
#include <string_view>

// Cursors by the target's numbers: the stock cursors are the negative values (crDefault is 0, the
// parent's or the system's arrow). The sizing cursors are those the shapes show over their handles.
using TCursor = int;

inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crNone = -1;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crCross = -3;
inline constexpr TCursor crIBeam = -4;
inline constexpr TCursor crSizeNESW = -6;  // north-east / south-west sizing (IDC_SIZENESW)
inline constexpr TCursor crSizeNS = -7;    // north / south sizing (IDC_SIZENS)
inline constexpr TCursor crSizeNWSE = -8;  // north-west / south-east sizing (IDC_SIZENWSE)
inline constexpr TCursor crSizeWE = -9;    // west / east sizing (IDC_SIZEWE)
inline constexpr TCursor crUpArrow = -10;
inline constexpr TCursor crHourGlass = -11;
inline constexpr TCursor crDrag = -12;
inline constexpr TCursor crNoDrop = -13;
inline constexpr TCursor crHSplit = -14;
inline constexpr TCursor crVSplit = -15;
inline constexpr TCursor crMultiDrag = -16;
inline constexpr TCursor crSQLWait = -17;
inline constexpr TCursor crNo = -18;
inline constexpr TCursor crAppStart = -19;
inline constexpr TCursor crHelp = -20;
inline constexpr TCursor crHandPoint = -21;
inline constexpr TCursor crSizeAll = -22;

// The name a stored design gives a stock cursor ("crSizeNS"); other values have none.
std::optional<std::string> CursorToIdent(TCursor cursor);
// The stock cursor of that name (letter case ignored), or none.
std::optional<TCursor> IdentToCursor(std::string_view name);
