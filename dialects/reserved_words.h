#pragma once

#include <span>
#include <string_view>

#include "dialects/dialect.h"

// The words a dialect refuses as a table or column name unless the name is quoted. The scripts quote
// them; `kzr40 check` warns about names that are one of them.

// Whether `word` is one of them, in any letter case.
bool is_reserved_word(Dialect dialect, std::string_view word);
// All of them, in upper case and ASCII order.
std::span<const std::string_view> reserved_words(Dialect dialect);
