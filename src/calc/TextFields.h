#pragma once
#include <string_view>
#include <vector>

namespace kadrel {

// The fields of `text` between separators, empty ones kept: "a\t\tb" is "a", "", "b".
std::vector<std::string_view> SplitFields(std::string_view text, char separator);

}  // namespace kadrel
