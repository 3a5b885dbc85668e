#include "platform/system_paths.h"

#include <cerrno>

#include "platform/in_out_error.h"
#include "platform/utf8_cp1252.h"
#include "platform/windows_1252.h"

namespace {

thread_local const std::string* working_directory = nullptr;

constexpr int kInvalidName = 123;

bool all_defined(std::string_view text) {
    for (unsigned char c : text)
        if (!Windows1252Defined(c)) return false;
    return true;
}

}  // namespace

ScopedWorkingDirectory::ScopedWorkingDirectory(std::string directory)
    : directory_(std::move(directory)), previous_(working_directory) {
    if (!directory_.empty() && directory_.back() != '/') directory_ += '/';
    working_directory = &directory_;
}

ScopedWorkingDirectory::~ScopedWorkingDirectory() { working_directory = previous_; }

std::string system_path(std::string_view plugin_name) {
    // An undefined byte has no character to name the file with.
    if (!all_defined(plugin_name)) throw EInOutError(kInvalidName, std::string(plugin_name), EILSEQ);
    std::string name = cp1252_to_utf8(plugin_name);
    if (working_directory && !working_directory->empty() && (name.empty() || name.front() != '/'))
        name.insert(0, *working_directory);
    return name;
}
