#include "plugin/modulo.h"

EstadoModulo& modulo() {
    static EstadoModulo estado;
    return estado;
}
