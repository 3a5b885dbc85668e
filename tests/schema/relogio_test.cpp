// The date and time of the banners.

#include <cstdlib>
#include <ctime>

#include <gtest/gtest.h>

#include "platform/clock.h"

namespace {

TEST(Clock, FormatsAsDayMonthYearAndTwentyFourHours) {
    std::tm t{};
    t.tm_mday = 5;
    t.tm_mon = 2;
    t.tm_year = 2024 - 1900;
    t.tm_hour = 17;
    t.tm_min = 4;
    t.tm_sec = 9;
    EXPECT_EQ(format_date_time(t), "05/03/2024 17:04:09");
}

TEST(Clock, SourceDateEpochValues) {
    EXPECT_EQ(parse_source_date_epoch("0"), 0);
    EXPECT_EQ(parse_source_date_epoch("1700000000"), 1700000000);
    EXPECT_EQ(parse_source_date_epoch("253402300799"), 253402300799);  // 31/12/9999 23:59:59
    for (const char* bad : {"", "-1", "+5", " 5", "5 ", "1e9", "12a", "253402300800", "99999999999999999999"})
        EXPECT_FALSE(parse_source_date_epoch(bad)) << '"' << bad << '"';
}

TEST(Clock, HonoursSourceDateEpochInUtcAndATestOverride) {
    ::setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
    EXPECT_EQ(current_date_time_text(), "14/11/2023 22:13:20");
    set_fixed_time(951782400);  // a leap day
    EXPECT_EQ(current_date_time_text(), "29/02/2000 00:00:00");
    set_fixed_time(std::nullopt);
    // A malformed value falls back to the real clock (the host refuses it before a run).
    ::setenv("SOURCE_DATE_EPOCH", "yesterday", 1);
    const std::string agora = current_date_time_text();
    EXPECT_EQ(agora.size(), 19u);
    EXPECT_NE(agora, "14/11/2023 22:13:20");
    ::unsetenv("SOURCE_DATE_EPOCH");
}

}  // namespace
