#pragma once

#include <string>
#include <string_view>

// Where a JSON text first breaks the grammar, and how: "line 3, column 17: unexpected '}'; expected
// string literal". Lines and columns count from 1, columns in characters. Empty when the grammar is
// kept (the text may still break a limit of the parser that refused it, such as nesting depth).
// Meant for the error path only: it reads the text once more.
std::string json_syntax_error(std::string_view text);
