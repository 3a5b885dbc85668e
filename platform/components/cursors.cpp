#include "platform/components/cursors.h"

#include <utility>

#include "platform/identifier.h"

namespace {

constexpr std::pair<TCursor, const char*> kCursorNames[] = {
    {crDefault, "crDefault"},     {crNone, "crNone"},         {crArrow, "crArrow"},
    {crCross, "crCross"},         {crIBeam, "crIBeam"},       {crSizeNESW, "crSizeNESW"},
    {crSizeNS, "crSizeNS"},       {crSizeNWSE, "crSizeNWSE"}, {crSizeWE, "crSizeWE"},
    {crUpArrow, "crUpArrow"},     {crHourGlass, "crHourGlass"}, {crDrag, "crDrag"},
    {crNoDrop, "crNoDrop"},       {crHSplit, "crHSplit"},     {crVSplit, "crVSplit"},
    {crMultiDrag, "crMultiDrag"}, {crSQLWait, "crSQLWait"},   {crNo, "crNo"},
    {crAppStart, "crAppStart"},   {crHelp, "crHelp"},         {crHandPoint, "crHandPoint"},
    {crSizeAll, "crSizeAll"},
};

}  // namespace

std::optional<std::string> CursorToIdent(TCursor cursor) {
    for (const auto& [value, name] : kCursorNames)
        if (value == cursor) return std::string(name);
    return std::nullopt;
}

std::optional<TCursor> IdentToCursor(std::string_view name) {
    for (const auto& [value, ident] : kCursorNames)
        if (SameIdent(name, ident)) return value;
    return std::nullopt;
}
