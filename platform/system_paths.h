#pragma once

#include <string>
#include <string_view>

#include "platform/api.h"

// The plug-in names files as the target does: Windows-1252 texts, relative names resolved against the
// current directory. Here the system's file names are UTF-8, and a run carries its own current
// directory instead of changing the process's, which belongs to the host and to every thread.

// While it lives, relative file names that plug-in calls on this thread create, read or delete resolve
// against `directory` (a system path) instead of the process's current directory. Nests.
class KZR40_API ScopedWorkingDirectory {
public:
    explicit ScopedWorkingDirectory(std::string directory);
    ~ScopedWorkingDirectory();
    ScopedWorkingDirectory(const ScopedWorkingDirectory&) = delete;
    ScopedWorkingDirectory& operator=(const ScopedWorkingDirectory&) = delete;

private:
    std::string directory_;
    const std::string* previous_;
};

// The system path of a plug-in file name: its Windows-1252 bytes as UTF-8, and a relative name placed
// under the run's working directory. Raises EInOutError 123 (invalid name) for one of the five bytes
// that Windows-1252 leaves undefined: no character, so no file name, stands for them.
std::string system_path(std::string_view plugin_name);
