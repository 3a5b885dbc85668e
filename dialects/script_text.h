#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

// A script's text while it is written: hundreds of thousands of small pieces (a name, a keyword, a
// comma), each appended as one copy into room made ready beforehand, without the checks and calls that
// std::string's += makes per piece. The room is cleared a block at a time just before it is written,
// so that a large text reserved up front is not cleared whole first.
class ScriptText {
public:
    void reserve(std::size_t bytes) { text_.reserve(bytes); }
    std::size_t size() const { return size_; }
    std::string_view view() const { return {text_.data(), size_}; }

    // `bytes` more at the end, counted as written: the caller fills them before the next append.
    char* room(std::size_t bytes) {
        if (text_.size() - size_ < bytes) [[unlikely]]
            make_room(bytes);
        char* at = text_.data() + size_;
        size_ += bytes;
        return at;
    }
    void append(std::string_view piece) {
        if (!piece.empty()) std::memcpy(room(piece.size()), piece.data(), piece.size());
    }
    // A literal's length is known where it is written, and so is its copy (for literals: an array is
    // taken whole).
    template <std::size_t N>
    void append(const char (&literal)[N]) {
        std::memcpy(room(N - 1), literal, N - 1);
    }
    ScriptText& operator+=(std::string_view piece) {
        append(piece);
        return *this;
    }
    template <std::size_t N>
    ScriptText& operator+=(const char (&literal)[N]) {
        append(literal);
        return *this;
    }
    ScriptText& operator+=(char c) {
        *room(1) = c;
        return *this;
    }

    // The text written, as a string (the room left over is dropped).
    std::string take() && {
        text_.resize(size_);
        return std::move(text_);
    }

private:
    static constexpr std::size_t kBlock = 32 * 1024;
    // Out of line, so that room() is small enough to be inlined wherever a piece is written.
    [[gnu::noinline]] void make_room(std::size_t bytes) { text_.resize(std::max(text_.size() + kBlock, size_ + bytes)); }

    std::string text_;  // its size is the room made ready, of which the first size_ bytes are written
    std::size_t size_ = 0;
};
