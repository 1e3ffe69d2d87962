#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "distances/DistanceModel.h"

namespace kadrel {

// The report's two header lines, CR LF each: the banner with the date and "Kadrel <version>",
// then the column titles for the model. With `textbook` the banner says that the row holds the
// published forms (p too, so also without a model), and so does the model column's title. A
// shard's banner ends in its ShardTagText.
std::string WriteReportHeader(DistanceModel model, std::string_view bannerDate, bool textbook = false,
                              std::string_view shardTag = {});

// Which slice of which run a shard report holds: `run` stands for the sets, the model, the
// formulas, the best-match choice and the aligner, so that reports of other runs are told apart.
struct ShardTag {
    std::size_t index = 0, count = 0;  // index-th of count, from 1
    std::string run;                   // 16 hexadecimal digits
    bool operator==(const ShardTag&) const = default;
};
// "[shard K/N of run HEX]"
std::string ShardTagText(const ShardTag& tag);
// The tag at the end of a banner; none when the banner has none.
std::optional<ShardTag> ReadShardTag(std::string_view banner);
// The banner less its shard tag: the banner of the whole run.
std::string_view BannerWithoutShardTag(std::string_view banner);

// The line after the best matches of a report whose run was stopped before its end, CR LF
// included; a report without it is whole.
std::string StoppedLine(std::size_t pairsDone, std::size_t pairsInRun);
bool IsStoppedLine(std::string_view line);

// Whether a text begins with the banner, as every report and backup of Kadrel does.
bool StartsAsReport(std::string_view text);
// Whether a banner says that its rows hold the published formulas' counts and distances.
bool HasTextbookMark(std::string_view banner);

// The line that opens the report's last block, the best matches.
inline constexpr std::string_view kBestMatchesLine = "Best matches:";

// The current local date and time in the C library's locale (LC_TIME), short form.
std::string LocaleShortDateTime();

}  // namespace kadrel
