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

HostString& HostString::operator=(const HostString& other) noexcept {
    char* const shared = other.chars_;  // read before releasing: `other` may be this very text
    if (shared) retain(shared);
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

void HostString::free_storage() noexcept { std::free(header()); }
