#pragma once

#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/api.h"

// An input/output error as the target's runtime raises it: "Erro de I/O <code>", where the code is
// the Windows error number of the failure (2 file not found, 3 path not found, 5 access denied,
// 112 disk full, ...).
class KZR40_API EInOutError : public std::runtime_error {
public:
    EInOutError(int codigo, const std::string& arquivo);
    int codigo() const { return codigo_; }
    const std::string& arquivo() const { return arquivo_; }

private:
    int codigo_;
    std::string arquivo_;
};

// Windows error number that stands for a C library errno value.
int codigo_windows(int erro_c);

// A text file written line by line: bytes as they are, every line ended by CR LF. Creating it
// truncates an existing file. Failures raise EInOutError.
class TextFileWriter {
public:
    explicit TextFileWriter(const std::string& caminho);
    ~TextFileWriter();
    TextFileWriter(const TextFileWriter&) = delete;
    TextFileWriter& operator=(const TextFileWriter&) = delete;

    void WriteLine(std::string_view linha);
    // Flushes and closes; raises EInOutError when the data could not be written.
    void Close();
    const std::string& caminho() const { return caminho_; }

private:
    void falhou(int erro_c);

    std::string caminho_;
    std::FILE* arquivo_ = nullptr;
};

// Writes `conteudo` to `caminho` in one piece (created or overwritten); raises EInOutError.
void escrever_arquivo(const std::string& caminho, std::string_view conteudo);
// Reads the whole file; raises EInOutError.
std::string ler_arquivo(const std::string& caminho);
// Deletes a file; answers whether it was deleted.
bool apagar_arquivo(const std::string& caminho);
