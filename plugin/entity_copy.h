#pragma once

#include <memory>

#include "plugin/entidade.h"

// A free-standing copy of an entity's table: names, form settings, menu text, mode, primary-key
// options, fonts, description and the attribute and secondary-key entries with copies of their
// records, in the same order. What places it on a diagram (bounds, scale, caption, owner) is not
// copied, and the copy takes a shape name of its own. Lets a caller hand a generator an entity it may
// adjust (a sanitised table name, say) without touching the original.
std::unique_ptr<TEntidade> copy_entity(const TEntidade& entity);
