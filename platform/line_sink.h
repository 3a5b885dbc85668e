#pragma once

#include <span>
#include <string_view>

// Where generated lines go: a host string list, a line buffer, a text file. A sink takes each line
// whole and without its line end, as the pieces it is made of (joined without separator), so that it
// can copy them straight to where the line is kept. The bytes are Windows-1252 text as the generators
// hold it and pass through unchanged. A file sink ends every line with CR LF (platform/text_file.h).
class LineSink {
public:
    virtual void write_line(std::span<const std::string_view> pieces) = 0;
    void write_line(std::string_view line) { write_line(std::span<const std::string_view>(&line, 1)); }

protected:
    ~LineSink() = default;
};
