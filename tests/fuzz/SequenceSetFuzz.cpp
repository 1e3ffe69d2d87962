// The set reader on outside files: the input as a multiple-sequence file, and as a folder set
// whose file names are the input's first line cut at every "/" and whose files hold the rest.
#include <algorithm>
#include <cstdint>
#include <fstream>
#include <set>
#include <string_view>

#include "FuzzSupport.h"
#include "calc/GapShard.h"
#include "calc/ReportHeader.h"
#include "calc/SequenceSet.h"

namespace fs = std::filesystem;

namespace {

void Write(const fs::path& file, std::string_view text) {
    std::ofstream(file, std::ios::binary).write(text.data(), static_cast<std::streamsize>(text.size()));
}

void ReadAsFile(std::string_view text) {
    const fs::path file = kadrel::fuzz::ScratchFolder() / "set.fas";
    Write(file, text);
    try {
        const kadrel::SequenceSet set = kadrel::ReadSequenceSet(1, file);
        // A FASTQ file's records begin at '@', a gzip file's are in what it holds.
        const std::string_view body = text.starts_with("\xef\xbb\xbf") ? text.substr(3) : text;
        const char mark = body.starts_with('@') ? '@' : '>';
        FUZZ_CHECK(text.starts_with("\x1f\x8b") ||
                   set.count <= static_cast<std::size_t>(std::count(text.begin(), text.end(), mark)));
        for (std::size_t i = 0; i < set.count; ++i) {
            const kadrel::SequenceRecord record = kadrel::LoadRecord(set, i);
            FUZZ_CHECK(record.text.starts_with('>'));
            FUZZ_CHECK(record.name.find_first_of("\r\n") == std::string::npos);
        }
    } catch (const kadrel::SetError&) {
        // A set that cannot be used is refused with a message: that is an answer, not a fault.
    }
}

void ReadAsFolder(std::string_view text) {
    const std::size_t lineEnd = std::min(text.find('\n'), text.size());
    std::string_view names = text.substr(0, lineEnd);
    const std::string_view content = text.substr(std::min(lineEnd + 1, text.size()));
    std::set<std::string> made;
    const fs::path folder = kadrel::fuzz::ScratchFolder() / "folder";
    fs::create_directory(folder);
    while (made.size() < 4) {
        const std::string name(names.substr(0, names.find('/')));
        if (!name.empty() && name.size() <= 255 && name != "." && name != ".." &&
            name.find('\0') == std::string::npos && made.insert(name).second)
            Write(folder / name, content);
        if (names.find('/') == std::string_view::npos) break;
        names.remove_prefix(names.find('/') + 1);
    }
    try {
        const kadrel::SequenceSet set = kadrel::ReadSequenceSet(2, folder);
        const auto visible = std::count_if(made.begin(), made.end(), [](const std::string& n) { return n[0] != '.'; });
        // A file that is a report, backup or gap pairs file of Kadrel is left out of a folder set.
        const bool ours = kadrel::StartsAsReport(content) || kadrel::StartsAsGapPairs(content);
        FUZZ_CHECK(set.count == (ours ? 0 : static_cast<std::size_t>(visible)));
        for (std::size_t i = 0; i < set.count; ++i) {
            const kadrel::SequenceRecord record = kadrel::LoadRecord(set, i);
            FUZZ_CHECK(made.count(record.fileName) == 1);
            // A leading mark may be skipped, nothing else; FASTQ and gzip are read as the FASTA they hold.
            const std::string_view body = content.starts_with("\xef\xbb\xbf") ? content.substr(3) : content;
            const bool converted = body.starts_with('@') || body.starts_with("\x1f\x8b");
            FUZZ_CHECK(converted || content.ends_with(record.text));
        }
    } catch (const kadrel::SetError&) {
    }
    fs::remove_all(folder);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ReadAsFile(text);
    ReadAsFolder(text);
    return 0;
}
