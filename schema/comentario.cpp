#include "schema/comentario.h"

std::string texto_de_comentario(std::string_view texto) {
    std::string resultado;
    resultado.reserve(texto.size());
    char anterior = '\0';
    for (char c : texto) {
        // The inserted blank is neither '*' nor '/', so it never forms a new pair with what follows.
        if ((anterior == '*' && c == '/') || (anterior == '/' && c == '*')) resultado += ' ';
        resultado += c;
        anterior = c;
    }
    return resultado;
}
