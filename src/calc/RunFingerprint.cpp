#include "calc/RunFingerprint.h"

#include <cstdint>
#include <cstdio>
#include <string_view>
#include <system_error>

namespace kadrel {

void FingerprintHash::Add(std::string_view text) {
    for (const char c : text) value_ = (value_ ^ static_cast<unsigned char>(c)) * 0x100000001b3ULL;
    // Ends each text, so that ("ab", "c") and ("a", "bc") differ.
    value_ = (value_ ^ 0xff) * 0x100000001b3ULL;
}

std::string FingerprintHash::Hex() const {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value_));
    return text;
}

namespace {

void AddSet(FingerprintHash& hash, const SequenceSet& set) {
    hash.Add(set.source == SetSource::Folder ? "folder" : "file");
    hash.Add(set.count);
    if (set.source == SetSource::MultipleSequenceFile) {
        for (const std::string& piece : set.pieces) hash.Add(piece);
        return;
    }
    for (const std::string& name : set.fileNames) {
        std::error_code ec;
        const auto size = std::filesystem::file_size(set.folderPath / name, ec);
        hash.Add(name);
        hash.Add(ec ? 0 : size);
    }
}

}  // namespace

FingerprintHash SetsHash(const SequenceSet& set1, const SequenceSet& set2) {
    FingerprintHash hash;
    AddSet(hash, set1);
    AddSet(hash, set2);
    return hash;
}

std::string RunFingerprint(const SequenceSet& set1, const SequenceSet& set2, const RunOptions& options) {
    return RunFingerprint(SetsHash(set1, set2), options);
}

std::string RunFingerprint(FingerprintHash hash, const RunOptions& options) {
    hash.Add(static_cast<std::uintmax_t>(options.model));
    hash.Add(options.textbook ? 1 : 0);
    hash.Add(options.bestCount);
    hash.Add(options.bestTies ? 1 : 0);
    hash.Add(options.alignerName);
    // Added only when given, so that the runs of compare and gap keep the fingerprints they had.
    if (!options.runDetails.empty()) hash.Add(options.runDetails);
    return hash.Hex();
}

std::string TextsFingerprint(const std::vector<std::string>& texts) {
    FingerprintHash hash;
    for (const std::string& text : texts) hash.Add(text);
    return hash.Hex();
}

}  // namespace kadrel
