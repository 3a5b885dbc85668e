#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class ScratchDirectory;

// A scratch directory inside an output directory (platform/files/scratch_directory.h): the
// application commands have the plug-in write there and move only complete files into place, so the
// output directory never holds a half-written file and its other files are never touched. Staging
// beside the files needs nothing but the output directory to be writable.
class StagingDirectory {
public:
    // Creates `output` (and its parents) when missing, removes what killed runs left there, and makes
    // the scratch directory. Throws std::runtime_error naming the directory and the reason.
    explicit StagingDirectory(const std::filesystem::path& output);
    // Removes the scratch directory with what is still in it, and the directories the constructor
    // created if nothing was moved into them.
    ~StagingDirectory();
    StagingDirectory(const StagingDirectory&) = delete;
    StagingDirectory& operator=(const StagingDirectory&) = delete;

    const std::filesystem::path& path() const { return path_; }
    const std::filesystem::path& output() const { return output_; }

    // Why `file` cannot be moved into the output directory (a directory stands at its name), or empty.
    std::string obstacle(const std::string& file) const;
    // Moves `files` (names in the scratch directory) into the output directory, replacing what stands
    // there (a file keeps its permissions), with interruptions held back until all are in. Checks every obstacle before moving any;
    // throws std::runtime_error naming the file and the reason.
    void move_into_place(const std::vector<std::string>& files);
    // Whether any file was moved into the output directory.
    bool moved() const { return moved_; }

private:
    void release();

    std::filesystem::path output_;
    std::filesystem::path path_;
    std::vector<std::filesystem::path> created_;  // output directories made here, outermost first
    std::unique_ptr<ScratchDirectory> scratch_;
    bool moved_ = false;
};
