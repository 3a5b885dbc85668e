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

[[noreturn]] void fail_on(int error, const std::string& path) {
    throw EInOutError(codigo_windows(error), path, error);
}

}  // namespace

TextFileWriter::TextFileWriter(const std::string& path) : path_(path) {
    file_ = std::fopen(system_path(path).c_str(), "wb");
    if (!file_) fail(errno);
}

TextFileWriter::~TextFileWriter() {
    if (file_) std::fclose(file_);
}

void TextFileWriter::write_line(std::span<const std::string_view> pieces) {
    if (!file_) throw EInOutError(103, path_);  // file not open
    // The line and its end go to the stream in one write.
    line_.clear();
    for (std::string_view piece : pieces) line_.append(piece);
    line_.append("\r\n");
    if (std::fwrite(line_.data(), 1, line_.size(), file_) != line_.size()) fail(errno);
}

void TextFileWriter::Close() {
    if (!file_) return;
    std::FILE* file = file_;
    file_ = nullptr;
    const bool written = std::fflush(file) == 0;
    const int write_error = errno;
    if (std::fclose(file) != 0 || !written) fail(written ? errno : write_error);
}

void TextFileWriter::fail(int error) { fail_on(error, path_); }

void write_file(const std::string& path, std::string_view content) {
    std::FILE* file = std::fopen(system_path(path).c_str(), "wb");
    if (!file) fail_on(errno, path);
    const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
    const int write_error = errno;
    if (std::fclose(file) != 0 || !written) fail_on(written ? errno : write_error, path);
}

bool file_exists(const std::string& path) {
    try {
        struct stat status;
        return ::stat(system_path(path).c_str(), &status) == 0;
    } catch (const EInOutError&) {
        return false;
    }
}
