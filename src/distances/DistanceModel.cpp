#include "distances/DistanceModel.h"

#include <array>
#include <cctype>

namespace kadrel {
namespace {

struct ModelInfo {
    DistanceModel model;
    std::string_view name;
    std::string_view title;
};

constexpr std::array<ModelInfo, 7> kModels{{
    {DistanceModel::None, "none", ""},
    {DistanceModel::JC, "jc", "JC-dist."},
    {DistanceModel::K2P, "k2p", "K2P-dist."},
    {DistanceModel::TN84, "tn84", "TN84-dist."},
    {DistanceModel::T3P, "t3p", "T3P-dist."},
    {DistanceModel::TN93, "tn93", "TN93-dist."},
    {DistanceModel::LogDet, "logdet", "LogDet-dist."},
}};

const ModelInfo& Info(DistanceModel model) { return kModels[static_cast<std::size_t>(model)]; }

}  // namespace

std::string_view ColumnTitle(DistanceModel model) { return Info(model).title; }

std::string_view ModelName(DistanceModel model) { return Info(model).name; }

std::optional<DistanceModel> ParseModelName(std::string_view word) {
    std::string lower;
    for (const char c : word) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const ModelInfo& info : kModels) {
        if (info.name == lower) return info.model;
    }
    return std::nullopt;
}

}  // namespace kadrel
