#pragma once

#include <filesystem>
#include <string_view>

// Writes `content` to `file` as a whole or not at all: into a temporary file beside it, then renamed
// over it. Throws std::runtime_error naming the file when that cannot be done; no temporary file stays.
void write_file_atomically(const std::filesystem::path& file, std::string_view content);

// Writes `content` to standard output; throws std::runtime_error when it cannot.
void write_stdout(std::string_view content);
