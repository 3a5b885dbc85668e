#include "platform/text_file.h"

#include <cerrno>
#include <cstdio>

EInOutError::EInOutError(int codigo, const std::string& arquivo)
    : std::runtime_error("Erro de I/O " + std::to_string(codigo)), codigo_(codigo), arquivo_(arquivo) {}

int codigo_windows(int erro_c) {
    switch (erro_c) {
        case ENOENT: return 3;   // the target's runtime reports a missing path on create as 3
        case ENOTDIR: return 3;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR: return 5;
        case EMFILE:
        case ENFILE: return 4;   // too many open files
        case ENOSPC:
        case EDQUOT: return 112;
        case ENAMETOOLONG: return 206;
        default: return 29;      // write fault
    }
}

TextFileWriter::TextFileWriter(const std::string& caminho) : caminho_(caminho) {
    arquivo_ = std::fopen(caminho.c_str(), "wb");
    if (!arquivo_) falhou(errno);
}

TextFileWriter::~TextFileWriter() {
    if (arquivo_) std::fclose(arquivo_);
}

void TextFileWriter::WriteLine(std::string_view linha) {
    if (!arquivo_) throw EInOutError(103, caminho_);  // file not open
    if (std::fwrite(linha.data(), 1, linha.size(), arquivo_) != linha.size() || std::fputs("\r\n", arquivo_) == EOF)
        falhou(errno);
}

void TextFileWriter::Close() {
    if (!arquivo_) return;
    std::FILE* arquivo = arquivo_;
    arquivo_ = nullptr;
    const bool escrito = std::fflush(arquivo) == 0;
    const int erro = errno;
    if (std::fclose(arquivo) != 0 || !escrito) falhou(erro ? erro : errno);
}

void TextFileWriter::falhou(int erro_c) { throw EInOutError(codigo_windows(erro_c), caminho_); }

void escrever_arquivo(const std::string& caminho, std::string_view conteudo) {
    std::FILE* arquivo = std::fopen(caminho.c_str(), "wb");
    if (!arquivo) throw EInOutError(codigo_windows(errno), caminho);
    const bool escrito = std::fwrite(conteudo.data(), 1, conteudo.size(), arquivo) == conteudo.size();
    const int erro = errno;
    if (std::fclose(arquivo) != 0 || !escrito) throw EInOutError(codigo_windows(escrito ? errno : erro), caminho);
}

std::string ler_arquivo(const std::string& caminho) {
    std::FILE* arquivo = std::fopen(caminho.c_str(), "rb");
    if (!arquivo) throw EInOutError(errno == ENOENT ? 2 : codigo_windows(errno), caminho);
    std::string conteudo;
    char bloco[65536];
    std::size_t lidos;
    while ((lidos = std::fread(bloco, 1, sizeof bloco, arquivo)) > 0) conteudo.append(bloco, lidos);
    const bool falhou = std::ferror(arquivo);
    std::fclose(arquivo);
    if (falhou) throw EInOutError(30, caminho);  // read fault
    return conteudo;
}

bool apagar_arquivo(const std::string& caminho) { return std::remove(caminho.c_str()) == 0; }
