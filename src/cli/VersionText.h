#pragma once
#include <string>

namespace kadrel::cli {

// What `kadrel --version` says: the version, the source commit when built from a git checkout,
// t_coffee's version as it reports it (when it is on the search path) and the libraries of the
// built-in aligner.
std::string VersionText();

}  // namespace kadrel::cli
