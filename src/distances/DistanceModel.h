#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace kadrel {

enum class DistanceModel { None = 0, JC, K2P, TN84, T3P, TN93, LogDet };

// "JC-dist." and so on; empty for None.
std::string_view ColumnTitle(DistanceModel model);

// The command-line word: "k2p" and so on, "none" for None.
std::string_view ModelName(DistanceModel model);

// The command-line word: none, jc, k2p, tn84, t3p, tn93, logdet (any case).
std::optional<DistanceModel> ParseModelName(std::string_view word);

}  // namespace kadrel
