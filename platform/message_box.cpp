#include "platform/message_box.h"

#include <cstdio>
#include <utility>

namespace {
MessageReporter& installed() {
    static MessageReporter reporter;
    return reporter;
}
}  // namespace

void show_error_message(std::string_view text) {
    if (const MessageReporter& reporter = installed()) {
        reporter(text);
        return;
    }
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fputc('\n', stderr);
}

MessageReporter set_message_reporter(MessageReporter reporter) { return std::exchange(installed(), std::move(reporter)); }
