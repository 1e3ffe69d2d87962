#include "calc/RunFingerprint.h"

#include <cstdint>
#include <cstdio>
#include <string_view>
#include <system_error>

namespace kadrel {
namespace {

// FNV-1a: the fingerprint tells runs apart, it guards against no one.
class Hash {
public:
    void Add(std::string_view text) {
        for (const char c : text) value_ = (value_ ^ static_cast<unsigned char>(c)) * 0x100000001b3ULL;
        // Ends each text, so that ("ab", "c") and ("a", "bc") differ.
        value_ = (value_ ^ 0xff) * 0x100000001b3ULL;
    }
    void Add(std::uintmax_t number) { Add(std::to_string(number)); }
    std::string Hex() const {
        char text[17];
        std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value_));
        return text;
    }

private:
    std::uint64_t value_ = 0xcbf29ce484222325ULL;
};

void AddSet(Hash& hash, const SequenceSet& set) {
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

std::string RunFingerprint(const SequenceSet& set1, const SequenceSet& set2, const RunOptions& options) {
    Hash hash;
    AddSet(hash, set1);
    AddSet(hash, set2);
    hash.Add(static_cast<std::uintmax_t>(options.model));
    hash.Add(options.textbook ? 1 : 0);
    hash.Add(options.bestCount);
    hash.Add(options.bestTies ? 1 : 0);
    hash.Add(options.alignerName);
    return hash.Hex();
}

std::string TextsFingerprint(const std::vector<std::string>& texts) {
    Hash hash;
    for (const std::string& text : texts) hash.Add(text);
    return hash.Hex();
}

}  // namespace kadrel
