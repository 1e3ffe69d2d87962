#pragma once
#include <string>
#include <string_view>

namespace kadrel {

// A name as a cell of a tab-separated table for other programs: names come from the sets
// without tabs or line ends, but a double quote would still confuse a spreadsheet reader, so a
// name holding one is quoted, the quote doubled.
std::string TableName(std::string_view name);

}  // namespace kadrel
