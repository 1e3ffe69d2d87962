// Lutrane's split with its name rules: every record whole, under a safe name of its own.
#include <cstdint>
#include <fstream>
#include <map>
#include <string_view>

#include "FastaRecords.h"
#include "FuzzSupport.h"
#include "RecordFileName.h"
#include "SplitRun.h"
#include "TempFolder.h"

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::vector<lutrane::FastaRecord> records = lutrane::CutRecords(text);

    // Nothing from the first ">" on is lost or doubled.
    std::string joined;
    for (const lutrane::FastaRecord& record : records) {
        FUZZ_CHECK(record.text.starts_with('>') && record.text.find('>', 1) == std::string::npos);
        FUZZ_CHECK(record.text.substr(1).starts_with(record.name));
        joined += record.text;
    }
    FUZZ_CHECK(joined == text.substr(std::min(text.find('>'), text.size())));

    std::vector<std::string> wanted;
    for (std::size_t k = 0; k < records.size(); ++k) wanted.push_back(lutrane::SafeStem(records[k].name, k + 1));
    const std::vector<std::string> stems = lutrane::PlanStems(wanted);
    std::map<std::string, std::string> expected;  // file name to its bytes
    for (std::size_t k = 0; k < records.size(); ++k) {
        const std::string& stem = stems[k];
        FUZZ_CHECK(!stem.empty() && stem.size() <= lutrane::kMaxStemBytes && stem[0] != '.');
        for (const char c : stem) FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F && c != '/' && c != '\\');
        FUZZ_CHECK(expected.emplace(stem + ".fas", records[k].text).second);
    }

    // The files themselves, for inputs of a few records (each costs a file).
    if (records.size() > 32) return 0;
    const fs::path input = kadrel::fuzz::ScratchFolder() / "input", out = kadrel::fuzz::ScratchFolder() / "out";
    std::ofstream(input, std::ios::binary).write(text.data(), static_cast<std::streamsize>(size));
    const lutrane::SplitResult result = lutrane::SplitFiles({input}, out);
    // Binary bytes, FASTQ and gzip (here nearly always corrupt) are refused, as is a text without records.
    const bool refused = text.find('\0') != std::string_view::npos || text.starts_with('@') || text.starts_with("\x1F\x8B");
    if (records.empty() || refused) {
        FUZZ_CHECK(!result.error.empty() && !fs::exists(out));
    } else {
        FUZZ_CHECK(result.error.empty() && result.filesWritten == records.size());
        FUZZ_CHECK(kadrel::test::FilesUnder(out) == expected);
    }
    fs::remove_all(out);
    return 0;
}
