#include "platform/files/output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <string>
#include <system_error>

#include "platform/files/scratch_directory.h"

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

// The open descriptor that `file` names (/dev/stdout, /dev/stderr, /dev/fd/N, /proc/self/fd/N), or -1.
// Opened again or replaced, such a name would lose what the shell set up: the log that >> appends to
// (replaced), or a pipe (no file to replace).
int descriptor_named(const std::filesystem::path& file) {
    const std::string name = file.lexically_normal().string();
    if (name == "/dev/stdout") return STDOUT_FILENO;
    if (name == "/dev/stderr") return STDERR_FILENO;
    for (const std::string_view prefix : {"/dev/fd/", "/proc/self/fd/"}) {
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
        int number = 0;
        for (std::size_t i = prefix.size(); i < name.size(); ++i) {
            if (name[i] < '0' || name[i] > '9' || number > 100000000) return -1;
            number = number * 10 + (name[i] - '0');
        }
        return number;
    }
    return -1;
}

// The path a chain of symbolic links ends at (itself when it is no link); the end may not exist yet.
// A link that names an open descriptor ends the chain there.
std::filesystem::path follow_links(const std::filesystem::path& file) {
    std::filesystem::path at = file;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat status;
        if (descriptor_named(at) >= 0 || ::lstat(at.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return at;
        std::string link(static_cast<std::size_t>(status.st_size > 0 ? status.st_size : 4096) + 1, '\0');
        const ssize_t length = ::readlink(at.c_str(), link.data(), link.size());
        if (length < 0) throw cannot_write(file, errno);
        link.resize(static_cast<std::size_t>(length));
        const std::filesystem::path next = link;
        at = next.is_absolute() ? next : at.parent_path() / next;
    }
    throw cannot_write(file, ELOOP);
}

void produce_into(int descriptor, const Producer& produce) {
    DescriptorSink sink(descriptor);
    produce(sink);
    sink.flush();
}

// A device or FIFO: written into, as replacing it would put a regular file in its place.
void write_in_place(const std::filesystem::path& file, const std::filesystem::path& target, const Producer& produce) {
    const int descriptor = ::open(target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0) throw cannot_write(file, errno);
    try {
        produce_into(descriptor, produce);
    } catch (const std::system_error& e) {
        ::close(descriptor);
        throw cannot_write(file, e.code().value());
    } catch (...) {
        ::close(descriptor);
        throw;
    }
    if (::close(descriptor) != 0) throw cannot_write(file, errno);
}

// Writes into a descriptor the process already has open, where the shell put it, and leaves it open.
void write_to_descriptor(const std::filesystem::path& file, int descriptor, const Producer& produce) {
    std::fflush(stdout);
    std::fflush(stderr);
    try {
        produce_into(descriptor, produce);
    } catch (const std::system_error& e) {
        throw cannot_write(file, e.code().value());
    }
}

}  // namespace

void write_file_atomically(const std::filesystem::path& file, const Producer& produce) {
    const std::filesystem::path target = follow_links(file);
    if (const int descriptor = descriptor_named(target); descriptor >= 0) return write_to_descriptor(file, descriptor, produce);
    struct stat existing;
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) throw cannot_write(file, EISDIR);
    if (exists && !S_ISREG(existing.st_mode)) return write_in_place(file, target, produce);

    // The new content is made in a scratch directory of ours beside the target, so that a run
    // interrupted by a signal leaves nothing, and one killed outright leaves what the next run
    // into the directory recognises as its own and removes.
    std::optional<ScratchDirectory> scratch;
    try {
        scratch.emplace(target.parent_path());
    } catch (const std::system_error& e) {
        throw cannot_write(file, e.code().value());
    }
    const std::filesystem::path temporary = scratch->path() / (target.has_filename() ? target.filename() : "output");
    const int descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (descriptor < 0) throw cannot_write(file, errno);
    try {
        produce_into(descriptor, produce);
        const mode_t mode = exists ? existing.st_mode & 07777 : default_file_mode();
        if (::fchmod(descriptor, mode) != 0) throw std::system_error(errno, std::generic_category());
        // Only a privileged run can give the file another owner; for anyone else this keeps what it is.
        if (exists && ::fchown(descriptor, existing.st_uid, existing.st_gid) != 0 && errno != EPERM)
            throw std::system_error(errno, std::generic_category());
    } catch (const std::system_error& e) {
        ::close(descriptor);
        throw cannot_write(file, e.code().value());
    } catch (...) {
        ::close(descriptor);
        throw;
    }
    if (::close(descriptor) != 0) throw cannot_write(file, errno);
    if (::rename(temporary.c_str(), target.c_str()) != 0) throw cannot_write(file, errno);
}

void write_file_atomically(const std::filesystem::path& file, std::string_view content) {
    write_file_atomically(file, [content](ByteSink& sink) { sink.write(content); });
}

void write_output(const std::string& destination, const Producer& produce) {
    if (destination.empty() || destination == "-")
        write_stdout(produce);
    else
        write_file_atomically(destination, produce);
}

void write_output(const std::string& destination, std::string_view content) {
    write_output(destination, [content](ByteSink& sink) { sink.write(content); });
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
