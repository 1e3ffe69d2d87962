#include "calc/GapResume.h"

#include <cerrno>
#include <cstring>
#include <fstream>

#include "align/TextFile.h"
#include "calc/ResumePoint.h"

namespace kadrel {
namespace {

// The parts of `from` that the first line of another run's file lacks, as "the model (-m) and
// the aligner (-a)"; the library's records when nothing named differs, as the run's tag stands for them.
std::string Differences(const GapResumeFile& from, std::string_view line) {
    std::vector<std::string> names;
    for (const GapRunPart& part : from.parts) {
        if (line.find(part.text) != std::string_view::npos) continue;
        if (part.alone) return part.name;
        names.push_back(part.name);
    }
    if (names.empty()) return "the library's records or their order";
    std::string text = names.front();
    for (std::size_t k = 1; k < names.size(); ++k) text += (k + 1 == names.size() ? " and " : ", ") + names[k];
    return text;
}

}  // namespace

GapPairLines ReadGapResumeFile(const GapResumeFile& from, const std::vector<std::string>& ids, std::size_t first,
                              std::size_t last, const GapRowReader& take) {
    const auto refuse = [&](const std::string& problem) {
        return ResumeError("the " + from.kind + " " + QuotedPath(from.file) + " " + problem + "; it was left as it is");
    };
    std::ifstream in(from.file, std::ios::binary);
    if (!in)
        throw ResumeError("--resume: there is no " + from.kind + " " + QuotedPath(from.file) + " to go on from (" +
                          std::strerror(errno) + ")");
    std::string line;
    if (!std::getline(in, line) || in.eof() || !StartsAsGapPairs(line))
        throw refuse("is not a pairs file or backup of 'kadrel gap'");
    const std::string_view expected(from.header.data(), from.header.size() - 1);
    if (line != expected)
        throw refuse("belongs to another run: it differs from this command's in " + Differences(from, line) +
                     " (its first line is \"" + line + "\", this run's \"" + std::string(expected) + "\")");
    GapPairLines read;
    try {
        read = ReadGapPairLines(in, ids, first, last, take);
    } catch (const GapPairsError& e) {
        throw refuse(e.what());
    }
    if (in.bad()) throw refuse("cannot be read to its end");
    return read;
}

}  // namespace kadrel
