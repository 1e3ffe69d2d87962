#include "cli/GapPairsKeeper.h"

namespace kadrel::cli {

GapPairsKeeper::GapPairsKeeper(const std::string& file) {
    if (file.empty()) out_.emplace("");
    else writer_.emplace(file);
}

bool GapPairsKeeper::Start(const std::string& header, std::optional<std::uint64_t> resumeAt) {
    if (out_) {
        out_->Write(header);
        return !out_->Failed();
    }
    if (resumeAt) return writer_->GoOnAfter(static_cast<off_t>(*resumeAt));
    return Keep(header);
}

bool GapPairsKeeper::Keep(std::string_view line) {
    if (out_) {
        out_->Write(line);
        return !out_->Failed();
    }
    writer_->Append(line);
    return writer_->Commit();
}

bool GapPairsKeeper::Finish(std::string_view line) {
    const bool kept = Keep(line);
    return out_ ? out_->Close() && kept : kept;
}

}  // namespace kadrel::cli
