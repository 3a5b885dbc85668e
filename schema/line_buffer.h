#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "platform/printer.h"

// An ordered list of single-byte text lines: the output buffer of a generation run, written through a
// Printer (platform/printer.h).
//
// Lines are packed into blocks of 64 KiB (a length, the characters, a zero byte), so that a run of
// millions of lines costs a few hundred allocations, nothing is moved as the list grows, and each line
// can be handed on as a C string without copying.
class LineBuffer final : public LineSink {
public:
    using LineSink::write_line;
    void write_line(std::span<const std::string_view> pieces) override;
    // Empties the list; the first block is kept for the lines to come.
    void clear();

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }

    // Calls `visit(line)` for every line in order; `line.data()` is zero-terminated.
    template <typename Visit>
    void for_each(Visit&& visit) const {
        for (const Block& b : blocks_) {
            for (std::size_t p = 0; p < b.used;) {
                std::uint32_t length;
                std::memcpy(&length, b.data.get() + p, sizeof length);
                p += sizeof length;
                visit(std::string_view(b.data.get() + p, length));
                p += length + 1;
            }
        }
    }

private:
    static constexpr std::size_t kBlockSize = 64 * 1024;
    struct Block {
        std::unique_ptr<char[]> data;
        std::size_t capacity = 0;
        std::size_t used = 0;
    };
    // Room for `bytes` more bytes at the end of the last block.
    char* reserve(std::size_t bytes) {
        if (blocks_.empty() || blocks_.back().capacity - blocks_.back().used < bytes) add_block(bytes);
        Block& b = blocks_.back();
        char* at = b.data.get() + b.used;
        b.used += bytes;
        return at;
    }
    void add_block(std::size_t bytes);

    std::vector<Block> blocks_;
    std::size_t size_ = 0;
};
