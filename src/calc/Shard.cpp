#include "calc/Shard.h"

#include <charconv>

namespace kadrel {
namespace {

std::optional<std::size_t> Number(std::string_view text) {
    std::size_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// floor(k·n/N) without overflow, whatever the sizes.
std::size_t Boundary(std::size_t k, std::size_t records, std::size_t count) {
    return static_cast<std::size_t>(static_cast<unsigned __int128>(k) * records / count);
}

}  // namespace

std::optional<Shard> ParseShard(std::string_view text) {
    const auto slash = text.find('/');
    if (slash == std::string_view::npos) return std::nullopt;
    const auto index = Number(text.substr(0, slash));
    const auto count = Number(text.substr(slash + 1));
    if (!index || !count || *index < 1 || *index > *count) return std::nullopt;
    return Shard{*index, *count};
}

std::pair<std::size_t, std::size_t> ShardRecords(Shard shard, std::size_t records) {
    return {Boundary(shard.index - 1, records, shard.count), Boundary(shard.index, records, shard.count)};
}

}  // namespace kadrel
