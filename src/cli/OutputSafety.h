#pragma once
#include <filesystem>
#include <optional>
#include <string>

#include "calc/SequenceSet.h"

namespace kadrel::cli {

// Whether two paths name one file: by identity once both exist (links resolved), else by the
// path a write would land on.
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b);

// Why the report or backup file would damage the user's data (a file of a set, or each other);
// no value when both are safe to write. An empty output is standard output (checked when it is
// a file); an empty backup is not written.
std::optional<std::string> OutputProblem(const SequenceSet& set1, const SequenceSet& set2, const std::string& output,
                                         const std::string& backup);

}  // namespace kadrel::cli
