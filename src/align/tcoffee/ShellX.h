#pragma once
#include <chrono>
#include <stdexcept>
#include <stop_token>
#include <string>
#include <vector>

namespace kadrel {

// The process ran past its time limit: its process group was killed.
class TimeLimitExceeded : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Starts `command` (program and arguments; the program is looked up on the search path) in a
// process group of its own, with standard input, output and error on /dev/null and the entries
// of `extraEnvironment` ("NAME=value") added to the environment, and blocks until it has ended.
// A stop request kills the whole process group, and so does a `timeLimit` above zero once it has
// passed (then TimeLimitExceeded is thrown). A stop requested before the start starts nothing.
// Returns the exit status, or 128 + the signal number when a signal ended it. Throws
// std::system_error when the command cannot be started or its end cannot be collected (for
// example when the caller ignores SIGCHLD): nothing can then be told of how it went.
int ShellX(const std::vector<std::string>& command, const std::vector<std::string>& extraEnvironment,
           std::stop_token stop, std::chrono::milliseconds timeLimit = {});

}  // namespace kadrel
