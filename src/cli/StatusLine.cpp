#include "cli/StatusLine.h"

#include <unistd.h>

#include <iostream>

namespace kadrel::cli {

StatusLine::StatusLine() : enabled_(::isatty(STDERR_FILENO) == 1) {}

void StatusLine::Show(const std::string& text, bool now) {
    if (!enabled_) return;
    // The built-in aligner reports thousands of pairs a second: a terminal needs a few lines.
    const auto at = std::chrono::steady_clock::now();
    if (!now && at - last_ < std::chrono::milliseconds(100)) return;
    last_ = at;
    std::cerr << "\r\033[Kkadrel: " << text << std::flush;
    shown_ = true;
}

void StatusLine::Clear() {
    if (shown_) std::cerr << "\r\033[K" << std::flush;
    shown_ = false;
}

std::string ClockText(std::chrono::seconds duration) {
    const long long total = duration.count() < 0 ? 0 : duration.count();
    const long long hours = total / 3600, minutes = total / 60 % 60, seconds = total % 60;
    const auto two = [](long long n) {
        std::string text = std::to_string(n);
        if (text.size() < 2) text.insert(text.begin(), '0');
        return text;
    };
    return (hours > 0 ? std::to_string(hours) + ":" + two(minutes) : std::to_string(minutes)) + ":" + two(seconds);
}

}  // namespace kadrel::cli
