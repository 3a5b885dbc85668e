#pragma once

#include <string>
#include <string_view>

// A name put inside a /* ... */ comment of the SQL script. A "*/" in the name would end the comment
// and let the rest of the name run as statements, and a "/*" would open a nested comment where the
// database nests them; either pair is written with a blank between its two characters ("* /", "/ *").
// Any other text is written unchanged.
std::string texto_de_comentario(std::string_view texto);
