#pragma once

#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/api.h"
#include "platform/in_out_error.h"
#include "platform/line_sink.h"

// Windows error number that stands for a C library errno value.
int codigo_windows(int erro_c);

// File names below are the plug-in's (Windows-1252; relative ones resolve against the run's working
// directory, see platform/system_paths.h).

// A text file written line by line: bytes as they are (the generators' Windows-1252 text), every line
// ended by CR LF. Creating it truncates an existing file. Failures raise EInOutError.
class TextFileWriter final : public LineSink {
public:
    explicit TextFileWriter(const std::string& path);
    ~TextFileWriter();
    TextFileWriter(const TextFileWriter&) = delete;
    TextFileWriter& operator=(const TextFileWriter&) = delete;

    using LineSink::write_line;
    void write_line(std::span<const std::string_view> pieces) override;
    // Flushes and closes; raises EInOutError when the data could not be written.
    void Close();
    const std::string& path() const { return path_; }

private:
    void fail(int error);

    std::string path_;
    std::FILE* file_ = nullptr;
    std::string line_;  // the line being written, kept for its capacity
};

// Writes `content` to `path` in one piece (created or overwritten); raises EInOutError.
void write_file(const std::string& path, std::string_view content);
// Answers whether something exists under that name.
bool file_exists(const std::string& path);
