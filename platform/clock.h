#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>

// The current date and time as the platform writes them with its short date and long time formats, as
// a Brazilian user sees them: "dd/mm/yyyy hh:nn:ss" (24-hour clock).
//
// Reproducible output: when the environment variable SOURCE_DATE_EPOCH holds a valid count of seconds
// since 1970-01-01 00:00:00 UTC, that instant is used, in UTC. Otherwise the local time now.
std::string current_date_time_text();

// "dd/mm/yyyy hh:nn:ss" of a broken-down time.
std::string format_date_time(const std::tm& moment);

// Parses a SOURCE_DATE_EPOCH value: decimal digits only, no sign, no blanks, at most year 9999.
std::optional<std::time_t> parse_source_date_epoch(std::string_view text);

// Fixes the instant (seconds since the epoch, shown in UTC) for tests; std::nullopt returns to the real
// clock. Takes precedence over SOURCE_DATE_EPOCH.
void set_fixed_time(std::optional<std::time_t> utc_seconds);
