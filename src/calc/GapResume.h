#pragma once
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "calc/GapShard.h"

namespace kadrel {

// A part of what a gap run's first line says, named for the message when a file to go on from is
// of another run: "the model (-m)" and ", model k2p,".
struct GapRunPart {
    std::string name;
    std::string text;
    // When it differs, the only part named: a file of the other kind lacks the rest anyway.
    bool alone = false;
};

// The file a gap run goes on from with --resume: a whole run's backup or a shard's pairs file
// (GapShard.h), of the run whose first line is `header`, which it must begin with; `parts` say
// what differs when it does not. `kind` ("backup", "pairs file") names
// the file in messages.
struct GapResumeFile {
    std::filesystem::path file;
    std::string kind;
    std::string header;  // LF included
    std::vector<GapRunPart> parts;
};

// Reads the whole records [first, last) of a library of `ids` the file holds, handing each to
// `take`, and returns how many and where they end. A last line cut short by a kill, and the end
// or stopped line, are not counted. Throws ResumeError, having written nothing, when the file
// cannot be read, is not gap's, is of another run, or holds a line this run would not write.
GapPairLines ReadGapResumeFile(const GapResumeFile& from, const std::vector<std::string>& ids, std::size_t first,
                              std::size_t last, const GapRowReader& take);

}  // namespace kadrel
