#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/api.h"

// The host's reference-counted single-byte text. One pointer wide: it points at the first character,
// the 32-bit length sits in the 4 bytes just before it (the reference count before that) and a zero
// byte follows the last character. The empty text is the null pointer. Copies share the storage;
// the text is never changed in place, so sharing is invisible to users.
class KZR40_API HostString {
public:
    HostString() noexcept = default;
    HostString(std::string_view text);
    HostString(const char* text) : HostString(std::string_view(text ? text : "")) {}
    HostString(const std::string& text) : HostString(std::string_view(text)) {}
    HostString(const HostString& other) noexcept : chars_(other.chars_) {
        if (chars_) ++header()->references;
    }
    HostString(HostString&& other) noexcept : chars_(other.chars_) { other.chars_ = nullptr; }
    HostString& operator=(const HostString& other) noexcept;
    HostString& operator=(HostString&& other) noexcept;
    ~HostString() { release(); }

    // The raw reference as the host sees it: null for the empty text.
    const char* data() const noexcept { return chars_; }
    const char* c_str() const noexcept { return chars_ ? chars_ : ""; }
    std::size_t size() const noexcept { return chars_ ? static_cast<std::size_t>(header()->length) : 0; }
    bool empty() const noexcept { return chars_ == nullptr; }
    std::string_view view() const noexcept { return {c_str(), size()}; }
    std::string str() const { return std::string(view()); }
    operator std::string_view() const noexcept { return view(); }

    // Number of HostString values sharing this storage (0 for the empty text).
    std::int32_t use_count() const noexcept { return chars_ ? header()->references : 0; }

    friend bool operator==(const HostString& a, const HostString& b) noexcept { return a.view() == b.view(); }
    friend bool operator==(const HostString& a, std::string_view b) noexcept { return a.view() == b; }
    friend bool operator==(const HostString& a, const std::string& b) noexcept { return a.view() == std::string_view(b); }
    friend bool operator==(const HostString& a, const char* b) noexcept { return a.view() == std::string_view(b ? b : ""); }

private:
    struct Header {
        std::int32_t references;
        std::int32_t length;
    };
    Header* header() const noexcept { return reinterpret_cast<Header*>(chars_) - 1; }
    void release() noexcept {
        if (chars_ && --header()->references == 0) free_storage();
        chars_ = nullptr;
    }
    void free_storage() noexcept;

    char* chars_ = nullptr;
};

static_assert(sizeof(HostString) == sizeof(void*), "a host text is one reference wide");
