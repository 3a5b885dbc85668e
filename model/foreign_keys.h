#pragma once

#include <string_view>

#include "plugin/entidade.h"

// Removes from `entity` the foreign-key attributes that came through the relationship named `name`
// from `origin`, and measures the box again. The relationships that start at `entity` pass the removal
// on to their end entities first, since those may hold keys that `entity` is about to lose. An entity
// in mode tmdelete or tmload, or one whose owner or parent is being freed (a whole diagram going), is
// left alone, cascade included; a cascade that comes back round to an
// entity it is already removing from stops there, so cycles of relationships end.
//
// Nothing is removed unless `origin` has a key attribute. The records of removed entries are freed.
void RemoverEstrangeiras(TEntidade& entity, const TEntidade& origin, std::string_view name);
