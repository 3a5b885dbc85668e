#include "host/output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>

namespace {

[[noreturn]] void fail(const std::filesystem::path& file, const char* action, int error) {
    throw std::runtime_error(file.string() + ": cannot " + action + ": " + std::strerror(error));
}

bool write_all(int descriptor, std::string_view content) {
    while (!content.empty()) {
        const ssize_t written = ::write(descriptor, content.data(), content.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

mode_t default_file_mode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

void write_file_atomically(const std::filesystem::path& file, std::string_view content) {
    std::error_code ignored;
    if (std::filesystem::is_directory(file, ignored)) fail(file, "write", EISDIR);
    std::string temporary = file.string() + ".XXXXXX";
    const int descriptor = ::mkstemp(temporary.data());
    if (descriptor < 0) fail(file, "write", errno);
    const bool written = write_all(descriptor, content) && ::fchmod(descriptor, default_file_mode()) == 0;
    const int write_error = errno;
    const bool closed = ::close(descriptor) == 0;
    const int close_error = errno;
    if (!written || !closed) {
        ::unlink(temporary.c_str());
        fail(file, "write", written ? close_error : write_error);
    }
    if (::rename(temporary.c_str(), file.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        fail(file, "write", error);
    }
}

void write_stdout(std::string_view content) {
    std::fflush(stdout);
    if (!write_all(STDOUT_FILENO, content))
        throw std::runtime_error(std::string("cannot write to standard output: ") + std::strerror(errno));
}
