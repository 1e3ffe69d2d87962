#pragma once
#include <chrono>
#include <string>

namespace kadrel::cli {

// One line of progress on standard error, rewritten in place, and only while standard error is a
// terminal: a file or a pipe never gets it.
class StatusLine {
public:
    StatusLine();

    // Replaces the line with "kadrel: TEXT"; at most every 100 ms unless `now`.
    void Show(const std::string& text, bool now = false);
    // Takes the line away, so that what is written next starts on a clean line.
    void Clear();
    bool Enabled() const { return enabled_; }

private:
    bool enabled_;
    bool shown_ = false;
    std::chrono::steady_clock::time_point last_{};
};

// "1:05" or "2:03:07": a duration in whole seconds, for a line of progress.
std::string ClockText(std::chrono::seconds duration);

}  // namespace kadrel::cli
