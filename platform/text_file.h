#pragma once

#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/api.h"
#include "platform/printer.h"

// An input/output error as the target's runtime raises it: "Erro de I/O <code>", where the code is
// the Windows error number of the failure (2 file not found, 3 path not found, 5 access denied,
// 112 disk full, ...). It also keeps what the message leaves out for the host to add: the file's name
// as the plug-in gave it (Windows-1252) and the system's errno value (0 when there is none).
class KZR40_API EInOutError : public std::runtime_error {
public:
    EInOutError(int codigo, const std::string& arquivo, int erro_sistema = 0);
    int codigo() const { return codigo_; }
    const std::string& arquivo() const { return arquivo_; }
    int erro_sistema() const { return erro_sistema_; }

private:
    int codigo_;
    std::string arquivo_;
    int erro_sistema_;
};

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
