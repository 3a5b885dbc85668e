#include "platform/text_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

#include "platform/system_paths.h"

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
        case EILSEQ: return 123;  // a name the system cannot hold
        default: return 29;      // write fault
    }
}

namespace {

[[noreturn]] void falha(int erro_c, const std::string& caminho) {
    throw EInOutError(codigo_windows(erro_c), caminho, erro_c);
}

}  // namespace

TextFileWriter::TextFileWriter(const std::string& caminho) : caminho_(caminho) {
    arquivo_ = std::fopen(system_path(caminho).c_str(), "wb");
    if (!arquivo_) falhou(errno);
}

TextFileWriter::~TextFileWriter() {
    if (arquivo_) std::fclose(arquivo_);
}

void TextFileWriter::write_line(std::span<const std::string_view> pieces) {
    if (!arquivo_) throw EInOutError(103, caminho_);  // file not open
    // The line and its end go to the stream in one write.
    linha_.clear();
    for (std::string_view piece : pieces) linha_.append(piece);
    linha_.append("\r\n");
    if (std::fwrite(linha_.data(), 1, linha_.size(), arquivo_) != linha_.size()) falhou(errno);
}

void TextFileWriter::Close() {
    if (!arquivo_) return;
    std::FILE* arquivo = arquivo_;
    arquivo_ = nullptr;
    const bool escrito = std::fflush(arquivo) == 0;
    const int erro = errno;
    if (std::fclose(arquivo) != 0 || !escrito) falhou(escrito ? errno : erro);
}

void TextFileWriter::falhou(int erro_c) { falha(erro_c, caminho_); }

void escrever_arquivo(const std::string& caminho, std::string_view conteudo) {
    std::FILE* arquivo = std::fopen(system_path(caminho).c_str(), "wb");
    if (!arquivo) falha(errno, caminho);
    const bool escrito = std::fwrite(conteudo.data(), 1, conteudo.size(), arquivo) == conteudo.size();
    const int erro = errno;
    if (std::fclose(arquivo) != 0 || !escrito) falha(escrito ? errno : erro, caminho);
}

bool arquivo_existe(const std::string& caminho) {
    try {
        struct stat estado;
        return ::stat(system_path(caminho).c_str(), &estado) == 0;
    } catch (const EInOutError&) {
        return false;
    }
}
