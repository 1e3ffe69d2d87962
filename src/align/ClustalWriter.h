#pragma once
#include <string>
#include <string_view>

namespace kadrel {

// A two-sequence alignment as t_coffee lays out its CLUSTAL file: the header line, an empty line,
// then blocks of 50 columns (each name padded to the same width, then a line with '*' where the
// two letters agree ignoring case), the last block followed by two more empty lines. The header
// line is written as given; the reader of aligner output finds "Len=" in it.
std::string ClustalText(std::string_view headerLine, std::string_view firstName, std::string_view firstRow,
                        std::string_view secondName, std::string_view secondRow);

}  // namespace kadrel
