#include "platform/files/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

WholeFileError::WholeFileError(Reason reason, int error, std::optional<std::uintmax_t> size)
    : std::runtime_error(reason == Reason::CannotOpen   ? "cannot open"
                         : reason == Reason::CannotRead ? "cannot read"
                                                        : "too large"),
      reason_(reason),
      error_(error),
      size_(size) {}

std::string read_whole_file(const std::string& path, std::uintmax_t limit, std::size_t padding) {
    struct Descriptor {
        int fd;
        ~Descriptor() {
            if (fd >= 0) ::close(fd);
        }
    } const input{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
    if (input.fd < 0) throw WholeFileError(WholeFileError::Reason::CannotOpen, errno, std::nullopt);
    return read_whole_descriptor(input.fd, limit, padding);
}

std::string read_whole_descriptor(int descriptor, std::uintmax_t limit, std::size_t padding) {
    using Reason = WholeFileError::Reason;
    struct stat status {};
    if (::fstat(descriptor, &status) != 0) throw WholeFileError(Reason::CannotRead, errno, std::nullopt);
    const bool regular = S_ISREG(status.st_mode);
    if (regular && static_cast<std::uintmax_t>(status.st_size) > limit)
        throw WholeFileError(Reason::TooLarge, 0, static_cast<std::uintmax_t>(status.st_size));
    std::string content;
    // A regular file's size is known: the content and the padding get one allocation.
    if (regular) content.reserve(static_cast<std::size_t>(status.st_size) + padding);
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(descriptor, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw WholeFileError(Reason::CannotRead, errno, std::nullopt);
        if (n == 0) break;
        content.append(buffer, static_cast<std::size_t>(n));
        if (content.size() > limit) throw WholeFileError(Reason::TooLarge, 0, std::nullopt);
    }
    content.append(padding, '\0');
    return content;
}

std::string read_whole_input(const std::string& name, std::uintmax_t limit, std::size_t padding) {
    return name == "-" ? read_whole_descriptor(STDIN_FILENO, limit, padding) : read_whole_file(name, limit, padding);
}

std::string input_name(const std::string& name) { return name == "-" ? "standard input" : name; }
