#include "platform/files/staging_directory.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <system_error>

#include "platform/files/interrupt_cleanup.h"
#include "platform/files/scratch_directory.h"

namespace fs = std::filesystem;

namespace {

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

std::string reason(int error) { return std::strerror(error); }

}  // namespace

StagingDirectory::StagingDirectory(const fs::path& output) : output_(output) {
    created_ = create_output_directory(output);
    try {
        scratch_ = std::make_unique<ScratchDirectory>(output);
        path_ = scratch_->path();
    } catch (const std::system_error& e) {
        release();
        throw std::runtime_error(output.string() + ": cannot write into the output directory: " + reason(e.code().value()) +
                                 " (the files are written into a scratch directory there first)");
    }
}

StagingDirectory::~StagingDirectory() { release(); }

void StagingDirectory::release() {
    std::error_code ignored;
    scratch_.reset();
    path_.clear();
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
