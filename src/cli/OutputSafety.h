#pragma once
#include <optional>
#include <string>

#include "calc/SequenceSet.h"

namespace kadrel::cli {

// Why the report or backup file would damage the user's data (a file of a set, or each other);
// no value when both are safe to write. An empty output is standard output (checked when it is
// a file); an empty backup is not written.
std::optional<std::string> OutputProblem(const SequenceSet& set1, const SequenceSet& set2, const std::string& output,
                                         const std::string& backup);

}  // namespace kadrel::cli
