#include "platform/system_paths.h"

#include <iconv.h>

#include <cerrno>

#include "platform/in_out_error.h"

namespace {

thread_local const std::string* working_directory = nullptr;

constexpr int kInvalidName = 123;

// One descriptor per thread, opened on first use.
class Cp1252ToUtf8 {
public:
    Cp1252ToUtf8() : handle_(iconv_open("UTF-8", "WINDOWS-1252")) {}
    ~Cp1252ToUtf8() {
        if (handle_ != invalid()) iconv_close(handle_);
    }
    Cp1252ToUtf8(const Cp1252ToUtf8&) = delete;
    Cp1252ToUtf8& operator=(const Cp1252ToUtf8&) = delete;

    // False when the text holds an undefined byte (or iconv lacks the code page).
    bool convert(std::string_view text, std::string& utf8) {
        if (handle_ == invalid()) return false;
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        utf8.assign(text.size() * 3, '\0');  // no Windows-1252 character takes more than 3 UTF-8 bytes
        char* in = const_cast<char*>(text.data());
        std::size_t in_left = text.size();
        char* out = utf8.data();
        std::size_t out_left = utf8.size();
        const bool done = iconv(handle_, &in, &in_left, &out, &out_left) != static_cast<std::size_t>(-1);
        utf8.resize(utf8.size() - out_left);
        return done;
    }

private:
    static iconv_t invalid() { return reinterpret_cast<iconv_t>(-1); }
    iconv_t handle_;
};

bool ascii(std::string_view text) {
    for (unsigned char c : text)
        if (c >= 0x80) return false;
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
    std::string name;
    if (ascii(plugin_name)) {
        name.assign(plugin_name);
    } else {
        thread_local Cp1252ToUtf8 converter;
        if (!converter.convert(plugin_name, name)) throw EInOutError(kInvalidName, std::string(plugin_name), EILSEQ);
    }
    if (working_directory && !working_directory->empty() && (name.empty() || name.front() != '/'))
        name.insert(0, *working_directory);
    return name;
}
