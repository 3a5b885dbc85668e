#include "platform/host_string.h"

#include <cstdint>
#include <cstring>
#include <thread>

#include <gtest/gtest.h>

namespace {

std::int32_t length_before(const HostString& s) {
    std::int32_t length;
    std::memcpy(&length, s.data() - 4, sizeof length);
    return length;
}

TEST(HostString, LaysOutLengthBeforeAndZeroAfterTheCharacters) {
    const HostString s("NOME");
    ASSERT_NE(s.data(), nullptr);
    EXPECT_EQ(length_before(s), 4);
    EXPECT_EQ(std::memcmp(s.data(), "NOME", 4), 0);
    EXPECT_EQ(s.data()[4], '\0');
}

TEST(HostString, EmptyTextIsTheNullReference) {
    EXPECT_EQ(HostString().data(), nullptr);
    EXPECT_EQ(HostString("").data(), nullptr);
    EXPECT_EQ(HostString(static_cast<const char*>(nullptr)).data(), nullptr);
    EXPECT_STREQ(HostString().c_str(), "");
    EXPECT_EQ(HostString().size(), 0u);
}

TEST(HostString, CopiesShareStorageAndReleaseItOnce) {
    HostString a("Pre\xE7o");
    {
        HostString b = a;
        HostString c;
        c = b;
        EXPECT_EQ(a.data(), c.data());
        EXPECT_EQ(a.use_count(), 3);
    }
    EXPECT_EQ(a.use_count(), 1);
    HostString moved = std::move(a);
    EXPECT_EQ(a.data(), nullptr);
    EXPECT_EQ(moved.use_count(), 1);
    moved = moved;  // self-assignment keeps the text
    EXPECT_EQ(moved, "Pre\xE7o");
}

// Two threads copying and dropping one text: with a plain counter some updates are lost and the count
// ends wrong (or the text is freed while still in use).
TEST(HostString, CopiesOnTwoThreadsKeepTheCountRight) {
    const HostString shared("NOME");
    const auto copy_often = [&shared] {
        for (int i = 0; i < 200000; ++i) {
            HostString copy = shared;
            HostString other;
            other = copy;
        }
    };
    std::thread second(copy_often);
    copy_often();
    second.join();
    EXPECT_EQ(shared.use_count(), 1);
    EXPECT_EQ(shared, "NOME");
}

TEST(HostString, KeepsEmbeddedAndHighBytes) {
    const std::string raw("a\0\xFF", 3);
    const HostString s(raw);
    EXPECT_EQ(s.size(), 3u);
    EXPECT_EQ(s.str(), raw);
}

}  // namespace
