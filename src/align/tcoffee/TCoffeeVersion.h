#pragma once
#include <chrono>
#include <string>

namespace kadrel {

// The version t_coffee reports (`t_coffee -version`), as it words it; empty when t_coffee is not
// on the search path. It runs in a private folder of its own, as for a pair, and gets `timeLimit`
// to answer; when it does not answer, the text says so.
std::string TCoffeeVersion(std::chrono::milliseconds timeLimit = std::chrono::seconds(5));

}  // namespace kadrel
