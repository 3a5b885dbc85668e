#include "host/output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <system_error>

namespace {

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

// Collects small writes into 64 KiB blocks; a failed write throws std::system_error.
class DescriptorSink : public ByteSink {
public:
    explicit DescriptorSink(int descriptor) : descriptor_(descriptor) { buffer_.reserve(kBlock); }
    void write(std::string_view bytes) override {
        if (buffer_.size() + bytes.size() > kBlock) flush();
        if (bytes.size() >= kBlock)
            put(bytes);
        else
            buffer_.append(bytes);
    }
    void flush() {
        put(buffer_);
        buffer_.clear();
    }

private:
    static constexpr std::size_t kBlock = 64 * 1024;
    void put(std::string_view bytes) {
        if (!write_all(descriptor_, bytes)) throw std::system_error(errno, std::generic_category());
    }
    int descriptor_;
    std::string buffer_;
};

mode_t default_file_mode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

std::runtime_error cannot_write(const std::filesystem::path& file, int error) {
    return std::runtime_error(file.string() + ": cannot write: " + std::strerror(error));
}

}  // namespace

void write_file_atomically(const std::filesystem::path& file, const Producer& produce) {
    std::error_code ignored;
    if (std::filesystem::is_directory(file, ignored)) throw cannot_write(file, EISDIR);
    std::string temporary = file.string() + ".XXXXXX";
    const int descriptor = ::mkstemp(temporary.data());
    if (descriptor < 0) throw cannot_write(file, errno);
    try {
        DescriptorSink sink(descriptor);
        produce(sink);
        sink.flush();
        if (::fchmod(descriptor, default_file_mode()) != 0) throw std::system_error(errno, std::generic_category());
        if (::close(descriptor) != 0) {
            const int error = errno;
            ::unlink(temporary.c_str());
            throw cannot_write(file, error);
        }
    } catch (const std::system_error& e) {
        ::close(descriptor);
        ::unlink(temporary.c_str());
        throw cannot_write(file, e.code().value());
    } catch (...) {
        ::close(descriptor);
        ::unlink(temporary.c_str());
        throw;
    }
    if (::rename(temporary.c_str(), file.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        throw cannot_write(file, error);
    }
}

void write_file_atomically(const std::filesystem::path& file, std::string_view content) {
    write_file_atomically(file, [content](ByteSink& sink) { sink.write(content); });
}

void write_stdout(const Producer& produce) {
    std::fflush(stdout);
    try {
        DescriptorSink sink(STDOUT_FILENO);
        produce(sink);
        sink.flush();
    } catch (const std::system_error& e) {
        throw std::runtime_error(std::string("cannot write to standard output: ") + std::strerror(e.code().value()));
    }
}

void write_stdout(std::string_view content) {
    write_stdout([content](ByteSink& sink) { sink.write(content); });
}
