#include "platform/clock.h"

#include <cstdio>
#include <cstdlib>

namespace {
std::optional<std::time_t>& fixed_time() {
    static std::optional<std::time_t> instant;
    return instant;
}

// 9999-12-31 23:59:59 UTC: beyond it the date no longer fits the four-digit year of the format.
constexpr std::time_t kLastInstant = 253402300799;
}  // namespace

std::string format_date_time(const std::tm& moment) {
    char text[64];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d %02d:%02d:%02d", moment.tm_mday, moment.tm_mon + 1,
                  moment.tm_year + 1900, moment.tm_hour, moment.tm_min, moment.tm_sec);
    return text;
}

std::optional<std::time_t> parse_source_date_epoch(std::string_view text) {
    if (text.empty() || text.size() > 12) return std::nullopt;
    std::time_t seconds = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        seconds = seconds * 10 + (c - '0');
    }
    if (seconds > kLastInstant) return std::nullopt;
    return seconds;
}

std::string current_date_time_text() {
    std::tm moment{};
    std::optional<std::time_t> utc = fixed_time();
    if (!utc) {
        if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH")) utc = parse_source_date_epoch(epoch);
    }
    if (utc) {
        gmtime_r(&*utc, &moment);
    } else {
        const std::time_t now = std::time(nullptr);
        localtime_r(&now, &moment);
    }
    return format_date_time(moment);
}

void set_fixed_time(std::optional<std::time_t> utc_seconds) { fixed_time() = utc_seconds; }
