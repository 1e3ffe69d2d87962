#pragma once
#include <string>

namespace kadrel {

// The libraries the built-in aligner was built with, for --version: "WFA2-lib 2.3.3 and
// parasail 2.6.0".
std::string BuiltinAlignerLibraries();

}  // namespace kadrel
