#pragma once
#include <stop_token>
#include <string>
#include <vector>

namespace kadrel {

// Starts `command` (program and arguments; the program is looked up on the search path) in a
// process group of its own, with standard input, output and error on /dev/null and the entries
// of `extraEnvironment` ("NAME=value") added to the environment, and blocks until it has ended.
// A stop request kills the whole process group. Returns the exit status, or 128 + the signal
// number when a signal ended it. Throws std::system_error when the command cannot be started.
int ShellX(const std::vector<std::string>& command, const std::vector<std::string>& extraEnvironment,
           std::stop_token stop);

}  // namespace kadrel
