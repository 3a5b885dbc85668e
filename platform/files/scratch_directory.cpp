#include "platform/files/scratch_directory.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <string_view>
#include <system_error>

#include "platform/files/interrupt_cleanup.h"

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kPrefix = ".kzr40-";
constexpr std::size_t kNameLength = kPrefix.size() + 6;  // mkdtemp's six characters
constexpr const char* kMarker = ".kzr40-run";
constexpr std::string_view kMarkerText =
    "kzr40 writes its files here before moving them into place; a run that was killed leaves this "
    "directory behind, and the next run into the directory above removes it.\n";

// Opens the marker inside `directory` when it is one of our scratch directories (a directory, not a
// link, of this user, holding a regular file of this user with our text), or answers -1. The text is
// written after the lock is taken, so a marker still being made is never taken for a leftover.
int open_marker(const fs::path& directory) {
    struct stat status;
    if (::lstat(directory.c_str(), &status) != 0 || !S_ISDIR(status.st_mode) || status.st_uid != ::geteuid()) return -1;
    const int marker = ::open((directory / kMarker).c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (marker < 0) return -1;
    char text[kMarkerText.size() + 1];
    ssize_t length = -1;
    if (::fstat(marker, &status) == 0 && S_ISREG(status.st_mode) && status.st_uid == ::geteuid() &&
        static_cast<std::size_t>(status.st_size) == kMarkerText.size())
        length = ::pread(marker, text, sizeof text, 0);
    if (length != static_cast<ssize_t>(kMarkerText.size()) || std::string_view(text, kMarkerText.size()) != kMarkerText) {
        ::close(marker);
        return -1;
    }
    return marker;
}

// Removes the scratch directories of runs that were killed: ours by name and marker, and no longer
// locked by a live run.
void remove_leftovers(const fs::path& parent) {
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(parent, error)) {
        const std::string name = entry.path().filename().string();
        if (name.size() != kNameLength || !name.starts_with(kPrefix)) continue;
        const int marker = open_marker(entry.path());
        if (marker < 0) continue;
        if (::flock(marker, LOCK_EX | LOCK_NB) == 0) fs::remove_all(entry.path(), error);
        ::close(marker);
    }
}

}  // namespace

ScratchDirectory::ScratchDirectory(const fs::path& parent) {
    const fs::path at = parent.empty() ? fs::path(".") : parent;
    remove_leftovers(at);
    std::string pattern = (at / (std::string(kPrefix) + "XXXXXX")).string();
    if (!::mkdtemp(pattern.data())) throw std::system_error(errno, std::generic_category());
    path_ = pattern;
    try {
        interrupt_cleanup_ = std::make_unique<RemoveOnInterrupt>(path_);
        marker_ = ::open((path_ / kMarker).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (marker_ < 0 || ::flock(marker_, LOCK_EX) != 0) throw std::system_error(errno, std::generic_category());
        const ssize_t written = ::write(marker_, kMarkerText.data(), kMarkerText.size());
        if (written != static_cast<ssize_t>(kMarkerText.size()))
            throw std::system_error(written < 0 ? errno : ENOSPC, std::generic_category());
    } catch (...) {
        release();
        throw;
    }
}

ScratchDirectory::~ScratchDirectory() { release(); }

void ScratchDirectory::release() {
    std::error_code ignored;
    if (!path_.empty()) fs::remove_all(path_, ignored);
    path_.clear();
    interrupt_cleanup_.reset();
    if (marker_ >= 0) ::close(marker_);
    marker_ = -1;
}
