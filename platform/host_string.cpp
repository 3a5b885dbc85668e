#include "platform/host_string.h"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

HostString::HostString(std::string_view text) {
    if (text.empty()) return;
    if (text.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        throw std::length_error("host text longer than 2 GiB");
    void* block = std::malloc(sizeof(Header) + text.size() + 1);
    if (!block) throw std::bad_alloc();
    auto* head = static_cast<Header*>(block);
    head->references = 1;
    head->length = static_cast<std::int32_t>(text.size());
    chars_ = reinterpret_cast<char*>(head + 1);
    std::memcpy(chars_, text.data(), text.size());
    chars_[text.size()] = '\0';
}

HostString::HostString(const HostString& other) noexcept : chars_(other.chars_) {
    if (chars_) ++header()->references;
}

HostString& HostString::operator=(const HostString& other) noexcept {
    char* const shared = other.chars_;  // read before releasing: `other` may be this very text
    if (shared) ++other.header()->references;
    release();
    chars_ = shared;
    return *this;
}

HostString& HostString::operator=(HostString&& other) noexcept {
    if (this != &other) {
        release();
        chars_ = other.chars_;
        other.chars_ = nullptr;
    }
    return *this;
}

std::size_t HostString::size() const noexcept {
    return chars_ ? static_cast<std::size_t>(header()->length) : 0;
}

std::int32_t HostString::use_count() const noexcept { return chars_ ? header()->references : 0; }

void HostString::release() noexcept {
    if (!chars_) return;
    if (--header()->references == 0) std::free(header());
    chars_ = nullptr;
}
