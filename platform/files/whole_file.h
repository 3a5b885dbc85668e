#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

// Reading a whole input (a file, a pipe, a device) that may hold no more than a given number of bytes,
// without first holding more than that.

// Why a read failed; each caller words the message for its own kind of file.
class WholeFileError : public std::runtime_error {
public:
    enum class Reason { CannotOpen, CannotRead, TooLarge };
    WholeFileError(Reason reason, int error, std::optional<std::uintmax_t> size);
    Reason reason() const { return reason_; }
    // The errno value of a failed open or read.
    int error() const { return error_; }
    // The size of a regular file refused before it was read; empty when the input passed the limit
    // while it was read.
    const std::optional<std::uintmax_t>& size() const { return size_; }

private:
    Reason reason_;
    int error_;
    std::optional<std::uintmax_t> size_;
};

// The content of `path` followed by `padding` zero bytes (room a parser may read past the end). A
// regular file larger than `limit` is refused by its size before it is read; anything else (a pipe,
// /dev/zero) is read only until it passes the limit. Throws WholeFileError.
std::string read_whole_file(const std::string& path, std::uintmax_t limit, std::size_t padding = 0);
// The same for a descriptor already open (standard input), read from where it stands; it stays open.
std::string read_whole_descriptor(int descriptor, std::uintmax_t limit, std::size_t padding = 0);

// An input named on the command line: "-" is standard input, any other name a file.
std::string read_whole_input(const std::string& name, std::uintmax_t limit, std::size_t padding = 0);
// How messages name that input: "standard input" for "-", else the name itself.
std::string input_name(const std::string& name);
