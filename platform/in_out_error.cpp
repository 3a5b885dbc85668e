#include "platform/in_out_error.h"

EInOutError::EInOutError(int codigo, const std::string& arquivo, int erro_sistema)
    : std::runtime_error("Erro de I/O " + std::to_string(codigo)),
      codigo_(codigo),
      arquivo_(arquivo),
      erro_sistema_(erro_sistema) {}
