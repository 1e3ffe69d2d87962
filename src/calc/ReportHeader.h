#pragma once
#include <string>
#include <string_view>

#include "distances/DistanceModel.h"

namespace kadrel {

// The report's two header lines, CR LF each: the banner with the date and "Kadrel <version>",
// then the column titles for the model. With `textbook` and a model, both say that the model
// column holds the published forms.
std::string WriteReportHeader(DistanceModel model, std::string_view bannerDate, bool textbook = false);

// Whether a text begins with the banner, as every report and backup of Kadrel does.
bool StartsAsReport(std::string_view text);

// The line that opens the report's last block, the best matches.
inline constexpr std::string_view kBestMatchesLine = "Best matches:";

// The current local date and time in the C library's locale (LC_TIME), short form.
std::string LocaleShortDateTime();

}  // namespace kadrel
