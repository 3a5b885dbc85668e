#include "platform/files/staging_directory.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "platform/files/interrupt_cleanup.h"

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kPrefix = ".kzr40-";
constexpr std::size_t kNameLength = kPrefix.size() + 6;  // mkdtemp's six characters
constexpr const char* kMarker = ".kzr40-run";
constexpr std::string_view kMarkerText =
    "kzr40 writes its files here before moving them into place; a run that was killed leaves this "
    "directory behind, and the next run into the directory above removes it.\n";

// Creates `directory` and its missing parents; returns the ones it made, outermost first.
std::vector<fs::path> create_output_directory(const fs::path& directory) {
    std::vector<fs::path> missing;
    std::error_code error;
    fs::path at = fs::absolute(directory, error).lexically_normal();
    if (!at.has_filename()) at = at.parent_path();  // "out/" names "out"
    for (; at.has_relative_path() && !fs::exists(fs::symlink_status(at, error)); at = at.parent_path())
        missing.insert(missing.begin(), at);
    fs::create_directories(directory, error);
    if (error || !fs::is_directory(directory))
        throw std::runtime_error(directory.string() + ": cannot create the output directory" +
                                 (error ? ": " + error.message() : ": a file of that name is in the way"));
    return missing;
}

// Opens the marker inside `directory`; -1 when it is not one of our scratch directories.
int open_marker(const fs::path& directory) {
    struct stat status;
    if (::lstat(directory.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) return -1;
    const int marker = ::open((directory / kMarker).c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (marker < 0) return -1;
    if (::fstat(marker, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(marker);
        return -1;
    }
    return marker;
}

// Removes the scratch directories of runs that were killed: ours by name and marker, and no longer
// locked by a live run.
void remove_leftovers(const fs::path& output) {
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(output, error)) {
        const std::string name = entry.path().filename().string();
        if (name.size() != kNameLength || name.compare(0, kPrefix.size(), kPrefix) != 0) continue;
        const int marker = open_marker(entry.path());
        if (marker < 0) continue;
        if (::flock(marker, LOCK_EX | LOCK_NB) == 0) fs::remove_all(entry.path(), error);
        ::close(marker);
    }
}

std::string reason(int error) { return std::strerror(error); }

}  // namespace

StagingDirectory::StagingDirectory(const fs::path& output) : output_(output) {
    created_ = create_output_directory(output);
    try {
        remove_leftovers(output);
        std::string pattern = (output / (std::string(kPrefix) + "XXXXXX")).string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error(output.string() + ": cannot write into the output directory: " + reason(errno) +
                                     " (the files are written into a scratch directory there first)");
        path_ = pattern;
        interrupt_cleanup_ = std::make_unique<RemoveOnInterrupt>(path_);
        marker_ = ::open((path_ / kMarker).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (marker_ < 0 || ::flock(marker_, LOCK_EX) != 0 ||
            ::write(marker_, kMarkerText.data(), kMarkerText.size()) != static_cast<ssize_t>(kMarkerText.size()))
            throw std::runtime_error(path_.string() + ": cannot write: " + reason(errno));
    } catch (...) {
        release();
        throw;
    }
}

StagingDirectory::~StagingDirectory() { release(); }

void StagingDirectory::release() {
    std::error_code ignored;
    if (!path_.empty()) fs::remove_all(path_, ignored);
    path_.clear();
    interrupt_cleanup_.reset();
    if (marker_ >= 0) ::close(marker_);
    marker_ = -1;
    if (!moved_)
        for (auto at = created_.rbegin(); at != created_.rend(); ++at) fs::remove(*at, ignored);  // only when empty
    created_.clear();
}

std::string StagingDirectory::obstacle(const std::string& file) const {
    std::error_code ignored;
    return fs::is_directory(fs::symlink_status(output_ / file, ignored)) ? "is a directory" : "";
}

void StagingDirectory::move_into_place(const std::vector<std::string>& files) {
    for (const std::string& file : files) {
        const std::string why = obstacle(file);
        if (!why.empty()) throw std::runtime_error((output_ / file).string() + ": " + why);
    }
    HoldInterrupts held;
    for (const std::string& file : files) {
        // A file replaced keeps its permissions (a link is replaced as it is, never followed).
        struct stat existing;
        if (::lstat((output_ / file).c_str(), &existing) == 0 && S_ISREG(existing.st_mode))
            ::chmod((path_ / file).c_str(), existing.st_mode & 07777);
        if (::rename((path_ / file).c_str(), (output_ / file).c_str()) != 0)
            throw std::runtime_error((output_ / file).string() + ": cannot write: " + reason(errno));
        moved_ = true;
    }
}
