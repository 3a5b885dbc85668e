#include "schema/line_buffer.h"

#include <limits>
#include <stdexcept>

void LineBuffer::add_block(std::size_t bytes) {
    const std::size_t capacity = bytes > kBlockSize ? bytes : kBlockSize;
    blocks_.push_back(Block{std::make_unique_for_overwrite<char[]>(capacity), capacity, 0});
}

void LineBuffer::write_line(std::span<const std::string_view> pieces) {
    std::size_t size = 0;
    for (std::string_view piece : pieces) size += piece.size();
    if (size > std::numeric_limits<std::uint32_t>::max()) throw std::length_error("line longer than 4 GiB");
    const auto length = static_cast<std::uint32_t>(size);
    char* p = reserve(sizeof length + size + 1);
    std::memcpy(p, &length, sizeof length);
    p += sizeof length;
    for (std::string_view piece : pieces) {
        if (piece.empty()) continue;
        std::memcpy(p, piece.data(), piece.size());
        p += piece.size();
    }
    *p = '\0';
    ++size_;
}

void LineBuffer::clear() {
    if (blocks_.size() > 1) blocks_.resize(1);
    if (!blocks_.empty()) blocks_.front().used = 0;
    size_ = 0;
}
