#pragma once

#include <functional>
#include <string_view>

// The error message box (one OK button) through which the plug-in reports to the user where it has no
// listing to write into. There is no window here: a reporter receives the single-byte text instead.
// The host installs one that tells the user which item the message is about.
using MessageReporter = std::function<void(std::string_view text)>;

// Shows an error message with an OK button, that is: hands `text` to the installed reporter.
void show_error_message(std::string_view text);

// Installs `reporter` and returns the one it replaces. An empty reporter restores the default, which
// writes the text and a line end to standard error.
MessageReporter set_message_reporter(MessageReporter reporter);
