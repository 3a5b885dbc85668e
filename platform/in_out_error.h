#pragma once

#include <stdexcept>
#include <string>

#include "platform/api.h"

// An input/output error as the target's runtime raises it: "Erro de I/O <code>", where the code is
// the Windows error number of the failure (2 file not found, 3 path not found, 5 access denied,
// 112 disk full, ...). It also keeps what the message leaves out for the host to add: the file's name
// as the plug-in gave it (Windows-1252) and the system's errno value (0 when there is none).
class KZR40_API EInOutError : public std::runtime_error {
public:
    EInOutError(int codigo, const std::string& arquivo, int erro_sistema = 0);
    int codigo() const { return codigo_; }
    const std::string& arquivo() const { return arquivo_; }
    int erro_sistema() const { return erro_sistema_; }

private:
    int codigo_;
    std::string arquivo_;
    int erro_sistema_;
};
