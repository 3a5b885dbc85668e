#pragma once

#include <filesystem>
#include <memory>

class RemoveOnInterrupt;

// A scratch directory of ours inside a directory that files are written into: they are made in it and
// renamed into place, so the directory never holds a half-written file. A rename there replaces a file
// (or a link, never followed) at once.
//
// It is named ".kzr40-XXXXXX" and holds a marker file, ".kzr40-run", with a text of ours, that the
// run keeps locked. SIGINT, SIGTERM and SIGHUP remove the scratch directory before the process ends. A
// run that was killed (SIGKILL, a crash) leaves both behind with the lock gone, and the next scratch
// directory made in the same place removes them. Nothing else is taken for a leftover: a directory of
// that name without the marker, with another text in it, of another user, or locked by a live run
// stays.
class ScratchDirectory {
public:
    // Removes what killed runs left in `parent` (which must exist) and makes the scratch directory
    // there. Throws std::system_error with the errno value when it cannot.
    explicit ScratchDirectory(const std::filesystem::path& parent);
    // Removes the scratch directory with what is still in it.
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    void release();

    std::filesystem::path path_;
    int marker_ = -1;
    std::unique_ptr<RemoveOnInterrupt> interrupt_cleanup_;
};
