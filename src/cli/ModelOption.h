#pragma once
#include <string>

#include <CLI/CLI.hpp>

namespace kadrel::cli {

// -m/--model, shared by every subcommand that computes distances; rejects unknown names at parse time.
void AddModelOption(CLI::App& command, std::string& model);

// --textbook: the published formulas, p and its counts included, instead of the classic ones.
void AddTextbookOption(CLI::App& command, bool& textbook);

}  // namespace kadrel::cli
